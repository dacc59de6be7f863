#pragma once

#include <string_view>

#include "engine/fontsize.h"
#include "engine/scroller.h"
#include "ui/pane/helptexts.h"

namespace velloran::ui {

// What the reading panes of the two windows differ in, given when they are made.
struct PaneSetup {
    float home;                 // the scroll position of reset, wrap and every load
    double texTop;              // where the text box stands on the surface
    float fontSize;             // the script's design size
    bool barShowsMarker;        // the navigation bar draws the position marker
    bool placingResetsClock;    // a placement from the bar restarts the run-time clock
    bool acceptsFiles;          // files may be dropped on the script
    bool escapeSaves;           // Escape saves before it ends; otherwise it ends at once, unsaved
    std::string_view playHelp;  // the Instant Help texts of PLAY and PAUSE
    std::string_view pauseHelp;
    double noticeTop;  // where the notice stands, twips from the top and the sides
    double noticeMargin;
};

// The two windows' panes, side by side.
inline const PaneSetup kMainWindowPane {
    .home = engine::kMainHome,
    .texTop = 2760,
    .fontSize = engine::kDesignFontSize,
    .barShowsMarker = true,
    .placingResetsClock = true,
    .acceptsFiles = true,
    .escapeSaves = true,
    .playHelp = help::kPlay,
    .pauseHelp = help::kPause,
    .noticeTop = 480,
    .noticeMargin = 240,
};
inline const PaneSetup kFullScreenPane {
    .home = engine::kFullHome,
    .texTop = 120,
    .fontSize = engine::kFullScreenFontSize,
    .barShowsMarker = false,
    .placingResetsClock = false,  // placing the script there leaves the run-time clock alone
    .acceptsFiles = false,
    .escapeSaves = false,  // Escape ends without saving, by design
    .playHelp = help::kFullPlay,
    .pauseHelp = help::kFullPause,
    .noticeTop = 240,
    .noticeMargin = 240,
};

}  // namespace velloran::ui
