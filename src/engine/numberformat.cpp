#include "engine/numberformat.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace velloran::engine {

std::string formatGeneral(float value)
{
    if (!std::isfinite(value))
        return "0";
    if (value == 0.0f)
        return "0";  // also for -0, which must not read "-0"

    // Seven significant digits in scientific form give the digits and the exponent exactly.
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6e", static_cast<double>(value));
    std::string text(buffer);
    const bool negative = text.front() == '-';
    if (negative)
        text.erase(0, 1);
    const auto ePos = text.find('e');
    const int exponent = std::atoi(text.c_str() + ePos + 1);
    std::string digits;
    for (std::size_t i = 0; i < ePos; ++i)
        if (text[i] != '.')
            digits += text[i];
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string result;
    const int pointAfter = exponent + 1;  // digits before the decimal point
    if (pointAfter <= 0) {
        result = "0." + std::string(static_cast<std::size_t>(-pointAfter), '0') + digits;
    } else if (static_cast<std::size_t>(pointAfter) >= digits.size()) {
        result = digits + std::string(static_cast<std::size_t>(pointAfter) - digits.size(), '0');
    } else {
        result = digits.substr(0, static_cast<std::size_t>(pointAfter)) + "." +
                 digits.substr(static_cast<std::size_t>(pointAfter));
    }
    return negative ? "-" + result : result;
}

std::string formatPosition(double value, bool exact)
{
    constexpr double kSevenDigitsWhole = 1e6;
    if (!exact || !std::isfinite(value) || std::fabs(value) < kSevenDigitsWhole)
        return formatGeneral(static_cast<float>(value));
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    std::string text(buffer);
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.')
        text.pop_back();
    return text;
}

double roundHalfEven(double value)
{
    return std::nearbyint(value);  // the default rounding mode rounds halves to even
}

std::int64_t wholeHalfEven(float value)
{
    return static_cast<std::int64_t>(roundHalfEven(static_cast<double>(value)));
}

}  // namespace velloran::engine
