#include "engine/pace.h"

namespace velloran::engine {

std::string ratesReadout(const Pace& pace)
{
    return "Scroll Spd : " + std::to_string(pace.speed) + "   Scroll Frq : " + std::to_string(pace.frequency);
}

std::string speedReadout(std::int16_t speed)
{
    return "Spd: " + std::to_string(speed);
}

std::string frequencyReadout(std::int16_t frequency)
{
    return "Frq: " + std::to_string(frequency);
}

}  // namespace velloran::engine
