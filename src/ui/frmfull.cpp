#include "ui/frmfull.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <cmath>

#include "platform/services.h"
#include "ui/arrowspinner.h"
#include "ui/controls.h"
#include "ui/frmset.h"
#include "ui/helptexts.h"
#include "ui/navigationbar.h"
#include "ui/notice.h"
#include "ui/picturebutton.h"
#include "ui/scriptsurface.h"
#include "ui/scripttext.h"
#include "ui/twipscale.h"

namespace velloran::ui {

namespace {
QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}
}  // namespace

frmFull::frmFull(platform::Services& services, SharedValues& shared, frmSet& main)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      m_services(services),
      m_shared(shared),
      m_main(main),
      m_scale(TwipScale::of(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    using C = engine::LayoutControl;
    for (const auto& [control, widget] : {std::pair<C, QWidget*>{C::cPlay, m_cPlay}, {C::cPause, m_cPause},
                                          {C::sSpeed, m_sSpeed}, {C::sFreq, m_sFreq}, {C::Tip, m_tip}, {C::window, this}})
        m_layout.add(control, widget);
    m_layout.add(C::tScroll, m_tScroll);
    m_layout.add(C::Playing, &m_playing);
    m_layout.addSurface(m_scroll);
    m_notice = new Notice(this, m_scale, 240, 240);
    wireControls();
    wireHelpTexts();
    m_tRef->start();
    qApp->installEventFilter(this);
}

frmFull::~frmFull()
{
    qApp->removeEventFilter(this);
}

ScriptText* frmFull::tex() const
{
    return m_scroll->text();
}

void frmFull::Form_Load()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : geometry();
    m_width = static_cast<int>(std::lround(area.width() * m_scale.perPixel()));
    m_height = static_cast<int>(std::lround(area.height() * m_scale.perPixel()));
    const double w = m_width;
    const double h = m_height;

    setGeometry(area);
    setWindowState(Qt::WindowFullScreen);
    m_scroll->setBand(0, h);
    m_scroll->setWidth(w - 495);
    m_scroll->setTexWidth(w - 495 - 240);
    m_fCtrl->move(m_scale.px(w / 2 - 10935.0 / 2), m_fCtrl->y());
    tex()->setPlainText(m_main.tex()->script());
    m_tip->setScaleHeight(engine::kSurfaceHeight);
    m_scale.place(m_tip, w - 255 - 120, 120, 255, h - 240);
    m_fCtrl->move(m_fCtrl->x(), m_scale.px(h - 1815 - 480));
    setPosition(engine::kFullHome);
    m_shared.pace.frequency = static_cast<std::int16_t>(m_main.frequencyValue());
    m_shared.pace.speed = static_cast<std::int16_t>(m_main.speedValue());
    m_tScroll->setInterval(m_shared.pace.speed);
    // Only a value that differs runs the spinner's change handling and writes its readout.
    m_sFreq->setValue(m_shared.pace.frequency);
    m_sSpeed->setValue(m_shared.pace.speed);
    m_fHide->move(m_scale.px(4560), m_scale.px(h + 10000));
}

void frmFull::wireControls()
{
    connect(m_tScroll, &QTimer::timeout, this, &frmFull::tScroll_Timer);
    connect(m_tRef, &QTimer::timeout, m_fCtrl, qOverload<>(&QWidget::update));
    connect(m_cPlay, &QAbstractButton::clicked, this, &frmFull::TogglePlay);
    connect(m_cPlay2, &QAbstractButton::clicked, this, &frmFull::TogglePlay);
    connect(m_cPause, &PictureButton::mousePressed, this, [this](int button) {
        if (button != engine::kRightButton)
            TogglePlay();
    });
    // A press that paused has hidden the button, and a hidden control gets no release.
    connect(m_cPause, &PictureButton::mouseReleased, this, [this](int button) {
        if (button != engine::kLeftButton && m_cPause->isVisible())
            LoadBackup();
    });
    connect(m_sSpeed, &QAbstractSlider::valueChanged, this, &frmFull::sSpeed_Change);
    connect(m_sFreq, &QAbstractSlider::valueChanged, this, &frmFull::sFreq_Change);
    connect(m_cUpB, &QAbstractButton::clicked, this, &frmFull::nudgeUp);
    connect(m_cDwnB, &QAbstractButton::clicked, this, &frmFull::nudgeDown);
    connect(m_cReset, &QAbstractButton::clicked, this, &frmFull::cReset_Click);
    connect(m_cFntPlus, &QAbstractButton::clicked, this, &frmFull::cFntPlus_Click);
    connect(m_cFntMinus, &QAbstractButton::clicked, this, &frmFull::cFntMinus_Click);
    connect(m_cBack, &QAbstractButton::clicked, this, &frmFull::LoadBackup);
    // Closing is the way back: it shows the main window, and the edits go with this window.
    connect(m_cFull, &QAbstractButton::clicked, this, &QWidget::close);
    connect(m_cX, &PictureButton::mousePressed, this, &frmFull::cX_MouseDown);
    connect(m_cX, &PictureButton::mouseReleased, this, &frmFull::cX_MouseUp);
    connect(m_tip, &NavigationBar::moved, this, &frmFull::Tip_MouseMove);
    connect(tex(), &ScriptText::doubleClicked, this, &frmFull::Tex_DblClick);
    connect(tex(), &ScriptText::entryRefused, m_notice, &Notice::tell);
}

