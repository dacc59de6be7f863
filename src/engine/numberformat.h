#pragma once

#include <cstdint>
#include <string>

namespace velloran::engine {

// A single-precision value as the program writes it everywhere: at most seven significant digits
// (the nearest such value), plain decimal notation without exponent or thousands separator, a full
// stop before any fraction, trailing fraction zeros dropped, "-" for negative values, "0" for zero.
std::string formatGeneral(float value);

// A scroll position as written in readouts and saved. Not exact: formatGeneral of the value in
// single precision. Exact: the same below a million twips (the classic range reads and saves as
// before), beyond it every whole twip and up to two decimals, still plain decimal.
std::string formatPosition(double value, bool exact);

// Rounds to the nearest whole number, an exact half going to the even neighbour.
double roundHalfEven(double value);

// Font size or other single value as a whole number for tooltips (halves to even).
std::int64_t wholeHalfEven(float value);

}  // namespace velloran::engine
