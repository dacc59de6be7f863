#include "ui/fullscreen/frmfull.h"

#include <QCloseEvent>
#include <QLabel>
#include <QScreen>
#include <QWindow>
#include <cmath>

#include "session/readingview.h"
#include "ui/fullscreen/fullscreenrig.h"
#include "ui/fullscreen/overlaywindow.h"
#include "ui/pane/accessibletexts.h"
#include "ui/pane/helptexts.h"
#include "ui/pane/instanthelp.h"
#include "ui/pane/panesetup.h"
#include "ui/pane/readingpane.h"
#include "ui/pane/scriptview.h"
#include "ui/pane/timingaids.h"
#include "ui/pane/voicecontrol.h"
#include "ui/pane/voiceindicator.h"
#include "ui/widgets/controls.h"
#include "ui/widgets/picturebutton.h"

namespace velloran::ui {

namespace {

const QColor kPanelColour(40, 40, 48);  // dark, so that the light grey readouts can be read

}  // namespace

frmFull::frmFull(session::AppSession& session)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), m_session(session), m_scale(TwipScale::of(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmFull"));
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::black);
    setPalette(colours);

    m_view = new ScriptView(this, m_scale, kFullScreenPane);
    m_view->setSurfaceLeft(0);
    m_view->setTextLeft(0);
    m_pane = new ReadingPane(this, session, *m_view, kFullScreenPane, [this](bool toPlaying) {
        return toPlaying ? engine::fullPlayingLayout(m_width) : engine::fullPausedLayout(m_width);
    });
    buildControlPanel();
    buildHiddenFrame();
    m_rig = new FullScreenRig(this, session, *m_pane, *m_view, m_scale);
    m_rig->buildKeys(m_fHide);
    m_pane->setKeyFirst([this](const QKeyEvent& event) { return m_rig->remoteKey(event); });
    buildTimingAids();

    connect(m_pane, &ReadingPane::aboutToToggle, this, [this] { m_rig->beforeToggle(m_pane->playing()); });
    // Minimised alone: a window manager asked for full screen in the same breath shows it again.
    connect(m_pane, &ReadingPane::minimiseRequested, this, [this] { setWindowState(Qt::WindowMinimized); });
    connect(m_pane, &ReadingPane::f1Pressed, this, &frmFull::ToggleControlPanel);
    connect(&session, &session::AppSession::preferencesChanged, this, &frmFull::applyPreferences);
    connect(&session, &session::AppSession::notice, this, [this](const QString& message) {
        if (isVisible())
            m_view->tell(message);
    });
    describeControls(this, paneAccessibleTexts(kFullScreenPane.playHelp, kFullScreenPane.pauseHelp));
    describeControls(this, fullScreenAccessibleTexts());
}

frmFull::~frmFull() = default;

void frmFull::offerTo(session::AppSession& session)
{
    session.setFullScreenFactory([](session::AppSession& owner) {
        auto* full = new frmFull(owner);
        full->Form_Load();
        return full->sessionWindow();
    });
}

session::SessionWindow frmFull::sessionWindow()
{
    return {this, m_pane};
}

void frmFull::buildControlPanel()
{
    m_fCtrl = makePanel(this, QStringLiteral("fCtrl"), kPanelColour);
    m_fCtrl->resize(m_scale.px(10935), m_scale.px(1815));
    QWidget* f = m_fCtrl;
    m_pane->buildPaceControls(f, 7440, 975);
    m_pane->colourReadouts(kGrey);
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
    m_pane->wireHelp(*instantHelp);
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
    places.reflect = [this](const QRect& plain) { return m_rig->reflected(plain, size()); };
    places.reflection = [this] { return std::pair {m_rig->preferences().mirror, m_rig->preferences().flip}; };
    places.countsClock = true;  // the session's clock runs with the main window's layouts only
    m_timing = new TimingAids(this, m_session, *m_pane, *m_view, std::move(places));
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
    m_rig->keepPreferences(m_session.preferences());
    QScreen* screen = m_rig->chosenScreen();
    if (screen)
        setScreen(screen);
    const QRect area = screen ? screen->geometry() : geometry();
    m_width = static_cast<int>(std::lround(area.width() * m_scale.perPixel()));
    m_height = static_cast<int>(std::lround(area.height() * m_scale.perPixel()));
    const double w = m_width;
    const double h = m_height;

    setGeometry(area);
    setWindowState(Qt::WindowFullScreen);
    m_view->setBand(0, h);
    m_view->setSurfaceWidth(w - 495);
    m_view->setTextWidth(w - 495 - 240);
    m_panelAt.setX(m_scale.px(w / 2 - 10935.0 / 2));
    session::ReadingView* main = m_session.mainWindow().reading;
    m_view->takeScript(main ? main->script() : QString(), false);  // the main window has told of it
    m_view->placeBar(w - 255 - 120, 120, 255, h - 240);
    m_rig->setPlainBar(m_view->barGeometry());
    m_panelAt.setY(m_scale.px(h - 1815 - 480));
    m_pane->setPosition(engine::kFullHome);
    m_view->setWholeScriptReachable(m_session.wholeScriptReachable());
    const session::SettingsRecord spinners = main ? main->snapshot() : session::SettingsRecord();
    m_pane->takePace(spinners.speed, spinners.frequency);
    m_fHide->move(m_scale.px(4560), m_scale.px(h + 10000));
    applyPreferences(m_rig->preferences());
    // The panel and the cue as windows inside this one: the window manager never lists them, and
    // mapping one anew never makes it drop this window below its taskbar.
    winId();
    for (QWidget* overlay : {m_fCtrl, m_rig->cue(), static_cast<QWidget*>(m_rig->voiceMark())}) {
        overlay->setScreen(screen ? screen : this->screen());
        overlay->winId();
        overlay->windowHandle()->setParent(windowHandle());
    }
    VoiceControl::of(m_session).attach(*m_pane, *m_view, m_rig->voiceMark());
}

void frmFull::ToggleControlPanel()
{
    // The pointer disappears over the bare surface only; the script box keeps its own.
    m_panelShown = !m_panelShown;
    m_view->setPointerHidden(!m_panelShown);
    syncOverlays();
}

void frmFull::applyPreferences(const session::Preferences& preferences)
{
    m_rig->applyPreferences(preferences);
    syncOverlays();
}

const session::Preferences& frmFull::preferences() const
{
    return m_rig->preferences();
}

void frmFull::syncOverlays()
{
    if (!m_rig)
        return;
    // Left mapped while the window is minimised: they go and come back with it. Both lie inside
    // this window (Form_Load), so they are placed in its coordinates.
    const bool seen = isVisible();
    m_fCtrl->move(m_panelAt);
    m_rig->placeCue(seen);
    m_fCtrl->setVisible(seen && m_panelShown);
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
    m_pane->halt();
    m_session.fullScreenClosed();
    event->accept();
}

void frmFull::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    syncOverlays();
}

void frmFull::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    syncOverlays();
}

void frmFull::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    syncOverlays();
}

void frmFull::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_rig)
        m_rig->placeReflected();
    syncOverlays();
}

}  // namespace velloran::ui
