#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <array>
#include <limits>
#include <optional>

namespace velloran::session {

// The whole working state as one record of Settings.ini, fields in file order.
struct SettingsRecord {
    qint16 speed = 100;
    qint16 frequency = 10;
    float fontSize = 27.75f;
    double position = 480.0;
    QString backupPath;
    qint64 minutes = 0;
    qint16 seconds = 0;
    QString script;              // line breaks as "\n", the way the text widgets hand them out
    bool exactPosition = false;  // the position written with every whole twip (whole-script option)
};

// The record byte for byte: eight comma-separated fields, text in double quotes, CR LF at the end.
// Script line breaks (CR LF, lone CR, lone LF) are all written as CR LF. The format has no escape
// for a double quote: one left in the script is written as its typographic quote (see
// typographicQuotes), one in the path is dropped, rather than break the record.
QByteArray writeRecord(const SettingsRecord& record);

// One field as read from the file, before conversion. For a number, text holds its characters.
struct Field {
    enum class Kind { None, Number, Text };
    Kind kind = Kind::None;
    QString text;
};

// The number syntax of the file: an optional minus, then digits with an optional full stop among
// or before them (480, -95, 27.75, .5).
bool isDecimalNumber(QStringView text);

// The first eight fields of a decoded settings file, or nothing when the text ends before the
// eighth field is complete. Whatever follows the eighth field is ignored. Linear in the length.
std::optional<std::array<Field, 8>> readFields(const QString& decoded);

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

// The text with every occurrence of ch removed, in linear time.
QString cleanText(const QString& text, QChar ch);

// What stands for a straight double quote between `before` and `after` (a null QChar at either
// end of the text): an opening quote at the start of a word, a closing one otherwise.
QChar typographicQuote(QChar before, QChar after);
// The text with every straight double quote so replaced, in linear time.
QString typographicQuotes(const QString& text);

}  // namespace velloran::session
