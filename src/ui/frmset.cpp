#include "ui/frmset.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "platform/services.h"
#include "session/settingsstore.h"
#include "ui/arrowspinner.h"
#include "ui/frmfull.h"
#include "ui/helptexts.h"
#include "ui/navigationbar.h"
#include "ui/notice.h"
#include "ui/picturebutton.h"
#include "ui/recoverycopy.h"
#include "ui/scriptsurface.h"
#include "ui/scripttext.h"
#include "ui/textfinder.h"
#include "ui/twipscale.h"
#include "ui/welcomescript.h"

namespace velloran::ui {

namespace {
QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}
}  // namespace

frmSet::frmSet(platform::Services& services, SharedValues& shared, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      m_services(services),
      m_shared(shared),
      m_scale(TwipScale::of(this))
{
    buildControls();
    registerLayoutTargets();
    tex()->setPlainText(welcomeScript());
    m_lChar->setText(qs(engine::characterReadout(tex()->scriptLength())));
    m_notice = new Notice(this, m_scale, 480, 240);
    m_recovery = new RecoveryCopy(this, tex()->document(), [this] { return stateWithoutScript(); });
    wireControls();
    wireHelpTexts();
    qApp->installEventFilter(this);
}

frmSet::~frmSet()
{
    qApp->removeEventFilter(this);
}

ScriptText* frmSet::tex() const
{
    return m_scroll->text();
}

bool frmSet::Form_Load()
{
    if (!m_services.acquireSingleInstance()) {
        endProgram(false);
        return false;
    }
    setFixedHeight(m_scale.px(6975));
    m_tip->setScaleHeight(engine::kSurfaceHeight);
    LoadSettings();
    m_shared.pace.frequency = static_cast<std::int16_t>(m_sFreq->value());
    m_shared.pace.speed = static_cast<std::int16_t>(m_sSpeed->value());
    m_tScroll->setInterval(m_shared.pace.speed);
    ShowRates();
    ShowPosition();
    LoadHelpFile();
    writeClock();
    m_scale.place(m_fX, 3480, 720, 3735, 4575);
    m_statsShown = false;
    ToggleStats();
    m_tRef->start();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    m_recovery->start(session::recoveryPath(stateFolder()));
    return true;
}

void frmSet::wireControls()
{
    connect(m_tScroll, &QTimer::timeout, this, &frmSet::tScroll_Timer);
    connect(m_tTime, &QTimer::timeout, this, &frmSet::tTime_Timer);
    connect(m_tRef, &QTimer::timeout, m_frame2, qOverload<>(&QWidget::update));
    connect(m_cPlay, &QAbstractButton::clicked, this, &frmSet::TogglePlay);
    connect(m_cPlay2, &QAbstractButton::clicked, this, &frmSet::TogglePlay);
    connect(m_cPause, &PictureButton::mousePressed, this, [this](int button) {
        if (button != engine::kRightButton)
            TogglePlay();
    });
    // A press that paused has hidden the button, and a hidden control gets no release.
    connect(m_cPause, &PictureButton::mouseReleased, this, [this](int button) {
        if (button != engine::kLeftButton && m_cPause->isVisible())
            LoadBackup();
    });
    connect(m_sSpeed, &QAbstractSlider::valueChanged, this, &frmSet::sSpeed_Change);
    connect(m_sFreq, &QAbstractSlider::valueChanged, this, &frmSet::sFreq_Change);
    connect(m_cUp, &QAbstractButton::clicked, this, &frmSet::nudgeUp);
    connect(m_cUpB, &QAbstractButton::clicked, this, &frmSet::nudgeUp);
    connect(m_cDwn, &QAbstractButton::clicked, this, &frmSet::nudgeDown);
    connect(m_cDwnB, &QAbstractButton::clicked, this, &frmSet::nudgeDown);
    connect(m_cReset, &QAbstractButton::clicked, this, &frmSet::cReset_Click);
    connect(m_cFntPlus, &QAbstractButton::clicked, this, &frmSet::cFntPlus_Click);
    connect(m_cFntMinus, &QAbstractButton::clicked, this, &frmSet::cFntMinus_Click);
    connect(m_cBack, &QAbstractButton::clicked, this, &frmSet::LoadBackup);
    connect(m_cFull, &QAbstractButton::clicked, this, &frmSet::cFull_Click);
    connect(m_cX, &PictureButton::mousePressed, this, &frmSet::cX_MouseDown);
    connect(m_cX, &PictureButton::mouseReleased, this, &frmSet::cX_MouseUp);
    connect(m_cHelp, &PictureButton::mousePressed, this, &frmSet::cHelp_MouseDown);
    connect(m_cHelp, &PictureButton::mouseReleased, this, &frmSet::cHelp_MouseUp);
    connect(m_cFile, &PictureButton::mousePressed, this, &frmSet::cFile_MouseDown);
    connect(m_fX->okay(), &PictureButton::mousePressed, this, &frmSet::cOKay_MouseDown);
    connect(m_fX->backup(), &QAbstractButton::clicked, this, &frmSet::cBackup_Click);
    connect(m_fX->cancel(), &QAbstractButton::clicked, this, &frmSet::ToggleTextFinder);
    connect(m_tip, &NavigationBar::moved, this, &frmSet::Tip_MouseMove);
    connect(tex(), &QPlainTextEdit::textChanged, this,
            [this] { m_lChar->setText(qs(engine::characterReadout(tex()->scriptLength()))); });
    connect(tex(), &ScriptText::doubleClicked, this, &frmSet::Tex_DblClick);
    connect(m_scroll, &ScriptSurface::filesDropped, this, &frmSet::dropFiles);
    connect(tex(), &ScriptText::entryRefused, m_notice, &Notice::tell);
}

void frmSet::TogglePlay()
{
    HidePanels();
    const bool playing = m_tScroll->isActive();
    m_layout.apply(playing ? engine::mainPausedLayout() : engine::mainPlayingLayout());
}

void frmSet::ShowPosition()
{
    const float position = m_scroller.position();
    m_scroll->setPosition(position);
    const QColor colour = m_scroller.warning() ? QColor(255, 255, 0) : QColor(Qt::white);
    m_tip->setMarker(m_scroller.markerTop(), colour);
    tex()->setTextColor(colour);
    m_lPos->setText(qs(m_scroller.readout()));
    m_lScroll->setToolTip(m_lPos->text());
    ShowRates();
}

void frmSet::ShowRates()
{
    m_lScroll->setText(qs(engine::ratesReadout(m_shared.pace)));
}

void frmSet::tScroll_Timer()
{
    m_scroller.tick(m_shared.pace.frequency);
    ShowPosition();
}

void frmSet::tTime_Timer()
{
    m_shared.clock.tick();
    writeClock();
}

void frmSet::writeClock()
{
    m_lTime->setText(qs(m_shared.clock.text()));
}

void frmSet::resetClock()
{
    m_shared.clock.reset();
    writeClock();
}

void frmSet::sSpeed_Change()
{
    m_shared.pace.speed = static_cast<std::int16_t>(m_sSpeed->value());
    m_tScroll->setInterval(m_shared.pace.speed);
    m_lScrd->setText(qs(engine::speedReadout(m_shared.pace.speed)));
    ShowRates();
}

void frmSet::sFreq_Change()
{
    m_shared.pace.frequency = static_cast<std::int16_t>(m_sFreq->value());
    m_lScrnt->setText(qs(engine::frequencyReadout(m_shared.pace.frequency)));
    ShowRates();
}

void frmSet::nudgeUp()
{
    if (m_scroller.nudgeUp())
        ShowPosition();
}

void frmSet::nudgeDown()
{
    if (m_scroller.nudgeDown())
        ShowPosition();
}

void frmSet::cReset_Click()
{
    m_scroller.goHome();
    resetClock();
    ShowPosition();
}

void frmSet::cFntPlus_Click()
{
    m_scroll->stepFontSize(true);
}

void frmSet::cFntMinus_Click()
{
    m_scroll->stepFontSize(false);
}

void frmSet::Tip_MouseMove(int buttons, float y)
{
    showHelp(help::kNavigationBar);
    const engine::BarOutcome outcome = m_scroller.moveOnBar(buttons, m_tScroll->isActive(), y);
    if (outcome == engine::BarOutcome::Ignored)
        return;
    if (outcome == engine::BarOutcome::Placed)
        resetClock();
    ShowPosition();
}

void frmSet::Tex_DblClick()
{
    if (!m_playing)
        m_services.startEditor();
}

void frmSet::DragWindow()
{
    m_services.startWindowMove(this);
}

void frmSet::cX_MouseDown(int button)
{
    if (button == engine::kRightButton || !SaveSettings())
        return;
    m_tScroll->stop();
    endProgram(false);
}

void frmSet::cX_MouseUp(int button)
{
    if (button == engine::kLeftButton || m_ending)
        return;
    if (m_playing)
        TogglePlay();
    setWindowState(windowState() | Qt::WindowMinimized);
}

void frmSet::cFull_Click()
{
    if (m_playing)
        TogglePlay();
    hide();
    m_full = new frmFull(m_services, m_shared, *this);
    m_full->Form_Load();
    m_full->show();
}

void frmSet::endProgram(bool discardRecovery)
{
    m_ending = true;
    if (discardRecovery)
        m_recovery->discard();
    m_recovery->finish();
    m_services.endNow();
}

session::SaveOutcome frmSet::saveAsShown()
{
    // While the full-screen window is shown, its saving exit is the one the user would take.
    const bool full = m_full && m_full->isVisible();
    const session::SaveOutcome outcome = saveState(full ? m_full->tex()->pointSize() : tex()->pointSize());
    if (!outcome.saved)
        m_notice->tell(QStringLiteral("The work could not be saved to ") + outcome.file + QStringLiteral(": ") +
                       outcome.reason);
    return outcome;
}

void frmSet::endFromOutside()
{
    if (m_ending)
        return;
    saveAsShown();
    m_tScroll->stop();
    endProgram(false);
}

void frmSet::saveForSessionEnd()
{
    if (!m_ending)
        saveAsShown();
}

bool frmSet::saveOnClose()
{
    if (m_saved || m_ending)
        return true;
    m_saved = SaveSettings();
    return m_saved;
}

void frmSet::closeEvent(QCloseEvent* event)
{
    // A close from outside saves on the way out; the exits that end at once have saved already.
    // When the save fails and the user chooses to stay, the window stays.
    if (!saveOnClose()) {
        event->ignore();
        return;
    }
    event->accept();
    if (m_full)
        m_full->close();
}

bool frmSet::eventFilter(QObject* watched, QEvent* event)
{
    // The window sees its keys before the focused control, which still gets them afterwards.
    if (event->type() == QEvent::KeyPress && !m_ending && isVisible()) {
        auto* widget = qobject_cast<QWidget*>(watched);
        QWidget* first = QApplication::focusWidget() ? QApplication::focusWidget() : this;
        // A key travels up from the focused control; look at it once, on its first stop.
        if (widget == first && widget->window() == this) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Escape) {
                if (SaveSettings())
                    endProgram(false);
                return true;
            }
            if (key == Qt::Key_Insert)
                LoadClipboard();
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace velloran::ui
