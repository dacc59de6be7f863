#pragma once

#include <QWidget>

#include "platform/voicefollower.h"

namespace velloran::ui {

// A small mark of what following the reader's voice is doing: listening, following, lost or no
// microphone, as a coloured dot and a word. Read upwards when `upright` is false, for the main
// window's narrow margin. Shown only while there is something to say.
class VoiceIndicator : public QWidget {
    Q_OBJECT
public:
    VoiceIndicator(QWidget* parent, bool upright);

    void setState(platform::VoiceState state);
    platform::VoiceState state() const { return m_state; }
    bool wanted() const;  // false while following is off or cannot start
    QString text() const;

signals:
    void wantedChanged();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_upright;
    platform::VoiceState m_state = platform::VoiceState::Off;
};

}  // namespace velloran::ui
