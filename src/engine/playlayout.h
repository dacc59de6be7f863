#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace velloran::engine {

// What the play and pause layouts change, by the names the windows give their controls; `Playing`
// is the window's Playing flag and `window` the window itself. Each window registers what it has
// under these names, and a layout may name only what its window registered.
enum class LayoutControl {
    tScroll,
    tTime,
    Playing,
    cPlay,
    cPause,
    sSpeed,
    sFreq,
    cFile,
    Scroll,
    Tex,
    Tip,
    cUp,
    cDwn,
    Line16,
    Line17,
    tHelp,
    window,
};
inline constexpr std::size_t kLayoutControlCount = static_cast<std::size_t>(LayoutControl::window) + 1;

std::string_view controlName(LayoutControl control);

// One change that play or pause makes to a window.
struct LayoutStep {
    enum class Kind {
        Enable,
        Disable,
        Show,
        Hide,
        SetWidth,
        WidenBy,
        MoveRightBy,
        SetFlag,
        ClearFlag,
        Repaint
    };
    LayoutControl control;
    Kind kind;
    int value = 0;  // twips, for the size and move steps

    bool operator==(const LayoutStep&) const = default;
};

using Layout = std::vector<LayoutStep>;

// The main window's two layouts, in the order in which their changes are applied.
Layout mainPlayingLayout();
Layout mainPausedLayout();

// The full-screen window's layouts for a window (and screen) of the given width in twips.
Layout fullPlayingLayout(int windowWidth);
Layout fullPausedLayout(int windowWidth);

}  // namespace velloran::engine
