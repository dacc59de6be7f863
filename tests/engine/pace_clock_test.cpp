#include <gtest/gtest.h>

#include "engine/pace.h"
#include "engine/runclock.h"

using namespace velloran::engine;

TEST(Pace, Readouts)
{
    EXPECT_EQ(ratesReadout(Pace {}), "Scroll Spd : 100   Scroll Frq : 10");
    EXPECT_EQ(ratesReadout(Pace {110, 2}), "Scroll Spd : 110   Scroll Frq : 2");
    EXPECT_EQ(speedReadout(110), "Spd: 110");
    EXPECT_EQ(frequencyReadout(1000), "Frq: 1000");
}

TEST(RunClock, CountsMinutesAndSecondsWithoutHours)
{
    RunClock clock;
    EXPECT_EQ(clock.text(), "Run Time  0 : 0");
    clock.seconds = 59;
    clock.tick();
    EXPECT_EQ(clock.text(), "Run Time  1 : 0");
    clock.reset();
    for (int i = 0; i < 75; ++i)
        clock.tick();
    EXPECT_EQ(clock.text(), "Run Time  1 : 15");
    clock.reset();
    for (int i = 0; i < 61 * 60; ++i)
        clock.tick();
    EXPECT_EQ(clock.text(), "Run Time  61 : 0");
}

TEST(RunClock, RestoredSecondsBeyondRangeRollOver)
{
    RunClock clock {3, 75};
    clock.tick();
    EXPECT_EQ(clock.minutes, 4);
    EXPECT_EQ(clock.seconds, 0);
}

TEST(CharacterReadout, PlainCount)
{
    EXPECT_EQ(characterReadout(0), "Chr # 0");
    EXPECT_EQ(characterReadout(5), "Chr # 5");
}
