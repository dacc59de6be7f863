#pragma once

#include <QObject>
#include <QRectF>
#include <QString>

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/scroller.h"
#include "session/settingsrecord.h"
#include "ui/controls.h"
#include "ui/instanthelp.h"
#include "ui/layouttargets.h"
#include "ui/panesetup.h"
#include "ui/sharedvalues.h"
#include "ui/twipscale.h"

class QKeyEvent;
class QLabel;
class QPushButton;
class QTimer;

namespace velloran::platform {
class Services;
}

namespace velloran::ui {

class NavigationBar;
class Notice;
class PictureButton;
class ScriptSurface;
class ScriptText;
class WrapNotice;

// What the pane asks of its window, at the moments named.
struct PaneHooks {
    std::function<engine::Layout(bool toPlaying)> layout;  // the window's own two layouts
    std::function<void()> beforeToggle;                    // before every start and pause (may be empty)
    std::function<void()> positionShown;                   // after each ShowPosition (may be empty)
    std::function<void()> ratesChanged;                    // after a speed or frequency update (may be empty)
    std::function<void()> clockReset;     // after the run-time clock went back to zero (may be empty)
    std::function<QString()> backupPath;  // the designated backup script, read at each load
    std::function<bool()> saveToEnd;      // the saving exits' save: true when the program may end
    std::function<void(bool discardRecovery)> endProgram;
    std::function<void()> minimise;  // what a right click on the exit button does, after a pause
    std::function<void()> f1;        // empty: F1 goes to the focused control unhandled
    // Sees every key press and release before the focused control and the pane's own keys; true
    // takes the key (may be empty).
    std::function<bool(const QKeyEvent&)> keyFirst;
    // Timing aids: sees every start and pause request first, true takes it (a countdown); told
    // after every start and pause (both may be empty).
    std::function<bool()> playGate;
    std::function<void(bool playing)> toggled;
};

// Where a window keeps the buttons of its Alt shortcuts and the position holder `lPos`, out of
// sight: the buttons (255 x 255) from `left`, one every `step` twips, at `top` of `container`.
struct OutOfSight {
    QWidget* container;
    double left;
    double top;
    double step;
    QRectF positionHolder;    // lPos, in twips of the container
    QString positionCaption;  // its design caption
    bool positionHidden;
};

// The reading pane that both windows compose: the script surface `Scroll` with its text box `Tex`,
// the navigation bar `Tip`, the scroll position and `tScroll`, the pace controls and readouts, the
// font, nudge and reset actions, the Alt shortcuts, `lPos`, the key routing (Escape, Insert, F1),
// the exit button's two actions, every way a script comes in but the main window's own, the
// Instant Help rows of its controls, and the state it gives for saving. A window keeps only what
// is its own and tells the pane its differences through PaneSetup and PaneHooks.
class ReadingPane : public QObject {
public:
    ReadingPane(QWidget* window, platform::Services& services, SharedValues& shared, const TwipScale& scale,
                const PaneSetup& setup, PaneHooks hooks);
    ~ReadingPane() override;

    // The pace controls and the repaint timer `tRef`, in the window's control frame.
    void buildPaceControls(QWidget* frame, double frequencyReadoutLeft, double frequencyReadoutWidth);
    void buildOutOfSight(const OutOfSight& place);
    // The exit button `cX`: saves and ends on a press with any button but the right; pauses and
    // minimises on a release of any but the left.
    void wireExitButton(PictureButton* exitButton);
    // The Instant Help rows of the pane's controls.
    std::vector<InstantHelp::Row> helpRows();

    void TogglePlay();
    void ShowPosition();
    void tScroll_Timer();
    void nudgeUp();
    void nudgeDown();
    void backOneLine();  // down by one line of the script's font, no farther than home
    void cReset_Click();
    void cFntPlus_Click();
    void cFntMinus_Click();
    void LoadBackup();
    void LoadClipboard();
    // Loads a whole text file as the script; false leaves all as it was (a refusal is told).
    bool loadScriptFromFile(const QString& path, bool resetClockToo);
    // Moves the surface there, as setting its Top does; nothing else is refreshed.
    void setPosition(double position);
    // Moves the script there as a nudge does, playing or paused.
    void jumpTo(double position);
    PaneHooks& hooks() { return m_hooks; }
    SharedValues& sharedValues() { return m_shared; }
    // The whole-script option, live: on, the scroll range, the warning and the navigation bar
    // follow the script's laid-out length and positions are exact; off, the classic range is
    // back at once (a position beyond it wraps at the next tick).
    void setWholeScriptReachable(bool on);
    bool wholeScriptReachable() const { return m_wholeScript; }
    void takePaceFromSpinners();              // the shared pace and the interval from the spinners
    void takePace(int speed, int frequency);  // and the spinners from the given pace
    // The state as the exits save it, script aside.
    session::SettingsRecord snapshot() const;
    void clearReadouts();  // lScrd and lScrnt

    bool playing() const { return m_playing; }
    bool ending() const { return m_ending; }
    void setEnding() { m_ending = true; }
    engine::Scroller& scroller() { return m_scroller; }
    ScriptSurface* surface() const { return m_scroll; }
    ScriptText* tex() const;
    NavigationBar* tip() const { return m_tip; }
    QTimer* tScroll() const { return m_tScroll; }
    const PaceControls& controls() const { return m_controls; }
    QLabel* positionHolder() const { return m_lPos; }
    Notice* notice() const { return m_notice; }
    WrapNotice* wrapNotice() const { return m_wrapNotice; }
    const TwipScale& scale() const { return m_scale; }
    int speedValue() const;
    int frequencyValue() const;
    LayoutTargets& layoutTargets() { return m_layout; }
    const LayoutTargets& layoutTargets() const { return m_layout; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void wirePaceControls();
    void sSpeed_Change();
    void sFreq_Change();
    void Tip_MouseMove(int buttons, double y);
    void followScriptLength();  // the range and the bar's scale from the script's current length
    void keepShownLines(double twips);
    void readerMoved();  // by a tick, a nudge, a reset or the bar: the place is now what is seen
    void showRangeDependents();
    void Tex_DblClick();
    void useScript(const QString& text);
    void resetClock();  // the shared clock to zero, and the window told
    QPushButton* accelerator(const OutOfSight& place, int index, const QString& name, const QString& caption);

    QWidget* m_window;
    platform::Services& m_services;
    SharedValues& m_shared;
    TwipScale m_scale;
    PaneSetup m_setup;
    PaneHooks m_hooks;
    engine::Scroller m_scroller;
    LayoutTargets m_layout {m_scale};
    bool m_playing = false;
    bool m_ending = false;
    bool m_wholeScript = false;
    bool m_readerMoved = false;  // by a tick, a nudge, a reset or the bar, since start-up

    ScriptSurface* m_scroll = nullptr;
    NavigationBar* m_tip = nullptr;
    QTimer* m_tScroll = nullptr;
    QTimer* m_tRef = nullptr;
    PaceControls m_controls {};
    QLabel* m_lPos = nullptr;
    Notice* m_notice = nullptr;
    WrapNotice* m_wrapNotice = nullptr;
};

}  // namespace velloran::ui
