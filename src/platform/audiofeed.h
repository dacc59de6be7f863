#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

namespace velloran::platform {

// A source of audio for speech: 16 kHz, mono, signed 16-bit samples in machine order, delivered in
// real time as they are captured (or, from a file, as they would have been).
class AudioFeed : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Starts delivering; false, with a message a user can act on, when it cannot.
    virtual bool start(QString* message) = 0;
    virtual void stop() = 0;

signals:
    void samples(const QByteArray& pcm);
    void failed(const QString& message);  // it stopped delivering, for the reason given
    void ended();                         // a file has been delivered whole
};

}  // namespace velloran::platform
