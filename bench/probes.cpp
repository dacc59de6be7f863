#include "probes.h"
#include "widgettools.h"

#include <QAbstractSlider>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "benchwindow.h"
#include "session/recoverycopy.h"
#include "startedwindow.h"
#include "ui/script/scripttext.h"

namespace velloran::bench {

namespace {

using Clock = StartedWindow::Clock;

// Settings.ini with the generated script of that size, or a copy of the given file.
bool prepareFolder(const QTemporaryDir& folder, ScriptSize size, const QString& settingsFile = {})
{
    if (!folder.isValid())
        return false;
    const QString target = QDir(folder.path()).filePath(QStringLiteral("Settings.ini"));
    if (!settingsFile.isEmpty())
        return QFile::copy(settingsFile, target);
    return testing::writeBytes(target, settingsWithScript(scriptBytes(size)));
}

// A line of /proc/self/status in megabytes, or -1 where there is none.
double statusMegabytes(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

void settle()
{
    QCoreApplication::processEvents();
}

void typeKey(QWidget* target, Qt::Key key, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

// Notes when each expiry of a timer arrives, before its handler runs.
class ExpiryLog : public QObject {
    Q_OBJECT

public:
    std::vector<Clock::time_point> times;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Timer)
            times.push_back(Clock::now());
        return false;
    }
};

double percentile(std::vector<double> values, double fraction)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(std::ceil(fraction * double(values.size()))) - 1;
    return values[std::min(index, values.size() - 1)];
}

}  // namespace

int runStartupProbe(ScriptSize size, const QString& settingsFile, int& argc, char** argv)
{
    const QTemporaryDir folder;
    if (!prepareFolder(folder, size, settingsFile))
        return 1;
    const Clock::time_point start = Clock::now();
    QApplication app(argc, argv);
    const Clock::time_point appMade = Clock::now();
    StartedWindow started(folder.path());
    if (!started.painted())
        return 1;
    std::printf("startup_ms=%.2f app_ms=%.2f build_ms=%.2f form_load_ms=%.2f show_ms=%.2f "
                "script_chars=%lld\n",
                millisecondsBetween(start, started.shown), millisecondsBetween(start, appMade),
                millisecondsBetween(appMade, started.built),
                millisecondsBetween(started.built, started.loaded),
                millisecondsBetween(started.loaded, started.shown),
                static_cast<long long>(widgettools::texOf(&started.window())->scriptLength()));
    return 0;
}

int runMemoryProbe(ScriptSize size, const QString& settingsFile)
{
    const QTemporaryDir folder;
    if (!prepareFolder(folder, size, settingsFile))
        return 1;
    StartedWindow started(folder.path());
    if (!started.painted())
        return 1;
    const double afterStartup = statusMegabytes("VmHWM");

    // A spell of use: ticks at the three places, a font step each way, a key and its Backspace,
    // and the save at exit, each followed by its repaint.
    ui::frmSet& window = started.window();
    auto* tScroll = window.findChild<QTimer*>(QStringLiteral("tScroll"));
    for (const float place : {480.0f, -120000.0f, -239000.0f}) {
        widgettools::paneOf(&window).scroller().setPosition(place);
        for (int tick = 0; tick < 100; ++tick) {
            QMetaObject::invokeMethod(tScroll, "timeout");
            settle();
        }
    }
    widgettools::paneOf(&window).cFntPlus_Click();
    settle();
    widgettools::paneOf(&window).cFntMinus_Click();
    settle();
    typeKey(widgettools::texOf(&window), Qt::Key_X, QStringLiteral("x"));
    typeKey(widgettools::texOf(&window), Qt::Key_Backspace, QStringLiteral("\b"));
    settle();
    window.SaveSettings();
    settle();
    std::printf("peak_mb=%.1f startup_peak_mb=%.1f rss_mb=%.1f\n", statusMegabytes("VmHWM"), afterStartup,
                statusMegabytes("VmRSS"));
    return 0;
}

int runTimingProbe(ScriptSize size, double seconds, int recoveryEveryMs)
{
    constexpr int kSpeed = 10;
    const QTemporaryDir folder;
    if (!prepareFolder(folder, size))
        return 1;
    StartedWindow started(folder.path());
    if (!started.painted())
        return 1;
    ui::frmSet& window = started.window();
    window.findChild<QAbstractSlider*>(QStringLiteral("sSpeed"))->setValue(kSpeed);
    auto* tScroll = window.findChild<QTimer*>(QStringLiteral("tScroll"));
    if (widgettools::paneOf(&window).speedValue() != kSpeed || tScroll->interval() != kSpeed)
        return 1;
    ExpiryLog log;
    tScroll->installEventFilter(&log);

    // The copy is asked for at the given pace and taken at once: the script collected in slices,
    // the record written by the worker. The program itself takes one at most every couple of
    // seconds (each change restarts its wait).
    auto* copy = window.findChild<session::RecoveryCopy*>();
    int copiesWritten = 0;
    QTimer pulse;
    if (recoveryEveryMs > 0) {
        copy->setDelay(0);
        QObject::connect(copy, &session::RecoveryCopy::copyWritten, [&](bool ok) { copiesWritten += ok ? 1 : 0; });
        QObject::connect(&pulse, &QTimer::timeout, copy, &session::RecoveryCopy::noteChange);
        pulse.start(recoveryEveryMs);
    }

    // Expiries are due on a grid from the moment play starts the timer (its first step); the
    // loop runs half an interval past the span so the last one due inside it is seen.
    const double spanMs = seconds * 1000.0;
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(spanMs + kSpeed / 2.0), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    const Clock::time_point start = Clock::now();
    widgettools::paneOf(&window).TogglePlay();
    loop.exec();
    widgettools::paneOf(&window).TogglePlay();
    pulse.stop();
    tScroll->removeEventFilter(&log);

    // Lateness against the grid; after an expiry more than an interval late the timer starts a
    // new grid from it, and so does this count.
    std::vector<double> lateness;
    std::vector<double> intervals;
    double anchor = 0;
    int sinceAnchor = 0;
    for (std::size_t i = 0; i < log.times.size(); ++i) {
        const double at = millisecondsBetween(start, log.times[i]);
        const double late = at - (anchor + ++sinceAnchor * kSpeed);
        lateness.push_back(late);
        if (late >= kSpeed) {
            anchor = at;
            sinceAnchor = 0;
        }
        if (i > 0)
            intervals.push_back(millisecondsBetween(log.times[i - 1], log.times[i]));
    }
    double mean = 0;
    for (const double interval : intervals)
        mean += interval;
    mean = intervals.empty() ? 0 : mean / double(intervals.size());
    double variance = 0;
    for (const double interval : intervals)
        variance += (interval - mean) * (interval - mean);
    const double deviation = intervals.size() > 1 ? std::sqrt(variance / double(intervals.size() - 1)) : 0;
    const int ideal = static_cast<int>(std::floor(spanMs / kSpeed));
    const int ticks = static_cast<int>(log.times.size());
    std::printf("mean_interval_ms=%.3f interval_sd_ms=%.3f p99_lateness_ms=%.3f max_lateness_ms=%.3f "
                "ticks=%d ideal=%d missed=%d recovery_copies=%d\n",
                mean, deviation, percentile(lateness, 0.99),
                lateness.empty() ? 0.0 : *std::max_element(lateness.begin(), lateness.end()), ticks, ideal,
                std::max(0, ideal - ticks), copiesWritten);
    return 0;
}

}  // namespace velloran::bench

#include "probes.moc"
