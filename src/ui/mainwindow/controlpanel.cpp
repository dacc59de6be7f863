#include "ui/mainwindow/controlpanel.h"

#include <QLabel>

#include "session/settingsstore.h"
#include "ui/pane/helptexts.h"
#include "ui/pane/instanthelp.h"
#include "ui/pane/readingpane.h"
#include "ui/widgets/controls.h"
#include "ui/widgets/mouserelay.h"
#include "ui/widgets/picturebutton.h"

namespace velloran::ui {

ControlPanel::ControlPanel(QWidget* window, const TwipScale& scale, ReadingPane& pane)
    : QObject(window), m_window(window), m_scale(scale)
{
    m_frame = makePanel(window, QStringLiteral("Frame2"), kGrey);
    m_scale.place(m_frame, 0, 5280, 10935, 1695);
    pane.buildPaceControls(m_frame, 7320, 1095);
    build();
    pane.wireExitButton(m_cX);
    MouseRelay* background = MouseRelay::on(m_frame);
    connect(background, &MouseRelay::released, this, [this](int button) {
        if (button != engine::kLeftButton)
            m_lBack->show();
    });
    for (QWidget* area : {m_frame, m_image2, static_cast<QWidget*>(m_lHelp)})
        connect(MouseRelay::on(area), &MouseRelay::doubleClicked, this, &ControlPanel::ToggleInstantHelp);
    connect(MouseRelay::on(m_lBack), &MouseRelay::doubleClicked, m_lBack, &QWidget::hide);
}

void ControlPanel::build()
{
    m_lBack = makeLabel(m_frame, QStringLiteral("lBack"), QString(), 9, false);
    m_lBack->setAlignment(Qt::AlignCenter);
    m_scale.place(m_lBack, 3720, 120, 3495, 255);
    m_lBack->hide();

    m_cHelp = new PictureButton(QStringLiteral("cHelp"), PictureButton::Glyph::Help, m_frame);
    m_scale.place(m_cHelp, 9240, 240, 615, 615);
    m_cFull = new PictureButton(QStringLiteral("cFull"), PictureButton::Glyph::Full, m_frame);
    m_scale.place(m_cFull, 10080, 240, 615, 615);

    m_lHelp = makeLabel(m_frame, QStringLiteral("lHelp"), InstantHelp::qs(help::kDefault), 9, true);
    m_lHelp->setWordWrap(true);
    m_lHelp->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_scale.place(m_lHelp, 240, 960, 9975, 615);
    m_cX = new PictureButton(QStringLiteral("cX"), PictureButton::Glyph::Exit, m_frame);
    m_scale.place(m_cX, 10320, 960, 375, 375);
    m_image2 = makePanel(m_frame, QStringLiteral("Image2"), QColor(40, 40, 48));
    m_scale.place(m_image2, 0, 1440, 10935, 255);
    m_line5 = makeDecoration(m_frame, m_scale, QStringLiteral("Line5"), 0, 0, 15, 1560, kDarkGrey);
    m_line13 = makeDecoration(m_frame, m_scale, QStringLiteral("Line13"), 10920, 0, 15, 1560, kDarkGrey);
    // While the Instant Help bar is hidden the bottom edge moves up across the exit button,
    // which must stay whole and clickable in front of it.
    m_cX->raise();
}

void ControlPanel::ToggleInstantHelp()
{
    const bool hideBar = m_lHelp->isVisible();
    const double edge = hideBar ? 1080 : 1440;
    m_lHelp->setVisible(!hideBar);
    for (QWidget* line : {m_line5, m_line13})
        line->resize(line->width(), m_scale.px(edge));
    m_scale.place(m_image2, 0, edge, 10935, 255);
    m_window->setFixedHeight(m_scale.px(hideBar ? 6615 : 6975));
    m_cHelp->setToolTip(hideBar ? InstantHelp::qs(help::kShowInstantHelpTooltip) : QString());
}

void ControlPanel::showBackupTitle(const QString& path)
{
    m_lBack->setText(QStringLiteral("BACKUP File : ") + session::fileNamePart(path));
    m_lBack->show();
}

}  // namespace velloran::ui
