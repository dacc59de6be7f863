#include "session/settingsstore.h"
#include "testfiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace velloran::session;
using namespace Qt::StringLiterals;
using namespace velloran::testing;

namespace {

class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);  // keep the real configuration folder out of it
        ASSERT_TRUE(m_dir.isValid());
    }
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

TEST_F(SettingsStore, FolderIsTheProgramFolderWhenWritableElseTheConfigFolder)
{
    EXPECT_EQ(settingsFolder(m_dir.path()), m_dir.path());
    EXPECT_TRUE(
        QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty())
        << "the probe file must be removed";

    // Under a regular file nothing can be created, not even by root.
    ASSERT_TRUE(writeBytes(path(u"plain"_s), "x"));
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    ASSERT_FALSE(config.isEmpty());
    EXPECT_EQ(userConfigFolder(), config + u"/Velloran"_s);
    EXPECT_EQ(settingsFolder(path(u"plain/sub"_s)), config + u"/Velloran"_s);
    EXPECT_TRUE(QDir(config + u"/Velloran"_s).exists());
    EXPECT_EQ(settingsPath(u"/opt/v"_s), u"/opt/v/Settings.ini"_s);
}

TEST_F(SettingsStore, StateIsReadWhereItWasLeft)
{
    const QString config = userConfigFolder();
    const QString current = settingsPath(config);
    const QString older = settingsPath(config + u"/Velloran"_s);
    const QString program = m_dir.path();
    const QString inProgram = settingsPath(program);
    QDir(config).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(config + u"/Velloran"_s));

    // Written beside the program: read there, whatever the configuration folder holds.
    ASSERT_TRUE(writeBytes(current, "config"));
    ASSERT_TRUE(writeBytes(older, "older"));
    ASSERT_TRUE(writeBytes(inProgram, "beside"));
    EXPECT_EQ(settingsFileToRead(program, program), inProgram);

    // Written to the configuration folder: its file first, then the older place, then the
    // program folder's; with none of them, the place it will be written.
    EXPECT_EQ(settingsFileToRead(program, config), current);
    QFile::remove(current);
    EXPECT_EQ(settingsFileToRead(program, config), older);
    QFile::remove(older);
    EXPECT_EQ(settingsFileToRead(program, config), inProgram);
    QFile::remove(inProgram);
    EXPECT_EQ(settingsFileToRead(program, config), current);

    // Written beside the program, but a save that could not be written there went to the
    // configuration folder: the newer of the two is read.
    const QDateTime now = QDateTime::currentDateTime();
    ASSERT_TRUE(writeBytes(inProgram, "beside"));
    ASSERT_TRUE(writeBytes(current, "config"));
    ASSERT_TRUE(setModified(inProgram, now.addSecs(-60)));
    ASSERT_TRUE(setModified(current, now));
    EXPECT_EQ(settingsFileToRead(program, program), current);
    ASSERT_TRUE(setModified(inProgram, now.addSecs(60)));
    EXPECT_EQ(settingsFileToRead(program, program), inProgram);
    QFile::remove(inProgram);
    EXPECT_EQ(settingsFileToRead(program, program), current);
    QDir(config).removeRecursively();
}

