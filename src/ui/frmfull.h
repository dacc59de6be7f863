#pragma once

#include <QWidget>

class QKeyEvent;
class QScreen;
class QTimer;

#include "engine/heldkeys.h"
#include "session/preferences.h"
#include "ui/sharedvalues.h"
#include "ui/twipscale.h"

namespace velloran::platform {
class Services;
}

namespace velloran::ui {

class FullScreenHost;
class ReadingPane;
class Reflector;
class ScriptText;
class TimingAids;

// The full-screen reading window: the reading pane over the whole chosen screen (home 4800, its
// own Playing flag) and the Control Panel `fCtrl` that F1 hides and shows. The pace and the
// run-time clock are the program-wide values it shares with the main window, from which it takes
// the script at opening. For a teleprompter rig it can show the script mirrored (Alt+M) or upside
// down for the glass, a reading cue (Alt+K), and take a presentation remote's keys.
class frmFull : public QWidget {
    Q_OBJECT
public:
    frmFull(platform::Services& services, SharedValues& shared, FullScreenHost& host);
    ~frmFull() override;

    // Lays the window out to its screen and takes over the main window's script and pace.
    void Form_Load();

    void ToggleControlPanel();
    bool controlPanelShown() const { return m_panelShown; }
    // The options as they stand now: the picture, the cue and the remote follow at once.
    void applyPreferences(const session::Preferences& preferences);
    const session::Preferences& preferences() const { return m_preferences; }
    void toggleMirror();      // Alt+M, saved
    void toggleCue();         // Alt+K, saved
    bool SaveFullSettings();  // true when the program may end (see frmSet::SaveSettings)

    ReadingPane& pane() const { return *m_pane; }
    TimingAids& timing() const { return *m_timing; }
    ScriptText* tex() const;
    const TwipScale& scale() const { return m_scale; }
    int widthInTwips() const { return m_width; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildControlPanel();
    void buildHiddenFrame();
    void buildRig();
    void buildTimingAids();
    QScreen* chosenScreen() const;           // null: none at all
    bool remoteKey(const QKeyEvent& event);  // true when the key is taken
    bool escapeEnds();                       // with the remote: only a second Escape ends
    void placeReflected();
    void syncOverlays();  // the panel and the cue, which are windows of their own

    FullScreenHost& m_host;
    TwipScale m_scale;
    ReadingPane* m_pane = nullptr;
    int m_width = 0;  // the screen's, in twips
    int m_height = 0;

    QWidget* m_fCtrl = nullptr;  // the Control Panel
    QWidget* m_fHide = nullptr;  // the Alt-key buttons, below the screen
    bool m_panelShown = true;    // F1's state
    QPoint m_panelAt;            // within the window
    QRect m_tipPlain;            // the navigation bar's place in the plain picture
    QWidget* m_cue = nullptr;
    Reflector* m_reflector = nullptr;
    session::Preferences m_preferences;
    engine::HeldKeys m_heldKeys;     // the remote's keys, each held key counted once
    QTimer* m_escapeWait = nullptr;  // running while a second Escape would end the program
    TimingAids* m_timing = nullptr;
};

}  // namespace velloran::ui
