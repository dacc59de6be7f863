#pragma once

#include <string>

#include "engine/fontsize.h"
#include "engine/numberformat.h"
#include "engine/pace.h"
#include "engine/playlayout.h"
#include "engine/runclock.h"

namespace velloran::engine {

inline constexpr float kMainHome = 480.0f;
inline constexpr float kFullHome = 4800.0f;
inline constexpr float kWrapLimit = -240000.0f;
inline constexpr float kWarningThreshold = -230000.0f;
inline constexpr float kSurfaceHeight = 500000.0f;
inline constexpr float kNudgeStep = 200.0f;
inline constexpr float kUpNudgeLimit = -240400.0f;
inline constexpr float kBarLowerGuard = -240353.0f;

// What a movement over the navigation bar did.
enum class BarOutcome {
    Ignored,     // wrong buttons, or playing
    PulledBack,  // the previous position was out of range and was brought back
    Placed,      // the script was placed from the pointer
};

// Mouse buttons as the windowing layer reports them; in moves, the sum of those held.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;

// The scroll position of one window (the Top of its surface, in twips) and the rules that move it.
// Each window owns one; the pace and the run-time clock are shared and passed in.
class Scroller {
public:
    explicit Scroller(float home) : m_home(home), m_position(home) { }

    float position() const { return m_position; }
    void setPosition(float position) { m_position = position; }

    // One tick: wrap to home at or below the wrap limit, then rise by the frequency.
    void tick(std::int16_t frequency);

    // Nudges: the limit is tested before the step, and the result is not clamped.
    bool nudgeUp();
    bool nudgeDown();
    void goHome() { m_position = m_home; }

    // A movement over the navigation bar with the held buttons and the pointer's y in the bar's
    // scale (one unit per twip of surface). Guards judge the position left by the last change.
    BarOutcome moveOnBar(int heldButtons, bool playing, float y);

    bool warning() const { return m_position < kWarningThreshold; }
    float markerTop() const { return -m_position; }
    std::string readout() const;  // "Scroller Position : 12000"

private:
    float m_home;
    float m_position;
};

// "Scroller Position : " with the distance scrolled.
std::string positionReadout(float position);

}  // namespace velloran::engine
