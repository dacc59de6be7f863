// Builds the main window's controls at their places (twips, relative to their container).
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "ui/arrowspinner.h"
#include "ui/controls.h"
#include "ui/frmset.h"
#include "ui/helptexts.h"
#include "ui/navigationbar.h"
#include "ui/picturebutton.h"
#include "ui/scriptsurface.h"
#include "ui/scripttext.h"
#include "ui/textfinder.h"
#include "ui/twipscale.h"

namespace velloran::ui {

void frmSet::buildControls()
{
    setObjectName(QStringLiteral("frmSet"));
    setWindowTitle(QStringLiteral(" Velloran"));
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kGrey);
    setPalette(colours);
    setFixedSize(m_scale.px(10935), m_scale.px(6975));

    m_scroll = new ScriptSurface(this, m_scale, 2760);
    m_scroll->setBand(495, 5280);
    m_scroll->setLeft(240);
    m_scroll->setWidth(9975);
    m_scroll->setTexLeft(120);
    m_scroll->setTexWidth(9735);
    m_scroll->setPosition(m_scroller.position());
    m_scroll->setAcceptsFiles(true);
    ScriptText* text = m_scroll->text();
    QFont script(QStringLiteral("Arial"));
    script.setPointSizeF(engine::kDesignFontSize);
    text->setFont(script);

    m_tip = new NavigationBar(this, m_scale, true);
    m_scale.place(m_tip, 10440, 480, 255, 3975);
    m_cUp = new PictureButton(QStringLiteral("cUp"), PictureButton::Glyph::Up, this);
    m_scale.place(m_cUp, 10440, 4680, 255, 255);
    m_cDwn = new PictureButton(QStringLiteral("cDwn"), PictureButton::Glyph::Down, this);
    m_scale.place(m_cDwn, 10440, 5040, 255, 255);

    buildTopStrip();
    buildControlPanel();

