#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "engine/aligner.h"
#include "engine/followpace.h"
#include "engine/scriptwords.h"
#include "platform/speechrecognizer.h"

namespace velloran::platform {

// Where the reader is, as the windows use it.
struct VoicePlace {
    std::size_t word = 0;  // index into the script's words
    int textOffset = 0;    // of that word's token in the script text (UTF-16 code units)
    int textLength = 0;
    double confidence = 0;
    double wordsPerSecond = 0;  // the reader's pace; 0 while still
    engine::FollowState state = engine::FollowState::Holding;

    bool operator==(const VoicePlace&) const = default;
};

// Audio in, the reader's place out: a recogniser that listens for the script's words around the
// place (the next few hundred, the last few dozen; switched as the place moves on), and the aligner
// that decides the place from what it hears. No thread or device of its own: the follower runs it
// on its worker thread, the benchmark on a simulated clock.
class VoicePipeline {
public:
    explicit VoicePipeline(std::unique_ptr<SpeechRecognizer> recognizer);

    bool load(QString* message);
    // The script, and the whole new text after every edit (the place keeps to its words). False,
    // with a message, when too few of its words can be heard: it is not in the recogniser's language.
    bool setScript(const QString& text, QString* message);
    // The user moved the script: the reader is about to say the word at this character.
    void moveTo(int textOffset);
    // Audio in any amounts; true when the place or its state changed.
    bool feed(const std::int16_t* samples, std::size_t count);
    bool finish();  // the audio has ended

    const VoicePlace& place() const { return m_place; }
    const std::vector<engine::ScriptWord>& words() const { return m_words; }
    double streamTime() const { return m_recognizer->streamTime(); }

private:
    bool apply(const std::vector<Hypothesis>& hypotheses);
    bool update();
    bool listenAround(std::size_t word, bool always, QString* message = nullptr);

    std::unique_ptr<SpeechRecognizer> m_recognizer;
    QString m_text;
    std::vector<engine::ScriptWord> m_words;
    engine::Aligner m_aligner;
    engine::ReadingRate m_rate;
    VoicePlace m_place;
    std::size_t m_windowFrom = 0;
    bool m_listening = false;
};

}  // namespace velloran::platform
