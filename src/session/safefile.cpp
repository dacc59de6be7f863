#include "session/safefile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace velloran::session {

namespace {

constexpr qint64 kReadChunk = 1024 * 1024;
// Between two pieces a write notices that it was given up.
constexpr qint64 kWriteChunk = 1024 * 1024;
constexpr int kAsideKept = 3;

QString errorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Closes the descriptor on every path out of the reader.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) { }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

FileRead failed(ReadFailure failure, QString reason, qint64 size = 0)
{
    FileRead result;
    result.failure = failure;
    result.reason = std::move(reason);
    result.size = size;
    return result;
}

// Writes the whole of the data a piece at a time; 0 when done, the error, or -1 once given up.
int writeInPieces(int fd, const QByteArray& data, const WriteAbandon& guard)
{
    for (qint64 done = 0; done < data.size();) {
        if (guard.abandoned())
            return -1;
        const qint64 want = std::min(kWriteChunk, data.size() - done);
        const ssize_t wrote = ::write(fd, data.constData() + done, static_cast<size_t>(want));
        if (wrote < 0 && errno != EINTR)
            return errno;
        done += std::max<ssize_t>(wrote, 0);
    }
    return 0;
}

// A file being written beside its target: unnamed where the file system allows it, so that a
// process that dies while writing leaves nothing behind; otherwise under a name of its own.
struct Temporary {
    int fd = -1;
    QByteArray name;  // empty while unnamed
};

QByteArray freshName(const QByteArray& target)
{
    static std::atomic<unsigned> made {0};
    return target + ".velloran-" + QByteArray::number(::getpid()) + '-' + QByteArray::number(++made);
}

// Created with the usual permissions, less the user's mask.
Temporary openTemporary(const QByteArray& target, int* error)
{
    Temporary file;
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0    ? QByteArray(".")
                              : slash == 0 ? QByteArray("/")
                                           : target.first(slash);
    file.fd = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (file.fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        do {
            file.name = freshName(target);
            file.fd = ::open(file.name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        } while (file.fd < 0 && errno == EEXIST);
    }
    *error = file.fd < 0 ? errno : 0;
    if (file.fd < 0)
        file.name.clear();
    return file;
}

// Gives the complete file the target's name in one step; 0, or the error. The file is still open.
int putInPlace(Temporary& file, const QByteArray& target)
{
    if (file.name.isEmpty()) {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(file.fd);
        int linked = 0;
        do {
            file.name = freshName(target);
            linked = ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, file.name.constData(), AT_SYMLINK_FOLLOW);
        } while (linked != 0 && errno == EEXIST);
        if (linked != 0)
            return errno;
    }
    if (::rename(file.name.constData(), target.constData()) != 0) {
        const int error = errno;
        ::unlink(file.name.constData());
        return error;
    }
    return 0;
}

}  // namespace

FileRead readFile(const QString& path, qint64 maxBytes)
{
    const QByteArray name = QFile::encodeName(path);
    // Non-blocking, so that opening a pipe with no writer returns at once.
    const Descriptor fd(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) {
        const int error = errno;
        const bool missing = error == ENOENT || error == ENOTDIR;
        return failed(missing ? ReadFailure::Missing : ReadFailure::Unreadable, errorText(error));
    }
    struct stat info { };
    if (::fstat(fd.get(), &info) != 0)
        return failed(ReadFailure::Unreadable, errorText(errno));
    if (!S_ISREG(info.st_mode))
        return failed(ReadFailure::NotRegular, QStringLiteral("it is not a regular file"));
    if (info.st_size > maxBytes)
        return failed(ReadFailure::TooBig, QStringLiteral("it is too big"), info.st_size);
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0)
        return failed(ReadFailure::Unreadable, errorText(errno));

    // Read to the end rather than trusting the size: the file may grow while it is read.
    QByteArray data;
    data.reserve(info.st_size);
    QByteArray chunk(kReadChunk, Qt::Uninitialized);
    for (;;) {
        const qint64 want = std::min(kReadChunk, maxBytes - data.size() + 1);
        const ssize_t got = ::read(fd.get(), chunk.data(), static_cast<size_t>(want));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return failed(ReadFailure::Unreadable, errorText(errno));
        if (got == 0)
            break;
        data.append(chunk.constData(), got);
        if (data.size() > maxBytes)
            return failed(ReadFailure::TooBig, QStringLiteral("it is too big"), data.size());
    }
    FileRead result;
    result.size = data.size();
    result.bytes = std::move(data);
    return result;
}

std::optional<QByteArray> readWholeFile(const QString& path, qint64 maxBytes)
{
    return readFile(path, maxBytes).bytes;
}

void WriteAbandon::abandon()
{
    const std::lock_guard lock(m_mutex);
    m_abandoned = true;
    if (!m_temporary.isEmpty())
        ::unlink(m_temporary.constData());
    m_temporary.clear();
}

bool writeFileSafely(const QString& path, const QByteArray& data, QString* reason, WriteAbandon* abandon)
{
    WriteAbandon nobody;  // a write that no one can give up
    WriteAbandon& guard = abandon ? *abandon : nobody;
    const QByteArray target = QFile::encodeName(path);
    int error = 0;
    Temporary file;
    {
        const std::lock_guard lock(guard.m_mutex);
        if (!guard.m_abandoned) {
            file = openTemporary(target, &error);
            guard.m_temporary = file.name;
        }
    }
    // Once it was given up, whatever the write does fails and its temporary file is gone.
    const auto finish = [&](int failure) {
        {
            const std::lock_guard lock(guard.m_mutex);
            if (!failure && guard.m_abandoned)
                failure = -1;
            if (!failure)
                failure = putInPlace(file, target);
            else if (!guard.m_temporary.isEmpty())
                ::unlink(guard.m_temporary.constData());
            guard.m_temporary.clear();
        }
        if (file.fd >= 0)
            ::close(file.fd);
        if (failure && reason)
            *reason = failure > 0 ? errorText(failure) : QStringLiteral("the write was given up");
        return failure == 0;
    };
    if (file.fd < 0)
        return finish(guard.abandoned() ? -1 : error);
    struct stat existing { };
    if (::stat(target.constData(), &existing) == 0 && S_ISREG(existing.st_mode))
        ::fchmod(file.fd, existing.st_mode & 07777);
    if (const int failure = writeInPieces(file.fd, data, guard); failure != 0)
        return finish(failure);
    return finish(::fsync(file.fd) == 0 ? 0 : errno);
}

std::optional<QString> keepAside(const QString& path, QString* reason)
{
    const QString aside = path + QStringLiteral(".damaged");
    const auto numbered = [&](int n) { return n == 0 ? aside : aside + u'.' + QString::number(n); };
    const auto move = [](const QString& from, const QString& to) {
        return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
    };
    // Out of the way first, so that nothing kept earlier is given up when the file cannot be moved.
    const QString moving = aside + QStringLiteral(".new");
    if (!move(path, moving)) {
        if (reason)
            *reason = errorText(errno);
        return std::nullopt;
    }
    // rename() replaces its target, so the oldest kept copy gives way to the one before it.
    for (int n = kAsideKept - 1; n > 0; --n)
        move(numbered(n - 1), numbered(n));
    if (!move(moving, aside))
        return moving;
    return aside;
}

}  // namespace velloran::session
