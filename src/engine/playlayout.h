#pragma once

#include <string_view>
#include <vector>

namespace velloran::engine {

// One change that play or pause makes to a window, on the control of that object name.
// "Playing" names the window's Playing flag; "window" the window itself.
struct LayoutStep {
    enum class Kind { Enable, Disable, Show, Hide, SetWidth, MoveLeftBy, WidenBy, SetFlag, ClearFlag, Repaint };
    std::string_view control;
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
