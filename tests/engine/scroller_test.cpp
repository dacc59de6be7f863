#include <gtest/gtest.h>

#include "engine/scroller.h"

using namespace velloran::engine;

namespace {

struct TickCase {
    float home;
    float before;
    std::int16_t frequency;
    float after;
};

class TickTest : public ::testing::TestWithParam<TickCase> { };

TEST_P(TickTest, StepsAndWraps)
{
    const TickCase& c = GetParam();
    Scroller scroller(c.home);
    scroller.setPosition(c.before);
    scroller.tick(c.frequency);
    EXPECT_FLOAT_EQ(scroller.position(), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Positions, TickTest,
    ::testing::Values(TickCase {kMainHome, 480, 10, 470},           // first tick from home
                      TickCase {kMainHome, -240000, 10, 470},       // exactly at the limit: wraps
                      TickCase {kMainHome, -239995, 10, -240005},   // just above: steps past it
                      TickCase {kMainHome, -240005, 10, 470},       // and wraps on the next tick
                      TickCase {kMainHome, 480, 1000, -520},        // largest frequency
                      TickCase {kFullHome, -239900, 200, -240100},  // full-screen window
                      TickCase {kFullHome, -240100, 200, 4600}));

TEST(Scroller, TickNeverShowsHomeAndKeepsWrapping)
{
    Scroller scroller(kMainHome);
    scroller.setPosition(-239995);
    int wraps = 0;
    for (int i = 0; i < 60000; ++i) {
        const float before = scroller.position();
        scroller.tick(10);
        EXPECT_NE(scroller.position(), kMainHome);
        if (scroller.position() > before)
            ++wraps;
    }
    EXPECT_EQ(wraps, 3);  // 24048 ticks per lap from 470
}

TEST(Scroller, WarningIsStrictlyBelowThreshold)
{
    Scroller scroller(kMainHome);
    scroller.setPosition(-230000);
    EXPECT_FALSE(scroller.warning());
    scroller.setPosition(-230001);
    EXPECT_TRUE(scroller.warning());
    scroller.setPosition(-230000.5f);
    EXPECT_TRUE(scroller.warning());
}

TEST(Scroller, ReadoutShowsDistanceScrolled)
{
    EXPECT_EQ(positionReadout(480), "Scroller Position : -480");
    EXPECT_EQ(positionReadout(-12000), "Scroller Position : 12000");
    EXPECT_EQ(positionReadout(-123456.79f), "Scroller Position : 123456.8");
    EXPECT_EQ(positionReadout(0), "Scroller Position : 0");
    EXPECT_EQ(positionReadout(-240005), "Scroller Position : 240005");
}

TEST(Scroller, MarkerStandsAtMinusPosition)
{
    Scroller scroller(kMainHome);
    EXPECT_FLOAT_EQ(scroller.markerTop(), -480);
    scroller.setPosition(-125000);
    EXPECT_FLOAT_EQ(scroller.markerTop(), 125000);
}

struct NudgeCase {
    float home;
    float before;
    bool up;
    float after;
};

class NudgeTest : public ::testing::TestWithParam<NudgeCase> { };

TEST_P(NudgeTest, TestsLimitBeforeTheStep)
{
    const NudgeCase& c = GetParam();
    Scroller scroller(c.home);
    scroller.setPosition(c.before);
    const bool moved = c.up ? scroller.nudgeUp() : scroller.nudgeDown();
    EXPECT_FLOAT_EQ(scroller.position(), c.after);
    EXPECT_EQ(moved, c.before != c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, NudgeTest,
    ::testing::Values(NudgeCase {kMainHome, 480, false, 480}, NudgeCase {kMainHome, 480, true, 280},
                      NudgeCase {kMainHome, 400, false, 600}, NudgeCase {kMainHome, 600, false, 600},
                      NudgeCase {kMainHome, 479, false, 679}, NudgeCase {kMainHome, -240400, true, -240400},
                      NudgeCase {kMainHome, -240300, true, -240500},
                      NudgeCase {kMainHome, -240399, true, -240599}, NudgeCase {kFullHome, 4700, false, 4900},
                      NudgeCase {kFullHome, 4800, false, 4800}));

TEST(NavigationBar, PlacesFromPointerAndPullsBackOutOfRange)
{
    Scroller scroller(kMainHome);
    EXPECT_EQ(scroller.moveOnBar(0, false, 375000), BarOutcome::Ignored);
    EXPECT_EQ(scroller.moveOnBar(kRightButton, false, 375000), BarOutcome::Ignored);
    EXPECT_EQ(scroller.moveOnBar(kLeftButton | kRightButton, false, 375000), BarOutcome::Ignored);
    EXPECT_EQ(scroller.moveOnBar(kLeftButton, true, 375000), BarOutcome::Ignored);
    EXPECT_FLOAT_EQ(scroller.position(), 480);

    EXPECT_EQ(scroller.moveOnBar(kLeftButton, false, 375000), BarOutcome::Placed);
    EXPECT_FLOAT_EQ(scroller.position(), -125000);
    EXPECT_FLOAT_EQ(scroller.markerTop(), 125000);

    // Beyond the lower guard: placed once, then pulled back to the wrap limit wherever the pointer is.
    EXPECT_EQ(scroller.moveOnBar(kLeftButton, false, 250000), BarOutcome::Placed);
    EXPECT_FLOAT_EQ(scroller.position(), -250000);
    EXPECT_EQ(scroller.moveOnBar(kLeftButton, false, 490000), BarOutcome::PulledBack);
    EXPECT_FLOAT_EQ(scroller.position(), -240000);

    // Below the bar: 600, then pulled back to home.
    EXPECT_EQ(scroller.moveOnBar(kLeftButton, false, 500600), BarOutcome::Placed);
    EXPECT_FLOAT_EQ(scroller.position(), 600);
    EXPECT_EQ(scroller.moveOnBar(kLeftButton, false, 400000), BarOutcome::PulledBack);
    EXPECT_FLOAT_EQ(scroller.position(), 480);
}

TEST(NavigationBar, GuardsJudgeThePreviousPosition)
{
    Scroller scroller(kMainHome);
    scroller.setPosition(-240353);
    EXPECT_EQ(scroller.moveOnBar(kLeftButton, false, 400000), BarOutcome::PulledBack);
    scroller.setPosition(-240352);
    EXPECT_EQ(scroller.moveOnBar(kLeftButton, false, 400000), BarOutcome::Placed);
    scroller.setPosition(481);
    EXPECT_EQ(scroller.moveOnBar(kLeftButton, false, 400000), BarOutcome::PulledBack);
    scroller.setPosition(480.5f);
    EXPECT_EQ(scroller.moveOnBar(kLeftButton, false, 400000), BarOutcome::Placed);

    Scroller full(kFullHome);
    full.setPosition(4900);
    EXPECT_EQ(full.moveOnBar(kLeftButton, false, 400000), BarOutcome::PulledBack);
    EXPECT_FLOAT_EQ(full.position(), 4800);
    full.setPosition(4800);
    EXPECT_EQ(full.moveOnBar(kLeftButton, false, 400000), BarOutcome::Placed);
}

}  // namespace
