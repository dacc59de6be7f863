#pragma once

#include <QString>
#include <QtGlobal>

#include <array>
#include <limits>
#include <optional>

#include "session/settingsrecord.h"

namespace velloran::session {

// Conversions of a field; no value converts to 0 (or empty text). Numbers and numeric text are
// rounded to the nearest whole number, halves to the even neighbour.
std::optional<qint16> toInt16(const Field& field);
std::optional<float> toSingle(const Field& field);
// Accepts what toSingle accepts, keeping the value in double precision: a far position written
// by the whole-script option comes back whole.
std::optional<double> toPosition(const Field& field);
std::optional<qint64> toWhole(const Field& field);  // fails on other text and beyond 18 digits
// A number gives its decimal text, exactly: no leading zeros, no trailing zeros of a fraction
// and no bare point, "0.5" for ".5", "0" for "-0".
QString toText(const Field& field);

// Receives the restored values in file order; each returns false when its control rejects the value.
class SettingsTarget {
public:
    virtual ~SettingsTarget() = default;
    virtual bool applySpeed(qint16) = 0;
    virtual bool applyFrequency(qint16) = 0;
    virtual bool applyFontSize(float) = 0;
    virtual bool applyPosition(float) = 0;
    // The position in double precision, as a file saved with the whole-script option holds it; by
    // default taken in single precision.
    virtual bool applyExactPosition(double position) { return applyPosition(static_cast<float>(position)); }
    virtual bool applyBackupPath(const QString&) = 0;
    virtual bool applyMinutes(qint64) = 0;
    virtual bool applySeconds(qint16) = 0;
    virtual bool applyScript(const QString&) = 0;  // line breaks as "\n"

    // While set, the apply functions only tell whether they would take the value; nothing changes.
    void setCheckOnly(bool on) { m_checkOnly = on; }
    bool checkOnly() const { return m_checkOnly; }

private:
    bool m_checkOnly = false;
};

// Converts and applies the fields in order, stopping at the first that fails to convert or is
// rejected; returns how many were applied (8 = all). The clock counters from a hand-edited file
// are brought into range here: minutes below 0 become 0, seconds are clamped to 0..59. A script of
// more characters than given (counted as scriptCharacters counts them) fails.
int applyFields(const std::array<Field, 8>& fields, SettingsTarget& target,
                qint64 maxScriptCharacters = std::numeric_limits<qint64>::max());

}  // namespace velloran::session
