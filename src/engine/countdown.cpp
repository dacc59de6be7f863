#include "engine/countdown.h"

#include <algorithm>
#include <charconv>

namespace velloran::engine {

CountdownSetting readCountdown(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    int seconds = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (error == std::errc() && end == text.data() + text.size() && seconds >= 0 &&
        seconds <= kLongestCountdown)
        return {seconds, {}};
    return {0, "[Play] Countdown \"" + std::string(text) + "\" is not a whole number of seconds from 0 to " +
                   std::to_string(kLongestCountdown) + "; 0 is used"};
}

void Countdown::setSeconds(int seconds)
{
    m_seconds = std::clamp(seconds, 0, kLongestCountdown);
}

PlayRequest Countdown::toggle(bool playing)
{
    if (counting()) {
        cancel();
        return PlayRequest::CancelCount;
    }
    if (playing)
        return PlayRequest::Pause;
    if (m_seconds == 0)
        return PlayRequest::Play;
    m_shown = m_seconds;
    return PlayRequest::BeginCount;
}

bool Countdown::secondPassed()
{
    if (!counting())
        return false;
    return --m_shown == 0;
}

}  // namespace velloran::engine
