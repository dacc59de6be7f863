#include "platform/pocketsphinxrecognizer.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QTemporaryFile>
#include <algorithm>
#include <pocketsphinx.h>

#include "engine/scriptlm.h"
#include "engine/scriptwords.h"

namespace velloran::platform {

namespace {

Q_LOGGING_CATEGORY(lcVoice, "velloran.voice")

constexpr int kRate = 16000;
constexpr std::size_t kChunk = 1600;         // samples handed to the decoder at once
constexpr double kForcedAfterSeconds = 3.0;  // an utterance this long ends at a short silence
constexpr int kSilenceFrames = 20;           // a fifth of a second
constexpr double kLongestUtterance = 15.0;   // and always by this length
constexpr double kLanguageWeight = 10.0;     // trust the script more than the general default

// Writes text to a temporary file that lives as long as the returned object.
std::unique_ptr<QTemporaryFile> temporaryFile(const std::string& text)
{
    auto file = std::make_unique<QTemporaryFile>();
    if (!file->open() || file->write(text.data(), qint64(text.size())) != qint64(text.size()) ||
        !file->flush())
        return nullptr;
    return file;
}

}  // namespace

QString defaultSpeechModel()
{
    return QStringLiteral("/usr/share/pocketsphinx/model/en-us/en-us");
}

QString defaultSpeechDictionary()
{
    return QStringLiteral("/usr/share/pocketsphinx/model/en-us/cmudict-en-us.dict");
}

PocketSphinxRecognizer::PocketSphinxRecognizer(QString modelFolder, QString dictionaryFile)
    : m_modelFolder(std::move(modelFolder)), m_dictionaryFile(std::move(dictionaryFile))
{
}

PocketSphinxRecognizer::~PocketSphinxRecognizer()
{
    if (m_decoder)
        ps_free(m_decoder);
}

bool PocketSphinxRecognizer::load(QString* message)
{
    const QDir model(m_modelFolder);
    // pocketsphinx ends the process on some broken model files: at least none may be missing or empty.
    for (const char* part : {"mdef", "means", "variances", "transition_matrices", "feat.params"}) {
        const QFileInfo file(model.filePath(QLatin1String(part)));
        if (!file.isFile() || file.size() == 0) {
            *message = QStringLiteral("The speech model is missing from %1: install the Debian package "
                                      "pocketsphinx-en-us, or choose another model folder.")
                           .arg(m_modelFolder);
            return false;
        }
    }
    if (!QFileInfo(m_dictionaryFile).isFile()) {
        *message = QStringLiteral("The pronouncing dictionary %1 is missing: install the Debian package "
                                  "pocketsphinx-en-us, or choose another dictionary.")
                       .arg(m_dictionaryFile);
        return false;
    }
    QString reason;
    if (!m_dictionary.load(m_dictionaryFile, &reason)) {
        *message =
            QStringLiteral("The pronouncing dictionary %1 cannot be read: %2.").arg(m_dictionaryFile, reason);
        return false;
    }
    return true;
}

bool PocketSphinxRecognizer::knows(const std::string& word) const
{
    return m_dictionary.contains(word);
}

std::string PocketSphinxRecognizer::sound(const std::string& word) const
{
    const auto found = m_dictionary.pronunciations(word);
    return found.empty() ? std::string() : std::string(found.front());
}

double PocketSphinxRecognizer::streamTime() const
{
    return double(m_fed) / kRate;
}

bool PocketSphinxRecognizer::listenFor(const std::vector<std::vector<std::string>>& sentences, QString* message)
{
    std::vector<std::vector<std::string>> heard;
    std::vector<std::string> words;
    std::unordered_set<std::string> seen;
    for (const auto& sentence : sentences) {
        std::vector<std::string> kept;
        for (const auto& word : sentence) {
            if (!m_dictionary.contains(word))
                continue;
            kept.push_back(word);
            if (seen.insert(word).second)
                words.push_back(word);
        }
        if (!kept.empty())
            heard.push_back(std::move(kept));
    }
    if (words.empty())
        return true;
    const std::string model = engine::scriptLanguageModel(heard);
    if (!m_decoder) {
        if (!startDecoder(words) || !useModel(model)) {
            *message = QStringLiteral("The speech recogniser could not start with the model in %1: reinstall "
                                      "the Debian package pocketsphinx-en-us, or choose another model folder.")
                           .arg(m_modelFolder);
            return false;
        }
        startUtterance();
        return true;
    }
    m_pendingWords.clear();
    for (const auto& word : words) {
        if (!m_decoderWords.count(word))
            m_pendingWords.push_back(word);
    }
    m_pendingModel = model;
    return true;
}

bool PocketSphinxRecognizer::startDecoder(const std::vector<std::string>& words)
{
    // Only the script's words: the whole dictionary would take seconds to load.
    std::string dictionary;
    for (const auto& word : words) {
        const auto pronunciations = m_dictionary.pronunciations(word);
        for (std::size_t i = 0; i < pronunciations.size(); ++i) {
            dictionary += word;
            if (i > 0)
                dictionary += '(' + std::to_string(i + 1) + ')';
            dictionary += ' ';
            dictionary += pronunciations[i];
            dictionary += '\n';
        }
        m_decoderWords.insert(word);
    }
    const auto file = temporaryFile(dictionary);
    const QByteArray model = QFile::encodeName(m_modelFolder);
    const QByteArray dictionaryPath = file ? QFile::encodeName(file->fileName()) : QByteArray();
    const QByteArray weight = QByteArray::number(kLanguageWeight);
    cmd_ln_t* config = file ? cmd_ln_init(nullptr, ps_args(), TRUE, "-hmm", model.constData(), "-dict",
                                          dictionaryPath.constData(), "-lw", weight.constData(), "-logfn",
                                          "/dev/null", nullptr)
                            : nullptr;
    if (config) {
        m_decoder = ps_init(config);
        cmd_ln_free_r(config);
    }
    if (!m_decoder)
        qCWarning(lcVoice) << "pocketsphinx did not start with the model in" << m_modelFolder;
    return m_decoder;
}

void PocketSphinxRecognizer::addWords(const std::vector<std::string>& words)
{
    std::vector<std::pair<std::string, std::string>> entries;
    for (const auto& word : words) {
        const auto pronunciations = m_dictionary.pronunciations(word);
        for (std::size_t i = 0; i < pronunciations.size(); ++i)
            entries.emplace_back(i == 0 ? word : word + '(' + std::to_string(i + 1) + ')',
                                 std::string(pronunciations[i]));
        m_decoderWords.insert(word);
    }
    for (std::size_t i = 0; i < entries.size(); ++i)
        ps_add_word(m_decoder, entries[i].first.c_str(), entries[i].second.c_str(), i + 1 == entries.size());
}

bool PocketSphinxRecognizer::useModel(const std::string& arpa)
{
    const auto file = temporaryFile(arpa);
    if (!file)
        return false;
    ngram_model_t* model =
        ngram_model_read(ps_get_config(m_decoder), QFile::encodeName(file->fileName()).constData(),
                         NGRAM_ARPA, ps_get_logmath(m_decoder));
    if (!model) {
        qCWarning(lcVoice) << "pocketsphinx did not read the script's language model";
        return false;
    }
    const char* name = m_search == 0 ? "script-a" : "script-b";
    const char* old = m_search == 0 ? "script-b" : "script-a";
    const bool ok = ps_set_lm(m_decoder, name, model) == 0 && ps_set_search(m_decoder, name) == 0;
    ngram_model_free(model);
    if (ok) {
        ps_unset_search(m_decoder, old);
        m_search ^= 1;
    }
    return ok;
}

void PocketSphinxRecognizer::startUtterance()
{
    m_inUtterance = ps_start_utt(m_decoder) == 0;
    m_utteranceStart = m_fed;
    m_heardSpeech = false;
    m_lastHypothesis.clear();
    m_words.clear();
}

void PocketSphinxRecognizer::endUtterance(std::vector<Hypothesis>& out)
{
    if (m_inUtterance) {
        ps_end_utt(m_decoder);
        m_inUtterance = false;
        collect(out, true);
    }
    if (!m_pendingModel.empty()) {
        if (!m_pendingWords.empty())
            addWords(m_pendingWords);
        useModel(m_pendingModel);
        m_pendingModel.clear();
        m_pendingWords.clear();
    }
    startUtterance();
}

void PocketSphinxRecognizer::collect(std::vector<Hypothesis>& out, bool final)
{
    const char* text = ps_get_hyp(m_decoder, nullptr);
    const std::string hypothesis = text ? text : "";
    if (!final && hypothesis == m_lastHypothesis)
        return;
    m_lastHypothesis = hypothesis;
    // Each word is timed by when it first appeared in the hypothesis: that is when it was heard.
    std::vector<engine::HeardWord> words;
    std::size_t from = 0;
    while (from < hypothesis.size()) {
        std::size_t end = hypothesis.find(' ', from);
        if (end == std::string::npos)
            end = hypothesis.size();
        std::string word = engine::normalisedWord(std::string_view(hypothesis).substr(from, end - from));
        from = end + 1;
        if (word.empty())
            continue;
        const std::size_t i = words.size();
        const bool same = i < m_words.size() && m_words[i].word == word;
        const double heardAt = same ? m_words[i].end : streamTime();
        const double start = i > 0 ? words.back().end : double(m_utteranceStart) / kRate;
        words.push_back({word, std::min(start, heardAt), heardAt, sound(word)});
    }
    m_words = words;
    out.push_back({std::move(words), final});
}

bool PocketSphinxRecognizer::silentTail()
{
    // The iterator is one object, moved along and freed by ps_seg_next at the end.
    std::string word;
    int start = 0;
    int end = 0;
    for (ps_seg_t* seg = ps_seg_iter(m_decoder); seg; seg = ps_seg_next(seg)) {
        word = ps_seg_word(seg);
        ps_seg_frames(seg, &start, &end);
    }
    return (word == "<sil>" || word == "</s>") && end - start >= kSilenceFrames;
}

std::vector<Hypothesis> PocketSphinxRecognizer::feed(const std::int16_t* samples, std::size_t count)
{
    std::vector<Hypothesis> out;
    if (!m_decoder || !m_inUtterance) {
        m_fed += count;
        return out;
    }
    while (count > 0) {
        const std::size_t n = std::min(count, kChunk);
        ps_process_raw(m_decoder, samples, n, FALSE, FALSE);
        m_fed += n;
        samples += n;
        count -= n;
        const bool speech = ps_get_in_speech(m_decoder);
        m_heardSpeech = m_heardSpeech || speech;
        collect(out, false);
        const double length = double(m_fed - m_utteranceStart) / kRate;
        if ((m_heardSpeech && !speech) || length > kLongestUtterance ||
            (length > kForcedAfterSeconds && !m_words.empty() && silentTail()) ||
            (!m_heardSpeech && !m_pendingModel.empty()))
            endUtterance(out);
    }
    return out;
}

std::vector<Hypothesis> PocketSphinxRecognizer::finish()
{
    std::vector<Hypothesis> out;
    if (m_decoder && m_inUtterance)
        endUtterance(out);
    return out;
}

}  // namespace velloran::platform
