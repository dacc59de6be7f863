// Following the reader's voice, from the main window: its indicator in the left margin, Alt+V,
// the [Voice] options, and the full-screen window's pane and indicator while that one is shown.
#include <QPushButton>

#include "ui/controls.h"
#include "ui/frmfull.h"
#include "ui/frmset.h"
#include "ui/voicecontrol.h"
#include "ui/voiceindicator.h"

namespace velloran::ui {

void frmSet::buildVoice()
{
    m_voice = new VoiceControl(this);
    // In the margin left of the script, below the middle: nothing of the window stands there.
    m_voiceMark = new VoiceIndicator(this, false);
    m_scale.place(m_voiceMark, 15, 2880, 210, 2280);
    connect(m_voiceMark, &VoiceIndicator::wantedChanged, this,
            [this] { m_voiceMark->setVisible(m_voiceMark->wanted()); });
    m_voice->attach(m_pane, m_voiceMark);

    QPushButton* follow = makeAccelerator(this, QStringLiteral("cVoice"), QStringLiteral("&v"));
    m_scale.place(follow, 360 + 5 * 360, 7680, 255, 255);
    connect(follow, &QAbstractButton::clicked, m_voice, &VoiceControl::toggle);
    // Alt+V is kept, as Alt+M and Alt+K are.
    connect(m_voice, &VoiceControl::toggled, this, [this](bool on) {
        session::Preferences options = preferences();
        if (options.voice.follow != on) {
            options.voice.follow = on;
            changePreferences(options);
        }
    });
    connect(this, &frmSet::preferencesChanged, m_voice,
            [this](const session::Preferences& options) { m_voice->applyPreferences(options.voice); });
}

void frmSet::startVoice()
{
    m_voice->applyPreferences(preferences().voice);
}

void frmSet::voiceToFullScreen()
{
    m_voice->attach(&m_full->pane(), m_full->voiceMark());
    connect(m_full, &frmFull::voiceToggled, m_voice, &VoiceControl::toggle);
}

void frmSet::voiceBack()
{
    m_voice->attach(m_pane, m_voiceMark);
}

}  // namespace velloran::ui
