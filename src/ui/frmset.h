#pragma once

#include <QPointer>
#include <QWidget>

#include "ui/fullscreenhost.h"
#include "ui/sharedvalues.h"
#include "ui/twipscale.h"

class QLabel;

namespace velloran::platform {
class Services;
}
namespace velloran::session {
struct SaveOutcome;
}

namespace velloran::ui {

class ControlPanel;
class HelpPanel;
class PictureButton;
class ReadingPane;
class RecoveryCopy;
class ScriptText;
class StatsStrip;
class TextFinderGlue;
class TimingAids;
class frmFull;
struct PaneHooks;

// The main window: a fixed-size borderless window of the reading pane, the statistics strip, the
// control panel, the help panel and the TextFinder. It keeps the start-up, the ways out, the
// areas that move it and the state it saves.
class frmSet : public QWidget, public FullScreenHost {
    Q_OBJECT
public:
    frmSet(platform::Services& services, SharedValues& shared, QWidget* parent = nullptr);
    ~frmSet() override;

    // Start-up; false when another copy runs (the program has then been ended).
    bool Form_Load();

    void HidePanels();
    void ToggleStats();
    void ToggleTextFinder();
    void LoadSettings();
    // Writes the record; true when the program may end: it was saved, or it could not be and the
    // user chose to leave without saving.
    bool SaveSettings();
    QString PrepareText();  // makes the script's double quotes typographic; returns the script
    void DragWindow();
    void cFull_Click();

    ReadingPane& pane() const { return *m_pane; }
    TimingAids& timing() const { return *m_timing; }
    ScriptText* tex() const;
    const TwipScale& scale() const { return m_scale; }
    void setBackupPath(const QString& path);  // designate (TextFinder's BACKUP button)
    QString settingsFile() const;
    // The whole-script option in both windows, live (read from Preferences.ini at start-up).
    void setWholeScriptReachable(bool on);
    bool wholeScriptReachable() const override;
    QString helpFile() const;

    // The full-screen window's view of this one.
    QString script() const override;
    int speedValue() const override;
    int frequencyValue() const override;
    QString backupPath() const override;
    bool saveWithFontSize(double fontSize, QWidget* asker) override;
    // Ends at once, the recovery copy written out first; with discardRecovery, removed.
    void endProgram(bool discardRecovery) override;
    void showAgain() override;
    session::Preferences preferences() const override;
    void changePreferences(const session::Preferences& preferences) override;
    QScreen* hostScreen() const override;
    // Alt+O: the Preferences dialog, while paused; a change is saved and passed on.
    void editPreferences();
    // Where the options are saved: beside the Settings.ini that is written.
    QString preferencesFile() const;
    // Where they are read: there once saved, until then beside the Settings.ini that is read.
    QString preferencesFileToRead() const;

signals:
    // After every saved change of the options, from the dialog or the full-screen window's keys.
    void preferencesChanged(const session::Preferences& preferences);

public:
    // The record of this window's state with the given font size (the full-screen window's saving
    // exit gives its own), written to the state folder or the configuration folder. A save that
    // succeeds makes the recovery copy unneeded.
    session::SaveOutcome saveState(double fontSize);
    // A signal from outside (SIGTERM, SIGHUP, SIGINT): saves once as the shown window's saving
    // exit would, without asking, then ends.
    void endFromOutside();
    // The desktop session is ending: saves as endFromOutside does, but the program goes on until
    // it is closed (the user may still cancel the logout).
    void saveForSessionEnd();

protected:
    void closeEvent(class QCloseEvent* event) override;

private:
    void buildWindow();
    void buildWindowControls();
    PaneHooks paneHooks();
    void registerLayoutTargets();
    void buildTimingAids();
    void wireHelpTexts();
    void wireMoveAreas();
    void scriptMenu(const QPoint& at);  // the script's right-click menu
    QString stateFolder() const;  // where Settings.ini and the recovery copy are written
    bool mayEndAfter(const session::SaveOutcome& outcome, QWidget* asker);
    void recoveryCopyFailed(const QString& reason);
    bool saveOnClose();
    session::SaveOutcome saveAsShown();

    platform::Services& m_services;
    SharedValues& m_shared;
    TwipScale m_scale;
    bool m_saved = false;
    QString m_stateFolder;  // where Settings.ini and the recovery copy are written

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
    QPointer<frmFull> m_full;
    RecoveryCopy* m_recovery = nullptr;
    TimingAids* m_timing = nullptr;
    bool m_toldNoRecovery = false;  // that no recovery copy can be written, until one is again
};

}  // namespace velloran::ui
