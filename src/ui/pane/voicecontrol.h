#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <memory>

#include "engine/followpace.h"
#include "platform/voicefollower.h"
#include "session/preferences.h"
#include "ui/pane/readingpane.h"

class QTimer;

namespace velloran::session {
class AppSession;
}

namespace velloran::ui {

class ScriptView;
class VoiceIndicator;

// Following the reader's voice in whichever window is on screen. While on, the pane's tick takes
// its step from here, so that the word last spoken stands at the reading height; every move of
// the user's wins at once, and following goes on from the line then at the reading height. Off,
// nothing of it exists: no follower, no thread, no device, no model.
class VoiceControl : public QObject, public PaneFollower {
    Q_OBJECT
public:
    // The program's one follower, kept with its session and made on first use; it takes the
    // [Voice] options as they change, and keeps Alt+V's choice in them.
    static VoiceControl& of(session::AppSession& session);

    // The [Voice] options: a change of device, model or dictionary restarts following; Follow
    // turns it on or off.
    void applyPreferences(const session::Preferences::Voice& voice);
    void setInputFile(const QString& path);  // an audio file heard instead of a microphone
    // The window now on screen: its pane moves and its indicator shows. When that window goes,
    // the one attached before it takes over again.
    void attach(ReadingPane& pane, ScriptView& view, VoiceIndicator* indicator);
    void setFollowing(bool on);
    bool following() const { return m_on; }
    void toggle();                                                          // Alt+V, kept in Preferences.ini
    platform::VoiceFollower* follower() const { return m_follower.get(); }  // null until first on

    std::optional<double> tickStep(double intervalMs) override;
    void userMoved(bool placeMoved) override;

private:
    struct Window {
        QPointer<ReadingPane> pane;
        QPointer<ScriptView> view;
        QPointer<VoiceIndicator> indicator;
    };

    explicit VoiceControl(session::AppSession& session);
    void use(const Window& window);
    void windowGone(QObject* pane);
    void placeHeard(const platform::VoicePlace& place);
    void stateChanged(platform::VoiceState state, const QString& message);
    void holdAtReadingHeight();
    void sendScript();
    void markWord();
    double targetFor(const platform::VoicePlace& place, double* lineHeight, double* twipsPerWord) const;

    session::AppSession& m_session;
    std::unique_ptr<platform::VoiceFollower> m_follower;
    platform::VoiceSetup m_setup;
    bool m_markWord = false;
    bool m_on = false;
    QList<Window> m_windows;  // the one on screen last
    Window m_shown;
    QTimer* m_scriptSettles = nullptr;  // edits are sent once typing pauses
    platform::VoicePlace m_place;
    bool m_placeKnown = false;
    bool m_holding = true;  // until the reader speaks from the place the user left
    int m_heldOffset = 0;
    QElapsedTimer m_sinceProgress;  // since the place last moved on
    engine::FollowMotion m_motion;
};

}  // namespace velloran::ui
