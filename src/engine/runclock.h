#pragma once

#include <cstdint>
#include <string>

namespace velloran::engine {

// Run-time clock: minutes (no upper bound) and seconds; program-wide, counted by the main window.
struct RunClock {
    std::int64_t minutes = 0;
    std::int16_t seconds = 0;

    void tick();               // one second more; rolls over at 60 (or above, after a hand-edited restore)
    void reset();              // back to 0 : 0
    std::string text() const;  // "Run Time  1 : 15"
};

// Character counter caption: "Chr # " and the count.
std::string characterReadout(std::int64_t count);

}  // namespace velloran::engine