    m_tHelp = new QPlainTextEdit(this);
    m_tHelp->setObjectName(QStringLiteral("tHelp"));
    m_scale.place(m_tHelp, 360, 720, 9735, 4335);
    m_tHelp->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont helpFont;
    // Where the rounded face is missing, a plain sans face reads better than a random script font.
    helpFont.setFamilies({QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue"),
                          QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    helpFont.setPointSizeF(15.75);
    m_tHelp->setFont(helpFont);
    QPalette helpColours = m_tHelp->palette();
    helpColours.setColor(QPalette::Base, Qt::black);
    helpColours.setColor(QPalette::Text, QColor(255, 255, 128));
    m_tHelp->setPalette(helpColours);
    m_tHelp->setToolTip(QString::fromLatin1(help::kHelpPanelTooltip));
    m_tHelp->hide();

    m_fX = new TextFinderPanel(this, m_scale);
    m_scale.place(m_fX, 3480, 720, 3735, 4575);
    m_fX->hide();

    m_line16 = makeDecoration(this, m_scale, QStringLiteral("Line16"), 10200, 5280, 480, 15, kDarkGrey);
    m_line16->hide();
    m_line17 = makeDecoration(this, m_scale, QStringLiteral("Line17"), 10700, 600, 15, 4680, kDarkGrey);
    m_line17->hide();

    buildOffWindowControls();

    m_tScroll = new QTimer(this);
    m_tScroll->setObjectName(QStringLiteral("tScroll"));
    m_tScroll->setTimerType(Qt::PreciseTimer);
    m_tScroll->setInterval(100);
    m_tTime = new QTimer(this);
    m_tTime->setObjectName(QStringLiteral("tTime"));
    m_tTime->setInterval(1000);
    m_tRef = new QTimer(this);
    m_tRef->setObjectName(QStringLiteral("tRef"));
    m_tRef->setInterval(7000);
}

void frmSet::registerLayoutTargets()
{
    using C = engine::LayoutControl;
    m_layout.add(C::tScroll, m_tScroll);
    m_layout.add(C::tTime, m_tTime);
    m_layout.add(C::Playing, &m_playing);
    m_layout.add(C::cPause, m_cPause);
    m_layout.add(C::sSpeed, m_sSpeed);
    m_layout.add(C::sFreq, m_sFreq);
    m_layout.add(C::cFile, m_cFile);
    m_layout.addSurface(m_scroll);
    m_layout.add(C::Tip, m_tip);
    m_layout.add(C::cUp, m_cUp);
    m_layout.add(C::cDwn, m_cDwn);
    m_layout.add(C::Line16, m_line16);
    m_layout.add(C::Line17, m_line17);
    m_layout.add(C::tHelp, m_tHelp);
    m_layout.add(C::window, this);
}

void frmSet::buildTopStrip()
{
    m_frame1 = makePanel(this, QStringLiteral("Frame1"), kGrey);
    m_scale.place(m_frame1, 0, 0, 10935, 495);
    m_image1 = makePanel(m_frame1, QStringLiteral("Image1"), QColor(40, 40, 48));
    m_scale.place(m_image1, 0, 0, 10935, 255);

    const QColor tipColour = kGrey;
    m_lTime = makeLabel(m_frame1, QStringLiteral("lTime"), QStringLiteral("Run Time   0 : 0"), 9.75, true);
    m_scale.place(m_lTime, 240, 210, 1935, 255);
    m_lRun = makeLabel(m_frame1, QStringLiteral("lRun"), QString(), 9.75, true);
    m_scale.place(m_lRun, 120, 0, 1935, 495);
    m_lScroll = makeLabel(m_frame1, QStringLiteral("lScroll"), QStringLiteral("Scroller Stats"), 9.75, true);
    m_lScroll->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    m_scale.place(m_lScroll, 2160, 210, 7095, 255);
    m_lStats = makeLabel(m_frame1, QStringLiteral("lStats"), QString(), 9.75, true);
    m_scale.place(m_lStats, 2160, 0, 7095, 495);
    m_lChar = makeLabel(m_frame1, QStringLiteral("lChar"), QStringLiteral("Chr # 0001"), 9.75, true);
    m_scale.place(m_lChar, 9240, 210, 1455, 255);
    m_lCharTips = makeLabel(m_frame1, QStringLiteral("lCharTips"), QString(), 9.75, true);
    m_scale.place(m_lCharTips, 9240, 0, 1455, 495);
    for (QLabel* tip : {m_lRun, m_lStats, m_lCharTips}) {
        tip->setAutoFillBackground(false);
        tip->setPalette(QPalette(tipColour));
        tip->hide();
    }
}

void frmSet::buildControlPanel()
{
    m_frame2 = makePanel(this, QStringLiteral("Frame2"), kGrey);
    m_scale.place(m_frame2, 0, 5280, 10935, 1695);
    QWidget* f = m_frame2;

    const PaceControls pace = buildPaceControls(f, m_scale, 7320, 1095);
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
    m_lBack = makeLabel(f, QStringLiteral("lBack"), QString(), 9, false);
    m_lBack->setAlignment(Qt::AlignCenter);
    m_scale.place(m_lBack, 3720, 120, 3495, 255);
    m_lBack->hide();

    m_cHelp = new PictureButton(QStringLiteral("cHelp"), PictureButton::Glyph::Help, f);
    m_scale.place(m_cHelp, 9240, 240, 615, 615);
    m_cFull = new PictureButton(QStringLiteral("cFull"), PictureButton::Glyph::Full, f);
    m_scale.place(m_cFull, 10080, 240, 615, 615);

    m_lHelp = makeLabel(f, QStringLiteral("lHelp"), QString::fromLatin1(help::kDefault), 9, true);
    m_lHelp->setWordWrap(true);
    m_lHelp->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_scale.place(m_lHelp, 240, 960, 9975, 615);
    m_cX = new PictureButton(QStringLiteral("cX"), PictureButton::Glyph::Exit, f);
    m_scale.place(m_cX, 10320, 960, 375, 375);
    m_image2 = makePanel(f, QStringLiteral("Image2"), QColor(40, 40, 48));
    m_scale.place(m_image2, 0, 1440, 10935, 255);
    m_line5 = makeDecoration(f, m_scale, QStringLiteral("Line5"), 0, 0, 15, 1560, kDarkGrey);
    m_line13 = makeDecoration(f, m_scale, QStringLiteral("Line13"), 10920, 0, 15, 1560, kDarkGrey);
    // While the Instant Help bar is hidden the bottom edge moves up across the exit button,
    // which must stay whole and clickable in front of it.
    m_cX->raise();
}

void frmSet::buildOffWindowControls()
{
    // Below the visible part of the window: never seen, but their Alt keys work.
    m_cPlay2 = makeAccelerator(this, QStringLiteral("cPlay2"), QStringLiteral("&p"));
    m_scale.place(m_cPlay2, 360, 7680, 255, 255);
    m_cUpB = makeAccelerator(this, QStringLiteral("cUpB"), QStringLiteral("&/"));
    m_scale.place(m_cUpB, 720, 7680, 255, 255);
    m_cDwnB = makeAccelerator(this, QStringLiteral("cDwnB"), QStringLiteral("&\\"));
    m_scale.place(m_cDwnB, 1080, 7680, 255, 255);
    m_cBack = makeAccelerator(this, QStringLiteral("cBack"), QStringLiteral("&b"));
    m_scale.place(m_cBack, 1440, 7680, 255, 255);
    m_lBkPath = makeLabel(this, QStringLiteral("lBkPath"), QString(), 8.25, false);
    m_scale.place(m_lBkPath, 240, 8160, 2055, 255);
    m_lPos = makeLabel(this, QStringLiteral("lPos"), QStringLiteral("Position : 480"), 8.25, false);
    m_scale.place(m_lPos, 240, 8520, 2055, 255);
    m_lPos->hide();
}

}  // namespace velloran::ui
