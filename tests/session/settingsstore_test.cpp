#include "session/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using namespace velloran::session;
using namespace Qt::StringLiterals;

namespace {

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

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
    EXPECT_TRUE(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty())
        << "the probe file must be removed";

    // Under a regular file nothing can be created, not even by root.
    writeBytes(path(u"plain"_s), "x");
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
    writeBytes(current, "config");
    writeBytes(older, "older");
    writeBytes(inProgram, "beside");
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
    QDir(config).removeRecursively();
}

TEST_F(SettingsStore, ReadWholeFileRefusesWhatItCannotHoldOrRead)
{
    writeBytes(path(u"ten"_s), "0123456789");
    EXPECT_EQ(readWholeFile(path(u"ten"_s), 10), QByteArray("0123456789"));
    EXPECT_FALSE(readWholeFile(path(u"ten"_s), 9));
    writeBytes(path(u"empty"_s), QByteArray());
    EXPECT_EQ(readWholeFile(path(u"empty"_s), 10), QByteArray());
    EXPECT_FALSE(readWholeFile(path(u"missing"_s), 10));
    EXPECT_FALSE(readWholeFile(m_dir.path(), 10));
    // A device that reports no size and never ends must hit the limit, not exhaust memory.
    EXPECT_FALSE(readWholeFile(u"/dev/zero"_s, 3 * 1024 * 1024 + 7));
}

TEST_F(SettingsStore, WriteFileSafelyReplacesWholeOrNotAtAll)
{
    const QString target = path(u"Settings.ini"_s);
    EXPECT_TRUE(writeFileSafely(target, "first"));
    EXPECT_TRUE(writeFileSafely(target, "second record"));
    EXPECT_EQ(readBytes(target), QByteArray("second record"));

    writeBytes(path(u"plain"_s), "x");
    EXPECT_FALSE(writeFileSafely(path(u"plain/Settings.ini"_s), "lost"));

    // A full disk, simulated by a file size limit (which binds root too): the old file stays whole.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = writeFileSafely(target, QByteArray(64 * 1024, 'z'));
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_FALSE(written);
    EXPECT_EQ(readBytes(target), QByteArray("second record"));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2)
        << "no temporary file may be left behind";
}

TEST_F(SettingsStore, LoadTextFileDecodes)
{
    writeBytes(path(u"script.txt"_s), "\x80 caf\xE9\r\n");
    EXPECT_EQ(loadTextFile(path(u"script.txt"_s)), u"\u20AC caf\u00E9\r\n"_s);
    EXPECT_FALSE(loadTextFile(path(u"missing.txt"_s)));
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
