// The main window's state: restored at start-up, saved on every way out, and the ends of the
// program.
#include <QFileInfo>
#include <QLabel>
#include <QTimer>

#include "platform/services.h"
#include "session/preferences.h"
#include "ui/timingaids.h"
#include "session/settingsrecord.h"
#include "session/settingsstore.h"
#include "session/staterestore.h"
#include "ui/arrowspinner.h"
#include "ui/controlpanel.h"
#include "ui/frmfull.h"
#include "ui/frmset.h"
#include "ui/notice.h"
#include "ui/readingpane.h"
#include "ui/recoverycopy.h"
#include "ui/scripttext.h"
#include "ui/wrapnotice.h"

namespace velloran::ui {

namespace {

constexpr float kSmallestFontAccepted = 1.0f;
constexpr float kLargestFontAccepted = 400.0f;
constexpr float kFarthestPosition = 2.0e9f;  // beyond this a Top is nonsense, not a place

// Applies a restored record to the main window's controls, which may refuse a value.
class MainWindowTarget final : public session::SettingsTarget {
public:
    MainWindowTarget(ReadingPane& pane, QLabel* backupHolder, engine::RunClock& clock)
        : m_pane(pane), m_backupHolder(backupHolder), m_clock(clock)
    {
    }

    bool applySpeed(qint16 value) override { return setSpinner(m_pane.controls().sSpeed, value); }
    bool applyFrequency(qint16 value) override { return setSpinner(m_pane.controls().sFreq, value); }
    bool applyFontSize(float size) override
    {
        if (!(size >= kSmallestFontAccepted && size <= kLargestFontAccepted))
            return false;
        if (checkOnly())
            return true;
        m_pane.tex()->setPointSize(size);
        return true;
    }
    bool applyPosition(float position) override { return applyExactPosition(position); }
    bool applyExactPosition(double position) override
    {
        const auto single = static_cast<float>(position);
        if (!(single > -kFarthestPosition && single < kFarthestPosition))
            return false;
        if (checkOnly())
            return true;
        m_pane.scroller().setPosition(position);
        return true;
    }
    bool applyBackupPath(const QString& path) override
    {
        if (path.size() > session::kMaxPathCharacters)
            return false;
        if (checkOnly())
            return true;
        m_backupHolder->setText(path);
        return true;
    }
    bool applyMinutes(qint64 minutes) override
    {
        if (checkOnly())
            return true;
        m_clock.minutes = std::max<qint64>(0, minutes);
        return true;
    }
    bool applySeconds(qint16 seconds) override
    {
        // A hand-edited value is brought into range rather than shown as it stands.
        if (checkOnly())
            return true;
        m_clock.seconds = static_cast<std::int16_t>(seconds < 0 ? 0 : seconds % 60);
        return true;
    }
    bool applyScript(const QString& script) override
    {
        if (checkOnly())
            return true;
        if (m_pane.tex()->script() != script) {
            m_pane.tex()->setPlainText(script);
            m_pane.wrapNotice()->newScript();
        }
        return true;
    }

private:
    bool setSpinner(ArrowSpinner* spinner, qint16 value)
    {
        if (value < spinner->minimum() || value > spinner->maximum())
            return false;
        if (checkOnly())
            return true;
        spinner->setValue(value);
        return true;
    }

