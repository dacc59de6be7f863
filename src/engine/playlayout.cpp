#include "engine/playlayout.h"

namespace velloran::engine {

using K = LayoutStep::Kind;

Layout mainPlayingLayout()
{
    return {
        {"tScroll", K::Enable},      {"Playing", K::SetFlag},     {"tTime", K::Enable},
        {"cPause", K::Show},         {"sSpeed", K::Enable},       {"sFreq", K::Enable},
        {"cFile", K::Disable},       {"Scroll", K::SetWidth, 10455}, {"Tip", K::Hide},
        {"cUp", K::Hide},            {"cDwn", K::Hide},           {"Line16", K::Show},
        {"Line17", K::Show},         {"tHelp", K::SetWidth, 9975}, {"Tex", K::MoveLeftBy, 200},
        {"tHelp", K::WidenBy, 50},
    };
}

Layout mainPausedLayout()
{
    return {
        {"tScroll", K::Disable},     {"Playing", K::ClearFlag},   {"tTime", K::Disable},
        {"cPause", K::Hide},         {"sSpeed", K::Disable},      {"sFreq", K::Disable},
        {"cFile", K::Enable},        {"Scroll", K::SetWidth, 9975}, {"Tip", K::Show},
        {"cUp", K::Show},            {"cDwn", K::Show},           {"Line16", K::Hide},
        {"Line17", K::Hide},         {"tHelp", K::SetWidth, 9495}, {"Tex", K::MoveLeftBy, -200},
        {"tHelp", K::WidenBy, -50},  {"window", K::Repaint},
    };
}

Layout fullPlayingLayout(int windowWidth)
{
    return {
        {"tScroll", K::Enable},   {"Playing", K::SetFlag},  {"cPlay", K::Hide},
        {"cPause", K::Show},      {"sSpeed", K::Enable},    {"sFreq", K::Enable},
        {"Scroll", K::SetWidth, windowWidth},
        {"Tex", K::SetWidth, windowWidth - 120},
        {"Tip", K::Hide},         {"Tex", K::MoveLeftBy, 200},
    };
}

Layout fullPausedLayout(int windowWidth)
{
    return {
        {"tScroll", K::Disable},  {"Playing", K::ClearFlag}, {"cPause", K::Hide},
        {"cPlay", K::Show},       {"sSpeed", K::Disable},    {"sFreq", K::Disable},
        {"Scroll", K::SetWidth, windowWidth - 495},
        {"Tex", K::SetWidth, windowWidth - 495 - 240},
        {"Tip", K::Show},         {"Tex", K::MoveLeftBy, -200},
        {"window", K::Repaint},
    };
}

}  // namespace velloran::engine
