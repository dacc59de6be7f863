#include "ui/pane/readingpane.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>

#include "platform/services.h"
#include "session/appsession.h"
#include "session/restoredstate.h"
#include "ui/pane/pacecontrols.h"
#include "ui/pane/scriptview.h"
#include "ui/widgets/controls.h"
#include "ui/widgets/picturebutton.h"

namespace velloran::ui {

ReadingPane::ReadingPane(QWidget* window, session::AppSession& session, ScriptView& view, const PaneSetup& setup,
                         std::function<engine::Layout(bool)> layouts)
    : QObject(window), m_window(window), m_session(session), m_view(view), m_scale(TwipScale::of(window)),
      m_setup(setup), m_layouts(std::move(layouts)), m_tScroll(new QTimer(this))
{
    setObjectName(QStringLiteral("pane"));
    m_tScroll->setObjectName(QStringLiteral("tScroll"));
    m_tScroll->setTimerType(Qt::PreciseTimer);
    m_tScroll->setInterval(100);
    connect(m_tScroll, &QTimer::timeout, this, &ReadingPane::tScroll_Timer);
    connect(&view, &ScriptView::barMoved, this, &ReadingPane::Tip_MouseMove);
    connect(&view, &ScriptView::doubleClicked, this, &ReadingPane::Tex_DblClick);
    connect(&session, &session::AppSession::wholeScriptChanged, &view, &ScriptView::setWholeScriptReachable);
    m_layout.addPlaying(this, m_tScroll);
    view.registerIn(m_layout);
    m_layout.add(engine::LayoutControl::window, window);
    qApp->installEventFilter(this);
}

ReadingPane::~ReadingPane()
{
    qApp->removeEventFilter(this);
}

void ReadingPane::buildPaceControls(QWidget* frame, double frequencyReadoutLeft, double frequencyReadoutWidth)
{
    m_pace = new PaceControls(frame, m_scale, frequencyReadoutLeft, frequencyReadoutWidth);
    m_pace->wire(*this, m_session, m_tScroll);
    m_pace->registerIn(m_layout);
    connect(m_pace, &PaceControls::textFinderPressed, this, &ReadingPane::textFinderPressed);
}

QPushButton* ReadingPane::accelerator(const OutOfSight& place, int index, const QString& name,
                                      const QString& caption)
{
    QPushButton* button = makeAccelerator(place.container, name, caption);
    m_scale.place(button, place.left + index * place.step, place.top, 255, 255);
    return button;
}

void ReadingPane::buildOutOfSight(const OutOfSight& place)
{
    // Never seen, but their Alt keys work.
    connect(accelerator(place, 0, QStringLiteral("cPlay2"), QStringLiteral("&p")), &QAbstractButton::clicked,
            this, &ReadingPane::TogglePlay);
    connect(accelerator(place, 1, QStringLiteral("cUpB"), QStringLiteral("&/")), &QAbstractButton::clicked,
            this, &ReadingPane::nudgeUp);
    connect(accelerator(place, 2, QStringLiteral("cDwnB"), QStringLiteral("&\\")), &QAbstractButton::clicked,
            this, &ReadingPane::nudgeDown);
    connect(accelerator(place, 3, QStringLiteral("cBack"), QStringLiteral("&b")), &QAbstractButton::clicked,
            this, &ReadingPane::LoadBackup);
    m_view.buildPositionHolder(place.container, place.positionHolder, place.positionCaption, place.positionHidden);
}

void ReadingPane::wireExitButton(PictureButton* exitButton)
{
    connect(exitButton, &PictureButton::mousePressed, this, [this](int button) {
        if (button == engine::kRightButton || !saveToEnd())
            return;
        halt();
        m_session.endProgram(false);
    });
    connect(exitButton, &PictureButton::mouseReleased, this, [this](int button) {
        if (button == engine::kLeftButton || m_session.ending())
            return;
        if (m_playing)
            TogglePlay();
        emit minimiseRequested();
    });
}

void ReadingPane::wireHelp(InstantHelp& help)
{
    m_pace->wireHelp(
        help, m_setup, [this] { return m_view.positionText(); }, [this] { return m_view.fontSize(); });
    m_view.wireHelp(help, [this] { return m_playing; });
}

void ReadingPane::setKeyFirst(std::function<bool(const QKeyEvent&)> keyFirst)
{
    m_keyFirst = std::move(keyFirst);
}

void ReadingPane::colourReadouts(const QColor& colour)
{
    m_pace->colourReadouts(colour);
}

void ReadingPane::restore(const session::RestoredState& restored)
{
    const session::SettingsRecord& record = restored.record;
    if (restored.applied >= 1)
        m_pace->setSpeedValue(record.speed);
    if (restored.applied >= 2)
        m_pace->setFrequencyValue(record.frequency);
    if (restored.applied >= 3)
        m_view.setFontSize(record.fontSize);
    if (restored.applied >= 4)
        m_view.scroller().setPosition(record.position);
    if (restored.applied >= 8 && m_view.script() != record.script)
        m_view.takeScript(record.script, true);
}

void ReadingPane::setPlayGate(std::function<bool()> gate)
{
    m_playGate = std::move(gate);
}

void ReadingPane::jumpTo(double position)
{
    userMoved();
    m_view.readerMoved();
    m_view.scroller().setPosition(position);
    m_view.ShowPosition();
}

void ReadingPane::TogglePlay()
{
    if (m_playGate && m_playGate())
        return;
    userMoved(false);
    emit aboutToToggle();
    m_layout.apply(m_layouts(!m_playing));
}

void ReadingPane::setPlaying(bool on)
{
    if (on != m_tScroll->isActive()) {
        if (on)
            m_tScroll->start();
        else
            m_tScroll->stop();
    }
    if (on == m_playing)
        return;
    m_playing = on;
    emit playingChanged(on);
}

void ReadingPane::halt()
{
    setPlaying(false);
}

void ReadingPane::ShowPosition()
{
    m_view.ShowPosition();
}

void ReadingPane::setPosition(double position)
{
    m_view.setPosition(position);
}

bool ReadingPane::wholeScriptReachable() const
{
    return m_view.wholeScriptReachable();
}

engine::Scroller& ReadingPane::scroller()
{
    return m_view.scroller();
}

void ReadingPane::tScroll_Timer()
{
    m_view.readerMoved();
    const std::optional<double> step =
        m_follower ? m_follower->tickStep(m_tScroll->interval()) : std::nullopt;
    if (step)
        m_view.scroller().advance(*step);
    else
        m_view.scroller().tick(m_session.pace().frequency);
    m_view.ShowPosition();
}

void ReadingPane::userMoved(bool placeMoved)
{
    if (m_follower)
        m_follower->userMoved(placeMoved);
}

void ReadingPane::takePaceFromSpinners()
{
    m_pace->takePaceFromSpinners();
}

void ReadingPane::takePace(int speed, int frequency)
{
    m_pace->takePace(speed, frequency);
}

int ReadingPane::speedValue() const
{
    return m_pace->speedValue();
}

int ReadingPane::frequencyValue() const
{
    return m_pace->frequencyValue();
}

void ReadingPane::clearReadouts()
{
    m_pace->clearReadouts();
}

void ReadingPane::nudgeUp()
{
    m_view.readerMoved();
    userMoved();
    if (m_view.scroller().nudgeUp())
        m_view.ShowPosition();
}

void ReadingPane::nudgeDown()
{
    m_view.readerMoved();
    userMoved();
    if (m_view.scroller().nudgeDown())
        m_view.ShowPosition();
}

void ReadingPane::backOneLine()
{
    m_view.readerMoved();
    userMoved();
    if (m_view.scroller().stepBack(m_view.lineHeight()))
        m_view.ShowPosition();
}

void ReadingPane::cReset_Click()
{
    m_view.readerMoved();
    userMoved();
    m_view.scroller().goHome();
    m_session.resetClock();
    m_view.ShowPosition();
}

void ReadingPane::cFntPlus_Click()
{
    m_view.stepFontSize(true);
}

void ReadingPane::cFntMinus_Click()
{
    m_view.stepFontSize(false);
}

void ReadingPane::Tip_MouseMove(int buttons, double y)
{
    const engine::BarOutcome outcome = m_view.scroller().moveOnBar(buttons, m_playing, y);
    if (outcome == engine::BarOutcome::Ignored)
        return;
    m_view.readerMoved();
    userMoved();
    if (outcome == engine::BarOutcome::Placed && m_setup.placingResetsClock)
        m_session.resetClock();
    m_view.ShowPosition();
}

void ReadingPane::Tex_DblClick()
{
    if (!m_playing)
        m_session.services().startEditor();
}

void ReadingPane::useScript(const QString& text)
{
    m_view.takeScript(text, true);
    m_view.scroller().goHome();
    userMoved();
}

bool ReadingPane::loadScriptFromFile(const QString& path, bool resetClockToo)
{
    const auto text = m_view.scriptFromFile(path);
    if (!text)
        return false;
    useScript(*text);
    if (resetClockToo)
        m_session.resetClock();
    m_view.ShowPosition();
    return true;
}

void ReadingPane::LoadBackup()
{
    // Read now: the designation may have changed since the window opened.
    const QString path = m_session.backupPath();
    if (!path.isEmpty())
        loadScriptFromFile(path, false);
}

void ReadingPane::LoadClipboard()
{
    const auto text = m_view.scriptFromClipboard(m_session.services().clipboardText());
    if (!text)
        return;
    useScript(*text);
    m_view.ShowPosition();
}

session::SettingsRecord ReadingPane::snapshot() const
{
    session::SettingsRecord record;
    record.speed = static_cast<qint16>(speedValue());
    record.frequency = static_cast<qint16>(frequencyValue());
    record.fontSize = static_cast<float>(m_view.fontSize());
    record.position = m_view.scroller().position();
    record.exactPosition = m_view.scroller().exact();
    return record;
}

QString ReadingPane::script() const
{
    return m_view.script();
}

QString ReadingPane::PrepareText()
{
    return m_view.PrepareText();
}

bool ReadingPane::saveToEnd()
{
    return m_session.saveToEnd(m_view.fontSize(), m_window);
}

bool ReadingPane::eventFilter(QObject* watched, QEvent* event)
{
    // The window sees its keys before the focused control, which still gets them afterwards.
    const bool press = event->type() == QEvent::KeyPress;
    if ((!press && event->type() != QEvent::KeyRelease) || m_session.ending() || !m_window->isVisible())
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    QWidget* first = QApplication::focusWidget() ? QApplication::focusWidget() : m_window;
    // A key travels up from the focused control; look at it once, on its first stop.
    if (widget != first || widget->window() != m_window)
        return false;
    const auto* keyEvent = static_cast<QKeyEvent*>(event);
    if (m_keyFirst && m_keyFirst(*keyEvent))
        return true;
    return press && keyPressed(keyEvent->key());
}

bool ReadingPane::keyPressed(int key)
{
    if (key == Qt::Key_Escape) {
        // Unsaved by design where Escape does not save: the recovery copy goes too.
        if (!m_setup.escapeSaves || saveToEnd())
            m_session.endProgram(!m_setup.escapeSaves);
        return true;
    }
    if (key == Qt::Key_Insert)
        LoadClipboard();
    if (key == Qt::Key_F1)
        emit f1Pressed();
    return false;
}

}  // namespace velloran::ui