void frmFull::setPosition(float position)
{
    m_scroller.setPosition(position);
    m_scroll->setPosition(position);
}

void frmFull::positionChanged()
{
    m_scroll->setPosition(m_scroller.position());
    ShowPosition();
}

void frmFull::ShowPosition()
{
    tex()->setTextColor(m_scroller.warning() ? kYellow : QColor(Qt::white));
    m_lPos->setText(qs(m_scroller.readout()));
}

void frmFull::TogglePlay()
{
    const bool playing = m_tScroll->isActive();
    m_layout.apply(playing ? engine::fullPausedLayout(m_width) : engine::fullPlayingLayout(m_width));
}

void frmFull::tScroll_Timer()
{
    m_scroller.tick(m_shared.pace.frequency);
    positionChanged();
}

void frmFull::sSpeed_Change()
{
    m_shared.pace.speed = static_cast<std::int16_t>(m_sSpeed->value());
    m_tScroll->setInterval(m_shared.pace.speed);
    m_lScrd->setText(qs(engine::speedReadout(m_shared.pace.speed)));
}

void frmFull::sFreq_Change()
{
    m_shared.pace.frequency = static_cast<std::int16_t>(m_sFreq->value());
    m_lScrnt->setText(qs(engine::frequencyReadout(m_shared.pace.frequency)));
}

void frmFull::nudgeUp()
{
    if (m_scroller.nudgeUp())
        positionChanged();
}

void frmFull::nudgeDown()
{
    if (m_scroller.nudgeDown())
        positionChanged();
}

void frmFull::cReset_Click()
{
    m_scroller.goHome();
    m_shared.clock.reset();
    positionChanged();
}

void frmFull::cFntPlus_Click()
{
    m_scroll->stepFontSize(true);
}

void frmFull::cFntMinus_Click()
{
    m_scroll->stepFontSize(false);
}

void frmFull::Tip_MouseMove(int buttons, float y)
{
    showHelp(help::kNavigationBar);
    // Unlike the main window's bar, placing the script here leaves the run-time clock alone.
    if (m_scroller.moveOnBar(buttons, m_tScroll->isActive(), y) != engine::BarOutcome::Ignored)
        positionChanged();
}

void frmFull::Tex_DblClick()
{
    if (!m_playing)
        m_services.startEditor();
}

void frmFull::ToggleControlPanel()
{
    // The pointer disappears over the bare surface only; the script box keeps its own.
    if (!m_fCtrl->isHidden()) {
        m_fCtrl->hide();
        m_scroll->setCursor(Qt::BlankCursor);
    } else {
        m_fCtrl->show();
        m_scroll->unsetCursor();
    }
}

void frmFull::cX_MouseDown(int button)
{
    if (button == engine::kRightButton || !SaveFullSettings())
        return;
    m_tScroll->stop();
    m_ending = true;
    m_main.endProgram(false);
}

void frmFull::cX_MouseUp(int button)
{
    if (button == engine::kLeftButton || m_ending)
        return;
    if (m_playing)
        TogglePlay();
    // Minimised alone: a window manager asked for full screen in the same breath shows it again.
    setWindowState(Qt::WindowMinimized);
}

void frmFull::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange) {
        const auto* change = static_cast<QWindowStateChangeEvent*>(event);
        // Brought back from minimised: full screen again, once the change has settled.
        if (change->oldState().testFlag(Qt::WindowMinimized) && !windowState().testFlag(Qt::WindowMinimized))
            QMetaObject::invokeMethod(this, [this] { setWindowState(Qt::WindowFullScreen); }, Qt::QueuedConnection);
    }
    QWidget::changeEvent(event);
}

void frmFull::closeEvent(QCloseEvent* event)
{
    // Whoever closes the window, the hidden main window comes back as it was left.
    m_tScroll->stop();
    m_main.show();
    event->accept();
}

bool frmFull::eventFilter(QObject* watched, QEvent* event)
{
    // The window sees its keys before the focused control, which still gets them afterwards.
    if (event->type() == QEvent::KeyPress && !m_ending && isVisible()) {
        auto* widget = qobject_cast<QWidget*>(watched);
        QWidget* first = QApplication::focusWidget() ? QApplication::focusWidget() : this;
        // A key travels up from the focused control; look at it once, on its first stop.
        if (widget == first && widget->window() == this) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Escape) {
                // Ends without saving by design; the recovery copy goes too.
                m_ending = true;
                m_main.endProgram(true);
                return true;
            }
            if (key == Qt::Key_Insert)
                LoadClipboard();
            if (key == Qt::Key_F1)
                ToggleControlPanel();
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace velloran::ui
