#pragma once

#include <QObject>
#include <memory>

#include "platform/voicefollower.h"

namespace velloran::platform {

class AudioFeed;

// The follower's half on the worker thread: the audio feed, the recogniser and the aligner. Every
// function runs on that thread.
class VoiceWorker : public QObject {
    Q_OBJECT
public:
    explicit VoiceWorker(VoiceSetup setup);
    ~VoiceWorker() override;

    void begin(const QString& script, int placeOffset);
    void setScript(const QString& text);
    void moveTo(int textOffset);
    void end();  // stops the audio and lets the recogniser go

signals:
    void placeChanged(const velloran::platform::VoicePlace& place);
    void stateChanged(velloran::platform::VoiceState state, const QString& message);
    void inputEnded();

private:
    void hear(const QByteArray& pcm);
    void fail(VoiceState state, const QString& message);
    void report();

    VoiceSetup m_setup;
    std::unique_ptr<VoicePipeline> m_pipeline;
    std::unique_ptr<AudioFeed> m_feed;
    VoiceState m_state = VoiceState::Off;
};

}  // namespace velloran::platform
