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

// The positions the rules judge against. The classic range is fixed; the whole-script range
// follows the script's length and keeps the classic distances between its limits.
struct ScrollRange {
    double wrapLimit = kWrapLimit;
    double warningThreshold = kWarningThreshold;
    double upNudgeLimit = kUpNudgeLimit;
    double barLowerGuard = kBarLowerGuard;
    double barScale = kSurfaceHeight;  // units of the navigation bar's full height

    bool operator==(const ScrollRange&) const = default;
};

// `lastLineGone`: the position at which the script's last line has risen above the viewing band.
// The wrap limit goes there (rounded down to a whole twip), never above the classic one, and the
// navigation bar spans from 0 to it.
ScrollRange wholeScriptRange(double lastLineGone);

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
//
// The position is held as a double. Unless it is exact, every result is rounded to single
// precision, so the classic arithmetic, readouts and saved bytes stay what they always were; an
// exact scroller keeps whole twips and 2-twip steps exact however far down a long script it is.
class Scroller {
public:
    explicit Scroller(double home) : m_home(home), m_position(home) { }

    double position() const { return m_position; }
    void setPosition(double position) { m_position = kept(position); }

    // Exactness and the range go together with the whole-script option; turning exactness off
    // rounds the position to single precision at once.
    void setExact(bool exact);
    bool exact() const { return m_exact; }
    void setRange(const ScrollRange& range) { m_range = range; }
    const ScrollRange& range() const { return m_range; }

    // One tick: wrap to home at or below the wrap limit, then rise by the frequency.
    void tick(std::int16_t frequency);
    // A tick of any step (following a reader's voice): the same wrap, then up by `twips`.
    void advance(double twips);

    // Nudges: the limit is tested before the step, and the result is not clamped.
    bool nudgeUp();
    bool nudgeDown();
    // Back (down) by `twips`, no farther than home; false when it stands at home or above.
    bool stepBack(double twips);
    void goHome() { m_position = m_home; }

    // A movement over the navigation bar with the held buttons and the pointer's y in the bar's
    // scale. Guards judge the position left by the last change.
    BarOutcome moveOnBar(int heldButtons, bool playing, double y);

    bool warning() const { return m_position < m_range.warningThreshold; }
    double markerTop() const { return -m_position; }
    std::string readout() const;  // "Scroller Position : 12000"

private:
    double kept(double value) const
    {
        return m_exact ? value : static_cast<double>(static_cast<float>(value));
    }

    double m_home;
    double m_position;
    bool m_exact = false;
    ScrollRange m_range;
};

// "Scroller Position : " with the distance scrolled.
std::string positionReadout(double position, bool exact = false);

}  // namespace velloran::engine
