#pragma once

#include "engine/playlayout.h"

class QWidget;

namespace velloran::ui {

class ScriptSurface;
class TwipScale;

// Carries out a play or pause layout, step by step in its order, on a window's controls found by
// their object names; "Scroll" and "Tex" go to the surface, "Playing" to the window's flag.
void applyLayout(const engine::Layout& layout, QWidget* window, ScriptSurface* surface, bool& playing,
                 const TwipScale& scale);

}  // namespace velloran::ui
