#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace velloran::session {

// Why a file could not be read whole.
enum class ReadFailure { None, Missing, NotRegular, TooBig, Unreadable };

struct FileRead {
    std::optional<QByteArray> bytes;  // the whole file, when it could be read
    ReadFailure failure = ReadFailure::None;
    qint64 size = 0;  // bytes, when known
    QString reason;   // in words, for a message
};

// Reads a regular file whole, up to maxBytes. The kind of file is checked on the opened descriptor
// (opened without blocking), so a pipe or a device, also one put in its place after any check by
// name, is refused at once rather than waited on.
FileRead readFile(const QString& path, qint64 maxBytes);

// The whole file, or nothing when it is missing, unreadable, not a regular file or larger than
// maxBytes.
std::optional<QByteArray> readWholeFile(const QString& path, qint64 maxBytes);

// Writes to a temporary file beside the target and renames it over the target only once complete
// and flushed to disk; on any failure the previous file stays whole, false is returned and the
// reason, when asked for, says why in words.
bool writeFileSafely(const QString& path, const QByteArray& data, QString* reason = nullptr);

// Moves the file (of any kind) out of the way to path + ".damaged", after moving earlier ones on to
// ".damaged.1" and ".damaged.2", so the newest three are kept. Returns the new name, or nothing
// (with the reason) when it could not be moved.
std::optional<QString> keepAside(const QString& path, QString* reason = nullptr);

}  // namespace velloran::session
