#include <gtest/gtest.h>

#include "engine/scroller.h"

#include <cmath>
#include <functional>

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

TEST(Scroller, StepBackStopsAtHome)
{
    struct Case {
        double before, twips, after;
    };
    for (const Case c : {Case {-3000, 805.5, -2194.5}, Case {4000, 805.5, 4800}, Case {4800, 805.5, 4800},
                         Case {4900, 805.5, 4900}, Case {-240100, 600, -239500}}) {
        Scroller scroller(kFullHome);
        scroller.setPosition(c.before);
        EXPECT_EQ(scroller.stepBack(c.twips), c.before < kFullHome) << c.before;
        EXPECT_DOUBLE_EQ(scroller.position(), c.after) << c.before;
    }
}

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

// The whole-script range: the classic distances kept from a wrap limit that follows the script.
struct RangeCase {
    double lastLineGone;
    double wrap;
};

class WholeScriptRangeTest : public ::testing::TestWithParam<RangeCase> { };

TEST_P(WholeScriptRangeTest, KeepsTheClassicDistancesFromTheWrapLimit)
{
    const RangeCase& c = GetParam();
    const ScrollRange range = wholeScriptRange(c.lastLineGone);
    EXPECT_EQ(range.wrapLimit, c.wrap);
    EXPECT_EQ(range.warningThreshold, c.wrap + 10000);
    EXPECT_EQ(range.upNudgeLimit, c.wrap - 400);
    EXPECT_EQ(range.barLowerGuard, c.wrap - 353);
    EXPECT_EQ(range.barScale, -c.wrap);
}

INSTANTIATE_TEST_SUITE_P(Lengths, WholeScriptRangeTest,
                         ::testing::Values(RangeCase {1000, -240000},       // a short script keeps the floor
                                           RangeCase {-239999.5, -240000},  // just above it: still the floor
                                           RangeCase {-240000, -240000},    // exactly at it
                                           RangeCase {-240000.5, -240001},  // rounded down to a whole twip
                                           RangeCase {-1234567.25, -1234568},
                                           RangeCase {-123456789, -123456789}));  // a 10 MB script

TEST(WholeScriptRange, ClassicRangeIsTheDefault)
{
    const ScrollRange classic;
    EXPECT_EQ(classic.wrapLimit, -240000);
    EXPECT_EQ(classic.warningThreshold, -230000);
    EXPECT_EQ(classic.upNudgeLimit, -240400);
    EXPECT_EQ(classic.barLowerGuard, -240353);
    EXPECT_EQ(classic.barScale, 500000);
    EXPECT_EQ(Scroller(kMainHome).range(), classic);
}

// An exact scroller on a range that ends at -1000000: every rule judges against the new limits.
struct WholeCase {
    const char* what;
    double before;
    std::function<bool(Scroller&)> act;
    double after;
    bool warning;
};

TEST(WholeScriptScroller, RulesFollowTheRange)
{
    const WholeCase cases[] = {
        {"tick past the classic limit", -240000,
         [](Scroller& s) {
             s.tick(10);
             return true;
         },
         -240010, false},
        {"tick at the new limit wraps", -1000000,
         [](Scroller& s) {
             s.tick(10);
             return true;
         },
         470, false},
        {"tick just above it steps past", -999995,
         [](Scroller& s) {
             s.tick(10);
             return true;
         },
         -1000005, true},
        {"warning starts 10000 before", -990000,
         [](Scroller& s) {
             s.tick(0);
             return true;
         },
         -990000, false},
        {"and is strictly below", -990001,
         [](Scroller& s) {
             s.tick(0);
             return true;
         },
         -990001, true},
        {"nudge up at its limit", -1000400, [](Scroller& s) { return !s.nudgeUp(); }, -1000400, true},
        {"nudge up above it", -1000399, [](Scroller& s) { return s.nudgeUp(); }, -1000599, true},
        {"bar top reaches the end", -5000,
         [](Scroller& s) { return s.moveOnBar(kLeftButton, false, 0) == BarOutcome::Placed; }, -1000000,
         true},
        {"bar bottom reaches the start", -5000,
         [](Scroller& s) { return s.moveOnBar(kLeftButton, false, 1000000) == BarOutcome::Placed; }, 0,
         false},
        {"bar keeps a fraction", -5000,
         [](Scroller& s) { return s.moveOnBar(kLeftButton, false, 0.25) == BarOutcome::Placed; }, -999999.75,
         true},
        {"bar guard below the limit", -1000353,
         [](Scroller& s) { return s.moveOnBar(kLeftButton, false, 500000) == BarOutcome::PulledBack; },
         -1000000, true},
        {"bar guard just above it", -1000352,
         [](Scroller& s) { return s.moveOnBar(kLeftButton, false, 500000) == BarOutcome::Placed; }, -500000,
         false},
    };
    for (const WholeCase& c : cases) {
        Scroller scroller(kMainHome);
        scroller.setExact(true);
        scroller.setRange(wholeScriptRange(-1000000));
        scroller.setPosition(c.before);
        EXPECT_TRUE(c.act(scroller)) << c.what;
        EXPECT_EQ(scroller.position(), c.after) << c.what;
        EXPECT_EQ(scroller.warning(), c.warning) << c.what;
    }
}

