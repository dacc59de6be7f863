#include "session/appsession.h"

#include <QFileInfo>
#include <QTimer>
#include <QWidget>

#include "platform/endsignals.h"
#include "platform/services.h"
#include "session/logging.h"
#include "session/readingview.h"
#include "session/staterestore.h"

namespace velloran::session {

AppSession::AppSession(platform::Services& services, QObject* parent)
    : QObject(parent), m_services(services), m_clockTimer(new QTimer(this)),
      m_recovery(new RecoveryCopy(this, [this] { return stateRecord(); }))
{
    m_clockTimer->setObjectName(QStringLiteral("tTime"));
    m_clockTimer->setInterval(1000);
    connect(m_clockTimer, &QTimer::timeout, this, [this] {
        m_clock.tick();
        emit clockChanged();
    });
    connect(m_recovery, &RecoveryCopy::copyFailed, this, &AppSession::recoveryCopyFailed);
    connect(m_recovery, &RecoveryCopy::copyWritten, this, [this](bool ok) { m_toldNoRecovery &= !ok; });
}

AppSession::~AppSession() = default;

bool AppSession::start()
{
    if (!m_services.acquireSingleInstance()) {
        endProgram(false);
        return false;
    }
    m_stateFolder = stateFolder();
    // The options first: the whole-script option decides how the saved position is kept.
    m_preferences = loadPreferences(preferencesFileToRead());
    setWholeScriptReachable(m_preferences.wholeScriptReachable);
    const RestoreReport report = restoreState(settingsFileToRead(m_services.programFolder(), m_stateFolder),
                                              recoveryPaths(m_stateFolder), m_restored);
    m_restored.applied = report.applied;
    const SettingsRecord& restored = m_restored.record;
    if (report.applied >= 1)
        m_pace.speed = restored.speed;
    if (report.applied >= 2)
        m_pace.frequency = restored.frequency;
    if (report.applied >= 5)
        m_backupPath = restored.backupPath;
    if (report.applied >= 6)
        m_clock.minutes = restored.minutes;
    if (report.applied >= 7)
        m_clock.seconds = restored.seconds;
    m_recovery->setBase(report.settingsBytes);
    if (!report.messages.isEmpty())
        emit notice(report.messages.join(u"\n"));
    return true;
}

void AppSession::listenForEndSignals()
{
    if (m_endSignals)
        return;
    m_endSignals = new platform::EndSignals(this);
    connect(m_endSignals, &platform::EndSignals::received, this, &AppSession::endFromOutside);
}

QString AppSession::stateFolder() const
{
    if (!m_stateFolder.isEmpty())
        return m_stateFolder;
    // An installed copy's program folder belongs to the system, even when it could be written
    // (the superuser runs it): its state always goes to the user's configuration folder.
    const QString program = m_services.programFolder();
    const bool runsInPlace = m_services.dataFolder() == program;
    return settingsFolder(runsInPlace ? program : QString());
}

QString AppSession::settingsFile() const
{
    return settingsPath(stateFolder());
}

QString AppSession::preferencesFile() const
{
    return preferencesPath(stateFolder());
}

QString AppSession::preferencesFileToRead() const
{
    const QString written = preferencesFile();
    if (QFileInfo::exists(written))
        return written;
    const QString settings = settingsFileToRead(m_services.programFolder(), stateFolder());
    return preferencesPath(QFileInfo(settings).absolutePath());
}

QString AppSession::helpFile() const
{
    return m_services.dataFolder() + QStringLiteral("/help.txt");
}

void AppSession::setSpeed(int speed)
{
    m_pace.speed = static_cast<std::int16_t>(speed);
    emit paceChanged();
}

void AppSession::setFrequency(int frequency)
{
    m_pace.frequency = static_cast<std::int16_t>(frequency);
    emit paceChanged();
}

void AppSession::setClock(const engine::RunClock& clock)
{
    m_clock = clock;
    emit clockChanged();
}

void AppSession::resetClock()
{
    m_clock.reset();
    emit clockChanged();
}

bool AppSession::setBackupPath(const QString& path)
{
    // Settings.ini keeps the path between double quotes and has no escape for one inside it.
    if (path.contains(u'"')) {
        emit notice(u'"' + fileNamePart(path) +
                    QStringLiteral("\" cannot be the backup script: its path holds a double quote, "
                                   "which Settings.ini cannot keep. Rename the file or its folder "
                                   "without one, then choose it again."));
        return false;
    }
    m_backupPath = path;
    emit backupPathChanged(path);
    return true;
}

const Preferences& AppSession::rereadPreferences()
{
    m_preferences = loadPreferences(preferencesFileToRead());
    return m_preferences;
}

void AppSession::changePreferences(const Preferences& preferences)
{
    m_preferences = preferences;
    if (!savePreferences(preferencesFile(), preferences)) {
        qCWarning(lcSession) << "the options could not be saved to" << preferencesFile();
        emit notice(QStringLiteral("The options could not be saved to ") + preferencesFile() +
                    QStringLiteral(": they hold until Velloran ends."));
    }
    setWholeScriptReachable(preferences.wholeScriptReachable);
    emit preferencesChanged(preferences);
}

void AppSession::setWholeScriptReachable(bool on)
{
    if (on == m_wholeScript)
        return;
    m_wholeScript = on;
    emit wholeScriptChanged(on);
}

void AppSession::setMainWindow(const SessionWindow& main)
{
    m_main = main;
}

QScreen* AppSession::mainWindowScreen() const
{
    return m_main.window ? m_main.window->screen() : nullptr;
}

void AppSession::setFullScreenFactory(std::function<SessionWindow(AppSession&)> make)
{
    m_makeFullScreen = std::move(make);
}

void AppSession::openFullScreen()
{
    if (!m_makeFullScreen || m_full.window)
        return;
    if (m_main.reading && m_main.reading->playing())
        m_main.reading->TogglePlay();
    if (m_main.window)
        m_main.window->hide();
    rereadPreferences();
    m_full = m_makeFullScreen(*this);
    if (m_full.window)
        m_full.window->show();
}

void AppSession::fullScreenClosed()
{
    if (m_main.window)
        m_main.window->show();
}

void AppSession::closeFullScreen()
{
    if (m_full.window)
        m_full.window->close();
}

bool AppSession::fullScreenShown() const
{
    return m_full.window && m_full.window->isVisible();
}

const SessionWindow& AppSession::shown() const
{
    return fullScreenShown() ? m_full : m_main;
}

void AppSession::startRecoveryCopy(QWidget* window, QTextDocument* script, RecoveryCopy::AppendBlock appendBlock)
{
    m_recovery->start(window, script, appendBlock, recoveryPaths(stateFolder()));
}

void AppSession::noteChange()
{
    m_recovery->noteChange();
}

void AppSession::recoveryCopyFailed(const QString& reason)
{
    // Once until a copy is written again: the copy is retried after every change.
    if (m_toldNoRecovery)
        return;
    m_toldNoRecovery = true;
    emit notice(QStringLiteral("No automatic copy of your work can be written, so a crash would lose "
                               "what changed since the start (") +
                reason + QStringLiteral("). Leaving with Escape or X still saves it."));
}

SettingsRecord AppSession::stateRecord() const
{
    // With no main window (a test of the session alone), the restored state stands for it.
    SettingsRecord record = m_restored.record;
    if (m_main.reading) {
        record = m_main.reading->snapshot();
    } else {
        record.speed = m_pace.speed;
        record.frequency = m_pace.frequency;
    }
    record.backupPath = m_backupPath;
    record.minutes = m_clock.minutes;
    record.seconds = m_clock.seconds;
    return record;
}

SaveOutcome AppSession::saveState(double fontSize)
{
    SettingsRecord record = stateRecord();
    record.fontSize = static_cast<float>(fontSize);
    record.script = m_main.reading ? m_main.reading->PrepareText() : m_restored.record.script;
    const QByteArray bytes = writeRecord(record);
    const SaveOutcome outcome = saveRecord(stateFolder(), bytes);
    if (outcome.saved) {
        m_recovery->discard();
        m_recovery->setBase(bytes);
    } else {
        qCWarning(lcSession) << "the state could not be saved to" << outcome.file << ":" << outcome.reason;
    }
    return outcome;
}

bool AppSession::saveToEnd(double fontSize, QWidget* asker)
{
    const SaveOutcome outcome = saveState(fontSize);
    if (outcome.saved)
        return true;
    return m_services.askAfterFailedSave(asker, outcome.file, outcome.reason) == platform::FailedSaveChoice::Leave;
}

void AppSession::endProgram(bool discardRecovery)
{
    m_ending = true;
    if (discardRecovery)
        m_recovery->discard();
    m_recovery->finish();
    m_services.endNow();
}

SaveOutcome AppSession::saveAsShown()
{
    // While the full-screen window is shown, its saving exit is the one the user would take.
    const SessionWindow& window = shown();
    const double fontSize =
        window.reading ? window.reading->snapshot().fontSize : m_restored.record.fontSize;
    const SaveOutcome outcome = saveState(fontSize);
    if (!outcome.saved)
        emit notice(QStringLiteral("The work could not be saved to ") + outcome.file + QStringLiteral(": ") +
                    outcome.reason);
    return outcome;
}

void AppSession::endFromOutside()
{
    if (m_ending)
        return;
    saveAsShown();
    if (m_main.reading)
        m_main.reading->halt();
    endProgram(false);
}

void AppSession::saveForSessionEnd()
{
    if (!m_ending)
        saveAsShown();
}

}  // namespace velloran::session
