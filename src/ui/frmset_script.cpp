// The main window's script and state entry points: the settings file, the help file, the
// TextFinder, the backup script, drops and the clipboard.
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>

#include "platform/services.h"
#include "session/settingsrecord.h"
#include "session/settingsstore.h"
#include "session/staterestore.h"
#include "ui/arrowspinner.h"
#include "ui/frmset.h"
#include "ui/notice.h"
#include "ui/recoverycopy.h"
#include "ui/scriptintake.h"
#include "ui/scriptsurface.h"
#include "ui/scripttext.h"
#include "ui/textfinder.h"
#include "ui/twipscale.h"

namespace velloran::ui {

namespace {

constexpr float kSmallestFontAccepted = 1.0f;
constexpr float kLargestFontAccepted = 400.0f;
constexpr float kFarthestPosition = 2.0e9f;  // beyond this a Top is nonsense, not a place

// Applies a restored record to the main window's controls, which may refuse a value.
class MainWindowTarget final : public session::SettingsTarget {
public:
    MainWindowTarget(ArrowSpinner* speed, ArrowSpinner* frequency, frmSet& window)
        : m_speed(speed), m_frequency(frequency), m_window(window)
    {
    }

    bool applySpeed(qint16 value) override { return setSpinner(m_speed, value); }
    bool applyFrequency(qint16 value) override { return setSpinner(m_frequency, value); }
    bool applyFontSize(float size) override
    {
        if (!(size >= kSmallestFontAccepted && size <= kLargestFontAccepted))
            return false;
        m_window.tex()->setPointSize(size);
        return true;
    }
    bool applyPosition(float position) override
    {
        if (!(position > -kFarthestPosition && position < kFarthestPosition))
            return false;
        m_window.scroller().setPosition(position);
        return true;
    }
    bool applyBackupPath(const QString& path) override
    {
        if (path.size() > session::kMaxPathCharacters)
            return false;
        m_window.findChild<QLabel*>(QStringLiteral("lBkPath"))->setText(path);
        return true;
    }
    bool applyMinutes(qint64 minutes) override
    {
        m_window.shared().clock.minutes = std::max<qint64>(0, minutes);
        return true;
    }
    bool applySeconds(qint16 seconds) override
    {
        // A hand-edited value is brought into range rather than shown as it stands.
        m_window.shared().clock.seconds = static_cast<std::int16_t>(seconds < 0 ? 0 : seconds % 60);
        return true;
    }
    bool applyScript(const QString& script) override
    {
        if (m_window.tex()->script() != script)
            m_window.tex()->setPlainText(script);
        return true;
    }

private:
    static bool setSpinner(ArrowSpinner* spinner, qint16 value)
    {
        if (value < spinner->minimum() || value > spinner->maximum())
            return false;
        spinner->setValue(value);
        return true;
    }

