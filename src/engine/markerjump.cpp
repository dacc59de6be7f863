#include "engine/markerjump.h"

#include <algorithm>

namespace velloran::engine {

namespace {

std::optional<double> reachable(const MarkerStops& stops, std::vector<double>::const_iterator place)
{
    if (place == stops.places.end() || *place >= stops.deepest)
        return std::nullopt;
    return *place;
}

}  // namespace

std::optional<double> nextStop(const MarkerStops& stops, double reading)
{
    return reachable(
        stops, std::upper_bound(stops.places.begin(), stops.places.end(), reading + stops.lineHeight / 2));
}

std::optional<double> previousStop(const MarkerStops& stops, double reading)
{
    auto current = std::upper_bound(stops.places.begin(), stops.places.end(), reading + stops.lineHeight / 2);
    if (current == stops.places.begin())
        return std::nullopt;
    --current;
    if (reading - *current > stops.lineHeight)
        return reachable(stops, current);
    if (current == stops.places.begin())
        return std::nullopt;
    return reachable(stops, current - 1);
}

std::optional<double> nthStop(const MarkerStops& stops, std::size_t n)
{
    if (n == 0 || n > stops.places.size())
        return std::nullopt;
    return reachable(stops, stops.places.begin() + static_cast<std::ptrdiff_t>(n - 1));
}

}  // namespace velloran::engine
