#pragma once

class QWidget;

namespace velloran::ui {

// Makes `widget` (a child of a full-screen window) a borderless top-level window of its own that
// stays above its parent and never takes the keyboard focus: keys keep going to the parent.
//
// Anything laid over the moving script as a sibling widget makes the toolkit repaint the whole
// screen on every tick instead of moving the pixels already drawn; a window of its own is not a
// sibling, so the script under it keeps its cheap scroll.
void makeOverlayWindow(QWidget* widget, bool takesMouse);

}  // namespace velloran::ui
