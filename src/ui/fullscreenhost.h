#pragma once

#include <QString>

#include "session/preferences.h"

class QScreen;

class QWidget;

namespace velloran::ui {

// What the full-screen window takes from the main window, which stays loaded while it is hidden.
class FullScreenHost {
public:
    virtual QString script() const = 0;  // the main window's script, taken at opening
    virtual int speedValue() const = 0;  // its spinners, taken at opening
    virtual int frequencyValue() const = 0;
    virtual bool wholeScriptReachable() const = 0;  // taken at opening, then set live
    virtual QString backupPath() const = 0;         // read at each backup load: it may change meanwhile
    // Saves the main window's record with the given font size; true when the program may end: it
    // was saved, or it could not be and the user, asked over `asker`, chose to leave.
    virtual bool saveWithFontSize(double fontSize, QWidget* asker) = 0;
    // Ends the program at once; with discardRecovery, the recovery copy goes too.
    virtual void endProgram(bool discardRecovery) = 0;
    virtual void showAgain() = 0;  // the way back from full screen
    // The options in Preferences.ini, read now; and a change of them, saved and passed on.
    virtual session::Preferences preferences() const = 0;
    virtual void changePreferences(const session::Preferences& preferences) = 0;
    virtual QScreen* hostScreen() const = 0;  // the screen the main window is on

protected:
    ~FullScreenHost() = default;
};

}  // namespace velloran::ui
