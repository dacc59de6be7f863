#include "ui/helptexts.h"

namespace velloran::ui::help {

std::string speedHelp(std::int16_t speed)
{
    return "Scroller SPEED CONTROL... Click arrows to adjust scroller speed. "
           "These are enabled when scroller is running. (Lower numbers indicate faster "
           "speed.)  Current speed : " +
           std::to_string(speed);
}

std::string frequencyHelp(std::int16_t frequency)
{
    return "Scroller FREQUENCY CONTROL... Click arrows to adjust scroller frequency. "
           "These are enabled when scroller is running. (Higher numbers indicate greater "
           "frequency.)  Current frequency : " +
           std::to_string(frequency);
}

}  // namespace velloran::ui::help
