// The start-up restore: which file it reads, what it applies, and what it keeps aside.
#include "recordingtarget.h"
#include "session/safefile.h"
#include "session/staterestore.h"
#include "session/textlimit.h"
#include "testfiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using namespace velloran::session;
using namespace Qt::StringLiterals;
using namespace velloran::testing;
using velloran::testing::RecordingTarget;

namespace {

class StateRestore : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

TEST_F(StateRestore, KeepAsideKeepsTheNewestThreeOfAnyKind)
{
    const QString target = path(u"Settings.ini"_s);
    for (const char* content : {"first", "second", "third", "fourth"}) {
        ASSERT_TRUE(writeBytes(target, content));
        EXPECT_EQ(keepAside(target), target + u".damaged"_s);
        EXPECT_FALSE(QFile::exists(target));
    }
    EXPECT_EQ(readBytes(target + u".damaged"_s), QByteArray("fourth"));
    EXPECT_EQ(readBytes(target + u".damaged.1"_s), QByteArray("third"));
    EXPECT_EQ(readBytes(target + u".damaged.2"_s), QByteArray("second"));
    EXPECT_FALSE(QFile::exists(target + u".damaged.3"_s));

    // A pipe and a folder move aside as well, without being opened.
    ASSERT_EQ(::mkfifo(QFile::encodeName(target).constData(), 0600), 0);
    EXPECT_EQ(keepAside(target), target + u".damaged"_s);
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(u"Settings.ini"_s));
    EXPECT_EQ(keepAside(target), target + u".damaged"_s);
    EXPECT_TRUE(QFileInfo(target + u".damaged"_s).isDir());
    EXPECT_EQ(readBytes(target + u".damaged.2"_s), QByteArray("fourth"));

    // A file that cannot be moved stays, and what was kept before is not given up for it.
    QString reason;
    EXPECT_FALSE(keepAside(path(u"missing"_s), &reason));
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_EQ(readBytes(target + u".damaged.2"_s), QByteArray("fourth"));
}

// What a recovery copy says it was made from.
enum class Made { Unsaid, FromThisSettings, FromAnother };

struct RestoreCase {
    const char* name;
    QByteArray settings;  // null: no Settings.ini
    QByteArray recovery;  // null: no recovery copy
    Made made;
    int recoveryAge;  // seconds the recovery copy is dated before Settings.ini (negative: after)
    int applied;
    bool fromRecovery;
    QStringList asideAfter;  // files named *.damaged afterwards
};

const QByteArray kWhole("150,20,35.75,-12000,\"\",3,7,\"saved\"\r\n");
const QByteArray kRecovered("150,20,35.75,-12000,\"\",3,7,\"typed since\"\r\n");
const QString kSettingsAside(u"Settings.ini.damaged"_s);
const QString kCopyAside(u"Settings.recovery.damaged"_s);
const QStringList kBothAside {kSettingsAside, kCopyAside};

