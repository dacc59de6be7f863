#pragma once

#include <QWidget>

#include "session/appsession.h"
#include "session/preferences.h"
#include "ui/widgets/twipscale.h"

namespace velloran::ui {

class FullScreenRig;
class ReadingPane;
class ScriptView;
class TimingAids;

// The full-screen reading window: the reading pane over the whole chosen screen (home 4800, its
// own Playing flag) and the Control Panel `fCtrl` that F1 hides and shows. The pace and the
// run-time clock are the session's; it takes the main window's script and spinners at opening.
// For a teleprompter rig it can show the script mirrored or upside down for the glass, a reading
// cue, and take a presentation remote's keys (FullScreenRig).
class frmFull : public QWidget {
    Q_OBJECT
public:
    explicit frmFull(session::AppSession& session);
    ~frmFull() override;

    // Lets the session open the full-screen window: made and loaded each time it opens.
    static void offerTo(session::AppSession& session);

    // Lays the window out to its screen and takes over the main window's script and spinners.
    void Form_Load();
    session::SessionWindow sessionWindow();

    void ToggleControlPanel();
    bool controlPanelShown() const { return m_panelShown; }
    // The options as they stand now: the picture, the cue and the remote follow at once.
    void applyPreferences(const session::Preferences& preferences);
    const session::Preferences& preferences() const;
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
    void buildTimingAids();
    void syncOverlays();  // the panel and the cue, which are windows of their own

    session::AppSession& m_session;
    TwipScale m_scale;
    ScriptView* m_view = nullptr;
    ReadingPane* m_pane = nullptr;
    FullScreenRig* m_rig = nullptr;
    TimingAids* m_timing = nullptr;
    int m_width = 0;  // the screen's, in twips
    int m_height = 0;

    QWidget* m_fCtrl = nullptr;  // the Control Panel
    QWidget* m_fHide = nullptr;  // the Alt-key buttons, below the screen
    bool m_panelShown = true;    // F1's state
    QPoint m_panelAt;            // within the window
};

}  // namespace velloran::ui
