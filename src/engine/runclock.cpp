#include "engine/runclock.h"

namespace velloran::engine {

void RunClock::tick()
{
    ++seconds;
    if (seconds >= 60) {
        ++minutes;
        seconds = 0;
    }
}

void RunClock::reset()
{
    minutes = 0;
    seconds = 0;
}

std::string RunClock::text() const
{
    return "Run Time  " + std::to_string(minutes) + " : " + std::to_string(seconds);
}

std::string characterReadout(std::int64_t count)
{
    return "Chr # " + std::to_string(count);
}

}  // namespace velloran::engine
