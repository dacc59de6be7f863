#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <memory>

#include "engine/followpace.h"
#include "platform/voicefollower.h"
#include "session/preferences.h"
#include "ui/readingpane.h"

class QTimer;

namespace velloran::ui {

class VoiceIndicator;

// Following the reader's voice in whichever window is on screen. While on, the pane's tick takes
// its step from here, so that the word last spoken stands at the reading height; every move of
// the user's wins at once, and following goes on from the line then at the reading height. Off,
// nothing of it exists: no follower, no thread, no device, no model.
class VoiceControl : public QObject, public PaneFollower {
    Q_OBJECT
public:
    explicit VoiceControl(QObject* parent = nullptr);
    ~VoiceControl() override;

    // The [Voice] options: a change of device, model or dictionary restarts following; Follow
    // turns it on or off.
    void applyPreferences(const session::Preferences::Voice& voice);
    void setInputFile(const QString& path);  // an audio file heard instead of a microphone
    // The window on screen: its pane moves and its indicator shows; the one before is let go.
    void attach(ReadingPane* pane, VoiceIndicator* indicator);
    void setFollowing(bool on);
    bool following() const { return m_on; }
    void toggle();                                                          // Alt+V
    platform::VoiceFollower* follower() const { return m_follower.get(); }  // null until first on

    std::optional<double> tickStep() override;
    void userMoved(bool placeMoved) override;

signals:
    void toggled(bool on);  // by Alt+V, for the options to keep

private:
    void placeHeard(const platform::VoicePlace& place);
    void stateChanged(platform::VoiceState state, const QString& message);
    void holdAtReadingHeight();
    void sendScript();
    void markWord();
    double perPixel() const;
    double targetFor(const platform::VoicePlace& place, double* lineHeight, double* twipsPerWord) const;

    std::unique_ptr<platform::VoiceFollower> m_follower;
    platform::VoiceSetup m_setup;
    bool m_markWord = false;
    bool m_on = false;
    QPointer<ReadingPane> m_pane;
    QPointer<VoiceIndicator> m_indicator;
    QTimer* m_scriptSettles = nullptr;  // edits are sent once typing pauses
    platform::VoicePlace m_place;
    bool m_placeKnown = false;
    bool m_holding = true;  // until the reader speaks from the place the user left
    int m_heldOffset = 0;
    QElapsedTimer m_sinceProgress;  // since the place last moved on
    engine::FollowMotion m_motion;
};

}  // namespace velloran::ui
