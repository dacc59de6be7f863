#pragma once

#include <QString>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/pronouncingdictionary.h"
#include "platform/speechrecognizer.h"

struct ps_decoder_s;

namespace velloran::platform {

// Debian's pocketsphinx-en-us files.
QString defaultSpeechModel();       // the acoustic model folder
QString defaultSpeechDictionary();  // cmudict-en-us.dict

// Recognition with pocketsphinx 0.8 against a language model built from the script's own words.
// The decoder is given only the words it is asked to listen for, so it starts in a moment; the
// model is switched between utterances. An utterance ends at a pause the recogniser detects, or
// at a short silence once it has run a few seconds, so that final words and a new model come often.
class PocketSphinxRecognizer final : public SpeechRecognizer {
public:
    PocketSphinxRecognizer(QString modelFolder, QString dictionaryFile);
    ~PocketSphinxRecognizer() override;

    bool load(QString* message) override;
    bool knows(const std::string& word) const override;
    std::string sound(const std::string& word) const override;
    bool listenFor(const std::vector<std::vector<std::string>>& sentences, QString* message) override;
    std::vector<Hypothesis> feed(const std::int16_t* samples, std::size_t count) override;
    std::vector<Hypothesis> finish() override;
    double streamTime() const override;

private:
    bool startDecoder(const std::vector<std::string>& words);
    void addWords(const std::vector<std::string>& words);
    bool useModel(const std::string& arpa);
    void startUtterance();
    void endUtterance(std::vector<Hypothesis>& out);
    void collect(std::vector<Hypothesis>& out, bool final);
    bool silentTail();

    QString m_modelFolder;
    QString m_dictionaryFile;
    PronouncingDictionary m_dictionary;
    ps_decoder_s* m_decoder = nullptr;
    std::unordered_set<std::string> m_decoderWords;
    std::string m_pendingModel;  // ARPA text for the next utterance
    std::vector<std::string> m_pendingWords;
    int m_search = 0;         // searches alternate between two names
    std::uint64_t m_fed = 0;  // samples fed since the start
    std::uint64_t m_utteranceStart = 0;
    bool m_inUtterance = false;
    bool m_heardSpeech = false;  // in the utterance under way
    std::string m_lastHypothesis;
    std::vector<engine::HeardWord> m_words;  // of the utterance under way, with when each came
};

}  // namespace velloran::platform
