// The single-instance lock and the bridge from end signals to the event loop.
#include "platform/endsignals.h"
#include "platform/instancelock.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace velloran::platform;
using namespace Qt::StringLiterals;

namespace {

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A lock file as the lock writes it, but naming another process as its owner.
void writeLockOf(const QString& folder, qint64 pid)
{
    const QString path = folder + u"/velloran.lock"_s;
    QByteArray content;
    {
        QLockFile real(path);
        ASSERT_TRUE(real.tryLock(0));
        content = readBytes(path);
        real.unlock();
    }
    const qsizetype lineEnd = content.indexOf('\n');
    ASSERT_GT(lineEnd, 0);
    content = QByteArray::number(pid) + content.mid(lineEnd);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// A child that runs the program and is left unreaped once it ends: its number stays taken, but
// its executable can no longer be read, as with a process of another user.
pid_t zombieOf(const char* program)
{
    const pid_t child = ::fork();
    if (child == 0) {
        ::execl(program, program, static_cast<char*>(nullptr));
        ::_exit(127);
    }
    const QDeadlineTimer patience(10000);
    while (!patience.hasExpired()) {
        const QByteArray stat = readBytes(u"/proc/"_s + QString::number(child) + u"/stat"_s);
        const qsizetype close = stat.lastIndexOf(')');
        if (close > 0 && stat.mid(close + 2, 1) == "Z")
            return child;
        ::usleep(1000);
    }
    return -1;
}

class Lock : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString folder() const { return m_dir.path(); }
    QString lockPath() const { return m_dir.filePath(u"velloran.lock"_s); }
    QTemporaryDir m_dir;
};

TEST_F(Lock, IsTakenAndGivenUp)
{
    InstanceLock lock({folder()});
    EXPECT_TRUE(lock.acquire());
    EXPECT_TRUE(lock.warning().isEmpty());
    EXPECT_EQ(lock.lockFile(), lockPath());
    EXPECT_TRUE(QFile::exists(lockPath()));

    // A live holder keeps its lock, even against a lock recording the same process.
    InstanceLock second({folder()});
    EXPECT_FALSE(second.acquire());
    EXPECT_TRUE(QFile::exists(lockPath()));

    lock.release();
    EXPECT_FALSE(QFile::exists(lockPath())) << "an end at once must not leave the lock behind";
    EXPECT_TRUE(second.acquire());
}

TEST_F(Lock, LeftBehindOrRecordingAnotherProgramIsTakenOver)
{
    // Another copy (a child of this test, the same program) holds the lock while it runs, then
    // ends at once without giving it up.
    int go[2];
    ASSERT_EQ(::pipe(go), 0);
    const pid_t copy = ::fork();
    if (copy == 0) {
        QLockFile held(lockPath());
        const bool locked = held.tryLock(0);
        char byte = 0;
        [[maybe_unused]] const ssize_t got = ::read(go[0], &byte, 1);
        ::_exit(locked ? 0 : 1);  // ends without unlocking
    }
    // Until the lock is written, not only created: the copy takes its file lock in between.
    const QDeadlineTimer patience(10000);
    while (QFileInfo(lockPath()).size() == 0 && !patience.hasExpired())
        ::usleep(1000);
    EXPECT_TRUE(isAnotherCopy(copy));
    EXPECT_FALSE(InstanceLock({folder()}).acquire()) << "a running copy must keep its lock";
    ASSERT_EQ(::write(go[1], "x", 1), 1);
    int status = 0;
    ASSERT_EQ(::waitpid(copy, &status, 0), copy);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    ASSERT_TRUE(QFile::exists(lockPath()));
    {
        InstanceLock lock({folder()});
        EXPECT_TRUE(lock.acquire());
        lock.release();
    }

    // The recorded number now belongs to this very process (a copy that ended had it before, as
    // happens after a restart), to a process of another program whose executable can be read,
    // and to one whose executable cannot.
    const pid_t sleeper = ::fork();
    if (sleeper == 0) {
        ::execl("/bin/sleep", "sleep", "30", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    // Until it has become sleep, the child is still a copy of this test program.
    const QString sleeperExe = u"/proc/"_s + QString::number(sleeper) + u"/exe"_s;
    for (QDeadlineTimer patience(10000); !QFileInfo(sleeperExe).symLinkTarget().endsWith(u"sleep");)
    {
        ASSERT_FALSE(patience.hasExpired()) << "the child did not become sleep";
        ::usleep(1000);
    }
    const pid_t zombie = zombieOf("/bin/true");
    ASSERT_GT(zombie, 0);
    for (const pid_t owner : {::getpid(), sleeper, zombie}) {
        writeLockOf(folder(), owner);
        EXPECT_FALSE(isAnotherCopy(owner)) << owner;
        InstanceLock lock({folder()});
        EXPECT_TRUE(lock.acquire()) << "owner " << owner;
        EXPECT_EQ(lock.lockFile(), lockPath());
        lock.release();
    }
    ::kill(sleeper, SIGKILL);
    ::waitpid(sleeper, nullptr, 0);
    ::waitpid(zombie, nullptr, 0);
    EXPECT_FALSE(isAnotherCopy(zombie));  // reaped: gone
    EXPECT_FALSE(isAnotherCopy(0));
}

TEST_F(Lock, ACopyStartingAtTheSameMomentIsNotOverrun)
{
    // Another copy has just created the lock file and not yet locked or written it: the moment
    // two copies started together both used to run in.
    int created[2];
    int go[2];
    ASSERT_EQ(::pipe(created), 0);
    ASSERT_EQ(::pipe(go), 0);
    const pid_t copy = ::fork();
    if (copy == 0) {
        const QString side = folder() + u"/side.lock"_s;
        QByteArray content;
        {
            QLockFile record(side);
            if (!record.tryLock(0))
                ::_exit(1);
            content = readBytes(side);
        }
        const int fd = ::open(QFile::encodeName(lockPath()).constData(), O_RDWR | O_CREAT | O_EXCL, 0666);
        if (fd < 0 || ::write(created[1], "c", 1) != 1)
            ::_exit(1);
        ::usleep(50000);
        const bool recorded = ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
                              ::write(fd, content.constData(), content.size()) == content.size();
        char byte = 0;
        [[maybe_unused]] const ssize_t got = ::read(go[0], &byte, 1);
        ::_exit(recorded ? 0 : 1);
    }
    char byte = 0;
    ASSERT_EQ(::read(created[0], &byte, 1), 1);
    EXPECT_FALSE(InstanceLock({folder()}).acquire()) << "two copies must not both run";
    ASSERT_EQ(::write(go[1], "x", 1), 1);
    int status = 0;
    ASSERT_EQ(::waitpid(copy, &status, 0), copy);
    EXPECT_EQ(WEXITSTATUS(status), 0);

    // An empty lock file that nobody goes on to write was left by a crash: it is taken over.
    ASSERT_TRUE(QFile::remove(lockPath()));
    QFile empty(lockPath());
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    InstanceLock lock({folder()});
    EXPECT_TRUE(lock.acquire());
    lock.release();
}

TEST_F(Lock, AFolderThatCannotHoldItNeverStopsTheStart)
{
    QFile plain(m_dir.filePath(u"plain"_s));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString unusable = m_dir.filePath(u"plain/run"_s);  // under a file: not even root can
    const QString fallback = m_dir.filePath(u"fallback"_s);

    InstanceLock moved({unusable, fallback});
    EXPECT_TRUE(moved.acquire());
    EXPECT_EQ(moved.lockFile(), fallback + u"/velloran.lock"_s);
    EXPECT_TRUE(moved.warning().contains(unusable)) << moved.warning().toStdString();
    EXPECT_TRUE(moved.warning().contains(fallback)) << moved.warning().toStdString();
    // The fallback still keeps a second copy out.
    EXPECT_FALSE(InstanceLock({unusable, fallback}).acquire());
    moved.release();

    InstanceLock none({unusable, QString()});
    EXPECT_TRUE(none.acquire());
    EXPECT_TRUE(none.lockFile().isEmpty());
    EXPECT_TRUE(none.warning().contains(u"starting without one"_s)) << none.warning().toStdString();
}

TEST_F(Lock, APathThatIsNotARegularFileIsPassedByAtOnce)
{
    const QString fallback = m_dir.filePath(u"fallback"_s);
    for (const char* kind : {"pipe", "folder"}) {
        const QString runtime = m_dir.filePath(QString::fromLatin1(kind));
        const QString path = runtime + u"/velloran.lock"_s;
        ASSERT_TRUE(QDir().mkpath(runtime));
        ASSERT_TRUE(kind == std::string("pipe") ? ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0
                                                : QDir().mkpath(path));
        ::alarm(20);  // a lock that waits on the pipe fails here rather than hanging
        InstanceLock lock({runtime, fallback});
        EXPECT_TRUE(lock.acquire()) << kind;
        ::alarm(0);
        EXPECT_EQ(lock.lockFile(), fallback + u"/velloran.lock"_s) << kind;
        EXPECT_TRUE(lock.warning().contains(path + u" is not a regular file"_s))
            << lock.warning().toStdString();
        lock.release();
    }
}

void markHandled(int)
{
}

TEST(EndSignalsTest, ReachTheEventLoopInOrderAndHandlersComeBack)
{
    int argc = 1;
    char name[] = "platform_tests";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    for (const int number : EndSignals::kHandled)
        std::signal(number, markHandled);
    {
        EndSignals bridge;
        std::vector<int> seen;
        QObject::connect(&bridge, &EndSignals::received, [&](int number) { seen.push_back(number); });
        for (const int number : EndSignals::kHandled)
            ASSERT_EQ(::raise(number), 0);  // would end the test if not caught
        const QDeadlineTimer patience(10000);
        while (seen.size() < 3 && !patience.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
        EXPECT_EQ(seen, (std::vector<int> {SIGTERM, SIGHUP, SIGINT}));
    }
    for (const int number : EndSignals::kHandled) {
        struct sigaction now { };
        ::sigaction(number, nullptr, &now);
        EXPECT_EQ(now.sa_handler, &markHandled) << number;
    }
}

}  // namespace
