#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/pace.h"

namespace velloran::engine {

struct TimeLeft {
    std::optional<std::int64_t> seconds;  // none when the pace does not move the script
    bool continues = false;               // the script goes on past the wrap point

    bool operator==(const TimeLeft&) const = default;
};

// The time the rest of the script takes at `pace`. `distance`: twips from the reading height to
// the top of the script's last line. `wrapDistance`, when the scroll range does not follow the
// script: twips the surface can still rise before it wraps (the position minus the wrap limit);
// the time then counts to there at most. Whole ticks, rounded up to a whole second, so it reads
// 0:00 only once the end is reached.
TimeLeft timeLeft(double distance, const Pace& pace, std::optional<double> wrapDistance = std::nullopt);

// "m:ss" below an hour, "h:mm:ss" from there, a trailing "+" when the script continues past the
// wrap point; "-:--" when there is no time.
std::string timeLeftReadout(const TimeLeft& left);

}  // namespace velloran::engine
