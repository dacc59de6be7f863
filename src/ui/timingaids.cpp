#include "ui/timingaids.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>

#include "ui/arrowspinner.h"
#include "ui/controls.h"
#include "ui/countdownoverlay.h"
#include "ui/picturebutton.h"
#include "ui/readingpane.h"
#include "ui/scriptsurface.h"
#include "ui/scripttext.h"
#include "ui/sectionmarkers.h"

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

TimingAids::TimingAids(QWidget* window, ReadingPane& pane, SharedValues& shared, TimingPlaces places)
    : QObject(window), m_window(window), m_pane(pane), m_shared(shared), m_places(std::move(places))
{
    m_overlay = new CountdownOverlay(window);
    m_markers = new SectionMarkers(pane);
    m_tCount = secondTimer(this, "tCount");
    connect(m_tCount, &QTimer::timeout, this, &TimingAids::countSecond);
    m_tLeft = secondTimer(this, "tLeft");
    connect(m_tLeft, &QTimer::timeout, this, [this] {
        showTimeLeft();
        m_markers->showTicks();  // the layout of lines far off settles as they are laid out
    });
    m_lLeft = readout(m_places, pane.scale(), "lLeft", m_places.timeLeftPlace);
    if (m_places.countsClock) {
        m_tTime = secondTimer(this, "tTime");
        connect(m_tTime, &QTimer::timeout, this, [this] {
            m_shared.clock.tick();
            writeClock();
        });
        m_lRun = readout(m_places, pane.scale(), "lTime", m_places.runTimePlace);
    }

    PaneHooks& hooks = pane.hooks();
    hooks.playGate = [this] { return playGate(); };
    hooks.toggled = [this](bool playing) { toggled(playing); };
    for (std::function<void()>* hook : {&hooks.positionShown, &hooks.ratesChanged, &hooks.clockReset}) {
        *hook = [this, before = *hook] {
            if (before)
                before();
            showTimeLeft();
            if (m_lRun && m_lRun->isVisible())
                writeClock();
        };
    }
    connect(pane.tex(), &QPlainTextEdit::textChanged, this, &TimingAids::showTimeLeft);
    qApp->installEventFilter(this);
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
    if (m_tTime && shown && m_pane.playing())
        m_tTime->start();
    else if (m_tTime)
        m_tTime->stop();
    if (!preferences.paceKeys && m_paceKeyHeld) {
        m_pane.controls().sFreq->stopRepeat();
        m_paceKeyHeld = 0;
    }
}

engine::TimeLeft TimingAids::timeLeft() const
{
    const engine::ReadingFrame frame = paneFrame(m_pane);
    const double position = m_pane.scroller().position();
    const double distance = m_pane.tex()->lastLineTop() * m_pane.scale().perPixel() - frame.depthAt(position);
    std::optional<double> wrap;
    if (!m_pane.wholeScriptReachable())
        wrap = position - m_pane.scroller().range().wrapLimit;
    return engine::timeLeft(distance, m_shared.pace, wrap);
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
    if (m_lRun)
        m_lRun->setText(QString::fromStdString(m_shared.clock.text()));
}

bool TimingAids::playGate()
{
    if (m_starting)
        return false;
    switch (m_countdown.toggle(m_pane.playing())) {
    case engine::PlayRequest::Play:
    case engine::PlayRequest::Pause: return false;
    case engine::PlayRequest::BeginCount: {
        const TwipScale& scale = m_pane.scale();
        const QRectF place = m_places.countPlace();
        const QRect plain = scale.rect(place.left(), place.top(), place.width(), place.height());
        m_overlay->setGeometry(m_places.reflect ? m_places.reflect(plain) : plain);
        const auto [mirror, flip] = m_places.reflection ? m_places.reflection() : std::pair {false, false};
        m_overlay->setReflection(mirror, flip);
        m_overlay->setNumber(m_countdown.shown());
        m_overlay->show();
        m_overlay->raise();
        // PAUSE stands over PLAY while the count runs: a press on it cancels.
        m_pane.controls().cPause->show();
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
        m_pane.controls().cPause->hide();
}

void TimingAids::toggled(bool playing)
{
    // The clock of a window that counts its own starts with the scroll and stops with it.
    if (!m_tTime)
        return;
    if (playing && m_options.timeLeft)
        m_tTime->start();
    else
        m_tTime->stop();
}

bool TimingAids::key(const QKeyEvent& event)
{
    const int key = event.key();
    if (event.type() == QEvent::KeyRelease) {
        if (m_paceKeyHeld && key == m_paceKeyHeld && !event.isAutoRepeat()) {
            m_pane.controls().sFreq->stopRepeat();
            m_paceKeyHeld = 0;
        }
        return false;
    }
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::AltModifier)
        return false;
    const bool markerKey =
        key == Qt::Key_Right || key == Qt::Key_Left || (key >= Qt::Key_1 && key <= Qt::Key_9);
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
            m_pane.controls().sFreq->stopRepeat();
        m_paceKeyHeld = key;
        m_pane.controls().sFreq->startRepeat(key == Qt::Key_Up);
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
                m_pane.controls().sFreq->stopRepeat();
                m_paceKeyHeld = 0;
            }
        }
        return false;
    case QEvent::FontChange:
        if (watched == m_pane.tex()) {
            showTimeLeft();
            m_markers->showTicks();
        }
        return false;
    default: return false;
    }
}

}  // namespace velloran::ui
