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
    const auto fail = [&](const QString& why) {
        if (reason)
            *reason = why;
        return false;
    };
    const QString givenUp = QStringLiteral("the write was given up");
    const QByteArray target = QFile::encodeName(path);
    int fd = -1;
    {
        const std::lock_guard lock(guard.m_mutex);
        if (guard.m_abandoned)
            return fail(givenUp);
        // Created anew with the usual permissions, less the user's mask.
        static std::atomic<unsigned> made {0};
        QByteArray temporary;
        do {
            temporary =
                target + ".velloran-" + QByteArray::number(::getpid()) + '-' + QByteArray::number(++made);
            fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        } while (fd < 0 && errno == EEXIST);
        if (fd < 0)
            return fail(errorText(errno));
        guard.m_temporary = temporary;
    }
    // On any failure the temporary file goes, unless an abandon has removed it already.
    const auto giveUp = [&](int error) {
        if (fd >= 0)
            ::close(fd);
        const std::lock_guard lock(guard.m_mutex);
        if (!guard.m_temporary.isEmpty())
            ::unlink(guard.m_temporary.constData());
        guard.m_temporary.clear();
        return fail(error ? errorText(error) : givenUp);
    };
    struct stat existing { };
    if (::stat(target.constData(), &existing) == 0 && S_ISREG(existing.st_mode))
        ::fchmod(fd, existing.st_mode & 07777);
    for (qint64 done = 0; done < data.size();) {
        if (guard.abandoned())
            return giveUp(0);
        const qint64 want = std::min(kWriteChunk, data.size() - done);
        const ssize_t wrote = ::write(fd, data.constData() + done, static_cast<size_t>(want));
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote < 0)
            return giveUp(errno);
        done += wrote;
    }
    if (::fsync(fd) != 0)
        return giveUp(errno);
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0)
        return giveUp(errno);

    const std::lock_guard lock(guard.m_mutex);
    if (guard.m_abandoned)
        return fail(givenUp);  // the temporary file is gone already
    const QByteArray temporary = std::exchange(guard.m_temporary, QByteArray());
    if (::rename(temporary.constData(), target.constData()) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        return fail(errorText(error));
    }
    return true;
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
