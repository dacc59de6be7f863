#include "engine/playlayout.h"

#include <array>

namespace velloran::engine {

using K = LayoutStep::Kind;
using C = LayoutControl;

std::string_view controlName(LayoutControl control)
{
    static constexpr std::array<std::string_view, kLayoutControlCount> kNames = {
        "tScroll", "tTime", "Playing", "cPlay", "cPause", "sSpeed", "sFreq", "cFile",  "Scroll",
        "Tex",     "Tip",   "cUp",     "cDwn",  "Line16", "Line17", "tHelp", "window",
    };
    return kNames[static_cast<std::size_t>(control)];
}

Layout mainPlayingLayout()
{
    return {
        {C::tScroll, K::Enable},
        {C::Playing, K::SetFlag},
        {C::tTime, K::Enable},
        {C::cPause, K::Show},
        {C::sSpeed, K::Enable},
        {C::sFreq, K::Enable},
        {C::cFile, K::Disable},
        {C::Scroll, K::SetWidth, 10455},
        {C::Tip, K::Hide},
        {C::cUp, K::Hide},
        {C::cDwn, K::Hide},
        {C::Line16, K::Show},
        {C::Line17, K::Show},
        {C::tHelp, K::SetWidth, 9975},
        {C::Tex, K::MoveRightBy, 200},
        {C::tHelp, K::WidenBy, 50},
    };
}

Layout mainPausedLayout()
{
    return {
        {C::tScroll, K::Disable},
        {C::Playing, K::ClearFlag},
        {C::tTime, K::Disable},
        {C::cPause, K::Hide},
        {C::sSpeed, K::Disable},
        {C::sFreq, K::Disable},
        {C::cFile, K::Enable},
        {C::Scroll, K::SetWidth, 9975},
        {C::Tip, K::Show},
        {C::cUp, K::Show},
        {C::cDwn, K::Show},
        {C::Line16, K::Hide},
        {C::Line17, K::Hide},
        {C::tHelp, K::SetWidth, 9495},
        {C::Tex, K::MoveRightBy, -200},
        {C::tHelp, K::WidenBy, -50},
        {C::window, K::Repaint},
    };
}

Layout fullPlayingLayout(int windowWidth)
{
    return {
        {C::tScroll, K::Enable},
        {C::Playing, K::SetFlag},
        {C::cPlay, K::Hide},
        {C::cPause, K::Show},
        {C::sSpeed, K::Enable},
        {C::sFreq, K::Enable},
        {C::Scroll, K::SetWidth, windowWidth},
        {C::Tex, K::SetWidth, windowWidth - 120},
        {C::Tip, K::Hide},
        {C::Tex, K::MoveRightBy, 200},
    };
}

Layout fullPausedLayout(int windowWidth)
{
    return {
        {C::tScroll, K::Disable},
        {C::Playing, K::ClearFlag},
        {C::cPause, K::Hide},
        {C::cPlay, K::Show},
        {C::sSpeed, K::Disable},
        {C::sFreq, K::Disable},
        {C::Scroll, K::SetWidth, windowWidth - 495},
        {C::Tex, K::SetWidth, windowWidth - 495 - 240},
        {C::Tip, K::Show},
        {C::Tex, K::MoveRightBy, -200},
        {C::window, K::Repaint},
    };
}

}  // namespace velloran::engine
