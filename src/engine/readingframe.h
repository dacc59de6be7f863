#pragma once

namespace velloran::engine {

// The reader looks at one height, a third of the way down the script area. A marker jump and the
// time left both work in depths: twips below the top of the script's first line. This relates
// the depth seen at that height to the window's scroll position.
struct ReadingFrame {
    double readingHeight = 0;  // twips below the top of the window
    double textTop = 0;        // the script's first line, twips below the top of the surface

    double depthAt(double position) const { return readingHeight - position - textTop; }
    double positionFor(double depth) const { return readingHeight - textTop - depth; }
};

inline ReadingFrame readingFrame(double areaTop, double areaBottom, double textTop)
{
    return {areaTop + (areaBottom - areaTop) / 3, textTop};
}

}  // namespace velloran::engine