TEST(WholeScriptScroller, StepsStayExactAtTheFarEndOfALongScript)
{
    // Beyond 100 million twips, where single precision holds only every eighth twip.
    Scroller scroller(kMainHome);
    scroller.setExact(true);
    scroller.setRange(wholeScriptRange(-130000000));
    scroller.setPosition(-123456789);
    for (int i = 1; i <= 1000; ++i) {
        scroller.tick(2);
        ASSERT_EQ(scroller.position(), -123456789.0 - 2.0 * i);
    }
    EXPECT_EQ(scroller.readout(), "Scroller Position : 123458789");
    EXPECT_TRUE(scroller.nudgeUp());
    EXPECT_EQ(scroller.position(), -123458989);

    // The same step in single precision does not move at all there.
    Scroller classic(kMainHome);
    classic.setRange(wholeScriptRange(-130000000));
    classic.setPosition(-123456792);
    classic.tick(2);
    EXPECT_EQ(classic.position(), -123456792);
}

TEST(WholeScriptScroller, TurningExactnessOffRoundsAndTheClassicRangeWrapsNextTick)
{
    Scroller scroller(kMainHome);
    scroller.setExact(true);
    scroller.setRange(wholeScriptRange(-200000000));
    scroller.setPosition(-123456789);
    scroller.setExact(false);
    scroller.setRange({});
    EXPECT_EQ(scroller.position(), static_cast<double>(-123456789.0f));
    EXPECT_EQ(scroller.readout(), "Scroller Position : 123456800");
    scroller.tick(10);
    EXPECT_EQ(scroller.position(), 470);
}

// Single-precision reference of the classic rules, as they were written before positions became
// doubles: the classic scroller must give the same value for every edge and fractional place.
float referenceTick(float position, std::int16_t frequency)
{
    if (position <= kWrapLimit)
        position = kMainHome;
    return static_cast<float>(position - frequency);
}

TEST(Scroller, ClassicArithmeticMatchesSinglePrecisionEverywhere)
{
    const float places[] = {480,     479.5f,      0,           -0.1f,     -123456.79f,  -229999.99f,
                            -230000, -230000.01f, -239999.9f,  -240000,   -240000.02f,  -240352.99f,
                            -240353, -240400,     -8388607.5f, -16777215, -16777217.0f, -99999999.0f,
                            1.0e-7f, -1234.5678f};
    const std::int16_t frequencies[] = {1, 2, 10, 999, 1000};
    const float pointers[] = {0, 0.3f, 259646.99f, 375000.1f, 499999.97f, 500600.4f, 1234.5678f};
    for (const float place : places) {
        for (const std::int16_t frequency : frequencies) {
            Scroller scroller(kMainHome);
            scroller.setPosition(place);
            scroller.tick(frequency);
            ASSERT_EQ(scroller.position(), referenceTick(place, frequency)) << place << " " << frequency;
            EXPECT_EQ(scroller.readout(),
                      "Scroller Position : " + formatGeneral(-referenceTick(place, frequency)));
        }
        for (const float pointer : pointers) {
            Scroller scroller(kMainHome);
            scroller.setPosition(-1000);
            scroller.moveOnBar(kLeftButton, false, static_cast<double>(pointer) + 1.0e-9);
            EXPECT_EQ(scroller.position(), static_cast<float>(pointer - kSurfaceHeight)) << pointer;
        }
        Scroller up(kMainHome);
        up.setPosition(place);
        if (up.nudgeUp()) {
            EXPECT_EQ(up.position(), place - kNudgeStep) << place;
        }
        EXPECT_EQ(formatPosition(place, false), formatGeneral(place));
        if (std::fabs(place) < 1.0e6f) {
            EXPECT_EQ(formatPosition(place, true), formatGeneral(place)) << place;
        }
    }
}

}  // namespace
