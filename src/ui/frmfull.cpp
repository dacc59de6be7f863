#include "ui/frmfull.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <cmath>

#include "ui/accessibletexts.h"
#include "ui/controls.h"
#include "ui/fullscreenhost.h"
#include "ui/helptexts.h"
#include "ui/instanthelp.h"
#include "ui/navigationbar.h"
#include "ui/overlaywindow.h"
#include "ui/picturebutton.h"
#include "ui/readingpane.h"
#include "ui/reflector.h"
#include "ui/scriptsurface.h"
#include "ui/scripttext.h"
#include "ui/timingaids.h"
#include "ui/wrapnotice.h"

namespace velloran::ui {

namespace {

const QColor kPanelColour(40, 40, 48);  // dark, so that the light grey readouts can be read

}  // namespace

frmFull::frmFull(platform::Services& services, SharedValues& shared, FullScreenHost& host)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), m_host(host), m_scale(TwipScale::of(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmFull"));
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::black);
    setPalette(colours);

    PaneHooks hooks;
    hooks.layout = [this](bool toPlaying) {
        return toPlaying ? engine::fullPlayingLayout(m_width) : engine::fullPausedLayout(m_width);
    };
    hooks.backupPath = [this] { return m_host.backupPath(); };
    hooks.saveToEnd = [this] { return SaveFullSettings(); };
    hooks.endProgram = [this](bool discardRecovery) { m_host.endProgram(discardRecovery); };
    // Minimised alone: a window manager asked for full screen in the same breath shows it again.
    hooks.minimise = [this] { setWindowState(Qt::WindowMinimized); };
    hooks.f1 = [this] { ToggleControlPanel(); };
    hooks.beforeToggle = [this] {
        m_reflector->setEchoes(m_pane->playing());
        // No blinking text cursor on the glass while the script moves; typing still goes in.
        tex()->setCursorWidth(m_pane->playing() ? 1 : 0);
    };
    hooks.keyFirst = [this](const QKeyEvent& event) { return remoteKey(event); };
    m_pane = new ReadingPane(this, services, shared, m_scale, kFullScreenPane, std::move(hooks));
    m_pane->surface()->setLeft(0);
    m_pane->surface()->setTexLeft(0);

    buildControlPanel();
    buildHiddenFrame();
    buildRig();
    buildTimingAids();
    describeControls(this, paneAccessibleTexts(kFullScreenPane.playHelp, kFullScreenPane.pauseHelp));
    describeControls(this, fullScreenAccessibleTexts());
}

frmFull::~frmFull() = default;

ScriptText* frmFull::tex() const
{
    return m_pane->tex();
}

void frmFull::buildControlPanel()
{
    m_fCtrl = makePanel(this, QStringLiteral("fCtrl"), kPanelColour);
    m_fCtrl->resize(m_scale.px(10935), m_scale.px(1815));
    QWidget* f = m_fCtrl;
    m_pane->buildPaceControls(f, 7440, 975);
    colourText(m_pane->controls().lScrd, kGrey);
    colourText(m_pane->controls().lScrnt, kGrey);
    makeDecoration(f, m_scale, QStringLiteral("Line1"), 0, 0, 10935, 15, kDarkGrey);
    makeDecoration(f, m_scale, QStringLiteral("Line2"), 0, 1800, 10935, 15, kDarkGrey);
    makeDecoration(f, m_scale, QStringLiteral("Line3"), 0, 0, 15, 1815, kDarkGrey);
    makeDecoration(f, m_scale, QStringLiteral("Line4"), 10920, 0, 15, 1815, kDarkGrey);

    auto* back = new PictureButton(QStringLiteral("cFull"), PictureButton::Glyph::Full, f);
    m_scale.place(back, 9240, 240, 615, 615);
    // Closing is the way back: it shows the main window, and the edits go with this window.
    connect(back, &QAbstractButton::clicked, this, &QWidget::close);
    auto* exit = new PictureButton(QStringLiteral("cX"), PictureButton::Glyph::Exit, f);
    m_scale.place(exit, 10080, 240, 615, 615);
    m_pane->wireExitButton(exit);

    QLabel* bar = makeLabel(f, QStringLiteral("lHelp"), InstantHelp::qs(help::kFullDefault), 9, true);
    colourText(bar, kGrey);
    bar->setWordWrap(true);
    bar->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_scale.place(bar, 120, 1080, 10815, 615);
    // Nothing restores the bar's first text: it keeps the last one until another replaces it.
    auto* instantHelp = new InstantHelp(bar);
    instantHelp->wire(m_pane->helpRows());
    instantHelp->wire({{exit, InstantHelp::fixed(help::kExit), {}}});
    makeOverlayWindow(m_fCtrl, true);
}

