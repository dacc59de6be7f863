#pragma once

#include <QWidget>

#include "ui/widgets/twipscale.h"

class QLabel;
class QMenu;

namespace velloran::session {
class AppSession;
}

namespace velloran::ui {

class ControlPanel;
class HelpPanel;
class PictureButton;
class ReadingPane;
class ScriptView;
class StatsStrip;
class TextFinderGlue;
class TimingAids;

// The main window: a fixed-size borderless window of the reading pane, the statistics strip, the
// control panel, the help panel and the TextFinder. It keeps the start-up, the areas that move it
// and the way its state is saved on a close; the state itself is the session's.
class frmSet : public QWidget {
    Q_OBJECT
public:
    explicit frmSet(session::AppSession& session, QWidget* parent = nullptr);
    ~frmSet() override;

    // Start-up; false when another copy runs (the program has then been ended).
    bool Form_Load();

    void HidePanels();
    void ToggleStats();
    void ToggleTextFinder();
    // Takes the state the session restored: the spinners, the font, the place and the script.
    void LoadSettings();
    // Writes the record; true when the program may end: it was saved, or it could not be and the
    // user chose to leave without saving.
    bool SaveSettings();
    void DragWindow();
    void cFull_Click();
    // Alt+O: the Preferences dialog, while paused; a change is saved and passed on.
    void editPreferences();

protected:
    void closeEvent(class QCloseEvent* event) override;

private:
    void buildWindow();
    void buildWindowControls();
    void registerLayoutTargets();
    void buildTimingAids();
    void wireSession();
    void wireHelpTexts();
    void wireMoveAreas();
    void addMenuEntries(QMenu& menu);  // the script's right-click menu: the Preferences
    bool saveOnClose();

    session::AppSession& m_session;
    TwipScale m_scale;
    bool m_saved = false;

    ScriptView* m_view = nullptr;
    ReadingPane* m_pane = nullptr;
    StatsStrip* m_strip = nullptr;
    ControlPanel* m_panel = nullptr;
    HelpPanel* m_helpPanel = nullptr;
    TextFinderGlue* m_finder = nullptr;
    PictureButton* m_cUp = nullptr;
    PictureButton* m_cDwn = nullptr;
    QWidget* m_line16 = nullptr;
    QWidget* m_line17 = nullptr;
    QLabel* m_lBkPath = nullptr;
    TimingAids* m_timing = nullptr;
};

}  // namespace velloran::ui
