#pragma once

#include <QWidget>
#include <string_view>

#include "engine/scroller.h"
#include "ui/layouttargets.h"
#include "ui/twipscale.h"

class QLabel;
class QPushButton;
class QTimer;

namespace velloran::platform {
class Services;
}

namespace velloran::ui {

class ArrowSpinner;
class NavigationBar;
class Notice;
class PictureButton;
class ScriptSurface;
class ScriptText;
class frmSet;
struct SharedValues;

// The full-screen reading window: the script over the whole primary screen, its own scroller
// (home 4800) and Playing flag, and the Control Panel `fCtrl` that F1 hides and shows. The pace
// and the run-time clock are the program-wide values it shares with the main window.
class frmFull : public QWidget {
    Q_OBJECT
public:
    frmFull(platform::Services& services, SharedValues& shared, frmSet& main);
    ~frmFull() override;

    // Lays the window out to the primary screen and takes over the main window's script and pace.
    void Form_Load();

    void ShowPosition();  // text colour and `lPos` only
    void TogglePlay();
    void LoadBackup();
    void LoadClipboard();
    void ToggleControlPanel();
    bool SaveFullSettings();  // true when the program may end (see frmSet::SaveSettings)

    bool playing() const { return m_playing; }
    float position() const { return m_scroller.position(); }
    // Moves the surface there, as setting its Top does; nothing else is refreshed.
    void setPosition(float position);
    ScriptText* tex() const;
    const TwipScale& scale() const { return m_scale; }
    const LayoutTargets& layoutTargets() const { return m_layout; }
    int widthInTwips() const { return m_width; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildControlPanel();
    void buildHiddenFrame();
    void wireControls();
    void wireHelpTexts();
    void showHelp(std::string_view text);
    void positionChanged();
    void tScroll_Timer();
    void sSpeed_Change();
    void sFreq_Change();
    void nudgeUp();
    void nudgeDown();
    void cReset_Click();
    void cFntPlus_Click();
    void cFntMinus_Click();
    void Tip_MouseMove(int buttons, float y);
    void Tex_DblClick();
    void cX_MouseDown(int button);
    void cX_MouseUp(int button);

    platform::Services& m_services;
    SharedValues& m_shared;
    frmSet& m_main;
    TwipScale m_scale;
    LayoutTargets m_layout{m_scale};
    engine::Scroller m_scroller{engine::kFullHome};
    bool m_playing = false;
    bool m_ending = false;
    int m_width = 0;   // the screen's, in twips
    int m_height = 0;

    ScriptSurface* m_scroll = nullptr;
    NavigationBar* m_tip = nullptr;
    QWidget* m_fCtrl = nullptr;
    QWidget* m_fHide = nullptr;
    PictureButton* m_cFntPlus = nullptr;
    PictureButton* m_cFntMinus = nullptr;
    PictureButton* m_cReset = nullptr;
    PictureButton* m_cPlay = nullptr;
    PictureButton* m_cPause = nullptr;
    PictureButton* m_cFile = nullptr;
    PictureButton* m_cFull = nullptr;
    PictureButton* m_cX = nullptr;
    ArrowSpinner* m_sSpeed = nullptr;
    ArrowSpinner* m_sFreq = nullptr;
    QLabel* m_lScrd = nullptr;
    QLabel* m_lSpeed = nullptr;
    QLabel* m_lScrnt = nullptr;
    QLabel* m_lFreq = nullptr;
    QLabel* m_lHelp = nullptr;
    QLabel* m_lPos = nullptr;
    QPushButton* m_cPlay2 = nullptr;
    QPushButton* m_cUpB = nullptr;
    QPushButton* m_cDwnB = nullptr;
    QPushButton* m_cBack = nullptr;
    QTimer* m_tScroll = nullptr;
    QTimer* m_tRef = nullptr;
    Notice* m_notice = nullptr;
};

}  // namespace velloran::ui
