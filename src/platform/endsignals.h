#pragma once

#include <QObject>

#include <csignal>

class QSocketNotifier;

namespace velloran::platform {

// Brings SIGTERM, SIGHUP and SIGINT (a shutdown, a closed terminal, Ctrl+C) into the event loop:
// the handler only writes the signal's number into a pipe, and the loop reads it and emits
// `received`, where the program may save and end as on any other way out. One object at a time;
// the previous handlers come back when it is destroyed.
class EndSignals : public QObject {
    Q_OBJECT
public:
    explicit EndSignals(QObject* parent = nullptr);
    ~EndSignals() override;

    static constexpr int kHandled[] = {SIGTERM, SIGHUP, SIGINT};

signals:
    void received(int signalNumber);

private:
    void readPipe();

    int m_readEnd = -1;
    QSocketNotifier* m_notifier = nullptr;
    struct sigaction m_previous[3] = {};
};

}  // namespace velloran::platform