    ReadingPane& m_pane;
    QLabel* m_backupHolder;
    engine::RunClock& m_clock;
};

}  // namespace

QString frmSet::stateFolder() const
{
    if (!m_stateFolder.isEmpty())
        return m_stateFolder;
    // An installed copy's program folder belongs to the system, even when it could be written
    // (the superuser runs it): its state always goes to the user's configuration folder.
    const QString program = m_services.programFolder();
    const bool runsInPlace = m_services.dataFolder() == program;
    return session::settingsFolder(runsInPlace ? program : QString());
}

QString frmSet::settingsFile() const
{
    return session::settingsPath(stateFolder());
}

QString frmSet::preferencesFile() const
{
    return session::preferencesPath(stateFolder());
}

QString frmSet::preferencesFileToRead() const
{
    const QString written = preferencesFile();
    if (QFileInfo::exists(written))
        return written;
    const QString settings = session::settingsFileToRead(m_services.programFolder(), stateFolder());
    return session::preferencesPath(QFileInfo(settings).absolutePath());
}

QString frmSet::helpFile() const
{
    return m_services.dataFolder() + QStringLiteral("/help.txt");
}

QString frmSet::backupPath() const
{
    return m_lBkPath->text();
}

void frmSet::setBackupPath(const QString& path)
{
    // Settings.ini keeps the path between double quotes and has no escape for one inside it.
    if (path.contains(u'"')) {
        m_pane->notice()->tell(
            u'"' + session::fileNamePart(path) +
            QStringLiteral("\" cannot be the backup script: its path holds a double quote, "
                           "which Settings.ini cannot keep. Rename the file or its folder "
                           "without one, then choose it again."));
        return;
    }
    m_lBkPath->setText(path);
    m_panel->showBackupTitle(path);
}

void frmSet::LoadSettings()
{
    const QString program = m_services.programFolder();
    if (m_stateFolder.isEmpty())
        m_stateFolder = stateFolder();
    const QString settings = session::settingsFileToRead(program, m_stateFolder);
    // The options first: the whole-script option decides how the saved position is kept.
    const session::Preferences options = session::loadPreferences(preferencesFileToRead());
    setWholeScriptReachable(options.wholeScriptReachable);
    m_timing->apply(options);
    MainWindowTarget target(*m_pane, m_lBkPath, m_shared.clock);
    const session::RestoreReport report =
        session::restoreState(settings, session::recoveryPaths(m_stateFolder), target);
    m_recovery->setBase(report.settingsBytes);
    if (report.applied == 8 && !backupPath().isEmpty())
        m_panel->showBackupTitle(backupPath());
    if (!report.messages.isEmpty())
        m_pane->notice()->tell(report.messages.join(u"\n"));
}

void frmSet::recoveryCopyFailed(const QString& reason)
{
    // Once until a copy is written again: the copy is retried after every change.
    if (m_toldNoRecovery)
        return;
    m_toldNoRecovery = true;
    ReadingPane& shown = m_full && m_full->isVisible() ? m_full->pane() : *m_pane;
    shown.notice()->tell(
        QStringLiteral("No automatic copy of your work can be written, so a crash would lose "
                       "what changed since the start (") +
        reason + QStringLiteral("). Leaving with Escape or X still saves it."));
}

void frmSet::setWholeScriptReachable(bool on)
{
    m_pane->setWholeScriptReachable(on);
    if (m_full)
        m_full->pane().setWholeScriptReachable(on);
}

bool frmSet::wholeScriptReachable() const
{
    return m_pane->wholeScriptReachable();
}

QString frmSet::PrepareText()
{
    QString text = tex()->script();
    if (text.contains(u'"')) {
        text = session::typographicQuotes(text);
        tex()->setPlainText(text);
    }
    return text;
}

session::SaveOutcome frmSet::saveState(double fontSize)
{
    session::SettingsRecord record = m_pane->snapshot();
    record.fontSize = static_cast<float>(fontSize);
    record.script = PrepareText();
    const QByteArray bytes = session::writeRecord(record);
    const session::SaveOutcome outcome = session::saveRecord(stateFolder(), bytes);
    if (outcome.saved) {
        m_recovery->discard();
        m_recovery->setBase(bytes);
    }
    return outcome;
}

bool frmSet::mayEndAfter(const session::SaveOutcome& outcome, QWidget* asker)
{
    if (outcome.saved)
        return true;
    return m_services.askAfterFailedSave(asker, outcome.file, outcome.reason) ==
           platform::FailedSaveChoice::Leave;
}

bool frmSet::SaveSettings()
{
    return saveWithFontSize(tex()->pointSize(), this);
}

bool frmSet::saveWithFontSize(double fontSize, QWidget* asker)
{
    return mayEndAfter(saveState(fontSize), asker);
}

void frmSet::endProgram(bool discardRecovery)
{
    m_pane->setEnding();
    if (discardRecovery)
        m_recovery->discard();
    m_recovery->finish();
    m_services.endNow();
}

session::SaveOutcome frmSet::saveAsShown()
{
    // While the full-screen window is shown, its saving exit is the one the user would take.
    const bool full = m_full && m_full->isVisible();
    const session::SaveOutcome outcome = saveState(full ? m_full->tex()->pointSize() : tex()->pointSize());
    if (!outcome.saved)
        m_pane->notice()->tell(QStringLiteral("The work could not be saved to ") + outcome.file +
                               QStringLiteral(": ") + outcome.reason);
    return outcome;
}

void frmSet::endFromOutside()
{
    if (m_pane->ending())
        return;
    saveAsShown();
    m_pane->tScroll()->stop();
    endProgram(false);
}

void frmSet::saveForSessionEnd()
{
    if (!m_pane->ending())
        saveAsShown();
}

bool frmSet::saveOnClose()
{
    if (m_saved || m_pane->ending())
        return true;
    m_saved = SaveSettings();
    return m_saved;
}

}  // namespace velloran::ui
