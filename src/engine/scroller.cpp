#include "engine/scroller.h"

#include <algorithm>
#include <cmath>

namespace velloran::engine {

namespace {
// The classic distances of the other limits from the wrap limit.
constexpr double kWarningAhead = kWarningThreshold - kWrapLimit;
constexpr double kUpNudgeBeyond = kUpNudgeLimit - kWrapLimit;
constexpr double kBarGuardBeyond = kBarLowerGuard - kWrapLimit;
}  // namespace

ScrollRange wholeScriptRange(double lastLineGone)
{
    const double wrap = std::min<double>(kWrapLimit, std::floor(lastLineGone));
    return {wrap, wrap + kWarningAhead, wrap + kUpNudgeBeyond, wrap + kBarGuardBeyond, -wrap};
}

void Scroller::setExact(bool exact)
{
    m_exact = exact;
    m_position = kept(m_position);
}

void Scroller::tick(std::int16_t frequency)
{
    advance(frequency);
}

void Scroller::advance(double twips)
{
    double position = m_position;
    if (position <= m_range.wrapLimit)
        position = m_home;
    // With a frequency both operands are single-precision values, so rounding the exact
    // difference gives what the single-precision subtraction gives.
    m_position = kept(position - twips);
}

bool Scroller::nudgeUp()
{
    if (m_position <= m_range.upNudgeLimit)
        return false;
    m_position = kept(m_position - kNudgeStep);
    return true;
}

bool Scroller::nudgeDown()
{
    if (m_position >= m_home)
        return false;
    m_position = kept(m_position + kNudgeStep);
    return true;
}

bool Scroller::stepBack(double twips)
{
    if (m_position >= m_home)
        return false;
    m_position = kept(std::min(m_position + twips, m_home));
    return true;
}

BarOutcome Scroller::moveOnBar(int heldButtons, bool playing, double y)
{
    if (heldButtons == kRightButton || playing || heldButtons != kLeftButton)
        return BarOutcome::Ignored;
    if (m_position <= m_range.barLowerGuard) {
        m_position = kept(m_range.wrapLimit);
        return BarOutcome::PulledBack;
    }
    if (m_position >= m_home + 1.0) {
        m_position = m_home;
        return BarOutcome::PulledBack;
    }
    // Classic: the pointer's place as a single-precision value, as the bar's scale gives it.
    const double pointer = m_exact ? y : static_cast<double>(static_cast<float>(y));
    m_position = kept(pointer - m_range.barScale);
    return BarOutcome::Placed;
}

std::string Scroller::readout() const
{
    return positionReadout(m_position, m_exact);
}

std::string positionReadout(double position, bool exact)
{
    return "Scroller Position : " + formatPosition(-position, exact);
}

}  // namespace velloran::engine
