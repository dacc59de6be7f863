#include "report.h"

#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "benchscripts.h"
#include "benchwindow.h"
#include "probeclient.h"
#include "suites.h"
#include "ui/script/scripttext.h"

namespace velloran::bench {

namespace {

constexpr int kRepetitions = 5;
constexpr int kStartupRuns = 5;
constexpr int kMemoryRuns = 3;
constexpr int kTimingRuns = 3;
constexpr double kTickBudgetUs = 1000;
constexpr double kTickRatioBudget = 1.2;
constexpr double kKeystrokeBudgetUs = 2000;
constexpr double kSaveBudgetMs = 200;
constexpr double kStartupBudgetMs = 500;
constexpr double kLatenessBudgetMs = 2;
constexpr double kMemoryBudgetMb = 150;
constexpr double kJumpBudgetUs = 16000;
constexpr double kFontStepBudgetUs = 50000;
constexpr double kMarkerEditBudgetUs = 1000;
constexpr double kLongLineKeystrokeBudgetUs = 50000;
constexpr double kLongLineStartupBudgetMs = 1000;

// Keeps the median of every benchmark, in its unit (microseconds here), and shows progress.
class MedianCollector : public benchmark::BenchmarkReporter {
public:
    std::map<std::string, double> medians;
    bool failed = false;

    bool ReportContext(const Context&) override { return true; }
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.error_occurred) {
                failed = true;
                std::fprintf(stderr, "  %s failed: %s\n", run.benchmark_name().c_str(),
                             run.error_message.c_str());
            } else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                medians[run.run_name.function_name] = run.GetAdjustedRealTime();
                std::fprintf(stderr, "  %-36s %12.1f us\n", run.run_name.function_name.c_str(),
                             run.GetAdjustedRealTime());
            }
        }
    }
};

// Runs the registered benchmarks with these flags after the program's name.
template <class Reporter>
void runBenchmarks(char* program, std::vector<std::string> flags, Reporter* reporter)
{
    std::vector<char*> arguments {program};
    for (std::string& flag : flags)
        arguments.push_back(flag.data());
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    if (reporter)
        benchmark::RunSpecifiedBenchmarks(reporter);
    else
        benchmark::RunSpecifiedBenchmarks();
}

QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    return QString::fromLatin1(file.readAll()).section(u' ', 0, 2);
}

