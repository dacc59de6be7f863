#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/aligner.h"

namespace velloran::platform {

// What a recogniser has heard of the utterance under way: all its words so far (a partial
// hypothesis may still change them), or its final words once the speaker paused.
struct Hypothesis {
    std::vector<engine::HeardWord> words;  // times on the stream's clock: seconds of audio fed
    bool final = false;
};

// A speech recogniser that listens for given words in 16 kHz mono 16-bit audio. One engine today
// (pocketsphinx); others can follow behind the same interface. Used from one thread at a time.
class SpeechRecognizer {
public:
    virtual ~SpeechRecognizer() = default;

    // Loads what recognition needs; false, with a message a user can act on, when it cannot.
    virtual bool load(QString* message) = 0;
    // Whether it can hear the word at all, and how the word sounds (equal for homophones).
    virtual bool knows(const std::string& word) const = 0;
    virtual std::string sound(const std::string& word) const = 0;
    // The sentences to listen for, in order (words it does not know are left out); taken up from
    // the next utterance. False, with a message, when recognition cannot start.
    virtual bool listenFor(const std::vector<std::vector<std::string>>& sentences, QString* message) = 0;
    // Audio in any amounts; the hypotheses it gave rise to, oldest first.
    virtual std::vector<Hypothesis> feed(const std::int16_t* samples, std::size_t count) = 0;
    // Ends the utterance under way (the audio has ended).
    virtual std::vector<Hypothesis> finish() = 0;
    virtual double streamTime() const = 0;
};

}  // namespace velloran::platform
