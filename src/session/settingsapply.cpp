#include "session/settingsapply.h"

#include "session/textcodec.h"
#include "session/textlimit.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <functional>
#include <limits>

namespace velloran::session {

namespace {

// More whole digits than this cannot be exact in 64 bits; no sensible counter has them.
constexpr qsizetype kMaxWholeDigits = 18;
// More whole digits than this exceed the largest single-precision value.
constexpr qsizetype kMaxSingleDigits = 39;

// The characters of the number a field holds ("0" for no value), or nothing for other text.
std::optional<QStringView> numberOf(const Field& field)
{
    switch (field.kind) {
    case Field::Kind::None: return QStringView(u"0");
    case Field::Kind::Number: return QStringView(field.text);
    case Field::Kind::Text: break;
    }
    const QStringView trimmed = QStringView(field.text).trimmed();
    if (isDecimalNumber(trimmed))
        return trimmed;
    return std::nullopt;
}

QStringView wholeDigits(QStringView number)  // without sign, fraction or leading zeros
{
    if (number.startsWith(u'-'))
        number = number.sliced(1);
    const qsizetype dot = number.indexOf(u'.');
    if (dot >= 0)
        number = number.first(dot);
    while (!number.isEmpty() && number.front() == u'0')
        number = number.sliced(1);
    return number;
}

// Rounds the decimal text exactly (no detour through binary floating point, so 0.5000001 rounds
// up), halves to the even neighbour, and checks the bounds.
std::optional<qint64> roundedWhole(QStringView number, qint64 low, qint64 high)
{
    const QStringView whole = wholeDigits(number);
    if (whole.size() > kMaxWholeDigits)
        return std::nullopt;
    qint64 value = 0;
    for (const QChar digit : whole)
        value = value * 10 + (digit.unicode() - u'0');

    const qsizetype dot = number.indexOf(u'.');
    if (dot >= 0) {
        const QStringView fraction = number.sliced(dot + 1);
        const int first = fraction.front().unicode() - u'0';
        const QStringView rest = fraction.sliced(1);
        const bool restZero = std::all_of(rest.begin(), rest.end(), [](QChar c) { return c == u'0'; });
        const bool half = first == 5 && restZero;
        if (first > 5 || (first == 5 && !restZero) || (half && value % 2 == 1))
            ++value;
    }
    if (number.startsWith(u'-'))
        value = -value;
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<qint16> toInt16(const Field& field)
{
    const auto number = numberOf(field);
    if (!number)
        return std::nullopt;
    const auto value =
        roundedWhole(*number, std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max());
    if (!value)
        return std::nullopt;
    return static_cast<qint16>(*value);
}

std::optional<qint64> toWhole(const Field& field)
{
    const auto number = numberOf(field);
    if (!number)
        return std::nullopt;
    return roundedWhole(*number, std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max());
}

std::optional<double> toPosition(const Field& field)
{
    const auto number = numberOf(field);
    if (!number || wholeDigits(*number).size() > kMaxSingleDigits)
        return std::nullopt;
    bool ok = false;
    const double value = number->toDouble(&ok);
    if (!ok || !std::isfinite(value) || std::fabs(value) > FLT_MAX)
        return std::nullopt;
    return value + 0.0;  // adding zero turns -0 into 0
}

std::optional<float> toSingle(const Field& field)
{
    const auto value = toPosition(field);
    if (!value)
        return std::nullopt;
    return static_cast<float>(*value) + 0.0f;
}

QString toText(const Field& field)
{
    if (field.kind != Field::Kind::Number)
        return field.text;
    QStringView number(field.text);
    const bool negative = number.startsWith(u'-');
    QStringView fraction;
    if (const qsizetype dot = number.indexOf(u'.'); dot >= 0) {
        fraction = number.sliced(dot + 1);
        while (!fraction.isEmpty() && fraction.back() == u'0')
            fraction.chop(1);
    }
    const QStringView whole = wholeDigits(number);
    QString text;
    if (negative && !(whole.isEmpty() && fraction.isEmpty()))  // no sign on zero
        text += u'-';
    text += whole.isEmpty() ? QStringView(u"0") : whole;
    if (!fraction.isEmpty()) {
        text += u'.';
        text += fraction;
    }
    return text;
}

int applyFields(const std::array<Field, 8>& fields, SettingsTarget& target, qint64 maxScriptCharacters)
{
    const std::array<std::function<bool()>, 8> steps = {
        [&] {
            const auto v = toInt16(fields[0]);
            return v && target.applySpeed(*v);
        },
        [&] {
            const auto v = toInt16(fields[1]);
            return v && target.applyFrequency(*v);
        },
        [&] {
            const auto v = toSingle(fields[2]);
            return v && target.applyFontSize(*v);
        },
        [&] {
            const auto v = toPosition(fields[3]);
            return v && target.applyExactPosition(*v);
        },
        [&] { return target.applyBackupPath(toText(fields[4])); },
        // Minutes that are not a number (a hand-edited file) restart the clock rather than cost
        // the seconds and the whole script that follow them.
        [&] { return target.applyMinutes(std::max<qint64>(toWhole(fields[5]).value_or(0), 0)); },
        [&] {
            const auto v = toInt16(fields[6]);
            return v && target.applySeconds(std::clamp<qint16>(*v, 0, 59));
        },
        [&] {
            const QString script = toText(fields[7]);
            return scriptCharacters(script) <= maxScriptCharacters &&
                   target.applyScript(withLineBreaks(script, u"\n"));
        },
    };
    int applied = 0;
    while (applied < 8 && steps[applied]())
        ++applied;
    return applied;
}

}  // namespace velloran::session
