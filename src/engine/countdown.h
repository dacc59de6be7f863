#pragma once

#include <string>
#include <string_view>

namespace velloran::engine {

inline constexpr int kLongestCountdown = 10;  // seconds

struct CountdownSetting {
    int seconds = 0;
    std::string problem;  // what was wrong with the text and what is used instead; empty when none
};

// The option's text as written in the file: a whole number of seconds from 0 to 10. Empty text
// (no such key) is the default without a problem.
CountdownSetting readCountdown(std::string_view text);

// What a start or pause request asks the window to do.
enum class PlayRequest {
    Play,         // start the scroll now
    Pause,        // pause it
    BeginCount,   // show the count; nothing moves yet
    CancelCount,  // hide the count; nothing moves
};

// The count shown over the reading band before the scroll starts: with 3 seconds, 3, 2 and 1 are
// each shown for a second, then the scroll starts. A request during the count cancels it.
class Countdown {
public:
    void setSeconds(int seconds);  // kept within 0..10; used from the next start on
    int seconds() const { return m_seconds; }

    // PLAY, PAUSE, Alt+P or a remote's play key, with the window's Playing flag.
    PlayRequest toggle(bool playing);
    // A second of the count has gone: true when the count is over and the scroll starts now.
    bool secondPassed();
    void cancel() { m_shown = 0; }  // the window is left, hidden or closed

    bool counting() const { return m_shown > 0; }
    int shown() const { return m_shown; }  // the number over the band while counting

private:
    int m_seconds = 0;
    int m_shown = 0;
};

}  // namespace velloran::engine
