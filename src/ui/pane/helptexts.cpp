#include "ui/pane/helptexts.h"

namespace velloran::ui::help {

std::string speedHelp(std::int16_t speed)
{
    return std::string(kSpeedControl) + "  Current speed : " + std::to_string(speed);
}

std::string frequencyHelp(std::int16_t frequency)
{
    return std::string(kFrequencyControl) + "  Current frequency : " + std::to_string(frequency);
}

}  // namespace velloran::ui::help
