#include "engine/fontsize.h"

#include "engine/numberformat.h"

namespace velloran::engine {

namespace {
constexpr float kSmallest = 12.0f;
constexpr float kLargest = 72.0f;
constexpr float kStep = 2.0f;
}  // namespace

std::optional<float> largerFont(float current)
{
    if (current >= kLargest)
        return std::nullopt;
    return current + kStep;
}

std::optional<float> smallerFont(float current)
{
    if (current <= kSmallest)
        return std::nullopt;
    return current - kStep;
}

std::string fontSizeTooltip(float size)
{
    return "Font Size : " + std::to_string(wholeHalfEven(size));
}

}  // namespace velloran::engine
