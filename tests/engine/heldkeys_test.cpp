#include <gtest/gtest.h>

#include "engine/heldkeys.h"

#include <sstream>
#include <string>

using namespace velloran::engine;

namespace {

// Events of one key as "P@t" (press), "R@t" (release), lower case when flagged as a repeat; the
// expected answer is one letter per press: N for a new press, r for a repeat.
struct HeldCase {
    const char* name;
    const char* events;
    const char* expected;
};

class HeldKeysTest : public ::testing::TestWithParam<HeldCase> { };

TEST_P(HeldKeysTest, CountsAHeldKeyOnce)
{
    HeldKeys keys;
    std::istringstream events(GetParam().events);
    std::string event;
    std::string answers;
    while (events >> event) {
        const char kind = event[0];
        const auto time = std::stoull(event.substr(2));
        const bool flagged = kind == 'p' || kind == 'r';
        if (kind == 'P' || kind == 'p')
            answers += keys.press(1, flagged, time) ? 'N' : 'r';
        else
            keys.release(1, flagged, time);
    }
    EXPECT_EQ(answers, GetParam().expected) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, HeldKeysTest,
    ::testing::Values(
        HeldCase {"flagged repeats", "P@100 p@760 p@800 p@840 R@850", "Nrrr"},
        HeldCase {"flagged release and press pairs", "P@100 r@760 p@760 r@800 p@800 R@830", "Nrr"},
        // X11 when the pair is read in two pieces: nothing flagged, one time for both.
        HeldCase {"unflagged pairs", "P@100 R@760 P@760 r@800 p@800 R@840 P@840 R@900", "Nrrr"},
        HeldCase {"presses without releases", "P@100 P@760 P@800 R@900", "Nrr"},
        HeldCase {"two quick taps", "P@100 R@180 P@260 R@330", "NN"},
        HeldCase {"a tap just over the pair gap", "P@100 R@180 P@191", "NN"},
        HeldCase {"lost release, pressed again later", "P@100 P@1200", "NN"},
        HeldCase {"release, then a held press", "P@100 R@200 P@5000 p@5660 R@5700 P@6000", "NNrN"},
        // Without times only the flag and the release are left to go by.
        HeldCase {"no clock, taps", "P@0 R@0 P@0 R@0", "NN"},
        HeldCase {"no clock, held", "P@0 p@0 P@0 R@0 P@0", "NrrN"}));

TEST(HeldKeys, KeysAreApart)
{
    HeldKeys keys;
    EXPECT_TRUE(keys.press(1, false, 100));
    EXPECT_TRUE(keys.press(2, false, 110));  // another key held meanwhile is its own press
    keys.release(1, false, 200);
    EXPECT_FALSE(keys.press(2, false, 200));  // still held: a repeat, though key 1 was just let go
}

}  // namespace
