#include <gtest/gtest.h>

#include <map>
#include <string>

#include "engine/playlayout.h"

using namespace velloran::engine;
using K = LayoutStep::Kind;
using C = LayoutControl;

namespace {

// A model of the controls the layouts touch, to see where two toggles leave them.
struct Controls {
    std::map<std::string, bool> shown, enabled;
    std::map<std::string, int> width, left;
    bool playing = false;

    void apply(const Layout& layout)
    {
        for (const LayoutStep& s : layout) {
            const std::string name(controlName(s.control));
            switch (s.kind) {
            case K::Enable: enabled[name] = true; break;
            case K::Disable: enabled[name] = false; break;
            case K::Show: shown[name] = true; break;
            case K::Hide: shown[name] = false; break;
            case K::SetWidth: width[name] = s.value; break;
            case K::WidenBy: width[name] += s.value; break;
            case K::MoveRightBy: left[name] += s.value; break;
            case K::SetFlag: playing = true; break;
            case K::ClearFlag: playing = false; break;
            case K::Repaint: break;
            }
        }
    }
};

}  // namespace

TEST(PlayLayout, MainWindowOrderStartsWithTheTimerAndEndsWithRepaint)
{
    const Layout playing = mainPlayingLayout();
    ASSERT_EQ(playing.size(), 16u);
    EXPECT_EQ(playing[0], (LayoutStep {C::tScroll, K::Enable}));
    EXPECT_EQ(playing[1], (LayoutStep {C::Playing, K::SetFlag}));
    EXPECT_EQ(playing[2], (LayoutStep {C::tTime, K::Enable}));
    EXPECT_EQ(playing[13], (LayoutStep {C::tHelp, K::SetWidth, 9975}));
    EXPECT_EQ(playing[15], (LayoutStep {C::tHelp, K::WidenBy, 50}));

    const Layout paused = mainPausedLayout();
    ASSERT_EQ(paused.size(), 17u);
    EXPECT_EQ(paused[0], (LayoutStep {C::tScroll, K::Disable}));
    EXPECT_EQ(paused[16], (LayoutStep {C::window, K::Repaint}));
}

TEST(PlayLayout, MainWindowOneAndTwoToggles)
{
    Controls c;
    c.width["tHelp"] = 9735;
    c.width["Scroll"] = 9975;
    c.left["Tex"] = 120;
    c.apply(mainPlayingLayout());
    EXPECT_TRUE(c.playing);
    EXPECT_TRUE(c.enabled["tScroll"] && c.enabled["tTime"] && c.enabled["sSpeed"] && c.enabled["sFreq"]);
    EXPECT_FALSE(c.enabled["cFile"]);
    EXPECT_TRUE(c.shown["cPause"] && c.shown["Line16"] && c.shown["Line17"]);
    EXPECT_FALSE(c.shown["Tip"] || c.shown["cUp"] || c.shown["cDwn"]);
    EXPECT_EQ(c.width["Scroll"], 10455);
    EXPECT_EQ(c.width["tHelp"], 10025);
    EXPECT_EQ(c.left["Tex"], 320);

    c.apply(mainPausedLayout());
    EXPECT_FALSE(c.playing);
    EXPECT_FALSE(c.enabled["tScroll"] || c.enabled["tTime"] || c.enabled["sSpeed"] || c.enabled["sFreq"]);
    EXPECT_TRUE(c.enabled["cFile"]);
    EXPECT_FALSE(c.shown["cPause"] || c.shown["Line16"] || c.shown["Line17"]);
    EXPECT_TRUE(c.shown["Tip"] && c.shown["cUp"] && c.shown["cDwn"]);
    EXPECT_EQ(c.width["Scroll"], 9975);
    EXPECT_EQ(c.width["tHelp"], 9445);
    EXPECT_EQ(c.left["Tex"], 120);
}

// Every layout control has its own name, the name its window gives the control.
TEST(PlayLayout, EachControlHasItsOwnName)
{
    std::map<std::string, int> seen;
    for (std::size_t i = 0; i < kLayoutControlCount; ++i)
        ++seen[std::string(controlName(static_cast<LayoutControl>(i)))];
    EXPECT_EQ(seen.size(), kLayoutControlCount);
    EXPECT_EQ(controlName(C::cPause), "cPause");
    EXPECT_EQ(controlName(C::window), "window");
}

TEST(PlayLayout, FullScreenWidthsFollowTheScreen)
{
    Controls c;
    c.left["Tex"] = 0;
    c.apply(fullPlayingLayout(28800));
    EXPECT_EQ(c.width["Scroll"], 28800);
    EXPECT_EQ(c.width["Tex"], 28680);
    EXPECT_EQ(c.left["Tex"], 200);
    EXPECT_FALSE(c.shown["Tip"] || c.shown["cPlay"]);
    c.apply(fullPausedLayout(28800));
    EXPECT_EQ(c.width["Scroll"], 28305);
    EXPECT_EQ(c.width["Tex"], 28065);
    EXPECT_EQ(c.left["Tex"], 0);
    EXPECT_TRUE(c.shown["Tip"] && c.shown["cPlay"]);
}
