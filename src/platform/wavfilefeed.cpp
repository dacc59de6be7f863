#include "platform/wavfilefeed.h"

#include <QFile>
#include <algorithm>

#include "session/wavaudio.h"

namespace velloran::platform {

namespace {

constexpr int kEveryMs = 20;  // as often as a sound card hands over a period

}  // namespace

WavFileFeed::WavFileFeed(QString path, QObject* parent) : AudioFeed(parent), m_path(std::move(path))
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(kEveryMs);
    connect(&m_timer, &QTimer::timeout, this, &WavFileFeed::deliver);
}

bool WavFileFeed::start(QString* message)
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        *message = QStringLiteral("The audio file %1 cannot be read: %2.").arg(m_path, file.errorString());
        return false;
    }
    QString reason;
    auto audio = session::decodeWav(file.readAll(), &reason);
    if (!audio) {
        *message = QStringLiteral("The audio file %1 cannot be used: %2.").arg(m_path, reason);
        return false;
    }
    m_audio = std::move(*audio);
    m_sent = 0;
    m_clock.start();
    m_timer.start();
    return true;
}

void WavFileFeed::stop()
{
    m_timer.stop();
}

void WavFileFeed::deliver()
{
    const auto due = std::min(m_audio.size(), std::size_t(m_clock.elapsed() * (session::kSpeechRate / 1000)));
    if (due > m_sent) {
        emit samples(QByteArray(reinterpret_cast<const char*>(m_audio.data() + m_sent),
                                qsizetype((due - m_sent) * 2)));
        m_sent = due;
    }
    if (m_sent == m_audio.size()) {
        m_timer.stop();
        emit ended();
    }
}

}  // namespace velloran::platform
