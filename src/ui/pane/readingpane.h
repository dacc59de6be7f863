#pragma once

#include <QObject>
#include <QRectF>
#include <QString>

#include <functional>
#include <optional>

#include "engine/playlayout.h"
#include "engine/scroller.h"
#include "session/readingview.h"
#include "ui/pane/layouttargets.h"
#include "ui/pane/panesetup.h"
#include "ui/widgets/twipscale.h"

class QKeyEvent;
class QPushButton;
class QTimer;

namespace velloran::session {
class AppSession;
class RestoredState;
}  // namespace velloran::session

namespace velloran::ui {

class InstantHelp;
class PaceControls;
class PictureButton;
class ScriptView;

// Following a reader's voice, while it is on: the step of each tick, and word of every action of
// the user's, which wins over following at once: play and pause, and the moves of the script
// (`placeMoved`).
class PaneFollower {
public:
    virtual std::optional<double> tickStep(double intervalMs) = 0;  // none: the step of the frequency
    virtual void userMoved(bool placeMoved) = 0;

protected:
    ~PaneFollower() = default;
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

// The reading of a window, which both windows compose: the window's Playing flag with the tick
// `tScroll`, the pace controls, the font, nudge and reset actions, the Alt shortcuts, the key
// routing (Escape, Insert, F1), the exit button's two actions, every way a script comes in but the
// main window's own, and the state it gives for saving. It moves the position its ScriptView
// shows. The pace, the clock and the backup path are the session's. A window tells the pane its
// differences through PaneSetup and its two layouts.
class ReadingPane : public QObject, public session::ReadingView {
    Q_OBJECT
public:
    // `layouts` gives the window's playing (true) or paused layout.
    ReadingPane(QWidget* window, session::AppSession& session, ScriptView& view, const PaneSetup& setup,
                std::function<engine::Layout(bool toPlaying)> layouts);
    ~ReadingPane() override;

    // The pace controls, in the window's control frame.
    void buildPaceControls(QWidget* frame, double frequencyReadoutLeft, double frequencyReadoutWidth);
    void buildOutOfSight(const OutOfSight& place);
    // The exit button `cX`: saves and ends on a press with any button but the right; pauses and
    // minimises on a release of any but the left.
    void wireExitButton(PictureButton* exitButton);
    void wireHelp(InstantHelp& help);  // the Instant Help rows of the pane's and the view's controls
    // Sees every key press and release before the focused control and the pane's own keys; true
    // takes the key.
    void setKeyFirst(std::function<bool(const QKeyEvent&)> keyFirst);
    void colourReadouts(const QColor& colour);
    // Sees every start and pause request first; true takes it (a countdown).
    void setPlayGate(std::function<bool()> gate);
    // Moves the script there as a nudge does, playing or paused.
    void jumpTo(double position);
    PaceControls& paceControls() const { return *m_pace; }
    // The main window's fields of the restored state, in file order up to the first that failed.
    void restore(const session::RestoredState& restored);

    void TogglePlay() override;
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
    bool wholeScriptReachable() const;
    void takePaceFromSpinners();              // the shared pace and the interval from the spinners
    void takePace(int speed, int frequency);  // and the spinners from the given pace
    void clearReadouts();                     // lScrd and lScrnt
    // The one Playing flag of the window: the tick runs while it is set. The layouts set it.
    void setPlaying(bool on);
    void setFollower(PaneFollower* follower) { m_follower = follower; }

    bool playing() const override { return m_playing; }
    void halt() override;
    session::SettingsRecord snapshot() const override;
    QString script() const override;
    QString PrepareText() override;

    engine::Scroller& scroller();
    LayoutTargets& layoutTargets() { return m_layout; }
    const LayoutTargets& layoutTargets() const { return m_layout; }
    int speedValue() const;
    int frequencyValue() const;

signals:
    void aboutToToggle();  // before every start and pause
    void playingChanged(bool playing);
    void minimiseRequested();
    void f1Pressed();
    void textFinderPressed(int button);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool keyPressed(int key);
    bool saveToEnd();
    void Tip_MouseMove(int buttons, double y);
    void Tex_DblClick();
    void useScript(const QString& text);
    void userMoved(bool placeMoved = true);  // tells the follower, if any
    QPushButton* accelerator(const OutOfSight& place, int index, const QString& name, const QString& caption);

    QWidget* m_window;
    session::AppSession& m_session;
    ScriptView& m_view;
    TwipScale m_scale;
    PaneSetup m_setup;
    std::function<engine::Layout(bool)> m_layouts;
    std::function<bool(const QKeyEvent&)> m_keyFirst;
    std::function<bool()> m_playGate;
    LayoutTargets m_layout {m_scale};
    bool m_playing = false;
    QTimer* m_tScroll = nullptr;
    PaceControls* m_pace = nullptr;
    PaneFollower* m_follower = nullptr;
};

}  // namespace velloran::ui
