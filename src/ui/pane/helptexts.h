#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velloran::ui::help {

// The Instant Help texts of the main window, exactly as the bar shows them.
inline constexpr std::string_view kDefault =
    "                                      Instant Help... When pointer is over any control, read "
    "me for complete instructions.      (Double-click to hide/view Instant Help)";
inline constexpr std::string_view kPlay = "PLAY/PAUSE button... Click to start scroller [ALT + P].";
inline constexpr std::string_view kPause =
    "PLAY/PAUSE button... Click to PAUSE scroller [ALT + P] (Right-click to load BACKUP "
    "text into scroller. See HELP file for details.)";
inline constexpr std::string_view kReset =
    "SCROLLER RESET button... Click to reset scroller to topmost position. "
    "(Note: This also resets the RUN TIME CLOCK)";
inline constexpr std::string_view kFontPlus =
    "FONT PLUS button... Click to increase scroller font size. (Tooltip displays value.)";
inline constexpr std::string_view kFontMinus =
    "FONT MINUS button... Click to decrease scroller font size. (Tooltip displays value.)";
inline constexpr std::string_view kBackupLabel =
    "Displays name of current BACKUP text. Hide it by double-clicking, "
    "or restore it by right-clicking the same area.";
inline constexpr std::string_view kTextFinder =
    "TEXTFINDER button... Click to view/hide TextFinder panel. (Note : Disabled "
    "while scroller is running.)";
inline constexpr std::string_view kHelpButton =
    "HELP button [F2 Key]... Click to view/hide HELP file. Right-click to "
    "view/hide scroller statitics. (ALL statitics are available via tooltips by "
    "placing your pointer in the same areas where they're normally displayed.)";
inline constexpr std::string_view kExit =
    "EXIT button... Click to exit program. (Right-click to minimize window.)";
inline constexpr std::string_view kUp =
    "UP button... Click to move scroller up incrementally [ALT + / (foward-slash)].";
inline constexpr std::string_view kDown =
    "DOWN button... Click to move scroller down incrementally [ALT + \\ (back-slash)].";
inline constexpr std::string_view kNavigationBar =
    "SCROLLER NAVIGATION BAR... Press and hold Left mouse button to position scroller."
    " Release to set position. Use DIRECTIONAL buttons below to fine tune.";
inline constexpr std::string_view kScript =
    "Type directly into scroller OR use TextFinder to locate and load a text "
    "file OR use Drag and Drop. Right-click for normal EDIT menu. (Double-click to "
    "open NotePad if available.) Insert key clears scroller and loads clipboard text";
inline constexpr std::string_view kHelpPanel = "Use scrollbar to navigate. Click HELP button to close panel.";
inline constexpr std::string_view kFolderList = "Double-click to select FOLDER";
inline constexpr std::string_view kFileList =
    "Select the file you want to load by clicking it's name, then "
    "click the OKAY button (center) below to load it into the scroller OR "
    "click the BACKUP button (bottom, left) to set selected file as BACKUP text.";
inline constexpr std::string_view kOkay =
    "OKAY button... Click to load selected file from list above into scroller.";
inline constexpr std::string_view kBackupButton =
    "BACKUP button... Click to set selected file from list above as BACKUP "
    "text. The title will be displayed above PLAY button. When ready to deploy, "
    "right-click PLAY button while scroller is running. (See HELP file for details.)";

// Fixed tooltips.
inline constexpr std::string_view kDriveTooltip = "Click ARROW to select DRIVE";
inline constexpr std::string_view kHelpPanelTooltip = "Click HELP button OR press F2 key to close";
inline constexpr std::string_view kShowInstantHelpTooltip = "Double-click below to view Instant Help";

// The full-screen window's texts where they differ from the main window's.
inline constexpr std::string_view kFullDefault =
    "Instant Help... When pointer is over any control, read me for complete instructions. "
    "(Double-click to hide/view Instant Help)";
inline constexpr std::string_view kFullPlay =
    "PLAY/PAUSE button... Click to start scroller [ALT + P] - Press F1 key to hide/view Control Panel";
inline constexpr std::string_view kFullPause =
    "PLAY/PAUSE button... Click to PAUSE scroller [ALT + P] (Right-click to load BACKUP text into "
    "scroller. See HELP file for details.) - Press F1 key to hide/view Control Panel";

// Texts that end in the current value, and their fixed beginnings.
inline constexpr std::string_view kSpeedControl =
    "Scroller SPEED CONTROL... Click arrows to adjust scroller speed. "
    "These are enabled when scroller is running. (Lower numbers indicate faster speed.)";
inline constexpr std::string_view kFrequencyControl =
    "Scroller FREQUENCY CONTROL... Click arrows to adjust scroller frequency. "
    "These are enabled when scroller is running. (Higher numbers indicate greater frequency.)";
std::string speedHelp(std::int16_t speed);
std::string frequencyHelp(std::int16_t frequency);

}  // namespace velloran::ui::help
