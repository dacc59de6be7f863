#pragma once

#include <QObject>
#include <QRect>
#include <QRectF>

#include <functional>

#include "engine/countdown.h"
#include "engine/timeleft.h"
#include "session/preferences.h"

class QLabel;
class QTimer;

namespace velloran::session {
class AppSession;
}

namespace velloran::ui {

class CountdownOverlay;
class ReadingPane;
class ScriptView;
class SectionMarkers;

// Where a window shows the timing aids, and what it does for them.
struct TimingPlaces {
    QWidget* readouts;      // holds the time left (and the run time, when this window counts it)
    QRectF timeLeftPlace;   // twips in `readouts`
    QRectF runTimePlace;    // empty: the window shows the run time itself
    QColor readoutColour;   // invalid: the parent's
    double readoutPoints;
    std::function<void(bool shown)> makeRoom;  // for the readouts (may be empty)
    std::function<QRectF()> countPlace;  // the count's place in the window, plain, in twips
    // The count's place as the window shows its picture, and whether it is mirrored and flipped
    // (may be empty: plainly).
    std::function<QRect(const QRect&)> reflect;
    std::function<std::pair<bool, bool>()> reflection;
    bool countsClock = false;  // runs the session's clock while playing (the main window's layouts do)
};

// A presenter's timing aids in one window, each an option of Preferences.ini: a countdown before
// the scroll starts, the time the rest of the script takes, section markers with their keys, and
// keys for the pace. It hooks itself into the window's reading pane and follows the session's
// options.
class TimingAids : public QObject {
    Q_OBJECT
public:
    TimingAids(QWidget* window, session::AppSession& session, ReadingPane& pane, ScriptView& view,
               TimingPlaces places);

    void apply(const session::Preferences& preferences);
    const session::Preferences& options() const { return m_options; }
    // The time left now, from the reading height to the top of the script's last line.
    engine::TimeLeft timeLeft() const;
    void showTimeLeft();  // the readout, at once
    bool counting() const { return m_countdown.counting(); }
    SectionMarkers& markers() const { return *m_markers; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool playGate();
    void toggled(bool playing);
    void countSecond();
    void endCount();
    bool key(const class QKeyEvent& event);
    void writeClock();

    QWidget* m_window;
    session::AppSession& m_session;
    ReadingPane& m_pane;
    ScriptView& m_view;
    TimingPlaces m_places;
    session::Preferences m_options;
    engine::Countdown m_countdown;
    bool m_starting = false;  // the count is over: the start it held goes through
    int m_paceKeyHeld = 0;    // Qt::Key_Up or Qt::Key_Down while its repeat runs
    CountdownOverlay* m_overlay;
    SectionMarkers* m_markers;
    QTimer* m_tCount;
    QTimer* m_tLeft;  // refreshes the time left once a second
    QLabel* m_lLeft;
    QLabel* m_lRun = nullptr;
};

}  // namespace velloran::ui
