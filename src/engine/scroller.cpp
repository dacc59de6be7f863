#include "engine/scroller.h"

namespace velloran::engine {

void Scroller::tick(std::int16_t frequency)
{
    float position = m_position;
    if (position <= kWrapLimit)
        position = m_home;
    m_position = static_cast<float>(position - frequency);
}

bool Scroller::nudgeUp()
{
    if (m_position <= kUpNudgeLimit)
        return false;
    m_position -= kNudgeStep;
    return true;
}

bool Scroller::nudgeDown()
{
    if (m_position >= m_home)
        return false;
    m_position += kNudgeStep;
    return true;
}

BarOutcome Scroller::moveOnBar(int heldButtons, bool playing, float y)
{
    if (heldButtons == kRightButton || playing || heldButtons != kLeftButton)
        return BarOutcome::Ignored;
    if (m_position <= kBarLowerGuard) {
        m_position = kWrapLimit;
        return BarOutcome::PulledBack;
    }
    if (m_position >= m_home + 1.0f) {
        m_position = m_home;
        return BarOutcome::PulledBack;
    }
    m_position = static_cast<float>(y - kSurfaceHeight);
    return BarOutcome::Placed;
}

std::string Scroller::readout() const
{
    return positionReadout(m_position);
}

std::string positionReadout(float position)
{
    return "Scroller Position : " + formatGeneral(-position);
}

}  // namespace velloran::engine
