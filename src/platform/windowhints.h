#pragma once

class QWidget;

namespace velloran::platform {

// Asks the window manager to keep the window, a helper window of another, out of the taskbar
// and the pager. The window manager forgets it when the window is hidden: ask again before each
// showing. Nothing where the platform has no such hint.
void keepOffTaskbar(QWidget* window);

}  // namespace velloran::platform
