#include "platform/voicepipeline.h"

#include <algorithm>

namespace velloran::platform {

namespace {

constexpr std::size_t kBehind = 40;          // script words behind the place the recogniser hears
constexpr std::size_t kAhead = 300;          // and ahead of it
constexpr std::size_t kRelistenAfter = 100;  // words moved on before the recogniser hears a new stretch
constexpr int kLeastHearablePercent = 50;    // of the script's words, for a script in the right language

// Where a character of the old text stands in the new one, for an edit made in one place.
int offsetAfterEdit(const QString& before, const QString& after, int offset)
{
    const int shorter = int(std::min(before.size(), after.size()));
    int prefix = 0;
    while (prefix < shorter && before[prefix] == after[prefix])
        ++prefix;
    int suffix = 0;
    while (suffix < shorter - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    if (offset < prefix)
        return offset;
    if (offset >= int(before.size()) - suffix)
        return offset + int(after.size() - before.size());
    return prefix;
}

}  // namespace

VoicePipeline::VoicePipeline(std::unique_ptr<SpeechRecognizer> recognizer)
    : m_recognizer(std::move(recognizer))
{
}

bool VoicePipeline::load(QString* message)
{
    return m_recognizer->load(message);
}

bool VoicePipeline::setScript(const QString& text, QString* message)
{
    std::vector<engine::ScriptWord> words = engine::splitScriptWords(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), text.size()));
    std::vector<engine::AlignerWord> aligned;
    aligned.reserve(words.size());
    std::size_t hearable = 0;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const bool known = m_recognizer->knows(words[i].word);
        hearable += known;
        aligned.push_back({words[i].word, known ? m_recognizer->sound(words[i].word) : std::string(), known,
                           i == 0 || words[i - 1].sentenceEnd});
    }
    if (!words.empty() && hearable * 100 < words.size() * kLeastHearablePercent) {
        *message = QStringLiteral("Too few of the script's words are in the pronouncing dictionary: the "
                                  "script does not seem to be in the speech model's language (English).");
        return false;
    }
    std::size_t start = 0;
    if (!m_words.empty()) {
        const int offset = offsetAfterEdit(m_text, text, int(m_words[m_place.word].offset));
        start = engine::wordAtOffset(words, std::size_t(std::max(offset, 0)));
    }
    m_text = text;
    m_words = std::move(words);
    m_aligner.setScript(std::move(aligned), start);
    m_rate.reset();
    update();
    return listenAround(m_place.word, true, message);
}

void VoicePipeline::moveTo(int textOffset)
{
    const std::size_t word = engine::wordAtOffset(m_words, std::size_t(std::max(textOffset, 0)));
    m_aligner.moveTo(word);
    m_rate.reset();
    update();
    listenAround(word, false);
}

bool VoicePipeline::feed(const std::int16_t* samples, std::size_t count)
{
    const bool heard = apply(m_recognizer->feed(samples, count));
    m_aligner.idle(streamTime());
    return update() || heard;
}

bool VoicePipeline::finish()
{
    return apply(m_recognizer->finish());
}

bool VoicePipeline::apply(const std::vector<Hypothesis>& hypotheses)
{
    for (const auto& hypothesis : hypotheses)
        m_aligner.hear(hypothesis.words, hypothesis.final);
    return update();
}

bool VoicePipeline::update()
{
    const engine::ReaderPlace& reader = m_aligner.place();
    const VoicePlace before = m_place;
    if (reader.word != m_place.word)
        m_rate.note(streamTime(), reader.word);
    m_place.word = reader.word;
    m_place.confidence = reader.confidence;
    m_place.state = reader.state;
    m_place.wordsPerSecond = m_rate.wordsPerSecond(streamTime());
    if (reader.word < m_words.size()) {
        m_place.textOffset = int(m_words[reader.word].offset);
        m_place.textLength = int(m_words[reader.word].length);
    } else {
        m_place.textOffset = 0;
        m_place.textLength = 0;
    }
    if (m_place.word != before.word)
        listenAround(m_place.word, false);
    return m_place.word != before.word || m_place.state != before.state;
}

bool VoicePipeline::listenAround(std::size_t word, bool always, QString* message)
{
    const bool nearStart = m_windowFrom > 0 && word < m_windowFrom + kBehind / 4;
    const bool movedOn = word > m_windowFrom + kBehind + kRelistenAfter;
    if (m_listening && !always && !nearStart && !movedOn)
        return true;
    m_windowFrom = word > kBehind ? word - kBehind : 0;
    const std::size_t to = std::min(m_words.size(), word + kAhead);
    std::vector<std::vector<std::string>> sentences(1);
    for (std::size_t i = m_windowFrom; i < to; ++i) {
        sentences.back().push_back(m_words[i].word);
        if (m_words[i].sentenceEnd && i + 1 < to)
            sentences.emplace_back();
    }
    QString ignored;
    m_listening = m_recognizer->listenFor(sentences, message ? message : &ignored);
    return m_listening;
}

}  // namespace velloran::platform