TEST_F(StateRestore, StartUpRestoresTheNewestWholeStateAndKeepsDamagedFilesAside)
{
    using M = Made;
    const RestoreCase cases[] = {
        {"nothing", {}, {}, M::Unsaid, 0, 0, false, {}},
        {"whole settings", kWhole, {}, M::Unsaid, 0, 8, false, {}},
        {"cut short", kWhole.left(30), {}, M::Unsaid, 0, 0, false, {kSettingsAside}},
        {"speed rejected", "5" + kWhole.mid(3), {}, M::Unsaid, 0, 0, false, {kSettingsAside}},
        {"seconds rejected", kWhole.left(25) + "x,\"s\"\r\n", {}, M::Unsaid, 0, 6, false, {kSettingsAside}},
        {"recovery copy", kWhole, kRecovered, M::FromThisSettings, -30, 8, true, {}},
        {"copy, no settings", {}, kRecovered, M::FromThisSettings, 0, 8, true, {}},
        // The copy exists only after an abnormal end: a clock set back does not hide it.
        {"settings dated later", kWhole, kRecovered, M::FromThisSettings, 3600, 8, true, {}},
        {"earlier version's copy", kWhole, kRecovered, M::Unsaid, 3600, 8, true, {}},
        {"copy of another file", kWhole, kRecovered, M::FromAnother, -30, 8, false, {kCopyAside}},
        // All eight fields of a copy or none: the saved state is not mixed with a damaged copy.
        {"copy's speed 5", kWhole, "5" + kRecovered.mid(3), M::FromThisSettings, -30, 8, false, {kCopyAside}},
        {"copy's frequency 0", {}, "150,0" + kRecovered.mid(6), M::Unsaid, 0, 0, false, {kCopyAside}},
        {"copy cut short", kWhole, kRecovered.left(35), M::Unsaid, -30, 8, false, {kCopyAside}},
        {"both cut", kWhole.left(9), kRecovered.left(9), M::Unsaid, 0, 0, false, kBothAside},
    };
    for (const RestoreCase& c : cases) {
        QTemporaryDir folder;
        const QString settings = folder.filePath(u"Settings.ini"_s);
        const QString recovery = folder.filePath(u"Settings.recovery"_s);
        const QDateTime now = QDateTime::currentDateTime();
        if (!c.settings.isNull()) {
            ASSERT_TRUE(writeBytes(settings, c.settings));
            ASSERT_TRUE(setModified(settings, now));
        }
        if (!c.recovery.isNull()) {
            const std::optional<QByteArray> base = c.made == Made::FromAnother ? QByteArray("another")
                                                   : c.settings.isNull()       ? std::nullopt
                                                                               : std::optional(c.settings);
            ASSERT_TRUE(writeBytes(recovery, c.made == Made::Unsaid ? c.recovery
                                                                     : recoveryCopy(c.recovery, settingsDigest(base))));
            ASSERT_TRUE(setModified(recovery, now.addSecs(-c.recoveryAge)));
        }
        RecordingTarget target;
        const RestoreReport report =
            restoreState(settings, {folder.filePath(u"elsewhere"_s), recovery}, target);
        EXPECT_EQ(report.applied, c.applied) << c.name;
        EXPECT_EQ(target.accepted, c.applied) << c.name;
        EXPECT_EQ(report.fromRecovery, c.fromRecovery) << c.name;
        if (c.applied == 8) {
            EXPECT_EQ(target.record.script, c.fromRecovery ? u"typed since"_s : u"saved"_s) << c.name;
            // What the next copies are made from: Settings.ini as it stands.
            EXPECT_EQ(report.settingsBytes, c.settings.isNull() ? std::nullopt : std::optional(c.settings))
                << c.name;
        }
        EXPECT_EQ(QDir(folder.path()).entryList({u"*.damaged"_s}, QDir::AllEntries | QDir::System),
                  c.asideAfter)
            << c.name;
        // Every file set aside is named to the user, and so is a restore from the recovery copy
        // or from Settings.ini in its place.
        const QString said = report.messages.join(u'\n');
        for (const QString& aside : c.asideAfter)
            EXPECT_TRUE(said.contains(folder.filePath(aside))) << c.name << ": " << said.toStdString();
        EXPECT_EQ(said.contains(u"automatic copy"_s), c.fromRecovery) << c.name;
        EXPECT_EQ(said.contains(u"restored instead"_s),
                  c.asideAfter == QStringList {kCopyAside} && c.applied == 8)
            << c.name;
        EXPECT_EQ(report.messages.isEmpty(), c.asideAfter.isEmpty() && !c.fromRecovery) << c.name;
        // The kept-aside file holds the bytes that were there.
        if (c.asideAfter.contains(kSettingsAside)) {
            EXPECT_EQ(readBytes(settings + u".damaged"_s), c.settings) << c.name;
        }
    }
}

TEST_F(StateRestore, AScriptBeyondTheLimitIsKeptAsideWhole)
{
    const QString settings = path(u"Settings.ini"_s);
    // A line break counts as two characters, as the character counter counts it.
    for (const qint64 characters : {kMaxScriptCharacters, kMaxScriptCharacters + 1}) {
        const QByteArray record =
            "100,10,27.75,480,\"\",0,0,\"" + QByteArray(characters - 2, 'x') + "\r\n\"\r\n";
        ASSERT_TRUE(writeBytes(settings, record));
        RecordingTarget target;
        const RestoreReport report = restoreState(settings, {}, target);
        const bool within = characters <= kMaxScriptCharacters;
        EXPECT_EQ(report.applied, within ? 8 : 7) << characters;
        EXPECT_EQ(QFile::exists(settings + u".damaged"_s), !within) << characters;
        if (!within) {
            EXPECT_EQ(readBytes(settings + u".damaged"_s), record);
            EXPECT_TRUE(report.messages.join(u' ').contains(u"16,000,001 characters"_s))
                << report.messages.join(u' ').toStdString();
        }
    }
}

TEST_F(StateRestore, StartUpKeepsAsideWhatItCannotReadAtAll)
{
    const HangGuard guard(20);
    const QString settings = path(u"Settings.ini"_s);
    const QString recovery = path(u"Settings.recovery"_s);
    const struct {
        const char* name;
        std::function<void()> make;
        const char* why;
    } cases[] = {
        {"pipe", [&] { ASSERT_EQ(::mkfifo(QFile::encodeName(settings).constData(), 0600), 0); },
         "not a regular file"},
        {"folder", [&] { ASSERT_TRUE(QDir(m_dir.path()).mkdir(u"Settings.ini"_s)); }, "not a regular file"},
        {"too big",
         [&] {
             QFile file(settings);
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             ASSERT_TRUE(file.resize(kMaxRecordBytes + 1));
         },
         "too big"},
    };
    for (const auto& c : cases) {
        c.make();
        RecordingTarget target;
        const RestoreReport report = restoreState(settings, {recovery}, target);
        EXPECT_EQ(report.applied, 0) << c.name;
        EXPECT_TRUE(target.calls.empty()) << c.name;
        EXPECT_FALSE(QFileInfo::exists(settings)) << c.name;
        ASSERT_EQ(report.messages.size(), 1) << c.name;
        EXPECT_TRUE(report.messages[0].contains(QString::fromLatin1(c.why)))
            << report.messages[0].toStdString();
        EXPECT_TRUE(report.messages[0].contains(settings + u".damaged"_s)) << c.name;
        ASSERT_TRUE(QDir(m_dir.path()).removeRecursively() && QDir().mkpath(m_dir.path()));
    }
}

}  // namespace
