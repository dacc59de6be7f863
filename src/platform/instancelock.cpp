#include "platform/instancelock.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <cerrno>
#include <csignal>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace velloran::platform {

namespace {

QString procEntry(const QString& pid, const char* entry)
{
    return u"/proc/" + pid + u'/' + QString::fromLatin1(entry);
}

// The executable's file name, without the mark the system adds once the file was replaced.
QString executableName(const QString& pid)
{
    QString target = QFileInfo(procEntry(pid, "exe")).symLinkTarget();
    if (target.endsWith(u" (deleted)"))
        target.chop(10);
    return QFileInfo(target).fileName();
}

QString commandName(const QString& pid)
{
    QFile comm(procEntry(pid, "comm"));
    return comm.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(comm.readAll()).trimmed() : QString();
}

QString describe(QLockFile::LockError error)
{
    switch (error) {
    case QLockFile::PermissionError: return QStringLiteral("no permission to create it");
    case QLockFile::UnknownError: return QStringLiteral("it cannot be created there");
    default: return QStringLiteral("it is held");
    }
}

// The process recorded in a lock that could not be taken. A copy starting at the same moment
// creates the file before it locks and writes it, so an empty record is given a moment to
// appear before the file counts as left behind by a crash.
std::optional<qint64> recordedOwner(const QLockFile& lock)
{
    const QDeadlineTimer patience(500);
    do {
        qint64 pid = 0;
        QString host;
        QString application;
        if (lock.getLockInfo(&pid, &host, &application))
            return pid;
        if (!QFileInfo::exists(lock.fileName()))
            return std::nullopt;
        ::usleep(2000);
    } while (!patience.hasExpired());
    return std::nullopt;
}

}  // namespace

bool isAnotherCopy(qint64 pid)
{
    if (pid <= 0 || pid == ::getpid() || (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH))
        return false;
    const QString id = QString::number(pid);
    const QFileInfo process(u"/proc/" + id);
    if (!process.exists() || process.ownerId() != ::geteuid())
        return false;
    const QString self = QStringLiteral("self");
    const QString exe = executableName(id);
    if (!exe.isEmpty())
        return exe == executableName(self);
    const QString command = commandName(id);
    return !command.isEmpty() && command == commandName(self);
}

InstanceLock::InstanceLock(QStringList folders) : m_folders(std::move(folders))
{
}

InstanceLock::~InstanceLock() = default;

bool InstanceLock::acquire()
{
    QStringList refused;
    for (const QString& folder : m_folders) {
        if (folder.isEmpty())
            continue;
        QDir().mkpath(folder);
        const QString path = folder + u"/velloran.lock";
        // QLockFile would wait for ever on a pipe there and take a folder for a live lock.
        if (struct stat info {};
            ::lstat(QFile::encodeName(path).constData(), &info) == 0 && !S_ISREG(info.st_mode)) {
            refused << u"no lock in " + folder + u" (" + path + u" is not a regular file)";
            continue;
        }
        auto lock = std::make_unique<QLockFile>(path);
        lock->setStaleLockTime(0);  // a lock is stale by its owner's process only, never by age
        if (!lock->tryLock(0) && lock->error() == QLockFile::LockFailedError) {
            const std::optional<qint64> owner = recordedOwner(*lock);
            if (owner && isAnotherCopy(*owner))
                return false;
            // The recorded owner is gone or is another program; the file lock that a live copy
            // holds keeps this from removing its lock.
            if (!lock->removeStaleLockFile() || !lock->tryLock(0))
                return false;
        }
        if (lock->isLocked()) {
            if (!refused.isEmpty())
                m_warning = refused.join(u"; ") + u"; the lock is " + lock->fileName() + u" instead.";
            m_lock = std::move(lock);
            return true;
        }
        refused << u"no lock in " + folder + u" (" + describe(lock->error()) + u')';
    }
    m_warning = refused.join(u"; ") +
                QStringLiteral("; starting without one, so a second copy would not be refused.");
    return true;
}

void InstanceLock::release()
{
    if (m_lock)
        m_lock->unlock();
}

QString InstanceLock::lockFile() const
{
    return m_lock ? m_lock->fileName() : QString();
}

}  // namespace velloran::platform
