#pragma once

#include <QAudioFormat>
#include <memory>

#include "platform/audiofeed.h"

class QAudioSource;
class QIODevice;

namespace velloran::platform {

// Audio from an input device through Qt Multimedia: the device with the given description, or
// the system's default when the name is empty. A device that cannot give 16 kHz mono 16-bit is
// read in its own format and converted.
class MicrophoneFeed final : public AudioFeed {
    Q_OBJECT
public:
    explicit MicrophoneFeed(QString deviceName, QObject* parent = nullptr);
    ~MicrophoneFeed() override;

    bool start(QString* message) override;
    void stop() override;

private:
    void readAvailable();

    QString m_deviceName;
    std::unique_ptr<QAudioSource> m_source;
    QIODevice* m_io = nullptr;
    QAudioFormat m_format;
    QByteArray m_partial;  // bytes of a frame not yet whole
};

}  // namespace velloran::platform
