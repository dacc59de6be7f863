// The main window's Instant Help table, its help button, and the areas that move the window.
#include <QLabel>
#include <QPlainTextEdit>

#include "ui/controlpanel.h"
#include "ui/frmset.h"
#include "ui/helppanel.h"
#include "ui/helptexts.h"
#include "ui/instanthelp.h"
#include "ui/mouserelay.h"
#include "ui/picturebutton.h"
#include "ui/readingpane.h"
#include "ui/statsstrip.h"
#include "ui/textfinderglue.h"

namespace velloran::ui {

void frmSet::wireHelpTexts()
{
    auto* instantHelp = new InstantHelp(m_panel->helpBar());
    instantHelp->wire(m_pane->helpRows());
    instantHelp->wire(m_finder->helpRows());
    const auto fixed = &InstantHelp::fixed;
    const auto clearReadouts = [this] { m_pane->clearReadouts(); };
    QLabel* backupTitle = m_panel->backupTitle();
    const auto backupText = [backupTitle] {
        return backupTitle->text().isEmpty() ? QString() : InstantHelp::qs(help::kBackupLabel);
    };
    instantHelp->wire({
        {this, fixed(help::kDefault), {}},
        {m_panel->frame(), fixed(help::kDefault), clearReadouts},
        {backupTitle, backupText, clearReadouts},
        {m_panel->helpButton(), fixed(help::kHelpButton), {}},
        {m_panel->exitButton(), fixed(help::kExit), {}},
        {m_cUp, fixed(help::kUp), {}},
        {m_cDwn, fixed(help::kDown), {}},
        {m_helpPanel->panel(), fixed(help::kHelpPanel), {}},
    });

    // The help button: a press opens the help panel (the right button's only closes the panels),
    // a release of any button but the left shows or hides the statistics captions.
    connect(m_panel->helpButton(), &PictureButton::mousePressed, this, [this](int button) {
        HidePanels();
        if (button != engine::kRightButton)
            m_helpPanel->open();
    });
    connect(m_panel->helpButton(), &PictureButton::mouseReleased, this, [this](int button) {
        if (button != engine::kLeftButton)
            ToggleStats();
    });
}

void frmSet::wireMoveAreas()
{
    // The areas that move the window: a press there that the pointer then carries a few pixels
    // with any button but the right alone. A press by itself moves nothing, so the window manager
    // never takes the presses of a double-click.
    std::vector<QWidget*> areas {this, m_panel->frame(), m_strip->topEdge(), m_panel->bottomEdge(),
                                 m_panel->helpBar()};
    for (QLabel* tip : m_strip->tipLabels())
        areas.push_back(tip);
    for (QWidget* area : areas) {
        connect(MouseRelay::on(area), &MouseRelay::dragged, this, [this](int held) {
            if (held != engine::kRightButton)
                DragWindow();
        });
    }
}

}  // namespace velloran::ui