void frmFull::buildTimingAids()
{
    TimingPlaces places;
    places.readouts = m_fCtrl;
    places.timeLeftPlace = QRectF(7920, 1380, 2900, 255);
    places.runTimePlace = QRectF(7920, 1080, 2900, 255);
    places.readoutColour = kGrey;
    places.readoutPoints = 9;
    // The Instant Help bar gives up the right of its row to the two readouts.
    places.makeRoom = [this](bool shown) {
        m_scale.place(m_fCtrl->findChild<QLabel*>(QStringLiteral("lHelp")), 120, 1080, shown ? 7680 : 10815, 615);
    };
    // Centred across the screen, at the reading height a third of the way down.
    places.countPlace = [this] { return QRectF(m_width / 2.0 - 2400, m_height / 3.0 - 1800, 4800, 3600); };
    places.reflect = [this](const QRect& plain) { return m_reflector->place(plain, size()); };
    places.reflection = [this] { return std::pair {m_preferences.mirror, m_preferences.flip}; };
    places.countsClock = true;  // the main window's clock timer stands still while it is hidden
    m_timing = new TimingAids(this, *m_pane, m_pane->sharedValues(), std::move(places));
}

void frmFull::buildHiddenFrame()
{
    // The load sequence moves this frame below the screen: never seen, but its Alt keys work
    // whether or not the Control Panel is shown.
    m_fHide = new QWidget(this);
    m_fHide->setObjectName(QStringLiteral("fHide"));
    m_fHide->resize(m_scale.px(3975), m_scale.px(735));
    m_pane->buildOutOfSight({m_fHide, 240, 360, 360, QRectF(2280, 360, 1215, 255), QString(), false});
}

void frmFull::Form_Load()
{
    m_preferences = m_host.preferences();
    QScreen* screen = chosenScreen();
    if (screen)
        setScreen(screen);
    const QRect area = screen ? screen->geometry() : geometry();
    m_width = static_cast<int>(std::lround(area.width() * m_scale.perPixel()));
    m_height = static_cast<int>(std::lround(area.height() * m_scale.perPixel()));
    const double w = m_width;
    const double h = m_height;

    setGeometry(area);
    setWindowState(Qt::WindowFullScreen);
    ScriptSurface* surface = m_pane->surface();
    surface->setBand(0, h);
    surface->setWidth(w - 495);
    surface->setTexWidth(w - 495 - 240);
    m_panelAt.setX(m_scale.px(w / 2 - 10935.0 / 2));
    tex()->setPlainText(m_host.script());
    m_pane->wrapNotice()->newScript(false);  // the main window has told of it
    m_pane->tip()->setScaleHeight(engine::kSurfaceHeight);
    m_scale.place(m_pane->tip(), w - 255 - 120, 120, 255, h - 240);
    m_tipPlain = m_pane->tip()->geometry();
    m_panelAt.setY(m_scale.px(h - 1815 - 480));
    m_pane->setPosition(engine::kFullHome);
    m_pane->setWholeScriptReachable(m_host.wholeScriptReachable());
    m_pane->takePace(m_host.speedValue(), m_host.frequencyValue());
    m_fHide->move(m_scale.px(4560), m_scale.px(h + 10000));
    applyPreferences(m_preferences);
    // The panel and the cue as windows inside this one: the window manager never lists them, and
    // mapping one anew never makes it drop this window below its taskbar.
    winId();
    for (QWidget* overlay : {m_fCtrl, m_cue}) {
        overlay->setScreen(screen ? screen : this->screen());
        overlay->winId();
        overlay->windowHandle()->setParent(windowHandle());
    }
}

void frmFull::ToggleControlPanel()
{
    // The pointer disappears over the bare surface only; the script box keeps its own.
    m_panelShown = !m_panelShown;
    if (!m_panelShown)
        m_pane->surface()->setCursor(Qt::BlankCursor);
    else
        m_pane->surface()->unsetCursor();
    syncOverlays();
}

bool frmFull::SaveFullSettings()
{
    // Only the font size is this window's own; everything else comes from the hidden main window,
    // so the full-screen script, position and pace are not carried to the next run.
    return m_host.saveWithFontSize(tex()->pointSize(), this);
}

void frmFull::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange) {
        const auto* change = static_cast<QWindowStateChangeEvent*>(event);
        // Brought back from minimised: full screen again, once the change has settled.
        if (change->oldState().testFlag(Qt::WindowMinimized) && !windowState().testFlag(Qt::WindowMinimized))
            QMetaObject::invokeMethod(
                this, [this] { setWindowState(Qt::WindowFullScreen); }, Qt::QueuedConnection);
        syncOverlays();
    }
    QWidget::changeEvent(event);
}

void frmFull::closeEvent(QCloseEvent* event)
{
    // Whoever closes the window, the hidden main window comes back as it was left.
    m_pane->tScroll()->stop();
    m_host.showAgain();
    event->accept();
}

}  // namespace velloran::ui