std::string figure(double value, int decimals)
{
    if (value < 0)
        return "n/a";
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string verdict(bool holds)
{
    return holds ? "holds" : "**misses**";
}

const char* placeHeading(const char* tag)
{
    const std::string place = tag;
    return place == "home" ? "home" : place == "mid" ? "mid (-120000)" : "wrap (-239000)";
}

class Table {
public:
    explicit Table(const std::map<std::string, double>& medians) : m_medians(medians) { }

    double median(const std::string& name) const
    {
        const auto found = m_medians.find(name);
        return found == m_medians.end() ? -1 : found->second;
    }

    void windowSection() const
    {
        std::printf("\n#### Main window, one operation with its repaint (microseconds, median of %d)\n\n",
                    kRepetitions);
        std::printf(
            "| operation | place | 10 lines | 1 MB | 10 MB | 10 MB / 10 lines | budget | verdict |\n");
        std::printf("|---|---|---:|---:|---:|---:|---|---|\n");
        const char* operations[][2] = {{"tick", "tick (engine step + repaint)"},
                                       {"full_tick", "full-screen window tick, Control Panel shown"},
                                       {"play", "play toggle (to playing layout)"},
                                       {"pause", "pause toggle (to paused layout)"},
                                       {"font_step", "font size step"},
                                       {"nudge", "nudge"},
                                       {"bar_placement", "navigation-bar placement"},
                                       {"keystroke", "keystroke with character counter"}};
        for (const auto& operation : operations) {
            for (const Place& place : kPlaces) {
                const std::string base = operation[0];
                double values[3];
                for (std::size_t i = 0; i < kAllSizes.size(); ++i)
                    values[i] = median(base + "/" + sizeTag(kAllSizes[i]) + "/" + place.tag);
                const double ratio = values[0] > 0 ? values[2] / values[0] : -1;
                std::string budget = "-";
                std::string judged = "-";
                if (base == "tick" || base == "full_tick") {
                    budget = "10 MB <= 1.2x 10 lines and < 1000";
                    judged = verdict(ratio >= 0 && ratio <= kTickRatioBudget && values[2] < kTickBudgetUs);
                } else if (base == "keystroke") {
                    budget = "10 MB < 2000";
                    judged = verdict(values[2] >= 0 && values[2] < kKeystrokeBudgetUs);
                }
                std::printf("| %s | %s | %s | %s | %s | %s | %s | %s |\n", operation[1],
                            placeHeading(place.tag), figure(values[0], 1).c_str(),
                            figure(values[1], 1).c_str(), figure(values[2], 1).c_str(),
                            figure(ratio, 2).c_str(), budget.c_str(), judged.c_str());
            }
        }
    }

    void scriptSection() const
    {
        std::printf("\n#### Script in and out (milliseconds, median of %d)\n\n", kRepetitions);
        std::printf("| operation | 10 lines | 1 MB | 10 MB | budget | verdict |\n");
        std::printf("|---|---:|---:|---:|---|---|\n");
        const char* operations[][2] = {
            {"load_script", "load a script file (read, decode, into Tex, repaint)"},
            {"load_settings", "LoadSettings with the script in Settings.ini"},
            {"save_settings", "SaveSettings with PrepareText"},
            {"save_settings_quoted", "SaveSettings, script with double quotes"}};
        for (const auto& operation : operations) {
            double values[3];
            for (std::size_t i = 0; i < kAllSizes.size(); ++i) {
                const double us = median(std::string(operation[0]) + "/" + sizeTag(kAllSizes[i]));
                values[i] = us < 0 ? -1 : us / 1000.0;
            }
            const bool save = std::string(operation[0]).rfind("save", 0) == 0;
            std::printf("| %s | %s | %s | %s | %s | %s |\n", operation[1], figure(values[0], 2).c_str(),
                        figure(values[1], 2).c_str(), figure(values[2], 2).c_str(),
                        save ? "10 MB < 200" : "-",
                        save ? verdict(values[2] >= 0 && values[2] < kSaveBudgetMs).c_str() : "-");
        }
    }

    void wholeScriptSection() const
    {
        std::printf("\n#### With the whole-script option on (microseconds, median of %d)\n\n", kRepetitions);
        std::printf("Places: home; mid, half the script's range; end, 5000 twips before its wrap limit.\n\n");
        std::printf("| operation | place | 400 lines | 10 MB | 10 MB / 400 lines | budget | verdict |\n");
        std::printf("|---|---|---:|---:|---:|---|---|\n");
        const char* operations[][2] = {{"whole_tick", "tick"},
                                       {"whole_font_step", "font size step"},
                                       {"whole_keystroke", "keystroke with character counter"}};
        for (const auto& operation : operations) {
            for (const char* place : {"home", "mid", "end"}) {
                const std::string base = operation[0];
                const double few = median(base + "/lines400/" + place);
                const double many = median(base + "/mb10/" + place);
                const double ratio = few > 0 && many >= 0 ? many / few : -1;
                std::string budget = "10 MB < 2000";
                bool holds = many >= 0 && many < kKeystrokeBudgetUs;
                if (base == "whole_tick") {
                    budget = "10 MB <= 1.2x 400 lines and < 1000";
                    holds = ratio >= 0 && ratio <= kTickRatioBudget && many < kTickBudgetUs;
                } else if (base == "whole_font_step") {
                    budget = "10 MB < 50000";
                    holds = many >= 0 && many < kFontStepBudgetUs;
                }
                std::printf("| %s | %s | %s | %s | %s | %s | %s |\n", operation[1], place,
                            figure(few, 1).c_str(), figure(many, 1).c_str(), figure(ratio, 2).c_str(),
                            budget.c_str(), verdict(holds).c_str());
            }
        }
        const double few = median("whole_jump/lines400");
        const double many = median("whole_jump/mb10");
        std::printf("| jump by the bar, to the end and to the middle in turn | - | %s | %s | %s | 10 MB < "
                    "16000 | %s |\n",
                    figure(few, 1).c_str(), figure(many, 1).c_str(),
                    figure(few > 0 ? many / few : -1, 2).c_str(),
                    verdict(many >= 0 && many < kJumpBudgetUs).c_str());
        const double first = median("whole_first_jump/mb10");
        std::printf("| first jump to the end, just after the script came in | - | - | %s | - | 10 MB < 16000 "
                    "| %s |\n",
                    figure(first, 1).c_str(), verdict(first >= 0 && first < kJumpBudgetUs).c_str());
        std::printf("| layout settled, from the option on (background slices) | - | - | %s | - | - | - |\n",
                    figure(median("whole_settle/mb10"), 0).c_str());
    }

    void markerSection() const
    {
        std::printf("\n#### Markers, every 200th line (microseconds, median of %d)\n\n", kRepetitions);
        std::printf(
            "| operation | 10 lines | 1 MB | 10 MB | budget | verdict |\n|---|---:|---:|---:|---|---|\n");
        const char* operations[][2] = {{"marker_scan", "whole scan of the script as it comes in"},
                                       {"marker_edit", "rescan after a keystroke (its block's text fetched)"},
                                       {"marker_fetch", "for comparison: the document's whole text fetched"}};
        for (const auto& operation : operations) {
            double values[3];
            for (std::size_t i = 0; i < kAllSizes.size(); ++i)
                values[i] = median(std::string(operation[0]) + "/" + sizeTag(kAllSizes[i]));
            const bool edit = std::string(operation[0]) == "marker_edit";
            std::printf("| %s | %s | %s | %s | %s | %s |\n", operation[1], figure(values[0], 1).c_str(),
                        figure(values[1], 1).c_str(), figure(values[2], 1).c_str(),
                        edit ? "10 MB < 1000" : "-",
                        edit ? verdict(values[2] >= 0 && values[2] < kMarkerEditBudgetUs).c_str() : "-");
        }
    }

    // A pasted text with no line break: the keystroke, and the start-up from its probe.
    void longLineSection(const std::optional<Figures>& startup) const
    {
        std::printf("\n#### One line of %lld characters (median of %d)\n\n",
                    static_cast<long long>(kLongLineCharacters), kRepetitions);
        std::printf("| figure | value | budget | verdict |\n|---|---:|---|---|\n");
        for (const char* place : {"home", "mid"}) {
            const double us = median(std::string("keystroke/line1m/") + place);
            std::printf("| keystroke with character counter, %s (us) | %s | < 50000 | %s |\n",
                        placeHeading(place), figure(us, 1).c_str(),
                        verdict(us >= 0 && us < kLongLineKeystrokeBudgetUs).c_str());
        }
        const double ms = startup && startup->contains(QStringLiteral("startup_ms"))
                              ? startup->value(QStringLiteral("startup_ms"))
                              : -1;
        std::printf("| process start to the script painted on the shown window (ms) | %s | < 1000 | %s |\n",
                    figure(ms, 1).c_str(), verdict(ms >= 0 && ms < kLongLineStartupBudgetMs).c_str());
    }

private:
    const std::map<std::string, double>& m_medians;
};

// One row of probe figures, one column per script size.
void probeRow(const char* heading, const std::map<ScriptSize, std::optional<Figures>>& bySize,
              const char* key, int decimals, const char* budget, double limit, bool allSizes)
{
    std::printf("| %s |", heading);
    bool holds = true;
    for (const ScriptSize size : kAllSizes) {
        const auto& figures = bySize.at(size);
        const double value = figures && figures->contains(QString::fromLatin1(key))
                                 ? figures->value(QString::fromLatin1(key))
                                 : -1;
        std::printf(" %s |", figure(value, decimals).c_str());
        if (limit > 0 && (allSizes || size == ScriptSize::TenMb))
            holds = holds && value >= 0 && value < limit;
    }
    std::printf(" %s | %s |\n", budget, limit > 0 ? verdict(holds).c_str() : "-");
}

std::map<ScriptSize, std::optional<Figures>> probeEachSize(const QString& mode, int runs,
                                                           const QStringList& extra = {})
{
    std::map<ScriptSize, std::optional<Figures>> bySize;
    for (const ScriptSize size : kAllSizes) {
        std::fprintf(stderr, "  %s %s\n", qPrintable(mode), sizeTag(size));
        bySize[size] = medianOfRuns(
            QStringList {mode, QStringLiteral("--size=") + QLatin1String(sizeTag(size))} + extra, runs);
    }
    return bySize;
}

}  // namespace

