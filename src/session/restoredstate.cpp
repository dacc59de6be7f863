#include "session/restoredstate.h"

#include <algorithm>

#include "engine/pace.h"
#include "session/textlimit.h"

namespace velloran::session {

namespace {

constexpr float kSmallestFontAccepted = 1.0f;
constexpr float kLargestFontAccepted = 400.0f;
constexpr float kFarthestPosition = 2.0e9f;  // beyond this a Top is nonsense, not a place

bool inRange(qint16 value, const engine::SpinnerRange& range)
{
    return value >= range.minimum && value <= range.maximum;
}

}  // namespace

bool RestoredState::applySpeed(qint16 value)
{
    if (!inRange(value, engine::kSpeedRange))
        return false;
    if (!checkOnly())
        record.speed = value;
    return true;
}

bool RestoredState::applyFrequency(qint16 value)
{
    if (!inRange(value, engine::kFrequencyRange))
        return false;
    if (!checkOnly())
        record.frequency = value;
    return true;
}

bool RestoredState::applyFontSize(float size)
{
    if (!(size >= kSmallestFontAccepted && size <= kLargestFontAccepted))
        return false;
    if (!checkOnly())
        record.fontSize = size;
    return true;
}

bool RestoredState::applyPosition(float position)
{
    return applyExactPosition(position);
}

bool RestoredState::applyExactPosition(double position)
{
    const auto single = static_cast<float>(position);
    if (!(single > -kFarthestPosition && single < kFarthestPosition))
        return false;
    if (!checkOnly())
        record.position = position;
    return true;
}

bool RestoredState::applyBackupPath(const QString& path)
{
    if (path.size() > kMaxPathCharacters)
        return false;
    if (!checkOnly())
        record.backupPath = path;
    return true;
}

bool RestoredState::applyMinutes(qint64 minutes)
{
    if (!checkOnly())
        record.minutes = std::max<qint64>(0, minutes);
    return true;
}

bool RestoredState::applySeconds(qint16 seconds)
{
    // A hand-edited value is brought into range rather than shown as it stands.
    if (!checkOnly())
        record.seconds = static_cast<qint16>(seconds < 0 ? 0 : seconds % 60);
    return true;
}

bool RestoredState::applyScript(const QString& script)
{
    if (!checkOnly())
        record.script = script;
    return true;
}

}  // namespace velloran::session
