// The whole-script option: the same window operations at places spread over the whole script,
// for a 400-line script and for 10 MB, and the jump to the end of a 10 MB script that has only
// just come in. Each timed region ends with BenchWindow::settle(), as in window_bench.cpp, so a
// pending idle-time layout slice (at most 4 ms) is counted where one runs.
#include <QApplication>
#include <QMouseEvent>
#include <QTimer>

#include <cstring>
#include <memory>
#include <string>

#include "benchwindow.h"
#include "suites.h"
#include "ui/script/scripttext.h"
#include "ui/widgets/navigationbar.h"

namespace velloran::bench {

namespace {

constexpr int kTicksPerReturn = 50;
constexpr const char* kWholePlaces[] = {"home", "mid", "end"};

// Home, the middle of the range, and 5000 twips before its end.
double placeIn(BenchWindow& bench, const char* tag)
{
    const double wrap = bench.pane().scroller().range().wrapLimit;
    if (!std::strcmp(tag, "mid"))
        return wrap / 2;
    if (!std::strcmp(tag, "end"))
        return wrap + 5000;
    return engine::kMainHome;
}

void placeExactly(BenchWindow& bench, double position)
{
    bench.pane().scroller().setPosition(position);
    bench.pane().ShowPosition();
    bench.settle();
}

void wholeTick(benchmark::State& state, ScriptSize size, const char* tag)
{
    BenchWindow& bench = BenchWindow::forWholeScript(size);
    bench.setPlaying(true);
    const double start = placeIn(bench, tag);
    placeExactly(bench, start);
    int ticks = 0;
    for (auto _ : state) {
        if (++ticks > kTicksPerReturn) {
            placeExactly(bench, start);
            ticks = 1;
        }
        state.SetIterationTime(secondsOf([&] {
            bench.tick();
            bench.settle();
        }));
    }
}

void wholeFontStep(benchmark::State& state, ScriptSize size, const char* tag)
{
    BenchWindow& bench = BenchWindow::forWholeScript(size);
    bench.setPlaying(true);
    placeExactly(bench, placeIn(bench, tag));
    alternateFontSteps(state, bench, [](auto work) { return secondsOf(work); });
    bench.settleLayout();
}

void wholeKeystroke(benchmark::State& state, ScriptSize size, const char* tag)
{
    BenchWindow& bench = BenchWindow::forWholeScript(size);
    bench.setPlaying(false);
    placeExactly(bench, placeIn(bench, tag));
    ui::ScriptText& text = bench.text();
    const QPoint seen = text.visibleRegion().boundingRect().center();
    text.setTextCursor(text.cursorForPosition(text.viewport()->mapFrom(&text, QPoint(20, seen.y()))));
    bench.settle();
    bool typeLetter = true;
    for (auto _ : state) {
        const int key = typeLetter ? Qt::Key_X : Qt::Key_Backspace;
        const QString typed = typeLetter ? QStringLiteral("x") : QStringLiteral("\b");
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, typed);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, typed);
        state.SetIterationTime(secondsOf([&] {
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
    bench.settleLayout();
}

// A movement with the left button held over the bar, `fraction` of its height down.
void moveOnBar(BenchWindow& bench, double fraction)
{
    auto* bar = bench.window().findChild<ui::NavigationBar*>(QStringLiteral("Tip"));
    const QPointF point(2, fraction * (bar->height() - 1));
    QMouseEvent move(QEvent::MouseMove, point, bar->mapToGlobal(point), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(bar, &move);
    bench.settle();
}

// Jumps by the bar, alternately to the end (the top of the bar) and to its middle.
void wholeJump(benchmark::State& state, ScriptSize size)
{
    BenchWindow& bench = BenchWindow::forWholeScript(size);
    bench.setPlaying(false);
    placeExactly(bench, engine::kMainHome);
    bool toEnd = true;
    for (auto _ : state) {
        state.SetIterationTime(secondsOf([&] { moveOnBar(bench, toEnd ? 0.0 : 0.5); }));
        toEnd = !toEnd;
    }
}

// The first jump to the end, in a window whose script has just come in with the option on: what
// is shown there is laid out on the spot, the rest is still estimated.
void firstJump(benchmark::State& state, ScriptSize size)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto bench = std::make_unique<BenchWindow>(scriptBytes(size), true);
        bench->setPlaying(false);
        const bool unsettled = !bench->text().layoutSettled();
        state.ResumeTiming();
        state.SetIterationTime(secondsOf([&] { moveOnBar(*bench, 0.0); }));
        if (!unsettled)
            state.SkipWithError("the layout had settled before the jump");
    }
}

// From the option turned on to every block laid out, in idle-time slices.
void settleTime(benchmark::State& state, ScriptSize size)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto bench = std::make_unique<BenchWindow>(scriptBytes(size), true);
        state.ResumeTiming();
        state.SetIterationTime(bench->settleLayout());
        state.counters["wrap_limit"] = bench->pane().scroller().range().wrapLimit;
    }
}

}  // namespace

void registerWholeScriptBenchmarks()
{
    for (const ScriptSize size : kWholeScriptSizes) {
        const std::string tag = sizeTag(size);
        for (const char* place : kWholePlaces) {
            const std::string suffix = "/" + tag + "/" + place;
            addTimed("whole_tick" + suffix, wholeTick, size, place);
            addTimed("whole_font_step" + suffix, wholeFontStep, size, place);
            addTimed("whole_keystroke" + suffix, wholeKeystroke, size, place);
        }
        addTimed("whole_jump/" + tag, wholeJump, size);
    }
    benchmark::RegisterBenchmark("whole_first_jump/mb10",
                                 [](benchmark::State& state) { firstJump(state, ScriptSize::TenMb); })
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond)
        ->Iterations(1);
    benchmark::RegisterBenchmark("whole_settle/mb10",
                                 [](benchmark::State& state) { settleTime(state, ScriptSize::TenMb); })
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond)
        ->Iterations(1);
}

}  // namespace velloran::bench
