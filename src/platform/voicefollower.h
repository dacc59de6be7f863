#pragma once

#include <QObject>
#include <QString>
#include <memory>

#include "platform/voicepipeline.h"

class QThread;

namespace velloran::platform {

class VoiceWorker;

// What the indicator shows.
enum class VoiceState {
    Off,
    Listening,     // started, nothing matched lately (or the reader paused)
    Following,     // the place follows the reader
    Lost,          // many words matched nothing near the place
    NoMicrophone,  // no input device, a failing one, or an audio file that cannot be read
    Unavailable,   // the speech model or dictionary is missing, or the script is not English
};

struct VoiceSetup {
    QString device;      // the input device's description; empty: the system's default
    QString model;       // acoustic model folder; empty: Debian's en-us model
    QString dictionary;  // pronouncing dictionary; empty: Debian's cmudict-en-us.dict
    QString inputFile;   // a WAV file fed in real time instead of a microphone
};

// Follows a reader's voice through the script. Recognition and alignment run on a worker thread
// of their own; the place and the state come back by signals on the thread that made the
// follower. Nothing is loaded and no device opened until start(); a failure to start (no device,
// no model, a script that is not English) ends following with the state and a message saying what
// is missing, and nothing else changes.
class VoiceFollower : public QObject {
    Q_OBJECT
public:
    explicit VoiceFollower(QObject* parent = nullptr);
    ~VoiceFollower() override;

    // The script, and the whole text again after every edit.
    void setScript(const QString& text);
    // The user moved the script: the reader is about to say the word at this character.
    void moveTo(int textOffset);

    void start(const VoiceSetup& setup);
    void stop();
    bool isRunning() const { return m_worker != nullptr; }

    VoiceState state() const { return m_state; }
    const QString& message() const { return m_message; }
    const VoicePlace& place() const { return m_place; }

signals:
    void placeChanged(const velloran::platform::VoicePlace& place);
    void stateChanged(velloran::platform::VoiceState state, const QString& message);
    void inputEnded();  // an audio file has been heard whole

private:
    void setState(VoiceState state, const QString& message);

    std::unique_ptr<QThread> m_thread;
    VoiceWorker* m_worker = nullptr;
    QString m_script;
    int m_placeOffset = -1;
    VoiceState m_state = VoiceState::Off;
    QString m_message;
    VoicePlace m_place;
};

}  // namespace velloran::platform
