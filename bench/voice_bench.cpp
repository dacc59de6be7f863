// velloran_voice_bench: the real recogniser and aligner over the spoken corpus that
// bench/voice_corpus.py makes, one table row per condition.
//
//   velloran_voice_bench CORPUS                     every condition, each in a process of its own
//                                                   (so its peak memory is its own), as a table
//   velloran_voice_bench CORPUS --condition=NAME    one condition, printed as one line of figures
//   velloran_voice_bench CORPUS --trace=FILE.wav    the place over time for one recording
//
// Audio goes in 20 ms pieces, as the WAV input of the program delivers it, faster than real time;
// every result is timed on a simulated real-time clock: a piece can be worked on once it has been
// "recorded" and once the piece before is done, and takes the processor time it took here.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <limits>
#include <map>

#include "engine/scriptwords.h"
#include "platform/pocketsphinxrecognizer.h"
#include "platform/voicepipeline.h"
#include "session/wavaudio.h"

namespace {

using velloran::engine::ScriptWord;
using velloran::platform::VoicePipeline;

constexpr std::size_t kPiece = 320;   // 20 ms
constexpr int kLineCharacters = 35;   // the main window's script line, in characters
constexpr double kSampleEvery = 0.1;  // seconds between place-error samples
constexpr double kNever = std::numeric_limits<double>::infinity();
const char* const kConditions[] = {"straight", "adlib", "skip", "repeat", "pause"};

double threadSeconds()
{
    timespec t {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

double peakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto at = std::size_t(std::ceil(p / 100.0 * double(values.size()))) - 1;
    return values[std::min(at, values.size() - 1)];
}

// The script's words, the word range of every non-empty text line (a sentence in the corpus) and
// the screen line of every word when the text is wrapped as the main window wraps it.
struct Script {
    QString text;
    std::vector<ScriptWord> words;
    std::vector<std::pair<std::size_t, std::size_t>> sentences;
    std::vector<int> screenLine;
};

Script readScript(const QString& path)
{
    Script script;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        script.text = QString::fromUtf8(file.readAll());
    auto view = [](const QString& s) {
        return std::u16string_view(reinterpret_cast<const char16_t*>(s.utf16()), std::size_t(s.size()));
    };
    script.words = velloran::engine::splitScriptWords(view(script.text));
    std::size_t next = 0;
    for (const QString& line : script.text.split(QLatin1Char('\n'))) {
        if (line.trimmed().isEmpty())
            continue;
        const std::size_t count = velloran::engine::splitScriptWords(view(line)).size();
        script.sentences.emplace_back(next, next + count);
        next += count;
    }
    // Greedy wrapping by blank-separated tokens; an empty text line is a screen line of its own.
    std::vector<std::pair<qsizetype, int>> lineStarts;  // text offset, screen line
    int screen = 0;
    qsizetype at = 0;
    for (const QString& line : script.text.split(QLatin1Char('\n'))) {
        int width = 0;
        for (const QString& token : line.split(QLatin1Char(' '))) {
            if (width > 0 && width + 1 + token.size() > kLineCharacters) {
                ++screen;
                width = 0;
            }
            lineStarts.emplace_back(at, screen);
            width += (width > 0 ? 1 : 0) + int(token.size());
            at += token.size() + 1;
        }
        ++screen;
    }
    for (const ScriptWord& word : script.words) {
        const auto it =
            std::upper_bound(lineStarts.begin(), lineStarts.end(), qsizetype(word.offset),
                             [](qsizetype offset, const auto& start) { return offset < start.first; });
        script.screenLine.push_back(it == lineStarts.begin() ? 0 : std::prev(it)->second);
    }
    return script;
}

// When each script word was said: its end, shared out over its sentence by the letters of the words.
struct Said {
    std::size_t word;
    double start;
    double end;
    bool again;  // the second reading of a repeated sentence
};

struct Event {
    QString kind;
    double start;
    double end;
};

struct Truth {
    std::vector<Said> said;
    std::vector<Event> events;  // off-script speech and pauses
    double skipResume = -1;     // after a skipped paragraph: when the reader goes on, and where
    std::size_t skipWord = 0;
};

Truth readTruth(const QJsonObject& json, const Script& script)
{
    Truth truth;
    std::map<int, int> readings;
    int lastLine = -1;
    for (const QJsonValue& value : json.value(QStringLiteral("segments")).toArray()) {
        const QJsonObject segment = value.toObject();
        const QString kind = segment.value(QStringLiteral("kind")).toString();
        const double start = segment.value(QStringLiteral("start")).toDouble();
        const double end = segment.value(QStringLiteral("end")).toDouble();
        if (kind != QStringLiteral("line")) {
            truth.events.push_back({kind, start, end});
            continue;
        }
        const int line = segment.value(QStringLiteral("line")).toInt();
        const auto [from, to] = script.sentences.at(std::size_t(line));
        if (lastLine >= 0 && line > lastLine + 1) {
            truth.skipResume = start;
            truth.skipWord = from;
        }
        lastLine = line;
        const bool again = readings[line]++ > 0;
        double letters = 0;
        for (std::size_t w = from; w < to; ++w)
            letters += double(script.words[w].word.size()) + 2;
        double done = 0;
        for (std::size_t w = from; w < to; ++w) {
            const double wordStart = start + (end - start) * done / letters;
            done += double(script.words[w].word.size()) + 2;
            truth.said.push_back({w, wordStart, start + (end - start) * done / letters, again});
        }
    }
    return truth;
}

// The place over time: (simulated time it was known, word).
using Timeline = std::vector<std::pair<double, std::size_t>>;

std::size_t placeAt(const Timeline& timeline, double t)
{
    auto it = std::upper_bound(timeline.begin(), timeline.end(), t,
                               [](double time, const auto& entry) { return time < entry.first; });
    return it == timeline.begin() ? 0 : std::prev(it)->second;
}

struct Figures {
    std::vector<double> lags;
    std::vector<double> errors;
    std::vector<double> refind;
    int unreached = 0;
    int linesMoved = 0;     // the most, during off-script speech or a pause
    int backwardMoves = 0;  // in any one run
    int largestBackLines = 0;
    std::size_t largestBackWords = 0;
    double cpuSeconds = 0;
    double audioSeconds = 0;
    int runs = 0;
};

Timeline follow(const Script& script, const std::vector<std::int16_t>& audio, double* cpu, bool trace)
{
    VoicePipeline pipeline(std::make_unique<velloran::platform::PocketSphinxRecognizer>(
        velloran::platform::defaultSpeechModel(), velloran::platform::defaultSpeechDictionary()));
    QString message;
    if (!pipeline.load(&message) || !pipeline.setScript(script.text, &message)) {
        std::fprintf(stderr, "velloran_voice_bench: %s\n", qPrintable(message));
        std::exit(1);
    }
    Timeline timeline {{0.0, pipeline.place().word}};
    double done = 0;
    for (std::size_t at = 0; at < audio.size(); at += kPiece) {
        const std::size_t count = std::min(kPiece, audio.size() - at);
        const double before = threadSeconds();
        pipeline.feed(audio.data() + at, count);
        const double spent = threadSeconds() - before;
        *cpu += spent;
        done = std::max(double(at + count) / velloran::session::kSpeechRate, done) + spent;
        if (pipeline.place().word != timeline.back().second) {
            timeline.emplace_back(done, pipeline.place().word);
            if (trace)
                std::printf("%8.2f %5zu %s\n", done, pipeline.place().word,
                            script.words[pipeline.place().word].word.c_str());
        }
    }
    return timeline;
}

void measure(const QString& wavPath, Figures& figures, bool trace)
{
    QFile jsonFile(QString(wavPath).replace(QStringLiteral(".wav"), QStringLiteral(".json")));
    QFile wavFile(wavPath);
    if (!jsonFile.open(QIODevice::ReadOnly) || !wavFile.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "velloran_voice_bench: cannot read %s\n", qPrintable(wavPath));
        std::exit(1);
    }
    const QJsonObject json = QJsonDocument::fromJson(jsonFile.readAll()).object();
    const Script script =
        readScript(QFileInfo(wavPath).dir().filePath(json.value(QStringLiteral("text")).toString()));
    const Truth truth = readTruth(json, script);
    const auto audio = velloran::session::decodeWav(wavFile.readAll());
    if (!audio || truth.said.empty())
        std::exit(1);
    double cpu = 0;
    const Timeline timeline = follow(script, *audio, &cpu, trace);
    figures.cpuSeconds += cpu;
    figures.audioSeconds += double(audio->size()) / velloran::session::kSpeechRate;
    ++figures.runs;

    // Lag: from the end of each word (its first reading) until the place first reaches it.
    for (const Said& said : truth.said) {
        if (said.again)
            continue;
        const auto reached = std::find_if(timeline.begin(), timeline.end(),
                                          [&](const auto& entry) { return entry.second >= said.word; });
        const double lag = reached == timeline.end() ? kNever : std::max(0.0, reached->first - said.end);
        figures.lags.push_back(lag);
        figures.unreached += reached == timeline.end();
    }
    // Place error while the reader reads: against the last word said by then.
    const double first = truth.said.front().start;
    const double last = truth.said.back().end;
    std::size_t next = 0;
    for (double t = first; t <= last; t += kSampleEvery) {
        while (next < truth.said.size() && truth.said[next].end <= t)
            ++next;
        const bool inEvent = std::any_of(truth.events.begin(), truth.events.end(),
                                         [&](const Event& e) { return t >= e.start && t <= e.end + 2; });
        if (inEvent || (truth.skipResume >= 0 && t >= truth.skipResume && t < truth.skipResume + 4))
            continue;
        const std::size_t expected = next == 0 ? truth.said.front().word : truth.said[next - 1].word;
        figures.errors.push_back(std::abs(double(placeAt(timeline, t)) - double(expected)));
    }
    // Re-finding the place after a skipped paragraph.
    if (truth.skipResume >= 0) {
        const auto found = std::find_if(timeline.begin(), timeline.end(), [&](const auto& entry) {
            return entry.first >= truth.skipResume && entry.second >= truth.skipWord &&
                   entry.second <= truth.skipWord + 20;
        });
        figures.refind.push_back(found == timeline.end() ? kNever : found->first - truth.skipResume);
    }
    // Moving on during off-script speech or a pause: screen lines past the last word said before it.
    for (const Event& event : truth.events) {
        std::size_t before = 0;
        for (const Said& said : truth.said) {
            if (said.end <= event.start)
                before = said.word;
        }
        int moved = 0;
        for (const auto& [time, word] : timeline) {
            if (time >= event.start && time <= event.end)
                moved = std::max(moved, script.screenLine[word] - script.screenLine[before]);
        }
        figures.linesMoved = std::max(figures.linesMoved, moved);
    }
    // Moves back, and the largest in screen lines.
    int backward = 0;
    for (std::size_t i = 1; i < timeline.size(); ++i) {
        if (timeline[i].second >= timeline[i - 1].second)
            continue;
        ++backward;
        figures.largestBackWords =
            std::max(figures.largestBackWords, timeline[i - 1].second - timeline[i].second);
        figures.largestBackLines =
            std::max(figures.largestBackLines,
                     script.screenLine[timeline[i - 1].second] - script.screenLine[timeline[i].second]);
    }
    figures.backwardMoves = std::max(figures.backwardMoves, backward);
}

QString seconds(double value)
{
    return std::isinf(value) ? QStringLiteral("never")
                             : QString::number(value, 'f', 2) + QStringLiteral(" s");
}

int runCondition(const QString& corpus, const QString& condition)
{
    Figures figures;
    const QStringList files = QDir(corpus).entryList(
        {QStringLiteral("*-") + condition + QStringLiteral(".wav")}, QDir::Files, QDir::Name);
    for (const QString& file : files) {
        std::fprintf(stderr, "  %s\n", qPrintable(file));
        measure(QDir(corpus).filePath(file), figures, false);
    }
    if (figures.runs == 0) {
        std::fprintf(stderr, "velloran_voice_bench: no %s recordings in %s\n", qPrintable(condition),
                     qPrintable(corpus));
        return 1;
    }
    const QString refind = figures.refind.empty() ? QStringLiteral("-")
                                                  : QStringLiteral("%1 (median %2)")
                                                        .arg(seconds(percentile(figures.refind, 100)),
                                                             seconds(percentile(figures.refind, 50)));
    std::printf("| %s | %d | %s | %s | %.0f | %s | %d | %d (%d lines, %zu words) | %.1f %% | %.0f MB |\n",
                qPrintable(condition), figures.runs, qPrintable(seconds(percentile(figures.lags, 50))),
                qPrintable(seconds(percentile(figures.lags, 95))), percentile(figures.errors, 95),
                qPrintable(refind), figures.linesMoved, figures.backwardMoves, figures.largestBackLines,
                figures.largestBackWords, 100.0 * figures.cpuSeconds / figures.audioSeconds, peakMegabytes());
    if (figures.unreached > 0)
        std::fprintf(stderr, "  %d words never reached\n", figures.unreached);
    return 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments().mid(1);
    if (arguments.isEmpty()) {
        std::fprintf(stderr, "usage: velloran_voice_bench CORPUS [--condition=NAME | --trace=FILE.wav]\n");
        return 2;
    }
    const QString corpus = arguments.first();
    for (const QString& argument : arguments.mid(1)) {
        if (argument.startsWith(QStringLiteral("--condition=")))
            return runCondition(corpus, argument.mid(12));
        if (argument.startsWith(QStringLiteral("--trace="))) {
            Figures figures;
            measure(QDir(corpus).filePath(argument.mid(8)), figures, true);
            return 0;
        }
    }
    std::printf("| condition | recordings | lag, median | lag, 95th pct | place error, 95th pct (words) | "
                "re-found after the skip, slowest | lines moved in ad-lib or pause | backward moves, most "
                "in a run (largest) | CPU, one core | peak memory |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|---|\n");
    std::fflush(stdout);
    int status = 0;
    for (const char* condition : kConditions) {
        std::fprintf(stderr, "%s\n", condition);
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(),
                    {corpus, QStringLiteral("--condition=") + QLatin1String(condition)});
        child.waitForFinished(-1);
        std::fputs(child.readAllStandardOutput().constData(), stdout);
        std::fflush(stdout);
        status |= child.exitCode();
    }
    return status;
}
