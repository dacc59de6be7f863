// The full-screen window's Instant Help texts and the readouts and tooltips that hovering sets.
#include <QLabel>

#include "ui/arrowspinner.h"
#include "ui/frmfull.h"
#include "ui/frmset.h"
#include "ui/helptexts.h"
#include "ui/mouserelay.h"
#include "ui/picturebutton.h"
#include "ui/scriptsurface.h"
#include "ui/scripttext.h"

namespace velloran::ui {

namespace {
QString qs(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
}  // namespace

void frmFull::showHelp(std::string_view text)
{
    m_lHelp->setText(qs(text));
}

void frmFull::wireHelpTexts()
{
    // Nothing restores the bar's first text: it keeps the last one until another replaces it.
    const auto onMove = [this](PictureButton* button, auto handler) {
        connect(button, &PictureButton::mouseMoved, this, handler);
    };
    const auto onLabelMove = [this](QLabel* label, auto handler) {
        connect(MouseRelay::on(label), &MouseRelay::moved, this, handler);
    };
    const auto clearReadouts = [this] {
        m_lScrd->clear();
        m_lScrnt->clear();
    };
    const auto fontTooltip = [this] {
        return qs(engine::fontSizeTooltip(static_cast<float>(tex()->pointSize())));
    };

    onMove(m_cPlay, [this, clearReadouts] {
        showHelp(help::kFullPlay);
        clearReadouts();
    });
    onMove(m_cPause, [this, clearReadouts] {
        showHelp(help::kFullPause);
        clearReadouts();
        m_cPause->setToolTip(m_lPos->text());
    });
    onMove(m_cReset, [this] { showHelp(help::kReset); });
    onMove(m_cFntPlus, [this, fontTooltip] {
        showHelp(help::kFontPlus);
        m_cFntPlus->setToolTip(fontTooltip());
    });
    onMove(m_cFntMinus, [this, fontTooltip] {
        showHelp(help::kFontMinus);
        m_cFntMinus->setToolTip(fontTooltip());
    });
    onMove(m_cX, [this] { showHelp(help::kExit); });
    onLabelMove(m_lSpeed, [this] {
        showHelp(help::speedHelp(m_shared.pace.speed));
        m_lScrd->clear();
    });
    onLabelMove(m_lScrd, [this] {
        showHelp(help::speedHelp(m_shared.pace.speed));
        m_lScrd->setText(qs(engine::speedReadout(m_shared.pace.speed)));
    });
    onLabelMove(m_lFreq, [this] {
        showHelp(help::frequencyHelp(m_shared.pace.frequency));
        m_lScrnt->clear();
    });
    onLabelMove(m_lScrnt, [this] {
        showHelp(help::frequencyHelp(m_shared.pace.frequency));
        m_lScrnt->setText(qs(engine::frequencyReadout(m_shared.pace.frequency)));
    });
    connect(tex(), &ScriptText::mouseMoved, this, [this] {
        tex()->setToolTip(m_playing ? QString() : m_lPos->text());
        showHelp(help::kScript);
    });
    connect(m_scroll, &ScriptSurface::mouseMoved, this, [this] { m_scroll->setToolTip(m_lPos->text()); });
}

}  // namespace velloran::ui
