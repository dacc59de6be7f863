#include "ui/pane/timingaids.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>

#include "session/appsession.h"
#include "ui/pane/pacecontrols.h"
#include "ui/pane/readingpane.h"
#include "ui/pane/scriptview.h"
#include "ui/pane/sectionmarkers.h"
#include "ui/script/scripttext.h"
#include "ui/widgets/arrowspinner.h"
#include "ui/widgets/controls.h"
#include "ui/widgets/countdownoverlay.h"
#include "ui/widgets/picturebutton.h"

namespace velloran::ui {

namespace {

QTimer* secondTimer(QObject* parent, const char* name)
{
    auto* timer = new QTimer(parent);
    timer->setObjectName(QString::fromLatin1(name));
    timer->setInterval(1000);
    return timer;
}

QLabel* readout(const TimingPlaces& places, const TwipScale& scale, const char* name, const QRectF& place)
{
    QLabel* label = makeLabel(places.readouts, QString::fromLatin1(name), QString(), places.readoutPoints, true);
    if (places.readoutColour.isValid())
        colourText(label, places.readoutColour);
    scale.place(label, place.left(), place.top(), place.width(), place.height());
    label->hide();
    return label;
}

}  // namespace

TimingAids::TimingAids(QWidget* window, session::AppSession& session, ReadingPane& pane, ScriptView& view,
                       TimingPlaces places)
    : QObject(window), m_window(window), m_session(session), m_pane(pane), m_view(view),
      m_places(std::move(places))
{
    setObjectName(QStringLiteral("timing"));
    m_overlay = new CountdownOverlay(window);
    m_markers = new SectionMarkers(pane, view);
    m_tCount = secondTimer(this, "tCount");
    connect(m_tCount, &QTimer::timeout, this, &TimingAids::countSecond);
    m_tLeft = secondTimer(this, "tLeft");
    connect(m_tLeft, &QTimer::timeout, this, [this] {
        showTimeLeft();
        m_markers->showTicks();  // the layout of lines far off settles as they are laid out
    });
    m_lLeft = readout(m_places, view.scale(), "lLeft", m_places.timeLeftPlace);
    if (m_places.countsClock)
        m_lRun = readout(m_places, view.scale(), "lTime", m_places.runTimePlace);

    pane.setPlayGate([this] { return playGate(); });
    connect(&pane, &ReadingPane::playingChanged, this, &TimingAids::toggled);
    connect(&view, &ScriptView::positionShown, this, &TimingAids::showTimeLeft);
    connect(&view, &ScriptView::textChanged, this, &TimingAids::showTimeLeft);
    connect(&session, &session::AppSession::paceChanged, this, &TimingAids::showTimeLeft);
    connect(&session, &session::AppSession::clockChanged, this, &TimingAids::writeClock);
    connect(&session, &session::AppSession::wholeScriptChanged, this, &TimingAids::showTimeLeft);
    connect(&session, &session::AppSession::preferencesChanged, this, &TimingAids::apply);
    qApp->installEventFilter(this);
    apply(session.preferences());
}

void TimingAids::apply(const session::Preferences& preferences)
{
    m_options = preferences;
    m_countdown.setSeconds(preferences.countdown);
    m_markers->setEnabled(preferences.markers);
    const bool shown = preferences.timeLeft;
    m_lLeft->setVisible(shown);
    if (m_lRun)
        m_lRun->setVisible(shown);
    if (m_places.makeRoom)
        m_places.makeRoom(shown);
    if (shown) {
        m_tLeft->start();
        writeClock();
        showTimeLeft();
    } else {
        m_tLeft->stop();
    }
    toggled(m_pane.playing());
    if (!preferences.paceKeys && m_paceKeyHeld) {
        m_pane.paceControls().frequencySpinner()->stopRepeat();
        m_paceKeyHeld = 0;
    }
}

engine::TimeLeft TimingAids::timeLeft() const
{
    const engine::ReadingFrame frame = viewFrame(m_view);
    const double position = m_view.scroller().position();
    const double lastTop = m_view.textBox()->lastLineTop() * m_view.scale().perPixel();
    std::optional<double> wrap;
    if (!m_view.wholeScriptReachable())
        wrap = position - m_view.scroller().range().wrapLimit;
    return engine::timeLeft(lastTop - frame.depthAt(position), m_session.pace(), wrap);
}

void TimingAids::showTimeLeft()
{
    if (!m_options.timeLeft)
        return;
    const QString text = QStringLiteral("Time Left  ") + QString::fromStdString(engine::timeLeftReadout(timeLeft()));
    if (text != m_lLeft->text())
        m_lLeft->setText(text);
}

void TimingAids::writeClock()
{
    if (m_lRun && m_options.timeLeft)
        m_lRun->setText(QString::fromStdString(m_session.clock().text()));
}

bool TimingAids::playGate()
{
    if (m_starting)
        return false;
    switch (m_countdown.toggle(m_pane.playing())) {
    case engine::PlayRequest::Play:
    case engine::PlayRequest::Pause: return false;
    case engine::PlayRequest::BeginCount: {
        const QRectF place = m_places.countPlace();
        const QRect plain = m_view.scale().rect(place.left(), place.top(), place.width(), place.height());
        m_overlay->setGeometry(m_places.reflect ? m_places.reflect(plain) : plain);
        const auto [mirror, flip] = m_places.reflection ? m_places.reflection() : std::pair {false, false};
        m_overlay->setReflection(mirror, flip);
        m_overlay->setNumber(m_countdown.shown());
        m_overlay->show();
        m_overlay->raise();
        // PAUSE stands over PLAY while the count runs: a press on it cancels.
        m_pane.paceControls().pauseButton()->show();
        m_tCount->start();
        return true;
    }
    case engine::PlayRequest::CancelCount: endCount(); return true;
    }
    return false;
}

void TimingAids::countSecond()
{
    if (!m_countdown.secondPassed()) {
        m_overlay->setNumber(m_countdown.shown());
        return;
    }
    endCount();
    m_starting = true;
    m_pane.TogglePlay();
    m_starting = false;
}

void TimingAids::endCount()
{
    m_countdown.cancel();
    m_tCount->stop();
    m_overlay->hide();
    if (!m_pane.playing())
        m_pane.paceControls().pauseButton()->hide();
}

void TimingAids::toggled(bool playing)
{
    // A window that shows its own run time starts the session's clock with its scroll.
    if (!m_places.countsClock)
        return;
    if (playing && m_options.timeLeft)
        m_session.clockTimer()->start();
    else
        m_session.clockTimer()->stop();
}

bool TimingAids::key(const QKeyEvent& event)
{
    const int key = event.key();
    ArrowSpinner* frequency = m_pane.paceControls().frequencySpinner();
    if (event.type() == QEvent::KeyRelease) {
        if (m_paceKeyHeld && key == m_paceKeyHeld && !event.isAutoRepeat()) {
            frequency->stopRepeat();
            m_paceKeyHeld = 0;
        }
        return false;
    }
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::AltModifier)
        return false;
    const bool markerKey = key == Qt::Key_Right || key == Qt::Key_Left || (key >= Qt::Key_1 && key <= Qt::Key_9);
    if (m_options.markers && markerKey) {
        if (key == Qt::Key_Right)
            m_markers->next();
        else if (key == Qt::Key_Left)
            m_markers->previous();
        else
            m_markers->nth(key - Qt::Key_0);
        return true;
    }
    if (!m_options.paceKeys || (key != Qt::Key_Up && key != Qt::Key_Down))
        return false;
    // One step as a click on the arrow, then the arrow's own repeat while the key is held.
    if (!event.isAutoRepeat()) {
        if (m_paceKeyHeld)
            frequency->stopRepeat();
        m_paceKeyHeld = key;
        frequency->startRepeat(key == Qt::Key_Up);
    }
    return true;
}

bool TimingAids::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* widget = qobject_cast<QWidget*>(watched);
        QWidget* first = QApplication::focusWidget() ? QApplication::focusWidget() : m_window;
        // Once, on the key's first stop, and only in this window.
        if (widget != first || widget->window() != m_window || !m_window->isVisible())
            return false;
        return key(*static_cast<QKeyEvent*>(event));
    }
    case QEvent::Hide:
    case QEvent::WindowDeactivate:
        if (watched == m_window) {
            if (m_countdown.counting() && event->type() == QEvent::Hide)
                endCount();
            if (m_paceKeyHeld) {
                m_pane.paceControls().frequencySpinner()->stopRepeat();
                m_paceKeyHeld = 0;
            }
        }
        return false;
    case QEvent::FontChange:
        if (watched == m_view.textBox()) {
            showTimeLeft();
            m_markers->showTicks();
        }
        return false;
    default: return false;
    }
}

}  // namespace velloran::ui
