// The application session alone, with the operating system faked and no window: what it restores,
// keeps and writes back, and how it ends.
#include <QCoreApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include "fakeservices.h"
#include "manualtimers.h"
#include "session/appsession.h"
#include "session/readingview.h"
#include "testfiles.h"

using namespace Qt::StringLiterals;
using velloran::session::AppSession;
using velloran::session::SettingsRecord;
using velloran::testing::readBytes;
using velloran::testing::writeBytes;

namespace {

QCoreApplication& application()
{
    static int argc = 1;
    static char name[] = "appsession_test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

// A window's reading as the session reaches it, with a place and a font of its own.
class FakeReading final : public velloran::session::ReadingView {
public:
    SettingsRecord shown;
    bool isPlaying = false;
    int halts = 0;

    bool playing() const override { return isPlaying; }
    void TogglePlay() override { isPlaying = !isPlaying; }
    void halt() override
    {
        isPlaying = false;
        ++halts;
    }
    SettingsRecord snapshot() const override { return shown; }
    QString script() const override { return shown.script; }
    QString PrepareText() override { return shown.script; }
};

class AppSessionTest : public ::testing::Test {
protected:
    AppSessionTest() { application(); }

    QString file(const QString& name) const { return folder.filePath(name); }
    // A session over the folder, started on the given Settings.ini (none when null).
    std::unique_ptr<AppSession> started(const QByteArray& settings)
    {
        services.folder = folder.path();
        if (!settings.isNull()) {
            EXPECT_TRUE(writeBytes(file(u"Settings.ini"_s), settings));
        }
        auto session = std::make_unique<AppSession>(services);
        EXPECT_TRUE(session->start());
        return session;
    }

    QTemporaryDir folder;
    FakeServices services;
};

const QByteArray kSaved("250,20,30,-1200,\"\",5,58,\"Line one\r\nLine two\"\r\n");

TEST_F(AppSessionTest, RestoresPlaysAndSavesTheSameBytesBack)
{
    const auto session = started(kSaved);
    EXPECT_EQ(session->pace().speed, 250);
    EXPECT_EQ(session->pace().frequency, 20);
    EXPECT_EQ(session->clock().minutes, 5);
    EXPECT_EQ(session->restored().applied, 8);
    EXPECT_EQ(session->restored().record.script, u"Line one\nLine two"_s);

    // Nothing changed: the file comes back byte for byte.
    ASSERT_TRUE(session->saveState(session->restored().record.fontSize).saved);
    EXPECT_EQ(readBytes(file(u"Settings.ini"_s)), kSaved);

    // Playing runs the clock, which rolls over into the minutes; a new pace is kept with it.
    QSignalSpy clockSeen(session.get(), &AppSession::clockChanged);
    QSignalSpy paceSeen(session.get(), &AppSession::paceChanged);
    ManualTimers time({session->clockTimer()});
    session->clockTimer()->start();
    ASSERT_TRUE(time.expire(session->clockTimer()));
    ASSERT_TRUE(time.expire(session->clockTimer()));
    ASSERT_TRUE(time.expire(session->clockTimer()));
    session->setSpeed(90);
    EXPECT_EQ(clockSeen.count(), 3);
    EXPECT_EQ(paceSeen.count(), 1);
    ASSERT_TRUE(session->saveState(30).saved);
    EXPECT_EQ(readBytes(file(u"Settings.ini"_s)), "90,20,30,-1200,\"\",6,1,\"Line one\r\nLine two\"\r\n");
}

TEST_F(AppSessionTest, RefusesWhatSettingsIniCannotKeepAndAnotherCopy)
{
    const auto session = started(QByteArray());
    QSignalSpy notices(session.get(), &AppSession::notice);
    const QString quoted = file(u"say \"hi\".txt"_s);
    EXPECT_FALSE(session->setBackupPath(quoted));
    EXPECT_EQ(notices.count(), 1);
    EXPECT_TRUE(session->backupPath().isEmpty());
    EXPECT_TRUE(session->setBackupPath(file(u"plain.txt"_s)));
    EXPECT_EQ(session->backupPath(), file(u"plain.txt"_s));

    FakeServices other;
    other.folder = folder.path();
    other.anotherCopyRuns = true;
    AppSession second(other);
    EXPECT_FALSE(second.start());
    EXPECT_EQ(other.ends, 1);
}

TEST_F(AppSessionTest, EndFromOutsideSavesTheWindowsStateOnceAndEnds)
{
    const auto session = started(kSaved);
    FakeReading reading;
    reading.shown = session->restored().record;
    reading.shown.position = -4000;
    reading.shown.fontSize = 42;
    reading.shown.script = u"typed"_s;
    reading.isPlaying = true;
    session->setMainWindow({nullptr, &reading});

    session->endFromOutside();
    EXPECT_EQ(services.ends, 1);
    EXPECT_EQ(reading.halts, 1);
    EXPECT_EQ(readBytes(file(u"Settings.ini"_s)), "250,20,42,-4000,\"\",5,58,\"typed\"\r\n");

    ASSERT_TRUE(QFile::remove(file(u"Settings.ini"_s)));
    session->endFromOutside();  // a second signal: nothing more
    EXPECT_EQ(services.ends, 1);
    EXPECT_FALSE(QFile::exists(file(u"Settings.ini"_s)));
}

}  // namespace