TEST_F(SettingsStore, SaveGoesToTheConfigFolderWhenTheProgramFolderFails)
{
    const QString config = userConfigFolder();
    QDir(config).removeRecursively();
    const QString program = m_dir.path();

    const SaveOutcome beside = saveRecord(program, "one");
    EXPECT_TRUE(beside.saved);
    EXPECT_EQ(beside.file, settingsPath(program));
    EXPECT_EQ(readBytes(settingsPath(program)), QByteArray("one"));
    EXPECT_FALSE(QFile::exists(settingsPath(config)));

    // The program folder's file cannot be replaced (a folder stands in its place).
    ASSERT_TRUE(QFile::remove(settingsPath(program)));
    ASSERT_TRUE(QDir(program).mkdir(u"Settings.ini"_s));
    const SaveOutcome fallback = saveRecord(program, "two");
    EXPECT_TRUE(fallback.saved);
    EXPECT_EQ(fallback.file, settingsPath(config));
    EXPECT_EQ(readBytes(settingsPath(config)), QByteArray("two"));

    // Nowhere to write (a plain file stands where the configuration folder would be): the first
    // place tried and the reason come back.
    QDir(config).removeRecursively();
    ASSERT_TRUE(writeBytes(config, "not a folder"));
    const SaveOutcome nowhere = saveRecord(program, "three");
    EXPECT_FALSE(nowhere.saved);
    EXPECT_EQ(nowhere.file, settingsPath(program));
    EXPECT_FALSE(nowhere.reason.isEmpty());
    ASSERT_TRUE(QFile::remove(config));

    // Once saved in the configuration folder, the file older versions kept is read no more.
    const QString older = settingsPath(config + u"/Velloran"_s);
    ASSERT_TRUE(QDir().mkpath(config + u"/Velloran"_s));
    ASSERT_TRUE(writeBytes(older, "older"));
    EXPECT_TRUE(saveRecord(config, "four").saved);
    EXPECT_FALSE(QFile::exists(older));
    EXPECT_EQ(readBytes(older + u".old"_s), QByteArray("older"));
    QDir(config).removeRecursively();
}

TEST_F(SettingsStore, ReadWholeFileRefusesWhatItCannotHoldOrRead)
{
    ASSERT_TRUE(writeBytes(path(u"ten"_s), "0123456789"));
    EXPECT_EQ(readWholeFile(path(u"ten"_s), 10), QByteArray("0123456789"));
    EXPECT_FALSE(readWholeFile(path(u"ten"_s), 9));
    ASSERT_TRUE(writeBytes(path(u"empty"_s), QByteArray()));
    EXPECT_EQ(readWholeFile(path(u"empty"_s), 10), QByteArray());
    EXPECT_FALSE(readWholeFile(path(u"missing"_s), 10));
    EXPECT_FALSE(readWholeFile(m_dir.path(), 10));
    // A device that reports no size and never ends is refused, not read until memory runs out.
    EXPECT_FALSE(readWholeFile(u"/dev/zero"_s, 3 * 1024 * 1024 + 7));
}

TEST_F(SettingsStore, OnlyRegularFilesAreReadAndOthersAreRefusedAtOnce)
{
    const HangGuard guard(20);
    ASSERT_TRUE(writeBytes(path(u"plain.txt"_s), "plain"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path(u"pipe.txt"_s)).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(path(u"plain.txt"_s), path(u"to-plain.txt"_s)));
    ASSERT_TRUE(QFile::link(path(u"pipe.txt"_s), path(u"to-pipe.txt"_s)));
    ASSERT_TRUE(QFile::link(u"/dev/zero"_s, path(u"to-zero.txt"_s)));
    ASSERT_TRUE(writeBytes(path(u"locked.txt"_s), "x"));
    const bool root = ::geteuid() == 0;  // permission bits do not stop the superuser
    ASSERT_TRUE(QFile::setPermissions(path(u"locked.txt"_s), QFileDevice::WriteOwner));

    const struct {
        const char* name;
        ReadFailure failure;
    } cases[] = {
        {"plain.txt", ReadFailure::None},
        {"to-plain.txt", ReadFailure::None},
        {"pipe.txt", ReadFailure::NotRegular},
        {"to-pipe.txt", ReadFailure::NotRegular},
        {"to-zero.txt", ReadFailure::NotRegular},
        {"missing.txt", ReadFailure::Missing},
        {"plain.txt/below", ReadFailure::Missing},
        {".", ReadFailure::NotRegular},
        {"locked.txt", root ? ReadFailure::None : ReadFailure::Unreadable},
    };
    for (const auto& c : cases) {
        const FileRead read = readFile(path(QString::fromLatin1(c.name)), 100);
        EXPECT_EQ(read.failure, c.failure) << c.name;
        EXPECT_EQ(read.bytes.has_value(), c.failure == ReadFailure::None) << c.name;
        EXPECT_EQ(read.reason.isEmpty(), c.failure == ReadFailure::None) << c.name;
    }
    EXPECT_EQ(readFile(path(u"to-plain.txt"_s), 100).bytes, QByteArray("plain"));
    const FileRead big = readFile(path(u"plain.txt"_s), 4);
    EXPECT_EQ(big.failure, ReadFailure::TooBig);
    EXPECT_EQ(big.size, 5);
    // Text loads refuse a pipe the same way, without waiting for a writer.
    EXPECT_FALSE(loadTextFile(path(u"pipe.txt"_s)));
    EXPECT_FALSE(loadScriptFile(path(u"to-pipe.txt"_s)).text);
    EXPECT_TRUE(loadScriptFile(path(u"to-pipe.txt"_s)).refusal.isEmpty());
}

