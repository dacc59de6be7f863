#include "ui/mainwindow/textfinderglue.h"

#include <QComboBox>
#include <QListWidget>

#include "ui/mainwindow/textfinder.h"
#include "ui/pane/helptexts.h"
#include "ui/pane/instanthelp.h"
#include "ui/pane/readingpane.h"
#include "ui/pane/scriptview.h"
#include "ui/widgets/picturebutton.h"

namespace velloran::ui {

TextFinderGlue::TextFinderGlue(QWidget* window, const TwipScale& scale, ReadingPane& pane, const ScriptView& view,
                               std::function<void()> hidePanels,
                               std::function<void(const QString&)> designateBackup)
    : QObject(window), m_window(window), m_pane(pane), m_hidePanels(std::move(hidePanels)),
      m_designateBackup(std::move(designateBackup)), m_fX(new TextFinderPanel(window, scale))
{
    scale.place(m_fX, 3480, 720, 3735, 4575);
    m_fX->hide();
    m_fX->drives()->setToolTip(InstantHelp::qs(help::kDriveTooltip));
    connect(&pane, &ReadingPane::textFinderPressed, this, &TextFinderGlue::cFile_MouseDown);
    connect(m_fX->okay(), &PictureButton::mousePressed, this, &TextFinderGlue::cOKay_MouseDown);
    connect(m_fX->backup(), &QAbstractButton::clicked, this, &TextFinderGlue::cBackup_Click);
    connect(m_fX->cancel(), &QAbstractButton::clicked, this, &TextFinderGlue::ToggleTextFinder);
    connect(&view, &ScriptView::filesDropped, this, &TextFinderGlue::dropFiles);
}

void TextFinderGlue::wireHelp(InstantHelp& help) const
{
    const auto fixed = &InstantHelp::fixed;
    help.wire({
        {m_fX->folders(), fixed(help::kFolderList), {}},
        {m_fX->files(), fixed(help::kFileList), {}},
        {m_fX->okay(), fixed(help::kOkay), {}},
        {m_fX->backup(), fixed(help::kBackupButton), {}},
    });
}

void TextFinderGlue::hide()
{
    m_fX->hide();
}

void TextFinderGlue::ToggleTextFinder()
{
    if (m_pane.playing())
        return;
    if (m_fX->isVisible()) {
        m_fX->hide();
        return;
    }
    m_fX->show();
    m_fX->raise();
    m_fX->refreshPattern();
}

void TextFinderGlue::cFile_MouseDown(int button)
{
    if (button == engine::kRightButton || m_pane.playing())
        return;
    m_hidePanels();
    ToggleTextFinder();
}

void TextFinderGlue::cOKay_MouseDown(int button)
{
    if (button == engine::kRightButton)
        return;
    const QString name = m_fX->selectedFile();
    if (name.isEmpty()) {
        m_fX->hide();
        return;
    }
    if (m_pane.loadScriptFromFile(m_fX->folder() + u'/' + name, true))
        m_fX->hide();
}

void TextFinderGlue::cBackup_Click()
{
    const QString name = m_fX->selectedFile();
    if (!name.isEmpty())
        m_designateBackup(m_fX->folder() + u'/' + name);
    m_fX->hide();
}

void TextFinderGlue::dropFiles(const QStringList& paths)
{
    if (paths.isEmpty() || !m_pane.loadScriptFromFile(paths.first(), true))
        return;
    m_fX->hide();
    m_window->update();
}

}  // namespace velloran::ui
