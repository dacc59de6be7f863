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
#include "ui/twips.h"

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

    m_scroll = new ScriptSurface(this, kTexTop);
    m_scroll->setLeft(0);
    m_scroll->setTexLeft(0);
    m_scroll->setAcceptsFiles(false);
    QFont script(QStringLiteral("Arial"));
    script.setPointSizeF(engine::kFullScreenFontSize);
    tex()->setFont(script);

    m_tip = new NavigationBar(this, false);

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
    m_fCtrl->resize(Twips::px(10935), Twips::px(1815));
    QWidget* f = m_fCtrl;

    for (double left : {240.0, 1080.0, 1920.0, 8400.0, 9240.0, 10080.0})
        addShadow(f, left, 240, 615);
    addShadow(f, 2760, 360, 495);
    addShadow(f, 7680, 360, 495);
    makeDecoration(f, QStringLiteral("Line1"), 0, 0, 10935, 15, kDarkGrey);
    makeDecoration(f, QStringLiteral("Line2"), 0, 1800, 10935, 15, kDarkGrey);
    makeDecoration(f, QStringLiteral("Line3"), 0, 0, 15, 1815, kDarkGrey);
    makeDecoration(f, QStringLiteral("Line4"), 10920, 0, 15, 1815, kDarkGrey);

    m_cFntPlus = new PictureButton(QStringLiteral("cFntPlus"), PictureButton::Glyph::Plus, f);
    place(m_cFntPlus, 240, 240, 615, 615);
    m_cFntMinus = new PictureButton(QStringLiteral("cFntMinus"), PictureButton::Glyph::Minus, f);
    place(m_cFntMinus, 1080, 240, 615, 615);
    m_cReset = new PictureButton(QStringLiteral("cReset"), PictureButton::Glyph::Reset, f);
    place(m_cReset, 1920, 240, 615, 615);

    m_lScrd = makeLabel(f, QStringLiteral("lScrd"), QString(), 8.25, true);
    colourText(m_lScrd, kGrey);
    place(m_lScrd, 2520, 120, 975, 255);
    m_lSpeed = makeLabel(f, QStringLiteral("lSpeed"), QString(), 8.25, false);
    place(m_lSpeed, 2520, 360, 975, 495);
    m_sSpeed = new ArrowSpinner(QStringLiteral("sSpeed"), Qt::Vertical, f);
    place(m_sSpeed, 2760, 360, 495, 495);
    setUpSpinner(m_sSpeed, engine::kSpeedRange);

    m_cPlay = new PictureButton(QStringLiteral("cPlay"), PictureButton::Glyph::Play, f);
    place(m_cPlay, 3480, 360, 3975, 495);
    m_cPause = new PictureButton(QStringLiteral("cPause"), PictureButton::Glyph::Pause, f);
    place(m_cPause, 3480, 360, 3975, 495);
    m_cPause->hide();

    m_lScrnt = makeLabel(f, QStringLiteral("lScrnt"), QString(), 8.25, true);
    colourText(m_lScrnt, kGrey);
    place(m_lScrnt, 7440, 120, 975, 255);
    m_lFreq = makeLabel(f, QStringLiteral("lFreq"), QString(), 8.25, false);
    place(m_lFreq, 7440, 360, 975, 495);
    m_sFreq = new ArrowSpinner(QStringLiteral("sFreq"), Qt::Horizontal, f);
    place(m_sFreq, 7680, 360, 495, 495);
    setUpSpinner(m_sFreq, engine::kFrequencyRange);

    m_cFile = new PictureButton(QStringLiteral("cFile"), PictureButton::Glyph::Folder, f);
    place(m_cFile, 8400, 240, 615, 615);
    m_cFull = new PictureButton(QStringLiteral("cFull"), PictureButton::Glyph::Full, f);
    place(m_cFull, 9240, 240, 615, 615);
    m_cX = new PictureButton(QStringLiteral("cX"), PictureButton::Glyph::Exit, f);
    place(m_cX, 10080, 240, 615, 615);

    m_lHelp = makeLabel(f, QStringLiteral("lHelp"), QString::fromLatin1(help::kFullDefault), 9, true);
    colourText(m_lHelp, kGrey);
    m_lHelp->setWordWrap(true);
    m_lHelp->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(m_lHelp, 120, 1080, 10815, 615);
}

void frmFull::buildHiddenFrame()
{
    // The load sequence moves this frame below the screen: never seen, but its Alt keys work
    // whether or not the Control Panel is shown.
    m_fHide = new QWidget(this);
    m_fHide->setObjectName(QStringLiteral("fHide"));
    m_fHide->resize(Twips::px(3975), Twips::px(735));
    m_cPlay2 = makeAccelerator(m_fHide, QStringLiteral("cPlay2"), QStringLiteral("&p"));
    place(m_cPlay2, 240, 360, 255, 255);
    m_cUpB = makeAccelerator(m_fHide, QStringLiteral("cUpB"), QStringLiteral("&/"));
    place(m_cUpB, 600, 360, 255, 255);
    m_cDwnB = makeAccelerator(m_fHide, QStringLiteral("cDwnB"), QStringLiteral("&\\"));
    place(m_cDwnB, 960, 360, 255, 255);
    m_cBack = makeAccelerator(m_fHide, QStringLiteral("cBack"), QStringLiteral("&b"));
    place(m_cBack, 1320, 360, 255, 255);
    m_lPos = makeLabel(m_fHide, QStringLiteral("lPos"), QString(), 8.25, false);
    place(m_lPos, 2280, 360, 1215, 255);
}

}  // namespace velloran::ui