int runTable(int, char** argv)
{
    const QString loadBefore = loadAverage();
    std::fprintf(stderr, "velloran_bench: benchmarks (%d repetitions each)\n", kRepetitions);
    registerWindowBenchmarks();
    registerScriptBenchmarks();
    registerWholeScriptBenchmarks();
    registerMarkerBenchmarks();
    MedianCollector collector;
    runBenchmarks(argv[0],
                  {"--benchmark_repetitions=" + std::to_string(kRepetitions), "--benchmark_min_time=0.1",
                   "--benchmark_report_aggregates_only=true"},
                  &collector);
    BenchWindow::releaseAll();

    std::fprintf(stderr, "velloran_bench: start-up, memory and tick timing, each in its own process\n");
    const auto startup = probeEachSize(QStringLiteral("--startup"), kStartupRuns);
    const auto memory = probeEachSize(QStringLiteral("--memory"), kMemoryRuns);
    const auto timing = probeEachSize(QStringLiteral("--timing"), kTimingRuns);
    std::fprintf(stderr, "  --startup %s\n", sizeTag(ScriptSize::LongLine));
    const auto longLineStartup =
        medianOfRuns({QStringLiteral("--startup"),
                      QStringLiteral("--size=") + QLatin1String(sizeTag(ScriptSize::LongLine))},
                     kStartupRuns);

    std::printf("### Benchmark figures\n\n2 cores, offscreen platform; load average %s before the run, "
                "%s after.\n",
                qPrintable(loadBefore), qPrintable(loadAverage()));
    const Table table(collector.medians);
    table.windowSection();
    table.scriptSection();
    table.wholeScriptSection();
    table.markerSection();
    table.longLineSection(longLineStartup);

    std::printf("\n#### Start-up with the script in Settings.ini (milliseconds, median of %d processes)\n\n",
                kStartupRuns);
    std::printf("| figure | 10 lines | 1 MB | 10 MB | budget | verdict |\n|---|---:|---:|---:|---|---|\n");
    probeRow("process start to the script painted on the shown window", startup, "startup_ms", 1,
             "10 MB < 500", kStartupBudgetMs, false);
    probeRow("of which QApplication", startup, "app_ms", 1, "-", 0, false);
    probeRow("of which building frmSet", startup, "build_ms", 1, "-", 0, false);
    probeRow("of which Form_Load (LoadSettings)", startup, "form_load_ms", 1, "-", 0, false);
    probeRow("of which show and first paint", startup, "show_ms", 1, "-", 0, false);

    std::printf("\n#### Peak memory (MB, VmHWM, median of %d processes)\n\n", kMemoryRuns);
    std::printf("| figure | 10 lines | 1 MB | 10 MB | budget | verdict |\n|---|---:|---:|---:|---|---|\n");
    probeRow("after start-up", memory, "startup_peak_mb", 1, "-", 0, false);
    probeRow("after start-up, 300 ticks, font steps, a key and the save", memory, "peak_mb", 1, "10 MB < 150",
             kMemoryBudgetMb, false);

    std::printf("\n#### tScroll at speed 10 for 5 s, playing, painted by the event loop "
                "(median of %d processes)\n\n",
                kTimingRuns);
    std::printf("| figure | 10 lines | 1 MB | 10 MB | budget | verdict |\n|---|---:|---:|---:|---|---|\n");
    probeRow("mean interval (ms)", timing, "mean_interval_ms", 3, "-", 0, false);
    probeRow("interval standard deviation (ms)", timing, "interval_sd_ms", 3, "-", 0, false);
    probeRow("99th percentile lateness (ms)", timing, "p99_lateness_ms", 3, "< 2 at every size",
             kLatenessBudgetMs, true);
    probeRow("largest lateness (ms)", timing, "max_lateness_ms", 3, "-", 0, false);
    probeRow("ticks", timing, "ticks", 0, "-", 0, false);
    probeRow("ideal ticks", timing, "ideal", 0, "-", 0, false);
    probeRow("ticks missed", timing, "missed", 0, "-", 0, false);
    return collector.failed ? 1 : 0;
}

