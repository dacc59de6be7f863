#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

// One expiry of a running timer, delivered now through its own timeout signal, as the event loop
// would deliver it when the interval has passed. False, and nothing delivered, when it is stopped.
bool expireNow(QTimer* timer);

// Takes timers out of real time: their own expiries are dropped, and expire() delivers one at
// once. Each timer keeps running or stopped as the program sets it, so a test still sees which
// timers the program runs, and nothing ticks unless the test says so.
class ManualTimers : public QObject {
    Q_OBJECT

public:
    explicit ManualTimers(const QList<QTimer*>& timers);
    ~ManualTimers() override;

    bool expire(QTimer* timer);  // see expireNow

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QPointer<QTimer>> m_timers;
    QTimer* m_delivering = nullptr;
};
