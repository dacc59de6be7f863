#pragma once

class QWidget;

namespace velloran::ui {

// Makes `widget` (a child of a full-screen window) a borderless window of its own that never
// takes the keyboard focus: keys keep going to the parent. The full-screen window then puts it
// inside its own native window, out of the window manager's sight.
//
// Anything laid over the moving script as a sibling widget makes the toolkit repaint the whole
// screen on every tick instead of moving the pixels already drawn; a window of its own is not a
// sibling, so the script under it keeps its cheap scroll.
void makeOverlayWindow(QWidget* widget, bool takesMouse);

}  // namespace velloran::ui