    ArrowSpinner* m_speed;
    ArrowSpinner* m_frequency;
    frmSet& m_window;
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

QString frmSet::helpFile() const
{
    return m_services.dataFolder() + QStringLiteral("/help.txt");
}

QString frmSet::backupPath() const
{
    return m_lBkPath->text();
}

int frmSet::speedValue() const
{
    return m_sSpeed->value();
}

int frmSet::frequencyValue() const
{
    return m_sFreq->value();
}

void frmSet::LoadSettings()
{
    const QString program = m_services.programFolder();
    if (m_stateFolder.isEmpty())
        m_stateFolder = stateFolder();
    MainWindowTarget target(m_sSpeed, m_sFreq, *this);
    const session::RestoreReport report = session::restoreState(
        session::settingsFileToRead(program, m_stateFolder), session::recoveryPath(m_stateFolder), target);
    if (report.applied == 8 && !backupPath().isEmpty()) {
        m_lBack->setText(QStringLiteral("BACKUP File : ") + session::fileNamePart(backupPath()));
        m_lBack->show();
    }
    if (!report.messages.isEmpty())
        m_notice->tell(report.messages.join(u"\n"));
}

QString frmSet::PrepareText()
{
    QString text = tex()->script();
    if (text.contains(u'"')) {
        text = session::cleanText(text, u'"');
        tex()->setPlainText(text);
    }
    return text;
}

session::SettingsRecord frmSet::stateWithoutScript() const
{
    session::SettingsRecord record;
    record.speed = static_cast<qint16>(m_sSpeed->value());
    record.frequency = static_cast<qint16>(m_sFreq->value());
    record.fontSize = static_cast<float>(tex()->pointSize());
    record.position = m_scroller.position();
    record.backupPath = backupPath();
    record.minutes = m_shared.clock.minutes;
    record.seconds = m_shared.clock.seconds;
    return record;
}

session::SaveOutcome frmSet::saveState(double fontSize)
{
    session::SettingsRecord record = stateWithoutScript();
    record.fontSize = static_cast<float>(fontSize);
    record.script = PrepareText();
    const session::SaveOutcome outcome = session::saveRecord(stateFolder(), session::writeRecord(record));
    if (outcome.saved)
        m_recovery->discard();
    return outcome;
}

bool frmSet::mayEndAfter(const session::SaveOutcome& outcome, QWidget* asker)
{
    if (outcome.saved)
        return true;
    return m_services.askAfterFailedSave(asker, outcome.file, outcome.reason) == platform::FailedSaveChoice::Leave;
}

bool frmSet::SaveSettings()
{
    return mayEndAfter(saveState(tex()->pointSize()), this);
}

void frmSet::LoadHelpFile()
{
    if (const auto text = session::loadTextFile(helpFile()))
        m_tHelp->setPlainText(*text);
}

bool frmSet::loadScriptFromFile(const QString& path, bool resetClockToo)
{
    const auto text = scriptFromFile(path, *m_notice);
    if (!text)
        return false;
    tex()->setPlainText(*text);
    m_scroller.goHome();
    if (resetClockToo)
        resetClock();
    ShowPosition();
    return true;
}

void frmSet::setBackupPath(const QString& path)
{
    m_lBkPath->setText(path);
    m_lBack->setText(QStringLiteral("BACKUP File : ") + session::fileNamePart(path));
    m_lBack->show();
}

void frmSet::LoadBackup()
{
    if (backupPath().isEmpty())
        return;
    loadScriptFromFile(backupPath(), false);
}

void frmSet::LoadClipboard()
{
    const auto text = scriptFromClipboard(m_services.clipboardText(), *m_notice);
    if (!text)
        return;
    tex()->setPlainText(*text);
    m_scroller.goHome();
    ShowPosition();
}

void frmSet::dropFiles(const QStringList& paths)
{
    if (paths.isEmpty() || !loadScriptFromFile(paths.first(), true))
        return;
    m_fX->hide();
    update();
}

void frmSet::ToggleTextFinder()
{
    if (m_playing)
        return;
    if (m_fX->isVisible()) {
        m_fX->hide();
        return;
    }
    m_fX->show();
    m_fX->raise();
    m_fX->refreshPattern();
}

void frmSet::cFile_MouseDown(int button)
{
    if (button == engine::kRightButton || m_playing)
        return;
    HidePanels();
    ToggleTextFinder();
}

void frmSet::cOKay_MouseDown(int button)
{
    if (button == engine::kRightButton)
        return;
    const QString name = m_fX->selectedFile();
    if (name.isEmpty()) {
        m_fX->hide();
        return;
    }
    if (loadScriptFromFile(m_fX->folder() + u'/' + name, true))
        m_fX->hide();
}

void frmSet::cBackup_Click()
{
    const QString name = m_fX->selectedFile();
    if (!name.isEmpty())
        setBackupPath(m_fX->folder() + u'/' + name);
    m_fX->hide();
}

}  // namespace velloran::ui
