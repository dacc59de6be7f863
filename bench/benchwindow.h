#pragma once

#include <QByteArray>
#include <QObject>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

#include "benchscripts.h"
#include "fakeservices.h"
#include "manualtimers.h"
#include "session/appsession.h"
#include "testfiles.h"
#include "ui/mainwindow/frmset.h"
#include "ui/pane/readingpane.h"

class QTimer;

namespace velloran::ui {
class ScriptText;
}

namespace velloran::bench {

// Counts the paint events that widgets receive, so a figure can show that painting was measured.
class PaintCounter : public QObject {
    Q_OBJECT

public:
    long long all = 0;
    long long text = 0;  // paints of a script text box's viewport, in either window

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// A shown main window on the offscreen screen with a script loaded from a file in its own
// program folder. The window's own timers are muted: the benchmark decides when a tick happens.
class BenchWindow {
public:
    // With wholeScript, the whole-script option is on from the moment the script is in.
    explicit BenchWindow(const QByteArray& script, bool wholeScript = false);
    ~BenchWindow();

    // One window per script size, kept for the whole run; releaseAll() before the application goes.
    static BenchWindow& forSize(ScriptSize size);
    // The same with the whole-script option on and its lazy layout settled.
    static BenchWindow& forWholeScript(ScriptSize size);
    static void releaseAll();

    ui::frmSet& window() { return *m_window; }
    platform::Services& services() { return m_services; }
    session::AppSession& session() { return *m_session; }
    ui::ReadingPane& pane();  // the main window's
    ui::ScriptText& text();
    QString folder() const { return m_dir.path(); }
    QString scriptPath() const;
    const PaintCounter& paints() const { return *m_paints; }

    // Delivers what the last change left pending: the posted update requests, so the widgets
    // paint into the backing store and it is flushed, as the event loop would do next.
    void settle();
    void place(float position);     // shows the script at this position, settled
    void setPlaying(bool playing);  // the playing or paused layout
    void tick();                    // one expiry of tScroll, through the window's own handler
    double settleLayout();          // runs the event loop until the lazy layout is done; seconds

private:
    QTemporaryDir m_dir;
    FakeServices m_services;
    std::unique_ptr<session::AppSession> m_session;
    std::unique_ptr<ui::frmSet> m_window;
    std::unique_ptr<PaintCounter> m_paints;
    std::unique_ptr<ManualTimers> m_timers;
    QTimer* m_tScroll = nullptr;
};

// Font steps up and down in turn, each iteration timed by `time` (a call that runs its work and
// returns its seconds); the font size the benchmark found is given back at the end.
template <class Time> void alternateFontSteps(benchmark::State& state, BenchWindow& bench, Time time)
{
    bool larger = true;
    for (auto _ : state) {
        state.SetIterationTime(time([&] {
            if (larger)
                bench.pane().cFntPlus_Click();
            else
                bench.pane().cFntMinus_Click();
            bench.settle();
        }));
        larger = !larger;
    }
    if (!larger)
        bench.pane().cFntMinus_Click();
}

}  // namespace velloran::bench
