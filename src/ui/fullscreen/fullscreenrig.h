#pragma once

#include <QObject>
#include <QRect>

#include "engine/heldkeys.h"
#include "session/preferences.h"
#include "ui/widgets/twipscale.h"

class QKeyEvent;
class QScreen;
class QTimer;
class QWidget;

namespace velloran::session {
class AppSession;
}

namespace velloran::ui {

class ReadingPane;
class Reflector;
class ScriptView;
class VoiceIndicator;

// The full-screen window's rig options: the screen it covers, the mirrored or upside-down picture
// for a beam-splitter glass (Alt+M), the reading cue (Alt+K), and a presentation remote's keys.
// What they are comes from Preferences.ini; a change made here is saved through the session.
class FullScreenRig : public QObject {
    Q_OBJECT
public:
    FullScreenRig(QWidget* window, session::AppSession& session, ReadingPane& pane, ScriptView& view,
                  const TwipScale& scale);

    // The Alt keys of the mirror and the cue, among the window's hidden buttons.
    void buildKeys(QWidget* hiddenFrame);
    // The options as they stand now: the picture, the cue and the remote follow at once; the
    // window then places its overlays again.
    void applyPreferences(const session::Preferences& preferences);
    const session::Preferences& preferences() const { return m_preferences; }
    void keepPreferences(const session::Preferences& preferences) { m_preferences = preferences; }
    void toggleMirror();  // Alt+M, saved
    void toggleCue();     // Alt+K, saved
    QScreen* chosenScreen() const;  // null: none at all
    // The navigation bar's place in the plain picture, which the reflection moves.
    void setPlainBar(const QRect& plain) { m_tipPlain = plain; }
    void placeReflected();
    QRect reflected(const QRect& plain, const QSize& area) const;  // as the picture is reflected
    // Before every start and pause, with the Playing flag before it.
    void beforeToggle(bool playing);
    bool remoteKey(const QKeyEvent& event);  // true when the key is taken
    // The cue, a window of its own inside the full-screen one: placed and shown as the options say.
    QWidget* cue() const { return m_cue; }
    void placeCue(bool windowSeen);
    // The voice indicator, likewise a window of its own, in the top corner left of the script.
    VoiceIndicator* voiceMark() const { return m_voiceMark; }

private:
    bool escapeEnds();  // with the remote: only a second Escape ends

    QWidget* m_window;
    session::AppSession& m_session;
    ReadingPane& m_pane;
    ScriptView& m_view;
    TwipScale m_scale;
    Reflector* m_reflector;
    QWidget* m_cue;
    VoiceIndicator* m_voiceMark;
    QRect m_tipPlain;  // the navigation bar's place in the plain picture
    session::Preferences m_preferences;
    engine::HeldKeys m_heldKeys;  // the remote's keys, each held key counted once
    QTimer* m_escapeWait;         // running while a second Escape would end the program
};

}  // namespace velloran::ui
