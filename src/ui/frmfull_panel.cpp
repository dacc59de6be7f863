// Builds the full-screen window's controls: the surface and the bar, the Control Panel `fCtrl`
// and the out-of-sight frame `fHide` (twips, relative to their container). The load sequence
// then fits the window-level ones to the screen.
#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "ui/arrowspinner.h"
#include "ui/controls.h"
#include "ui/frmfull.h"
#include "ui/helptexts.h"
#include "ui/navigationbar.h"
#include "ui/picturebutton.h"
#include "ui/scriptsurface.h"
#include "ui/scripttext.h"
#include "ui/twipscale.h"

namespace velloran::ui {

namespace {

constexpr double kTexTop = 120;
const QColor kPanelColour(40, 40, 48);  // dark, so that the light grey readouts can be read

}  // namespace

void frmFull::buildControls()
{
    setObjectName(QStringLiteral("frmFull"));
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::black);
    setPalette(colours);

    m_scroll = new ScriptSurface(this, m_scale, kTexTop);
    m_scroll->setLeft(0);
    m_scroll->setTexLeft(0);
    m_scroll->setAcceptsFiles(false);
    QFont script(QStringLiteral("Arial"));
    script.setPointSizeF(engine::kFullScreenFontSize);
    tex()->setFont(script);

    m_tip = new NavigationBar(this, m_scale, false);

    buildControlPanel();
    buildHiddenFrame();

    m_tScroll = new QTimer(this);
    m_tScroll->setObjectName(QStringLiteral("tScroll"));
    m_tScroll->setTimerType(Qt::PreciseTimer);
    m_tScroll->setInterval(100);
    m_tRef = new QTimer(this);
    m_tRef->setObjectName(QStringLiteral("tRef"));
    m_tRef->setInterval(7000);
}

void frmFull::buildControlPanel()
{
    m_fCtrl = makePanel(this, QStringLiteral("fCtrl"), kPanelColour);
    m_fCtrl->resize(m_scale.px(10935), m_scale.px(1815));
    QWidget* f = m_fCtrl;

    const PaceControls pace = buildPaceControls(f, m_scale, 7440, 975);
    m_cFntPlus = pace.cFntPlus;
    m_cFntMinus = pace.cFntMinus;
    m_cReset = pace.cReset;
    m_lScrd = pace.lScrd;
    m_lSpeed = pace.lSpeed;
    m_sSpeed = pace.sSpeed;
    m_cPlay = pace.cPlay;
    m_cPause = pace.cPause;
    m_lScrnt = pace.lScrnt;
    m_lFreq = pace.lFreq;
    m_sFreq = pace.sFreq;
    m_cFile = pace.cFile;
    colourText(m_lScrd, kGrey);
    colourText(m_lScrnt, kGrey);
    makeDecoration(f, m_scale, QStringLiteral("Line1"), 0, 0, 10935, 15, kDarkGrey);
    makeDecoration(f, m_scale, QStringLiteral("Line2"), 0, 1800, 10935, 15, kDarkGrey);
    makeDecoration(f, m_scale, QStringLiteral("Line3"), 0, 0, 15, 1815, kDarkGrey);
    makeDecoration(f, m_scale, QStringLiteral("Line4"), 10920, 0, 15, 1815, kDarkGrey);

    m_cFull = new PictureButton(QStringLiteral("cFull"), PictureButton::Glyph::Full, f);
    m_scale.place(m_cFull, 9240, 240, 615, 615);
    m_cX = new PictureButton(QStringLiteral("cX"), PictureButton::Glyph::Exit, f);
    m_scale.place(m_cX, 10080, 240, 615, 615);

    m_lHelp = makeLabel(f, QStringLiteral("lHelp"), QString::fromLatin1(help::kFullDefault), 9, true);
    colourText(m_lHelp, kGrey);
    m_lHelp->setWordWrap(true);
    m_lHelp->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_scale.place(m_lHelp, 120, 1080, 10815, 615);
}

void frmFull::buildHiddenFrame()
{
    // The load sequence moves this frame below the screen: never seen, but its Alt keys work
    // whether or not the Control Panel is shown.
    m_fHide = new QWidget(this);
    m_fHide->setObjectName(QStringLiteral("fHide"));
    m_fHide->resize(m_scale.px(3975), m_scale.px(735));
    m_cPlay2 = makeAccelerator(m_fHide, QStringLiteral("cPlay2"), QStringLiteral("&p"));
    m_scale.place(m_cPlay2, 240, 360, 255, 255);
    m_cUpB = makeAccelerator(m_fHide, QStringLiteral("cUpB"), QStringLiteral("&/"));
    m_scale.place(m_cUpB, 600, 360, 255, 255);
    m_cDwnB = makeAccelerator(m_fHide, QStringLiteral("cDwnB"), QStringLiteral("&\\"));
    m_scale.place(m_cDwnB, 960, 360, 255, 255);
    m_cBack = makeAccelerator(m_fHide, QStringLiteral("cBack"), QStringLiteral("&b"));
    m_scale.place(m_cBack, 1320, 360, 255, 255);
    m_lPos = makeLabel(m_fHide, QStringLiteral("lPos"), QString(), 8.25, false);
    m_scale.place(m_lPos, 2280, 360, 1215, 255);
}

}  // namespace velloran::ui
