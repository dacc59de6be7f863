#pragma once

#include <cstdint>
#include <string>

namespace velloran::engine {

// Speed (milliseconds per tick) and frequency (twips per tick): one pair for the whole program,
// shared by the main and the full-screen window.
struct Pace {
    std::int16_t speed = 100;
    std::int16_t frequency = 10;
};

struct SpinnerRange {
    int minimum;
    int maximum;
    int step;
    int designValue;
};
inline constexpr SpinnerRange kSpeedRange {10, 2000, 10, 100};
inline constexpr SpinnerRange kFrequencyRange {2, 1000, 2, 10};

std::string ratesReadout(const Pace& pace);            // "Scroll Spd : 100   Scroll Frq : 10"
std::string speedReadout(std::int16_t speed);          // "Spd: 100"
std::string frequencyReadout(std::int16_t frequency);  // "Frq: 10"

}  // namespace velloran::engine
