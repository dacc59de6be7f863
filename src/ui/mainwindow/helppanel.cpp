#include "ui/mainwindow/helppanel.h"

#include <QPlainTextEdit>

#include "session/settingsstore.h"
#include "ui/pane/helptexts.h"
#include "ui/pane/instanthelp.h"
#include "ui/widgets/mouserelay.h"

namespace velloran::ui {

HelpPanel::HelpPanel(QWidget* window, const TwipScale& scale, QString helpFile)
    : QObject(window), m_helpFile(std::move(helpFile)), m_tHelp(new QPlainTextEdit(window))
{
    m_tHelp->setObjectName(QStringLiteral("tHelp"));
    scale.place(m_tHelp, 360, 720, 9735, 4335);
    m_tHelp->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont font;
    // Where the rounded face is missing, a plain sans face reads better than a random script font.
    font.setFamilies({QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    font.setPointSizeF(15.75);
    m_tHelp->setFont(font);
    QPalette colours = m_tHelp->palette();
    colours.setColor(QPalette::Base, Qt::black);
    colours.setColor(QPalette::Text, QColor(255, 255, 128));
    m_tHelp->setPalette(colours);
    m_tHelp->setToolTip(InstantHelp::qs(help::kHelpPanelTooltip));
    m_tHelp->hide();
    // The panel still needs its presses: selecting and editing.
    connect(MouseRelay::on(m_tHelp->viewport(), false), &MouseRelay::doubleClicked, this,
            &HelpPanel::LoadHelpFile);
}

void HelpPanel::LoadHelpFile()
{
    if (const auto text = session::loadTextFile(m_helpFile))
        m_tHelp->setPlainText(*text);
}

void HelpPanel::open()
{
    if (m_tHelp->isHidden()) {
        m_tHelp->show();
        m_tHelp->raise();
    }
}

void HelpPanel::hide()
{
    m_tHelp->hide();
}

}  // namespace velloran::ui
