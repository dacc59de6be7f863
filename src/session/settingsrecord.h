#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <array>
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

// The text with every occurrence of ch removed, in linear time.
QString cleanText(const QString& text, QChar ch);

// What stands for a straight double quote between `before` and `after` (a null QChar at either
// end of the text): an opening quote at the start of a word, a closing one otherwise.
QChar typographicQuote(QChar before, QChar after);
// The text with every straight double quote so replaced, in linear time.
QString typographicQuotes(const QString& text);

}  // namespace velloran::session
