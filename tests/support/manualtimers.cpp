#include "manualtimers.h"

#include <QCoreApplication>
#include <QTimerEvent>

bool expireNow(QTimer* timer)
{
    // A stopped timer has no id; an event with none would still reach its handler.
    if (!timer || !timer->isActive())
        return false;
    QTimerEvent expiry(timer->timerId());
    QCoreApplication::sendEvent(timer, &expiry);
    return true;
}

ManualTimers::ManualTimers(const QList<QTimer*>& timers)
{
    for (QTimer* timer : timers) {
        timer->installEventFilter(this);
        m_timers << timer;
    }
}

ManualTimers::~ManualTimers()
{
    for (const QPointer<QTimer>& timer : m_timers)
        if (timer)
            timer->removeEventFilter(this);
}

bool ManualTimers::expire(QTimer* timer)
{
    m_delivering = timer;
    const bool delivered = expireNow(timer);
    m_delivering = nullptr;
    return delivered;
}

bool ManualTimers::eventFilter(QObject* watched, QEvent* event)
{
    return event->type() == QEvent::Timer && watched != m_delivering;
}