int runSmoke(int, char** argv)
{
    int faults = 0;
    const auto fault = [&faults](const char* what) {
        std::fprintf(stderr, "bench_smoke: %s\n", what);
        ++faults;
    };

    // The measured work must really happen: a tick that moves the script paints it, and a key
    // typed into the script reaches the character counter.
    BenchWindow& bench = BenchWindow::forSize(ScriptSize::TenLines);
    bench.setPlaying(true);
    bench.place(480);
    const long long textPaints = bench.paints().text;
    for (int tick = 0; tick < 3; ++tick) {
        bench.tick();
        bench.settle();
    }
    if (bench.paints().text == textPaints)
        fault("three ticks at home did not repaint the script");
    bench.setPlaying(false);
    const QString counter = bench.window().findChild<QLabel*>(QStringLiteral("lChar"))->text();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QCoreApplication::sendEvent(&bench.text(), &press);
    bench.settle();
    if (bench.window().findChild<QLabel*>(QStringLiteral("lChar"))->text() == counter)
        fault("a key typed into the script left the character counter as it was");
    BenchWindow::releaseAll();
    if (markersFound(ScriptSize::OneMb) != markersMade(ScriptSize::OneMb))
        fault("the marker scan did not find the markers of the marked 1 MB script");

    registerWindowBenchmarks();
    registerScriptBenchmarks();
    registerWholeScriptBenchmarks();
    registerMarkerBenchmarks();
    runBenchmarks<benchmark::BenchmarkReporter>(
        argv[0], {"--benchmark_filter=/lines10|whole_.*/lines400", "--benchmark_min_time=0.001"}, nullptr);
    BenchWindow::releaseAll();

    const QString tiny = QStringLiteral("--size=lines10");
    if (!runProbe({QStringLiteral("--startup"), tiny}))
        fault("the start-up probe failed");
    if (!runProbe({QStringLiteral("--memory"), tiny}))
        fault("the memory probe failed");
    if (!runProbe({QStringLiteral("--timing"), tiny, QStringLiteral("--seconds=0.2")}))
        fault("the timing probe failed");
    std::printf("bench_smoke: %d fault(s)\n", faults);
    return faults == 0 ? 0 : 1;
}

}  // namespace velloran::bench
