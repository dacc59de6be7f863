// What the user sees the main window do: every figure is the handler plus the repaint it causes.
// Each timed region ends with BenchWindow::settle(), which delivers the posted update requests,
// so the widgets repaint into the backing store and it is flushed before the clock stops; the
// "paints" counters (paint events per iteration) show that this painting really took place.
#include <QApplication>
#include <QMouseEvent>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <string>

#include "benchwindow.h"
#include "suites.h"
#include "ui/fullscreen/frmfull.h"
#include "ui/pane/timingaids.h"
#include "ui/script/scripttext.h"
#include "ui/widgets/navigationbar.h"
#include "widgettools.h"

namespace velloran::bench {

namespace {

// Ticks between returns to the starting position, so a run stays near the place it measures.
constexpr int kTicksPerReturn = 50;

class PaintTally {
public:
    explicit PaintTally(const PaintCounter& counter) : m_counter(counter) { }
    template <class Work> double measure(Work&& work)
    {
        const long long all = m_counter.all;
        const long long text = m_counter.text;
        const double seconds = secondsOf(work);
        m_all += m_counter.all - all;
        m_text += m_counter.text - text;
        return seconds;
    }
    void report(benchmark::State& state) const
    {
        state.counters["paints"] = benchmark::Counter(double(m_all), benchmark::Counter::kAvgIterations);
        state.counters["text_paints"] =
            benchmark::Counter(double(m_text), benchmark::Counter::kAvgIterations);
    }

private:
    const PaintCounter& m_counter;
    long long m_all = 0;
    long long m_text = 0;
};

void tick(benchmark::State& state, ScriptSize size, float start)
{
    BenchWindow& bench = BenchWindow::forSize(size);
    bench.setPlaying(true);
    bench.place(start);
    PaintTally tally(bench.paints());
    int ticks = 0;
    for (auto _ : state) {
        if (++ticks > kTicksPerReturn) {
            bench.place(start);
            ticks = 1;
        }
        state.SetIterationTime(tally.measure([&] {
            bench.tick();
            bench.settle();
        }));
    }
    tally.report(state);
}

// The same with the time left shown and the markers found (their ticks are drawn only while
// paused): each tick then works out the time left and rewrites its readout when it changes.
void timedTick(benchmark::State& state, ScriptSize size, float start)
{
    BenchWindow& bench = BenchWindow::forSize(size);
    session::Preferences timing;
    timing.timeLeft = timing.markers = true;
    auto* aids = bench.window().findChild<ui::TimingAids*>(QStringLiteral("timing"));
    aids->apply(timing);
    tick(state, size, start);
    aids->apply(session::Preferences {});
}

// The full-screen window's tick, playing, with the main window's script copied in at its load.
void fullTick(benchmark::State& state, ScriptSize size, float start)
{
    BenchWindow& bench = BenchWindow::forSize(size);
    bench.setPlaying(false);
    ui::frmFull full(bench.session());
    full.Form_Load();
    ManualTimers timers(full.findChildren<QTimer*>());
    full.show();
    widgettools::paneOf(&full).TogglePlay();
    auto* tScroll = full.findChild<QTimer*>(QStringLiteral("tScroll"));
    const auto place = [&] {
        widgettools::paneOf(&full).setPosition(start);
        widgettools::paneOf(&full).ShowPosition();
        bench.settle();
    };
    place();
    PaintTally tally(bench.paints());
    int ticks = 0;
    for (auto _ : state) {
        if (++ticks > kTicksPerReturn) {
            place();
            ticks = 1;
        }
        state.SetIterationTime(tally.measure([&] {
            timers.expire(tScroll);
            bench.settle();
        }));
    }
    tally.report(state);
}

void toggle(benchmark::State& state, ScriptSize size, float position, bool toPlaying)
{
    BenchWindow& bench = BenchWindow::forSize(size);
    bench.setPlaying(!toPlaying);
    bench.place(position);
    PaintTally tally(bench.paints());
    for (auto _ : state) {
        state.SetIterationTime(tally.measure([&] {
            bench.pane().TogglePlay();
            bench.settle();
        }));
        bench.pane().TogglePlay();
        bench.settle();
    }
    tally.report(state);
}

// One step per iteration, alternately larger and smaller, so the size stays near the design one.
void fontStep(benchmark::State& state, ScriptSize size, float position)
{
    BenchWindow& bench = BenchWindow::forSize(size);
    bench.setPlaying(true);
    bench.place(position);
    PaintTally tally(bench.paints());
    alternateFontSteps(state, bench, [&tally](auto work) { return tally.measure(work); });
    bench.settle();
    tally.report(state);
}

void nudge(benchmark::State& state, ScriptSize size, float position)
{
    BenchWindow& bench = BenchWindow::forSize(size);
    bench.setPlaying(true);
    bench.place(position);
    PaintTally tally(bench.paints());
    bool up = true;
    for (auto _ : state) {
        state.SetIterationTime(tally.measure([&] {
            if (up)
                bench.pane().nudgeUp();
            else
                bench.pane().nudgeDown();
            bench.settle();
        }));
        up = !up;
    }
    tally.report(state);
}

// A move with the left button held over the bar, alternating between two neighbouring pixel
// rows at the place measured (kept inside the bar and above its lower guard).
void barPlacement(benchmark::State& state, ScriptSize size, float position)
{
    BenchWindow& bench = BenchWindow::forSize(size);
    bench.setPlaying(false);
    bench.place(position);
    auto* bar = bench.window().findChild<ui::NavigationBar*>(QStringLiteral("Tip"));
    const double units = double(position) + engine::kSurfaceHeight;  // the bar's own scale
    const int height = bar->height();
    const int row = std::clamp(int(std::floor(units * height / bar->scaleHeight())), 0, height - 2);
    PaintTally tally(bench.paints());
    bool lower = false;
    for (auto _ : state) {
        const QPointF point(2, row + (lower ? 1 : 0));
        QMouseEvent move(QEvent::MouseMove, point, bar->mapToGlobal(point), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        state.SetIterationTime(tally.measure([&] {
            QApplication::sendEvent(bar, &move);
            bench.settle();
        }));
        lower = !lower;
    }
    tally.report(state);
}

// A key typed into the script where it is shown, then taken back by the next iteration's
// Backspace, so the script keeps its length; both keys count, the character counter included.
void keystroke(benchmark::State& state, ScriptSize size, float position)
{
    BenchWindow& bench = BenchWindow::forSize(size);
    bench.setPlaying(false);
    bench.place(position);
    ui::ScriptText& text = bench.text();
    // In the middle of what can be seen of the script, as a user would click before typing.
    const QPoint seen = text.visibleRegion().boundingRect().center();
    text.setTextCursor(text.cursorForPosition(text.viewport()->mapFrom(&text, QPoint(20, seen.y()))));
    bench.settle();
    PaintTally tally(bench.paints());
    bool typeLetter = true;
    for (auto _ : state) {
        const int key = typeLetter ? Qt::Key_X : Qt::Key_Backspace;
        const QString typed = typeLetter ? QStringLiteral("x") : QStringLiteral("\b");
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, typed);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, typed);
        state.SetIterationTime(tally.measure([&] {
            QApplication::sendEvent(&text, &press);
            QApplication::sendEvent(&text, &release);
            bench.settle();
        }));
        typeLetter = !typeLetter;
    }
    if (!typeLetter) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
        QApplication::sendEvent(&text, &press);
    }
    bench.settle();
    tally.report(state);
}

}  // namespace

void registerWindowBenchmarks()
{
    for (const Place& place : kPlaces) {
        for (const ScriptSize size : kAllSizes) {
            const std::string suffix = std::string("/") + sizeTag(size) + "/" + place.tag;
            addTimed("tick" + suffix, tick, size, place.position);
            addTimed("tick_timing" + suffix, timedTick, size, place.position);
            addTimed("full_tick" + suffix, fullTick, size,
                     place.position == kPlaces[0].position ? engine::kFullHome : place.position);
            addTimed("play" + suffix, toggle, size, place.position, true);
            addTimed("pause" + suffix, toggle, size, place.position, false);
            addTimed("font_step" + suffix, fontStep, size, place.position);
            addTimed("nudge" + suffix, nudge, size, place.position);
            addTimed("bar_placement" + suffix, barPlacement, size, place.position);
            addTimed("keystroke" + suffix, keystroke, size, place.position);
        }
        // A pasted text with no line break, typed into near its start and in its middle.
        if (place.position > engine::kWrapLimit + 1000)
            addTimed(std::string("keystroke/line1m/") + place.tag, keystroke, ScriptSize::LongLine,
                     place.position);
    }
}

}  // namespace velloran::bench
