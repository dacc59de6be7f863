#include "engine/followpace.h"

#include <algorithm>
#include <cmath>

namespace velloran::engine {

namespace {

constexpr double kTrackingStiffness = 2.5;  // per second: settles over about a second
constexpr double kGlideLines = 2.0;         // further off than this, glide
constexpr double kGlideSeconds = 0.45;      // a glide is within half a line by then
constexpr double kWindowSeconds = 6.0;      // of places the reading rate is taken from
constexpr double kStillSeconds = 1.2;       // no progress for this long: the reader is still
constexpr double kLeastSpan = 1.0;          // seconds of samples before a rate is given
constexpr double kMostWordsPerSecond = 6.0;
constexpr std::size_t kLargestStep = 12;  // words: a larger move is a jump, not reading

// The stiffness with which a critically damped spring, from rest, comes within half a line of a
// target `distance` away in kGlideSeconds: (1 + x) e^-x = half a line / distance, x = stiffness t.
double glideStiffness(double distance, double lineHeight)
{
    const double ratio = 0.5 * lineHeight / distance;
    double x = 1;
    while (x < 30 && (1 + x) * std::exp(-x) > ratio)
        x += 0.05;
    return x / kGlideSeconds;
}

}  // namespace

double followStep(const FollowTick& tick, FollowMotion& motion)
{
    const double dt = std::max(tick.intervalMs, 1.0) / 1000.0;
    const double line = std::max(tick.lineHeight, 1.0);
    // The distance still to go and the speed of closing it, relative to the moving target.
    const double r0 = tick.position - tick.target;
    const double u0 = motion.speed - tick.readerPace;
    if (std::abs(r0) > kGlideLines * line)
        motion.stiffness = std::max(motion.stiffness, glideStiffness(std::abs(r0), line));
    else if (motion.stiffness > 0 && std::abs(r0) + std::abs(u0) / kTrackingStiffness < line / 3)
        motion.stiffness = 0;
    const double w = motion.stiffness > 0 ? motion.stiffness : kTrackingStiffness;
    // The spring's exact motion over the tick, so a long interval cannot make it overshoot.
    const double e = std::exp(-w * dt);
    const double rate0 = -u0;
    const double r = (r0 + (rate0 + w * r0) * dt) * e;
    const double rate = (rate0 - w * (rate0 + w * r0) * dt) * e;
    motion.speed = tick.readerPace - rate;
    return tick.readerPace * dt + r0 - r;
}

double followStepForward(const FollowTick& tick, FollowMotion& motion)
{
    const double step = followStep(tick, motion);
    if (step >= 0 || motion.stiffness > 0)
        return step;
    motion = {};
    return 0;
}

void ReadingRate::note(double time, std::size_t word)
{
    if (!m_samples.empty()) {
        const std::size_t last = m_samples.back().second;
        if (word == last)
            return;
        if (word < last || word - last > kLargestStep)
            m_samples.clear();
    }
    m_samples.emplace_back(time, word);
    while (m_samples.size() > 2 && time - m_samples.front().first > kWindowSeconds)
        m_samples.pop_front();
}

double ReadingRate::wordsPerSecond(double now) const
{
    if (m_samples.size() < 2 || now - m_samples.back().first > kStillSeconds)
        return 0;
    const double span = m_samples.back().first - m_samples.front().first;
    if (span < kLeastSpan)
        return 0;
    const double words = double(m_samples.back().second - m_samples.front().second);
    return std::min(words / span, kMostWordsPerSecond);
}

}  // namespace velloran::engine
