#pragma once

#include <optional>
#include <string>

namespace velloran::engine {

inline constexpr float kDesignFontSize = 27.75f;
inline constexpr float kFullScreenFontSize = 36.0f;

// The size after one click on the plus or minus button, or nothing when the size is at its bound.
// The bound is tested on the size before the step, so the result may end just outside it.
std::optional<float> largerFont(float current);
std::optional<float> smallerFont(float current);

std::string fontSizeTooltip(float size);  // "Font Size : 28" for 27.75

}  // namespace velloran::engine
