#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

#include "engine/pace.h"
#include "engine/runclock.h"
#include "session/preferences.h"
#include "session/recoverycopy.h"
#include "session/restoredstate.h"
#include "session/settingsstore.h"

class QScreen;
class QTimer;
class QWidget;

namespace velloran::platform {
class EndSignals;
class Services;
}  // namespace velloran::platform

namespace velloran::session {

class ReadingView;

// A window as the session keeps it: the widget it shows and hides, and the window's reading.
struct SessionWindow {
    QPointer<QWidget> window;
    ReadingView* reading = nullptr;
};

// What the application is, apart from its windows: the state folder and the files read and
// written there (Settings.ini, Preferences.ini, the recovery copy), the single-instance lock, the
// signals from outside, the values both windows share (the pace, the run-time clock, the backup
// path, the options), and which window is on screen. The windows are views: they show what it
// holds, hand it the user's actions, and learn of its changes through its signals.
class AppSession : public QObject {
    Q_OBJECT
public:
    explicit AppSession(platform::Services& services, QObject* parent = nullptr);
    ~AppSession() override;

    platform::Services& services() const { return m_services; }

    // Start-up: the single-instance lock (false when another copy holds it, and the program has
    // been ended), then the options and the saved state. The program-wide values are taken at
    // once; the main window takes its own fields from restored(). What the user must learn of
    // the restore comes as a notice.
    bool start();
    const RestoredState& restored() const { return m_restored; }
    // SIGTERM, SIGHUP and SIGINT then save as the shown window's saving exit would, and end.
    void listenForEndSignals();

    QString stateFolder() const;  // where Settings.ini and the recovery copy are written
    QString settingsFile() const;
    QString preferencesFile() const;  // where the options are saved
    // Where the options are read: there once saved, until then beside the Settings.ini that is read.
    QString preferencesFileToRead() const;
    QString helpFile() const;

    // The pace both windows share; each window's spinners set it.
    const engine::Pace& pace() const { return m_pace; }
    void setSpeed(int speed);
    void setFrequency(int frequency);

    // The run-time clock, counted by its timer `tTime`, which the main window's layouts start
    // while it plays and stop when it pauses.
    const engine::RunClock& clock() const { return m_clock; }
    void setClock(const engine::RunClock& clock);
    void resetClock();
    QTimer* clockTimer() const { return m_clockTimer; }

    QString backupPath() const { return m_backupPath; }
    // Designates the backup script; a path that Settings.ini cannot keep is refused, with a
    // notice. True when it was taken.
    bool setBackupPath(const QString& path);

    const Preferences& preferences() const { return m_preferences; }
    // Reads Preferences.ini again, so that a hand edit counts from the next full-screen window.
    const Preferences& rereadPreferences();
    // Saves a change of the options and passes it on; a file that cannot be written is told.
    void changePreferences(const Preferences& preferences);
    // The whole-script option in both windows, live.
    bool wholeScriptReachable() const { return m_wholeScript; }
    void setWholeScriptReachable(bool on);

    // The windows. The main window lives as long as the program; the full-screen window is made
    // when it opens, by the factory, loaded, and goes when it closes.
    void setMainWindow(const SessionWindow& main);
    const SessionWindow& mainWindow() const { return m_main; }
    QScreen* mainWindowScreen() const;
    void setFullScreenFactory(std::function<SessionWindow(AppSession&)> make);
    // The main window's reading pauses, the main window hides and the full-screen window opens.
    void openFullScreen();
    void fullScreenClosed();  // from the full-screen window as it closes: the main window is back
    void closeFullScreen();
    bool fullScreenShown() const;

    // Starts keeping a recovery copy of the main window's work and its script.
    void startRecoveryCopy(QWidget* window, QTextDocument* script, RecoveryCopy::AppendBlock appendBlock);
    // Something changed that the recovery copy is to hold.
    void noteChange();

    // The record of the main window's state with the given font size (the full-screen window's
    // saving exit gives its own), written to the state folder or the configuration folder. A save
    // that succeeds makes the recovery copy unneeded.
    SaveOutcome saveState(double fontSize);
    // Saves; true when the program may end: it was saved, or it could not be and the user, asked
    // over `asker`, chose to leave without saving.
    bool saveToEnd(double fontSize, QWidget* asker);
    // Ends at once, the recovery copy written out first; with discardRecovery, removed.
    void endProgram(bool discardRecovery);
    bool ending() const { return m_ending; }
    // A signal from outside: saves once as the shown window's saving exit would, without asking,
    // then ends.
    void endFromOutside();
    // The desktop session is ending: saves as endFromOutside does, but the program goes on until
    // it is closed (the user may still cancel the logout).
    void saveForSessionEnd();

signals:
    void paceChanged();
    void clockChanged();
    void backupPathChanged(const QString& path);
    void preferencesChanged(const velloran::session::Preferences& preferences);
    void wholeScriptChanged(bool on);
    // Something the user is to learn, shown by the window on screen without stopping anything.
    void notice(const QString& message);

private:
    SettingsRecord stateRecord() const;
    const SessionWindow& shown() const;
    SaveOutcome saveAsShown();
    void recoveryCopyFailed(const QString& reason);

    platform::Services& m_services;
    QString m_stateFolder;
    RestoredState m_restored;
    engine::Pace m_pace;
    engine::RunClock m_clock;
    QTimer* m_clockTimer;
    QString m_backupPath;
    Preferences m_preferences;
    bool m_wholeScript = false;
    SessionWindow m_main;
    SessionWindow m_full;
    std::function<SessionWindow(AppSession&)> m_makeFullScreen;
    RecoveryCopy* m_recovery;
    bool m_toldNoRecovery = false;  // that no recovery copy can be written, until one is again
    platform::EndSignals* m_endSignals = nullptr;
    bool m_ending = false;
};

}  // namespace velloran::session
