// The main window's help: the Instant Help bar and its texts, the help panel, the statistics
// captions and the areas that move the window.
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QComboBox>

#include "ui/arrowspinner.h"
#include "ui/frmset.h"
#include "ui/helptexts.h"
#include "ui/mouserelay.h"
#include "ui/picturebutton.h"
#include "ui/scriptsurface.h"
#include "ui/scripttext.h"
#include "ui/textfinder.h"
#include "ui/twipscale.h"

namespace velloran::ui {

namespace {
QString qs(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
bool startsMove(int buttons)
{
    return buttons != engine::kRightButton;
}
}  // namespace

void frmSet::showHelp(std::string_view text)
{
    m_lHelp->setText(qs(text));
}

void frmSet::wireHelpTexts()
{
    const auto onMove = [this](QObject* source, auto handler) {
        if (auto* button = qobject_cast<PictureButton*>(source))
            connect(button, &PictureButton::mouseMoved, this, handler);
        else if (auto* spinner = qobject_cast<ArrowSpinner*>(source))
            connect(spinner, &ArrowSpinner::mouseMoved, this, handler);
        else
            connect(MouseRelay::on(static_cast<QWidget*>(source)), &MouseRelay::moved, this, handler);
    };
    const auto clearReadouts = [this] {
        m_lScrd->clear();
        m_lScrnt->clear();
    };

    // The areas that move the window: a press there that the pointer then carries a few pixels
    // with any button but the right alone. A press by itself moves nothing, so the window manager
    // never takes the presses of a double-click.
    const auto movesWindow = [this](MouseRelay* area) {
        connect(area, &MouseRelay::dragged, this, [this](int held) { if (startsMove(held)) DragWindow(); });
        return area;
    };
    MouseRelay* window = movesWindow(MouseRelay::on(this));
    connect(window, &MouseRelay::moved, this, [this] { showHelp(help::kDefault); });
    MouseRelay* frame2 = movesWindow(MouseRelay::on(m_frame2));
    connect(frame2, &MouseRelay::moved, this, [this, clearReadouts] {
        showHelp(help::kDefault);
        clearReadouts();
    });
    connect(frame2, &MouseRelay::released, this, [this](int b) {
        if (b != engine::kLeftButton)
            m_lBack->show();
    });
    connect(frame2, &MouseRelay::doubleClicked, this, &frmSet::ToggleInstantHelp);
    MouseRelay::on(m_frame1);  // the top strip's own background starts no move

    movesWindow(MouseRelay::on(m_image1));
    MouseRelay* image2 = movesWindow(MouseRelay::on(m_image2));
    connect(image2, &MouseRelay::doubleClicked, this, &frmSet::ToggleInstantHelp);
    MouseRelay* helpBar = movesWindow(MouseRelay::on(m_lHelp));
    connect(helpBar, &MouseRelay::doubleClicked, this, &frmSet::ToggleInstantHelp);

    onMove(m_cPlay, [this, clearReadouts] {
        showHelp(help::kPlay);
        clearReadouts();
    });
    onMove(m_cPause, [this, clearReadouts] {
        showHelp(help::kPause);
        clearReadouts();
        m_cPause->setToolTip(m_lPos->text());
    });
    onMove(m_cReset, [this] { showHelp(help::kReset); });
    onMove(m_cFntPlus, [this] {
        showHelp(help::kFontPlus);
        m_cFntPlus->setToolTip(qs(engine::fontSizeTooltip(static_cast<float>(tex()->pointSize()))));
    });
    onMove(m_cFntMinus, [this] {
        showHelp(help::kFontMinus);
        m_cFntMinus->setToolTip(qs(engine::fontSizeTooltip(static_cast<float>(tex()->pointSize()))));
    });
    onMove(m_lSpeed, [this] {
        showHelp(help::speedHelp(m_shared.pace.speed));
        m_lScrd->clear();
    });
    onMove(m_lScrd, [this] {
        showHelp(help::speedHelp(m_shared.pace.speed));
        m_lScrd->setText(qs(engine::speedReadout(m_shared.pace.speed)));
    });
    onMove(m_lFreq, [this] {
        showHelp(help::frequencyHelp(m_shared.pace.frequency));
        m_lScrnt->clear();
    });
    onMove(m_lScrnt, [this] {
        showHelp(help::frequencyHelp(m_shared.pace.frequency));
        m_lScrnt->setText(qs(engine::frequencyReadout(m_shared.pace.frequency)));
    });
    onMove(m_lBack, [this, clearReadouts] {
        if (!m_lBack->text().isEmpty())
            showHelp(help::kBackupLabel);
        clearReadouts();
    });
    onMove(m_cFile, [this] { showHelp(help::kTextFinder); });
    onMove(m_cHelp, [this] { showHelp(help::kHelpButton); });
    onMove(m_cX, [this] { showHelp(help::kExit); });
    onMove(m_cUp, [this] { showHelp(help::kUp); });
    onMove(m_cDwn, [this] { showHelp(help::kDown); });
    // The lists and the help panel still need their presses: selecting, opening, editing.
    MouseRelay* helpPanel = MouseRelay::on(m_tHelp->viewport(), false);
    connect(helpPanel, &MouseRelay::moved, this, [this] { showHelp(help::kHelpPanel); });
    connect(helpPanel, &MouseRelay::doubleClicked, this, &frmSet::LoadHelpFile);
    connect(MouseRelay::on(m_fX->folders()->viewport(), false), &MouseRelay::moved, this,
            [this] { showHelp(help::kFolderList); });
    connect(MouseRelay::on(m_fX->files()->viewport(), false), &MouseRelay::moved, this,
            [this] { showHelp(help::kFileList); });
    onMove(m_fX->okay(), [this] { showHelp(help::kOkay); });
    onMove(m_fX->backup(), [this] { showHelp(help::kBackupButton); });
    m_fX->drives()->setToolTip(qs(help::kDriveTooltip));
    connect(tex(), &ScriptText::mouseMoved, this, [this] {
        tex()->setToolTip(m_playing ? QString() : m_lPos->text());
        showHelp(help::kScript);
    });
    connect(m_scroll, &ScriptSurface::mouseMoved, this, [this] { m_scroll->setToolTip(m_lPos->text()); });

    connect(MouseRelay::on(m_lBack), &MouseRelay::doubleClicked, m_lBack, &QWidget::hide);

    // Double-click on a caption swaps it for its tip label.
    const auto swapOnDoubleClick = [this](QLabel* caption, QLabel* tip) {
        connect(MouseRelay::on(caption), &MouseRelay::doubleClicked, this, [caption, tip] {
            tip->show();
            caption->hide();
        });
    };
    swapOnDoubleClick(m_lTime, m_lRun);
    swapOnDoubleClick(m_lChar, m_lCharTips);
    swapOnDoubleClick(m_lScroll, m_lStats);

    // Tip labels: tooltips with current values, and they move the window.
    const auto tipLabel = [this, movesWindow](QLabel* tip, auto tooltip) {
        MouseRelay* relay = movesWindow(MouseRelay::on(tip));
        connect(relay, &MouseRelay::moved, this, [tip, tooltip] { tip->setToolTip(tooltip()); });
    };
    tipLabel(m_lRun, [this] { return m_lTime->text(); });
    tipLabel(m_lCharTips, [this] { return m_lChar->text(); });
    // Spelled out as QString: a deduced string builder would refer to temporaries already gone.
    tipLabel(m_lStats, [this]() -> QString { return m_lScroll->text() + QStringLiteral("    ") + m_lPos->text(); });
}

void frmSet::HidePanels()
{
    m_fX->hide();
    m_tHelp->hide();
}

void frmSet::ToggleStats()
{
    const bool showCaptions = !m_statsShown;
    for (QLabel* caption : {m_lTime, m_lScroll, m_lChar})
        caption->setVisible(showCaptions);
    for (QLabel* tip : {m_lRun, m_lStats, m_lCharTips})
        tip->setVisible(!showCaptions);
    m_statsShown = showCaptions;
}

void frmSet::cHelp_MouseDown(int button)
{
    HidePanels();
    if (button != engine::kRightButton && m_tHelp->isHidden()) {
        m_tHelp->show();
        m_tHelp->raise();
    }
}

void frmSet::cHelp_MouseUp(int button)
{
    if (button != engine::kLeftButton)
        ToggleStats();
}

void frmSet::ToggleInstantHelp()
{
    const bool hideBar = m_lHelp->isVisible();
    const double edge = hideBar ? 1080 : 1440;
    m_lHelp->setVisible(!hideBar);
    for (QWidget* line : {m_line5, m_line13})
        line->resize(line->width(), m_scale.px(edge));
    m_scale.place(m_image2, 0, edge, 10935, 255);
    setFixedHeight(m_scale.px(hideBar ? 6615 : 6975));
    m_cHelp->setToolTip(hideBar ? qs(help::kShowInstantHelpTooltip) : QString());
}

}  // namespace velloran::ui
