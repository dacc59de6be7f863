// The full-screen window's script entry points and its one write of the settings file.
#include "platform/services.h"
#include "session/settingsrecord.h"
#include "session/settingsstore.h"
#include "ui/frmfull.h"
#include "ui/frmset.h"
#include "ui/scripttext.h"

namespace velloran::ui {

void frmFull::LoadBackup()
{
    // The designation lives in the main window; read it now, it may have changed since opening.
    const QString path = m_main.backupPath();
    if (path.isEmpty())
        return;
    const auto text = session::loadTextFile(path);
    if (!text)
        return;
    tex()->setPlainText(*text);
    m_scroller.goHome();
    positionChanged();
}

void frmFull::LoadClipboard()
{
    const auto text = m_services.clipboardText();
    if (!text)
        return;
    tex()->setPlainText(*text);
    m_scroller.goHome();
    positionChanged();
}

void frmFull::SaveFullSettings()
{
    // Only the font size is this window's own; everything else comes from the hidden main window,
    // so the full-screen script, position and pace are not carried to the next run.
    session::SettingsRecord record;
    record.script = m_main.PrepareText();
    record.speed = static_cast<qint16>(m_main.speedValue());
    record.frequency = static_cast<qint16>(m_main.frequencyValue());
    record.fontSize = static_cast<float>(tex()->pointSize());
    record.position = m_main.scroller().position();
    record.backupPath = m_main.backupPath();
    record.minutes = m_shared.clock.minutes;
    record.seconds = m_shared.clock.seconds;
    session::writeFileSafely(m_main.settingsFile(), session::writeRecord(record));
}

}  // namespace velloran::ui
