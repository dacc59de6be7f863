#include "platform/endsignals.h"

#include <QSocketNotifier>

#include "platform/logging.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace velloran::platform {

namespace {

// The one thing a signal handler may reach: the pipe's write end. Set while an EndSignals lives.
volatile sig_atomic_t g_writeEnd = -1;

void onSignal(int signalNumber)
{
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(g_writeEnd, &byte, 1);
    errno = savedErrno;
}

}  // namespace

EndSignals::EndSignals(QObject* parent) : QObject(parent)
{
    int ends[2] = {-1, -1};
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        // The program still runs; a signal from outside then ends it without the save.
        qCWarning(lcPlatform) << "signals from outside will end without saving: no pipe:" << std::strerror(errno);
        return;
    }
    m_readEnd = ends[0];
    g_writeEnd = ends[1];
    m_notifier = new QSocketNotifier(m_readEnd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &EndSignals::readPipe);

    struct sigaction action { };
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < 3; ++i)
        if (::sigaction(kHandled[i], &action, &m_previous[i]) != 0)
            qCWarning(lcPlatform) << "signal" << kHandled[i] << "will end without saving:" << std::strerror(errno);
}

EndSignals::~EndSignals()
{
    if (m_readEnd < 0)
        return;
    for (int i = 0; i < 3; ++i)
        ::sigaction(kHandled[i], &m_previous[i], nullptr);
    ::close(g_writeEnd);
    g_writeEnd = -1;
    ::close(m_readEnd);
}

void EndSignals::readPipe()
{
    unsigned char numbers[16];
    ssize_t got = 0;
    while ((got = ::read(m_readEnd, numbers, sizeof numbers)) > 0)
        for (ssize_t i = 0; i < got; ++i)
            emit received(numbers[i]);
}

}  // namespace velloran::platform