TEST_F(SettingsStore, WriteFileSafelyReplacesWholeOrNotAtAll)
{
    const QString target = path(u"Settings.ini"_s);
    EXPECT_TRUE(writeFileSafely(target, "first"));
    EXPECT_TRUE(writeFileSafely(target, "second record"));
    EXPECT_EQ(readBytes(target), QByteArray("second record"));

    ASSERT_TRUE(writeBytes(path(u"plain"_s), "x"));
    EXPECT_FALSE(writeFileSafely(path(u"plain/Settings.ini"_s), "lost"));

    // A full disk, simulated by a file size limit (which binds root too): the old file stays whole.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString reason;
    const bool written = writeFileSafely(target, QByteArray(64 * 1024, 'z'), &reason);
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_FALSE(written);
    EXPECT_EQ(reason, QString::fromLocal8Bit(std::strerror(EFBIG)));  // the system's reason, in words
    EXPECT_EQ(readBytes(target), QByteArray("second record"));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2)
        << "no temporary file may be left behind";

    // A private file stays private.
    ASSERT_TRUE(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner));
    EXPECT_TRUE(writeFileSafely(target, "third"));
    EXPECT_EQ(QFile::permissions(target),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
}

TEST_F(SettingsStore, AnAbandonedWriteStopsLeavesNothingAndKeepsTheTarget)
{
    const QString target = path(u"Settings.recovery"_s);
    ASSERT_TRUE(writeBytes(target, "old"));
    const auto entries = [&] { return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden); };

    WriteAbandon before;
    before.abandon();
    EXPECT_FALSE(writeFileSafely(target, "new", nullptr, &before));

    // Given up while it writes: the temporary file goes at once, the writer stops at its next piece.
    WriteAbandon during;
    std::atomic<bool> result {true};
    std::atomic<bool> finished {false};
    std::thread writer([&] {
        result = writeFileSafely(target, QByteArray(64 * 1024 * 1024, 'n'), nullptr, &during);
        finished = true;
    });
    // Under way once a file in the folder is open: named or not, it shows among the descriptors.
    const auto writing = [&] {
        for (const QFileInfo& fd : QDir(u"/proc/self/fd"_s).entryInfoList(QDir::AllEntries | QDir::System))
            if (fd.symLinkTarget().startsWith(m_dir.path() + u'/'))
                return true;
        return false;
    };
    while (!writing() && !finished)
        std::this_thread::yield();
    during.abandon();
    EXPECT_EQ(entries(), QStringList {u"Settings.recovery"_s});
    writer.join();
    EXPECT_FALSE(result);
    EXPECT_EQ(readBytes(target), QByteArray("old"));
    EXPECT_EQ(entries(), QStringList {u"Settings.recovery"_s});
}

TEST_F(SettingsStore, RecoveryCopyGoesToTheFirstPlaceThatTakesItAndOnlyThere)
{
    const QString blocked = path(u"blocked/Settings.recovery"_s);
    const QString fallback = path(u"config/Settings.recovery"_s);
    ASSERT_TRUE(QDir().mkpath(blocked));  // a folder stands where the copy would go
    const SaveOutcome moved = writeRecovery({blocked, fallback}, "one");
    EXPECT_TRUE(moved.saved);
    EXPECT_EQ(moved.file, fallback);
    EXPECT_EQ(readBytes(fallback), QByteArray("one"));

    ASSERT_TRUE(QDir(blocked).removeRecursively());
    const SaveOutcome back = writeRecovery({blocked, fallback}, "two");
    EXPECT_EQ(back.file, blocked);
    EXPECT_EQ(readBytes(blocked), QByteArray("two"));
    EXPECT_FALSE(QFile::exists(fallback)) << "the older copy is removed";

    ASSERT_TRUE(writeBytes(path(u"plain"_s), "x"));
    const SaveOutcome nowhere = writeRecovery({path(u"plain/a"_s), path(u"plain/b"_s)}, "three");
    EXPECT_FALSE(nowhere.saved);
    EXPECT_TRUE(nowhere.reason.contains(path(u"plain/a: "_s)) &&
                nowhere.reason.contains(path(u"plain/b: "_s)))
        << nowhere.reason.toStdString();
}

