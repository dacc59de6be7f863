#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <vector>

#include "platform/audiofeed.h"

namespace velloran::platform {

// A WAV file delivered in real time, exactly as a microphone would deliver its audio: every few
// milliseconds the samples whose time has come. For tests, demonstrations and --voice-input.
class WavFileFeed final : public AudioFeed {
    Q_OBJECT
public:
    explicit WavFileFeed(QString path, QObject* parent = nullptr);

    bool start(QString* message) override;
    void stop() override;

private:
    void deliver();

    QString m_path;
    std::vector<std::int16_t> m_audio;
    std::size_t m_sent = 0;
    QElapsedTimer m_clock;
    QTimer m_timer;
};

}  // namespace velloran::platform
