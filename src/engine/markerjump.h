#pragma once

#include <cstddef>
#include <limits>
#include <optional>
#include <vector>

namespace velloran::engine {

// Where the marker keys take the reading height. Every value is a depth (see ReadingFrame), the
// places measured by the window's layout; no place is an empty result and the script stays.
struct MarkerStops {
    std::vector<double> places;  // the top of each marker line, in script order
    double lineHeight = 0;       // of one script line; the reading height counts as at a marker
                                 // within half of it
    // Places at or beyond this cannot be reached (the scroll would wrap there first).
    double deepest = std::numeric_limits<double>::infinity();
};

std::optional<double> nextStop(const MarkerStops& stops, double reading);
// The start of the current section when more than a line past it, otherwise the marker before.
std::optional<double> previousStop(const MarkerStops& stops, double reading);
std::optional<double> nthStop(const MarkerStops& stops, std::size_t n);  // n from 1

}  // namespace velloran::engine