TEST_F(SettingsStore, LoadTextFileDecodes)
{
    ASSERT_TRUE(writeBytes(path(u"script.txt"_s), "\x80 caf\xE9\r\n"));
    EXPECT_EQ(loadTextFile(path(u"script.txt"_s)), u"\u20AC caf\u00E9\r\n"_s);
    EXPECT_FALSE(loadTextFile(path(u"missing.txt"_s)));
    EXPECT_EQ(loadScriptFile(path(u"script.txt"_s)).text, u"\u20AC caf\u00E9\r\n"_s);
    EXPECT_TRUE(loadScriptFile(path(u"missing.txt"_s)).refusal.isEmpty());
}

TEST(ScriptCharacters, CountLineBreaksAsTwo)
{
    const std::pair<QString, qint64> cases[] = {
        {QString(), 0}, {u"abc"_s, 3},      {u"a\r\nb"_s, 4},     {u"a\nb"_s, 4}, {u"a\rb"_s, 4},
        {u"\n\n"_s, 4}, {u"\r\r\n\r"_s, 6}, {u"\U0001F600"_s, 2}, {u"\r"_s, 2},
    };
    for (const auto& [text, count] : cases)
        EXPECT_EQ(scriptCharacters(text), count) << text.toStdString();
}

TEST_F(SettingsStore, ScriptFilesBeyondTheLimitAreRefusedWithTheirSize)
{
    // Line breaks alone: each LF counts as two characters, so half the limit in bytes is at it.
    QByteArray atLimit(kMaxScriptCharacters / 2, '\n');
    ASSERT_TRUE(writeBytes(path(u"at limit.txt"_s), atLimit));
    const ScriptLoad fits = loadScriptFile(path(u"at limit.txt"_s));
    ASSERT_TRUE(fits.text);
    EXPECT_EQ(scriptCharacters(*fits.text), kMaxScriptCharacters);
    EXPECT_TRUE(fits.refusal.isEmpty());

    atLimit += 'x';
    ASSERT_TRUE(writeBytes(path(u"over.txt"_s), atLimit));
    const ScriptLoad over = loadScriptFile(path(u"over.txt"_s));
    EXPECT_FALSE(over.text);
    EXPECT_EQ(over.refusal, u"\"over.txt\" was not loaded: it holds 16,000,001 characters, and a script "
                            "can hold at most 16,000,000 characters."_s);

    // A file too big to hold the limit in any encoding is refused before it is read (it is sparse
    // here, so it takes no room).
    QFile huge(path(u"huge.txt"_s));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(kMaxScriptFileBytes + 1));
    huge.close();
    const ScriptLoad tooBig = loadScriptFile(path(u"huge.txt"_s));
    EXPECT_FALSE(tooBig.text);
    EXPECT_TRUE(tooBig.refusal.startsWith(u"\"huge.txt\" was not loaded: it is 48,000,004 bytes"_s))
        << tooBig.refusal.toStdString();
    EXPECT_TRUE(tooBig.refusal.endsWith(u"at most 16,000,000 characters."_s));
}

TEST(FileNamePart, TakesWhatFollowsTheLastSeparator)
{
    const std::pair<QString, QString> cases[] = {
        {u"C:\\scripts\\talk.txt"_s, u"talk.txt"_s},
        {u"/home/ann/talk.txt"_s, u"talk.txt"_s},
        {u"D:/mixed\\both/end.txt"_s, u"end.txt"_s},
        {u"talk.txt"_s, u"talk.txt"_s},
        {u"folder/"_s, QString()},
        {QString(), QString()},
    };
    for (const auto& [path, name] : cases)
        EXPECT_EQ(fileNamePart(path), name) << path.toStdString();
}

}  // namespace
