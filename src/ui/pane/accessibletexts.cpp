#include "ui/pane/accessibletexts.h"

#include <QWidget>

#include "ui/pane/helptexts.h"
#include "ui/pane/instanthelp.h"

namespace velloran::ui {

std::vector<AccessibleText> paneAccessibleTexts(std::string_view playHelp, std::string_view pauseHelp)
{
    return {
        {"cPlay", "Play", playHelp},
        {"cPause", "Pause", pauseHelp},
        {"cReset", "Reset", help::kReset},
        {"cFntPlus", "Font larger", help::kFontPlus},
        {"cFntMinus", "Font smaller", help::kFontMinus},
        {"sSpeed", "Speed", help::kSpeedControl},
        {"sFreq", "Frequency", help::kFrequencyControl},
        {"Tex", "Script", help::kScript},
        {"Tip", "Navigation bar", help::kNavigationBar},
        // The Alt shortcuts' buttons, out of sight.
        {"cPlay2", "Play or pause, Alt+P", playHelp},
        {"cUpB", "Up, Alt+/", help::kUp},
        {"cDwnB", "Down, Alt+\\", help::kDown},
        {"cBack", "Load the backup script, Alt+B", "Loads the BACKUP text into the scroller."},
    };
}

std::vector<AccessibleText> mainWindowAccessibleTexts()
{
    return {
        {"cFile", "TextFinder", help::kTextFinder},
        {"cHelp", "Help", help::kHelpButton},
        {"cFull", "Full screen", "FULL SCREEN button... Click to read the script full screen."},
        {"cX", "Exit", help::kExit},
        {"cUp", "Up", help::kUp},
        {"cDwn", "Down", help::kDown},
        {"tHelp", "Help text", help::kHelpPanel},
        {"Drive1", "Drive", help::kDriveTooltip},
        {"Dir1", "Folders", help::kFolderList},
        {"File1", "Files", help::kFileList},
        {"cOKay", "OKAY", help::kOkay},
        {"cBackup", "BACKUP", help::kBackupButton},
        {"cCancel", "Cancel", "Closes the TextFinder panel."},
        {"cPrefs", "Preferences, Alt+O", "Opens the Preferences dialog while the scroller is paused."},
        {"cVoice", "Follow the voice, Alt+V", "Starts or stops following the reader's voice."},
    };
}

std::vector<AccessibleText> fullScreenAccessibleTexts()
{
    return {
        {"cFile", "TextFinder", "Has no action in the full-screen window."},
        {"cFull", "Back to the main window", "Returns to the main window; changes made here are not kept."},
        {"cX", "Exit", help::kExit},
        {"cMirror", "Mirror, Alt+M", "Shows the script mirrored left to right, or plain again."},
        {"cCue", "Reading cue, Alt+K", "Shows or hides the reading cue."},
        {"cVoice", "Follow the voice, Alt+V", "Starts or stops following the reader's voice."},
    };
}

void describeControls(QWidget* window, const std::vector<AccessibleText>& rows)
{
    for (const AccessibleText& row : rows) {
        auto* control = window->findChild<QWidget*>(InstantHelp::qs(row.control));
        if (!control)
            qFatal("no control %.*s to describe", static_cast<int>(row.control.size()), row.control.data());
        control->setAccessibleName(InstantHelp::qs(row.name));
        control->setAccessibleDescription(InstantHelp::qs(row.description));
    }
}

}  // namespace velloran::ui
