// The full-screen window's script entry points and its one write of the settings file.
#include "platform/services.h"
#include "session/settingsstore.h"
#include "ui/frmfull.h"
#include "ui/frmset.h"
#include "ui/scriptintake.h"
#include "ui/scripttext.h"

namespace velloran::ui {

void frmFull::LoadBackup()
{
    // The designation lives in the main window; read it now, it may have changed since opening.
    const QString path = m_main.backupPath();
    if (path.isEmpty())
        return;
    const auto text = scriptFromFile(path, *m_notice);
    if (!text)
        return;
    tex()->setPlainText(*text);
    m_scroller.goHome();
    positionChanged();
}

void frmFull::LoadClipboard()
{
    const auto text = scriptFromClipboard(m_services.clipboardText(), *m_notice);
    if (!text)
        return;
    tex()->setPlainText(*text);
    m_scroller.goHome();
    positionChanged();
}

bool frmFull::SaveFullSettings()
{
    // Only the font size is this window's own; everything else comes from the hidden main window,
    // so the full-screen script, position and pace are not carried to the next run.
    return m_main.mayEndAfter(m_main.saveState(tex()->pointSize()), this);
}

}  // namespace velloran::ui
