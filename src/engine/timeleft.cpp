#include "engine/timeleft.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace velloran::engine {

namespace {
// Far beyond any script (the slowest pace over the longest surface), and safe to multiply.
constexpr double kMostTicks = 1e13;
}  // namespace

TimeLeft timeLeft(double distance, const Pace& pace, std::optional<double> wrapDistance)
{
    TimeLeft left;
    if (wrapDistance && distance > *wrapDistance) {
        distance = *wrapDistance;
        left.continues = true;
    }
    if (!(distance > 0)) {
        left.seconds = 0;
        return left;
    }
    if (pace.frequency <= 0 || pace.speed <= 0)
        return left;
    const double ticks = std::min(std::ceil(distance / pace.frequency), kMostTicks);
    const auto milliseconds = static_cast<std::int64_t>(ticks) * pace.speed;
    left.seconds = (milliseconds + 999) / 1000;
    return left;
}

std::string timeLeftReadout(const TimeLeft& left)
{
    if (!left.seconds)
        return "-:--";
    const std::int64_t total = *left.seconds;
    const long long hours = total / 3600;
    const int minutes = static_cast<int>(total / 60 % 60);
    const int seconds = static_cast<int>(total % 60);
    char text[48];
    if (hours > 0)
        std::snprintf(text, sizeof text, "%lld:%02d:%02d", hours, minutes, seconds);
    else
        std::snprintf(text, sizeof text, "%d:%02d", minutes, seconds);
    return std::string(text) + (left.continues ? "+" : "");
}

}  // namespace velloran::engine
