#pragma once

#include <QByteArray>
#include <QString>

namespace velloran::session {

// Text from a file of unknown origin: UTF-16 (LE or BE) when it starts with that byte-order mark,
// UTF-8 when the bytes are valid UTF-8 (a leading byte-order mark dropped), otherwise Windows-1252,
// one character per byte, so files written by Windows copies of the program still read correctly
// and no byte is ever lost. A file that is mostly UTF-8 but holds stray bytes (at least as many
// valid multi-byte sequences as stray bytes, or a UTF-8 byte-order mark) keeps its UTF-8 and
// reads each stray byte as its Windows-1252 character.
QString decodeText(const QByteArray& bytes);

// The settings file is written as UTF-8 without byte-order mark: ASCII text stays byte-identical
// to the classic 8-bit record, and any other character survives the round trip.
QByteArray encodeSettings(const QString& text);

// Every line break of the text (CR LF, lone CR, lone LF) replaced by lineBreak, so a file's breaks
// and a widget's breaks can be matched in one pass.
QString withLineBreaks(const QString& text, QStringView lineBreak);

}  // namespace velloran::session
