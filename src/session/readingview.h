#pragma once

#include <QString>

#include "session/settingsrecord.h"

namespace velloran::session {

// One window's reading as the session reaches it, with no widget in between: the window's own
// place, Playing flag, font and spinners. The pace, the run-time clock and the backup path are the
// session's. A later way of driving the reading (a remote, a voice) adds its verbs here.
class ReadingView {
public:
    virtual bool playing() const = 0;
    virtual void TogglePlay() = 0;  // as PLAY and PAUSE do
    // The tick stops where it is, nothing else changes: the program is ending.
    virtual void halt() = 0;
    // The state as an exit saves it: the spinners, the font size and the place. The backup path,
    // the clock and the script are not filled in.
    virtual SettingsRecord snapshot() const = 0;
    virtual QString script() const = 0;
    // The script with its straight double quotes made typographic, in the text box too; the saving
    // exits take it so.
    virtual QString PrepareText() = 0;

protected:
    ~ReadingView() = default;
};

}  // namespace velloran::session
