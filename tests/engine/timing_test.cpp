#include <gtest/gtest.h>

#include "engine/countdown.h"
#include "engine/markerjump.h"
#include "engine/readingframe.h"
#include "engine/scroller.h"
#include "engine/timeleft.h"

using namespace velloran::engine;

namespace {
// The main window: script area from 495 to 5280, the script's first line 2760 down the surface,
// so the reading height is at 2090 and the first line stands there at position -670.
const ReadingFrame kMain = readingFrame(495, 5280, 2760);
}  // namespace

TEST(TimeLeft, FromPacePositionFontAndLength)
{
    struct Row {
        std::int16_t speed, frequency;
        double lineHeight;  // the font, as a distance
        int lines;
        double position;
        bool classicRange;  // the whole-script option off: the time stops at the wrap
        const char* expected;
    };
    const Row kRows[] = {
        {100, 10, 600, 101, kMainHome, true, "10:12"},      // 61150 twips at 100 a second
        {100, 10, 900, 101, kMainHome, true, "15:12"},      // a larger font
        {100, 10, 600, 101, -30000, true, "5:07"},          // further on
        {110, 10, 600, 101, kMainHome, false, "11:13"},     // one click slower
        {100, 10, 600, 1001, kMainHome, true, "40:05+"},    // longer than the wrap
        {100, 10, 600, 1001, kMainHome, false, "1:40:12"},  // the whole script reachable
        {2000, 2, 600, 101, kMainHome, true, "16:59:10"},   // slowest pace
        {10, 1000, 600, 101, kMainHome, true, "0:01"},      // fastest pace
        {2000, 1000, 830, 2, 0, true, "0:04"},              // 1500 twips: the second tick gets there
        {100, 10, 600, 1, -670, true, "0:00"},              // the last line at the reading height
        {100, 10, 600, 1, -5000, true, "0:00"},             // and past it
        {100, 10, 600, 1001, -240100, true, "0:00+"},       // past the wrap limit
        {100, 0, 600, 101, kMainHome, true, "-:--"},        // a pace that never moves
    };
    for (const Row& row : kRows) {
        const double distance = (row.lines - 1) * row.lineHeight - kMain.depthAt(row.position);
        const auto wrap = row.classicRange ? std::optional<double>(row.position - kWrapLimit) : std::nullopt;
        EXPECT_EQ(timeLeftReadout(timeLeft(distance, Pace {row.speed, row.frequency}, wrap)), row.expected)
            << "row " << (&row - kRows);
    }
}

TEST(MarkerStops, NextPreviousAndNth)
{
    enum Op { Next, Previous, Nth };
    struct Row {
        std::vector<double> places;
        double deepest;
        Op op;
        double reading;  // or n
        std::optional<double> expected;
    };
    const std::vector<double> three {1000, 5000, 9000};
    const double open = std::numeric_limits<double>::infinity();
    const Row kRows[] = {
        {{}, open, Next, 0, {}},
        {{}, open, Previous, 0, {}},
        {{}, open, Nth, 1, {}},
        {{0}, open, Next, kMain.depthAt(kMainHome), 0},  // from home to a marker on the first line
        {{0}, open, Previous, 2000, 0},                  // back to the start of its section
        {three, open, Next, 699, 1000},
        {three, open, Next, 700, 5000},     // within half a line the reading height is at the marker
        {three, open, Next, 9000, {}},      // at the last
        {three, open, Next, 20000, {}},     // after the last
        {three, open, Previous, 500, {}},   // before the first
        {three, open, Previous, 1000, {}},  // at the first
        {three, open, Previous, 5000, 1000},
        {three, open, Previous, 5600, 1000},  // one line into the section is still at its start
        {three, open, Previous, 5601, 5000},
        {three, open, Previous, 30000, 9000},  // after the last
        {three, open, Nth, 0, {}},
        {three, open, Nth, 1, 1000},
        {three, open, Nth, 3, 9000},
        {three, open, Nth, 4, {}},
        {three, 9000, Next, 5000, {}},  // a marker on a line the scroll cannot reach
        {three, 9000, Nth, 3, {}},
    };
    for (const Row& row : kRows) {
        const MarkerStops stops {row.places, 600, row.deepest};
        const std::optional<double> target = row.op == Next       ? nextStop(stops, row.reading)
                                             : row.op == Previous ? previousStop(stops, row.reading)
                                                                  : nthStop(stops, std::size_t(row.reading));
        EXPECT_EQ(target, row.expected) << "row " << (&row - kRows);
    }
    EXPECT_DOUBLE_EQ(kMain.positionFor(5000), -5670);  // where the window goes for a target
}

TEST(Countdown, ReadsWholeSecondsFromZeroToTen)
{
    const std::pair<const char*, int> kTaken[] = {{"", 0}, {"0", 0}, {"3", 3}, {" 10\t", 10}};
    for (const auto& [text, seconds] : kTaken) {
        const CountdownSetting setting = readCountdown(text);
        EXPECT_EQ(setting.seconds, seconds) << text;
        EXPECT_EQ(setting.problem, "") << text;
    }
    for (const char* text : {"11", "-1", "2.5", "three", "3s", "99999999999"}) {
        const CountdownSetting setting = readCountdown(text);
        EXPECT_EQ(setting.seconds, 0) << text;
        EXPECT_NE(setting.problem.find(std::string("\"") + text + "\""), std::string::npos)
            << setting.problem;
    }
}

TEST(Countdown, CountsThenStartsAndAnyRequestCancels)
{
    enum Step { Toggle, ToggleWhilePlaying, Second, Set };
    struct Row {
        Step step;
        int value;     // for Set
        int expected;  // the request, or whether the scroll starts now
        int shown;
    };
    const int begin = int(PlayRequest::BeginCount);
    const Row kSteps[] = {
        {Toggle, 0, int(PlayRequest::Play), 0},  // no countdown: starts at once
        {Set, 3, 0, 0},
        {ToggleWhilePlaying, 0, int(PlayRequest::Pause), 0},
        {Toggle, 0, begin, 3},
        {Set, 1, 0, 3},  // a new value waits for the next start
        {Second, 0, false, 2},
        {Second, 0, false, 1},
        {Second, 0, true, 0},   // the scroll starts after the 1 was shown for a second
        {Second, 0, false, 0},  // a late second does nothing
        {Set, 42, 0, 0},
        {Toggle, 0, begin, 10},
        {Second, 0, false, 9},
        {Toggle, 0, int(PlayRequest::CancelCount), 0},  // PAUSE or Alt+P during the count
        {Second, 0, false, 0},
        {Set, -5, 0, 0},
        {Toggle, 0, int(PlayRequest::Play), 0},
    };
    Countdown countdown;
    for (const Row& row : kSteps) {
        int result = 0;
        switch (row.step) {
        case Toggle: result = int(countdown.toggle(false)); break;
        case ToggleWhilePlaying: result = int(countdown.toggle(true)); break;
        case Second: result = countdown.secondPassed(); break;
        case Set: countdown.setSeconds(row.value); break;
        }
        EXPECT_EQ(result, row.expected) << "step " << (&row - kSteps);
        EXPECT_EQ(countdown.shown(), row.shown) << "step " << (&row - kSteps);
        EXPECT_EQ(countdown.counting(), row.shown > 0);
    }
}
