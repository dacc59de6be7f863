#pragma once

#include <QPointer>
#include <QWidget>

#include "engine/scroller.h"
#include "ui/layouttargets.h"
#include "ui/twipscale.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace velloran::platform {
class Services;
}
namespace velloran::session {
struct SaveOutcome;
struct SettingsRecord;
}

namespace velloran::ui {

class ArrowSpinner;
class NavigationBar;
class Notice;
class RecoveryCopy;
class PictureButton;
class ScriptSurface;
class ScriptText;
class TextFinderPanel;
class frmFull;

// Values shared by both windows: the pace and the run-time clock.
struct SharedValues {
    engine::Pace pace;
    engine::RunClock clock;
};

// The main window: a fixed-size borderless window with the scrolling script, the statistics
// strip and the control panel.
class frmSet : public QWidget {
    Q_OBJECT
public:
    frmSet(platform::Services& services, SharedValues& shared, QWidget* parent = nullptr);
    ~frmSet() override;

    // Start-up; false when another copy runs (the program has then been ended).
    bool Form_Load();

    void TogglePlay();
    void ShowPosition();
    void ShowRates();
    void HidePanels();
    void ToggleStats();
    void ToggleTextFinder();
    void ToggleInstantHelp();
    void LoadHelpFile();
    void LoadBackup();
    void LoadClipboard();
    void LoadSettings();
    // Writes the record; true when the program may end: it was saved, or it could not be and the
    // user chose to leave without saving.
    bool SaveSettings();
    QString PrepareText();  // strips double quotes from the script; returns the script
    void DragWindow();

    // Handlers reached from more than one place, or from the full-screen window.
    void cFull_Click();
    void cReset_Click();
    void nudgeUp();
    void nudgeDown();
    void cFntPlus_Click();
    void cFntMinus_Click();

    bool playing() const { return m_playing; }
    engine::Scroller& scroller() { return m_scroller; }
    SharedValues& shared() { return m_shared; }
    ScriptText* tex() const;
    QString backupPath() const;
    void setBackupPath(const QString& path);  // designate (TextFinder's BACKUP button)
    int speedValue() const;
    int frequencyValue() const;
    QString settingsFile() const;
    QString helpFile() const;

    // Loads a whole text file as the script from the given origin; false leaves all as it was.
    bool loadScriptFromFile(const QString& path, bool resetClock);

    // The record of this window's state with the given font size (the full-screen window's saving
    // exit gives its own), written to the state folder or the configuration folder. A save that
    // succeeds makes the recovery copy unneeded.
    session::SaveOutcome saveState(double fontSize);
    // True when the program may end after this save; when it failed, the user is asked over
    // `asker` whether to stay or leave without saving.
    bool mayEndAfter(const session::SaveOutcome& outcome, QWidget* asker);
    // Ends at once, the recovery copy written out first; with discardRecovery, removed.
    void endProgram(bool discardRecovery);
    // A signal from outside (SIGTERM, SIGHUP, SIGINT): saves once as the shown window's saving
    // exit would, without asking, then ends.
    void endFromOutside();
    // The desktop session is ending: saves as endFromOutside does, but the program goes on until
    // it is closed (the user may still cancel the logout).
    void saveForSessionEnd();
    Notice* notice() const { return m_notice; }
    const TwipScale& scale() const { return m_scale; }
    const LayoutTargets& layoutTargets() const { return m_layout; }

protected:
    void closeEvent(class QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString stateFolder() const;  // where Settings.ini and the recovery copy are written
    void buildControls();
    void buildTopStrip();
    void buildControlPanel();
    void buildOffWindowControls();
    void wireHelpTexts();
    void registerLayoutTargets();
    void wireControls();
    void writeClock();
    void resetClock();
    void showHelp(std::string_view text);
    void tScroll_Timer();
    void tTime_Timer();
    void sSpeed_Change();
    void sFreq_Change();
    void Tip_MouseMove(int buttons, float y);
    void Tex_DblClick();
    void dropFiles(const QStringList& paths);
    void cX_MouseDown(int button);
    void cX_MouseUp(int button);
    void cHelp_MouseDown(int button);
    void cHelp_MouseUp(int button);
    void cFile_MouseDown(int button);
    void cOKay_MouseDown(int button);
    void cBackup_Click();
    bool saveOnClose();
    session::SettingsRecord stateWithoutScript() const;
    session::SaveOutcome saveAsShown();

    platform::Services& m_services;
    SharedValues& m_shared;
    TwipScale m_scale;
    LayoutTargets m_layout{m_scale};
    engine::Scroller m_scroller{engine::kMainHome};
    bool m_playing = false;
    bool m_statsShown = false;
    bool m_saved = false;
    bool m_ending = false;
    QString m_stateFolder;  // where Settings.ini and the recovery copy are written

    ScriptSurface* m_scroll = nullptr;
    NavigationBar* m_tip = nullptr;
    QWidget* m_frame1 = nullptr;
    QWidget* m_frame2 = nullptr;
    QLabel* m_lTime = nullptr;
    QLabel* m_lScroll = nullptr;
    QLabel* m_lChar = nullptr;
    QLabel* m_lRun = nullptr;
    QLabel* m_lStats = nullptr;
    QLabel* m_lCharTips = nullptr;
    QLabel* m_lScrd = nullptr;
    QLabel* m_lScrnt = nullptr;
    QLabel* m_lSpeed = nullptr;
    QLabel* m_lFreq = nullptr;
    QLabel* m_lBack = nullptr;
    QLabel* m_lHelp = nullptr;
    QLabel* m_lPos = nullptr;
    QLabel* m_lBkPath = nullptr;
    QWidget* m_image1 = nullptr;
    QWidget* m_image2 = nullptr;
    QWidget* m_line5 = nullptr;
    QWidget* m_line13 = nullptr;
    QWidget* m_line16 = nullptr;
    QWidget* m_line17 = nullptr;
    PictureButton* m_cPlay = nullptr;
    PictureButton* m_cPause = nullptr;
    PictureButton* m_cReset = nullptr;
    PictureButton* m_cFntPlus = nullptr;
    PictureButton* m_cFntMinus = nullptr;
    PictureButton* m_cFile = nullptr;
    PictureButton* m_cHelp = nullptr;
    PictureButton* m_cFull = nullptr;
    PictureButton* m_cX = nullptr;
    PictureButton* m_cUp = nullptr;
    PictureButton* m_cDwn = nullptr;
    ArrowSpinner* m_sSpeed = nullptr;
    ArrowSpinner* m_sFreq = nullptr;
    QPushButton* m_cPlay2 = nullptr;
    QPushButton* m_cUpB = nullptr;
    QPushButton* m_cDwnB = nullptr;
    QPushButton* m_cBack = nullptr;
    QPlainTextEdit* m_tHelp = nullptr;
    TextFinderPanel* m_fX = nullptr;
    QTimer* m_tScroll = nullptr;
    QTimer* m_tTime = nullptr;
    QTimer* m_tRef = nullptr;
    QPointer<frmFull> m_full;
    Notice* m_notice = nullptr;
    RecoveryCopy* m_recovery = nullptr;
};

}  // namespace velloran::ui
