#include <gtest/gtest.h>

#include "engine/followpace.h"

#include <algorithm>
#include <cmath>

using namespace velloran::engine;

namespace {

constexpr double kLine = 640;

struct Glide {
    double reached = -1;   // seconds until within half a line, for good
    double overshoot = 0;  // twips past the target
    double largestStep = 0;
    double largestChange = 0;  // between two ticks' steps
    double endSpeed = 0;
    double endDistance = 0;
};

// Ticks for `seconds` towards a target `distance` ahead of the position (negative: behind),
// starting at rest.
Glide glide(double distance, double intervalMs, double seconds = 2)
{
    Glide out;
    FollowMotion motion;
    double position = 0;
    const double target = -distance;
    double last = 0;
    for (double t = intervalMs / 1000; t <= seconds + 1e-9; t += intervalMs / 1000) {
        const double step = followStep({position, target, intervalMs, 0, kLine}, motion);
        position -= step;
        out.largestStep = std::max(out.largestStep, std::abs(step));
        out.largestChange = std::max(out.largestChange, std::abs(step - last));
        last = step;
        const double beyond = distance > 0 ? target - position : position - target;
        out.overshoot = std::max(out.overshoot, beyond);
        if (std::abs(position - target) >= kLine / 2)
            out.reached = -1;
        else if (out.reached < 0)
            out.reached = t;
    }
    out.endSpeed = motion.speed;
    out.endDistance = position - target;
    return out;
}

}  // namespace

TEST(FollowStep, GlidesToAFarPlaceWithinHalfASecondWithoutJumpingOrOvershooting)
{
    const double distances[] = {3 * kLine, 12 * kLine, 60 * kLine, 400 * kLine, -3 * kLine, -20 * kLine};
    for (double interval : {16.0, 50.0, 100.0}) {
        for (double distance : distances) {
            const Glide g = glide(distance, interval);
            const auto where = ::testing::Message() << distance / kLine << " lines, " << interval << " ms";
            EXPECT_GT(g.reached, 0) << where;
            EXPECT_LE(g.reached, 0.5 + 1e-9) << where;
            EXPECT_LT(g.overshoot, kLine / 10) << where;
            // No single tick does the work: at 16 ms the steps ramp up and down over many ticks.
            EXPECT_LT(g.largestStep, 0.7 * std::abs(distance)) << where;
            if (interval == 16.0) {
                EXPECT_LT(g.largestChange, 0.5 * g.largestStep) << where;
            }
            EXPECT_LT(std::abs(g.endDistance), kLine / 20) << where;
        }
    }
}

TEST(FollowStep, KeepsPaceWithTheReaderAndStopsWhenTheReaderStops)
{
    for (double interval : {16.0, 100.0}) {
        const double pace = 270;  // twips a second
        FollowMotion motion {pace, 0};
        double position = 0;
        double target = 0;
        double slowest = 1e9;
        double fastest = 0;
        // The target moves a word at a time (a sixth of a line every 0.37 s), the pace evens it out.
        for (double t = 0; t < 8; t += interval / 1000) {
            target = -kLine / 6 * std::floor(t / 0.37);
            const double step = followStep({position, target, interval, pace, kLine}, motion);
            position -= step;
            if (t > 2) {
                slowest = std::min(slowest, step / interval * 1000);
                fastest = std::max(fastest, step / interval * 1000);
            }
        }
        EXPECT_GT(slowest, 0.8 * pace) << interval;
        EXPECT_LT(fastest, 1.2 * pace) << interval;
        EXPECT_LT(std::abs(position - target), kLine / 2) << interval;
        // The reader stops: the script comes to rest on the last word within a line.
        for (double t = 0; t < 3; t += interval / 1000)
            position -= followStep({position, target, interval, 0, kLine}, motion);
        EXPECT_LT(std::abs(position - target), kLine / 10) << interval;
        EXPECT_LT(std::abs(motion.speed), 5) << interval;
    }
}

TEST(FollowStepForward, ComesToRestPastTheWordInsteadOfGoingBackButGlidesBackToAFarPlace)
{
    for (double interval : {16.0, 100.0}) {
        // The reader has stopped; the pace carried the script a little past the last word.
        FollowMotion motion {300, 0};
        double position = -200;
        for (double t = 0; t < 3; t += interval / 1000) {
            const double before = position;
            position -= followStepForward({position, 0, interval, 0, kLine}, motion);
            EXPECT_LE(position, before) << interval;
        }
        EXPECT_GT(position, -kLine) << interval;
        EXPECT_EQ(motion.speed, 0) << interval;
        // The reader went back three lines: the script glides back there.
        for (double t = 0; t < 1; t += interval / 1000)
            position -= followStepForward({position, 3 * kLine, interval, 0, kLine}, motion);
        EXPECT_NEAR(position, 3 * kLine, kLine / 2) << interval;
    }
}

TEST(ReadingRate, MeasuresWordsASecondAndFallsToNothingInAPause)
{
    ReadingRate rate;
    EXPECT_EQ(rate.wordsPerSecond(0), 0);
    for (int i = 0; i <= 20; ++i)
        rate.note(i * 0.4, std::size_t(i));
    EXPECT_NEAR(rate.wordsPerSecond(8.0), 2.5, 0.01);
    EXPECT_EQ(rate.wordsPerSecond(8.0 + 1.5), 0);
    // A jump is not reading: the rate starts over from it.
    rate.note(8.4, 100);
    EXPECT_EQ(rate.wordsPerSecond(8.5), 0);
}
