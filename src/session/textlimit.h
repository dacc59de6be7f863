#pragma once

#include <QString>
#include <QStringView>

namespace velloran::session {

// One limit for every script that comes in: a file loaded, dropped or brought in as the backup,
// the clipboard, typing and pasting. It counts characters as the character counter does, a line
// break as the two characters CR LF. At most three bytes of UTF-8 stand for one such character, so
// no record the program writes is beyond what it reads (kMaxRecordBytes). Chosen so that the
// largest script still starts in about a second on a two-core machine (figures in docs/performance.md).
inline constexpr qint64 kMaxScriptCharacters = 16'000'000;
// A backup path longer than this is no path; it keeps the record's other fields small.
inline constexpr qsizetype kMaxPathCharacters = 4096;
inline constexpr qint64 kMaxRecordBytes = 3 * kMaxScriptCharacters + 3 * kMaxPathCharacters + 256;
// A file beyond this size cannot hold a script within the limit, whatever its encoding.
inline constexpr qint64 kMaxScriptFileBytes = 3 * kMaxScriptCharacters + 3;

// The characters of a text as the character counter counts them: each line break (CR LF, lone CR,
// lone LF) as two.
qint64 scriptCharacters(QStringView text);

// What the user is told when text is refused for its size: what it was, how big, and the limit.
QString fileTooBig(const QString& fileName, qint64 bytes);        // too big to read at all
QString fileTooLong(const QString& fileName, qint64 characters);  // read, then counted
QString clipboardTooLong(qint64 characters);
QString entryTooLong(qint64 characters);  // typing or pasting

}  // namespace velloran::session
