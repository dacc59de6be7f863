#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <mutex>
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

class WriteAbandon;
bool writeFileSafely(const QString& path, const QByteArray& data, QString* reason, WriteAbandon* abandon);

// Lets one thread give up a crash-safe write that another thread is doing, without waiting for
// it: the write stops at its next step, its temporary file is removed at once, and the target is
// left as it was (or, when the new file had already taken its place, as written).
class WriteAbandon {
public:
    void abandon();
    bool abandoned() const { return m_abandoned.load(); }

private:
    friend bool writeFileSafely(const QString&, const QByteArray&, QString*, WriteAbandon*);
    std::mutex m_mutex;  // held only to create, rename or remove the temporary file
    std::atomic<bool> m_abandoned {false};
    QByteArray m_temporary;  // the temporary file's name while it exists
};

// Writes to a temporary file beside the target and renames it over the target only once complete
// and flushed to disk; on any failure the previous file stays whole, false is returned and the
// reason, when asked for, says why in words (the system's own: "No space left on device"). The
// new file keeps the permissions of the one it replaces. With `abandon`, another thread may give
// the write up at any moment.
bool writeFileSafely(const QString& path, const QByteArray& data, QString* reason = nullptr,
                     WriteAbandon* abandon = nullptr);

// Moves the file (of any kind) out of the way to path + ".damaged", after moving earlier ones on to
// ".damaged.1" and ".damaged.2", so the newest three are kept. Returns the new name, or nothing
// (with the reason) when it could not be moved.
std::optional<QString> keepAside(const QString& path, QString* reason = nullptr);

}  // namespace velloran::session
