// Nothing typed or loaded is lost: full disks, damaged state files, crashes, end signals and the
// end of the desktop session, in the main window and the full-screen window.
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QSignalSpy>
#include <QTimer>

#include "harness.h"
#include "platform/endsignals.h"
#include "session/recoverycopy.h"
#include "session/settingsrecord.h"
#include "session/textcodec.h"
#include "session/textlimit.h"
#include "testclasses.h"
#include "ui/fullscreen/frmfull.h"
#include "ui/script/scripttext.h"
#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>

using velloran::session::withLineBreaks;
using velloran::session::RecoveryCopy;

namespace {

const QByteArray kSaved("100,10,27.75,480,\"\",0,0,\"saved\"\r\n");

// The script field of a record file, or a marker when it does not hold a whole record.
QString scriptOf(const QByteArray& record)
{
    const auto fields = velloran::session::readFields(velloran::session::decodeText(record));
    return fields ? (*fields)[7].text : u"(no record)"_s;
}

QString fontOf(const QByteArray& record)
{
    const auto fields = velloran::session::readFields(velloran::session::decodeText(record));
    return fields ? (*fields)[2].text : QString();
}

RecoveryCopy* recoveryOf(Harness& h)
{
    auto* copy = h.session->findChild<RecoveryCopy*>();
    if (!copy)
        qFatal("no recovery copy");
    return copy;
}

void type(Harness& h, const QString& text)
{
    h.tex()->setFocus();
    QTest::keyClicks(h.tex(), text);
}

void setModified(const QString& path, const QDateTime& when)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(when, QFileDevice::FileModificationTime));
}

}  // namespace

class FrmSetSafetyTest : public QObject {
    Q_OBJECT

private slots:
    void failedSaveAsksToStayOrLeave_data()
    {
        QTest::addColumn<QString>("exit");
        QTest::addColumn<bool>("leave");
        for (const QString& exit : {u"Escape"_s, u"cX"_s, u"close"_s}) {
            QTest::newRow(qPrintable(exit + u", stay"_s)) << exit << false;
            QTest::newRow(qPrintable(exit + u", leave"_s)) << exit << true;
        }
    }

    void failedSaveAsksToStayOrLeave()
    {
        QFETCH(QString, exit);
        QFETCH(bool, leave);
        // Neither the program folder nor the fallback configuration folder can be created, even
        // for the superuser.
        const ScopedEnv config("XDG_CONFIG_HOME", "/proc/velloran-no-config");
        Harness h;
        h.services.folder = u"/proc/velloran-no-folder"_s;
        h.services.afterFailedSave =
            leave ? velloran::platform::FailedSaveChoice::Leave : velloran::platform::FailedSaveChoice::Stay;
        QVERIFY(h.start());
        h.tex()->setPlainText(u"work to keep"_s);
        if (exit == u"Escape")
            h.key(Qt::Key_Escape);
        else if (exit == u"cX")
            QTest::mouseClick(h.child("cX"), Qt::LeftButton);
        else
            QCOMPARE(h.w().close(), leave);
        // The question names the file and the reason, once; staying keeps the window and its work.
        QCOMPARE(h.services.failedSaves.size(), 1);
        QVERIFY2(h.services.failedSaves[0].contains(u"/Settings.ini: "_s),
                 qPrintable(h.services.failedSaves[0]));
        QVERIFY(!h.services.failedSaves[0].endsWith(u": "_s));
        QCOMPARE(h.services.ends, leave && exit != u"close" ? 1 : 0);
        QCOMPARE(h.w().isVisible(), !leave || exit != u"close");  // the fake end leaves it shown
        QCOMPARE(h.script(), u"work to keep"_s);
    }

    void fullDiskAsksAndStayingKeepsTheWork()
    {
        Harness h;
        const ScopedEnv config("XDG_CONFIG_HOME", h.path(u"config"_s).toLocal8Bit());
        h.write(u"Settings.ini"_s, kSaved);
        QVERIFY(h.start());
        const QString script = QString(u"A line of the script that fills the disk.\n"_s).repeated(2000);
        h.tex()->setPlainText(script);

        // A full disk, for the program folder and the configuration folder alike: a file-size
        // limit binds the superuser too.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved {};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit small = saved;
        small.rlim_cur = 4096;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        h.key(Qt::Key_Escape);
        setrlimit(RLIMIT_FSIZE, &saved);
        QCOMPARE(h.services.failedSaves.size(), 1);
        QVERIFY2(h.services.failedSaves[0].startsWith(h.path(u"Settings.ini: "_s)),
                 qPrintable(h.services.failedSaves[0]));
        // The system's own reason, not a vague one.
        QVERIFY2(h.services.failedSaves[0].endsWith(QString::fromLocal8Bit(std::strerror(EFBIG))),
                 qPrintable(h.services.failedSaves[0]));
        QCOMPARE(h.services.ends, 0);
        QCOMPARE(h.read(u"Settings.ini"_s), kSaved);
        QCOMPARE(h.tex()->script(), script);  // still all there to save again

        h.key(Qt::Key_Escape);  // room again
        QCOMPARE(h.services.ends, 1);
        QCOMPARE(h.services.failedSaves.size(), 1);
        QCOMPARE(scriptOf(h.read(u"Settings.ini"_s)), withLineBreaks(script, u"\r\n"));
        QCOMPARE(QDir(h.folder.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList {u"Settings.ini"_s});
    }

    void saveGoesToTheConfigFolderWhenTheProgramFolderFailsAndIsReadThere()
    {
        QTemporaryDir home;
        const ScopedEnv config("XDG_CONFIG_HOME", home.path().toLocal8Bit());
        Harness first;
        first.write(u"Settings.ini"_s, kSaved);
        QVERIFY(first.start());
        first.services.clipboard = u"written elsewhere"_s;
        first.key(Qt::Key_Insert);
        // The program folder's file can no longer be replaced: a folder stands in its place.
        QVERIFY(QFile::remove(first.path(u"Settings.ini"_s)));
        QVERIFY(QDir(first.folder.path()).mkdir(u"Settings.ini"_s));
        first.key(Qt::Key_Escape);
        QCOMPARE(first.services.ends, 1);
        QVERIFY(first.services.failedSaves.isEmpty());
        QFile fallback(home.filePath(u"Velloran/Settings.ini"_s));
        QVERIFY(fallback.open(QIODevice::ReadOnly));
        QCOMPARE(scriptOf(fallback.readAll()), u"written elsewhere"_s);

        QVERIFY(QDir(first.path(u"Settings.ini"_s)).removeRecursively());
        first.write(u"Settings.ini"_s, kSaved);
        setModified(first.path(u"Settings.ini"_s), QDateTime::currentDateTime().addSecs(-60));
        Harness again;
        again.services.folder = first.folder.path();
        QVERIFY(again.start());
        QCOMPARE(again.script(), u"written elsewhere"_s);  // the newer of the two
    }

    void damagedStateIsKeptAsideWithANotice_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("speed");
        QTest::newRow("cut short") << u"file"_s << QByteArray("150,20,35.75,-12000,\"\",3,7,\"Hel") << 100;
        QTest::newRow("seconds damaged")
            << u"file"_s << QByteArray("150,20,35.75,-12000,\"\",3,x,\"Hi\"\r\n") << 150;
        QTest::newRow("too big") << u"big"_s << QByteArray() << 100;
        QTest::newRow("pipe") << u"pipe"_s << QByteArray() << 100;
    }

    void damagedStateIsKeptAsideWithANotice()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, bytes);
        QFETCH(int, speed);
        Harness h;
        const QString settings = h.path(u"Settings.ini"_s);
        if (kind == u"file") {
            h.write(u"Settings.ini"_s, bytes);
        } else if (kind == u"big") {
            QFile file(settings);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.resize(velloran::session::kMaxRecordBytes + 1));  // sparse: takes no room
        } else {
            QCOMPARE(::mkfifo(QFile::encodeName(settings).constData(), 0600), 0);
        }
        ::alarm(20);  // a start that waits on the pipe fails here rather than hanging
        QVERIFY(h.start());
        ::alarm(0);
        QCOMPARE(h.pane().speedValue(), speed);  // the fields before the failure are applied
        QVERIFY2(h.notice().contains(settings + u".damaged"_s), qPrintable(h.notice()));
        QVERIFY(QFileInfo::exists(settings + u".damaged"_s));
        QVERIFY(!QFileInfo::exists(settings));
        if (kind == u"file")
            QCOMPARE(h.read(u"Settings.ini.damaged"_s), bytes);

        // The next save writes a new file and leaves the kept copy alone; the notice went away
        // when clicked.
        QTest::mouseClick(h.child("lNotice"), Qt::LeftButton);
        QVERIFY(h.notice().isEmpty());
        h.key(Qt::Key_Escape);
        QCOMPARE(h.services.ends, 1);
        QVERIFY(QFileInfo(settings).isFile());
        QVERIFY(QFileInfo::exists(settings + u".damaged"_s));
    }

    void recoveryCopyFollowsChangesButNotTicksAndGoesOnExit()
    {
        Harness h;
        h.write(u"Settings.ini"_s, kSaved);
        QVERIFY(h.start());
        RecoveryCopy* copy = recoveryOf(h);
        copy->setDelay(20);
        QSignalSpy written(copy, &RecoveryCopy::copyWritten);
        const QString recovery = h.path(u"Settings.recovery"_s);
        QVERIFY(h.notice().isEmpty());
        QVERIFY(!QFile::exists(recovery));

        type(h, u"typed "_s);
        QTRY_VERIFY(written.count() >= 1);
        QCOMPARE(written.last().at(0).toBool(), true);
        QCOMPARE(scriptOf(h.read(u"Settings.recovery"_s)), u"typed saved"_s);
        QCOMPARE(h.read(u"Settings.ini"_s), kSaved);  // Settings.ini keeps its meaning

        // Playing: the click is a change, the ticks that follow are not.
        QTest::mouseClick(h.child("cPlay"), Qt::LeftButton);
        const int afterClick = written.count() + 1;
        QTRY_COMPARE(written.count(), afterClick);
        for (int i = 0; i < 50; ++i)
            QVERIFY(h.expire("tScroll"));
        QVERIFY(!copy->findChild<QTimer*>()->isActive());
        QCOMPARE(written.count(), afterClick);

        h.key(Qt::Key_Escape);
        QCOMPARE(h.services.ends, 1);
        QVERIFY(!QFile::exists(recovery));
        QCOMPARE(scriptOf(h.read(u"Settings.ini"_s)), u"typed saved"_s);
    }

    void recoveryCopyThatCannotBeWrittenAnywhereIsSaidOnce()
    {
        const ScopedEnv config("XDG_CONFIG_HOME", "/proc/velloran-no-config");
        Harness h;
        h.services.folder = u"/proc/velloran-no-folder"_s;
        QVERIFY(h.start());
        RecoveryCopy* copy = recoveryOf(h);
        copy->setDelay(20);
        QSignalSpy written(copy, &RecoveryCopy::copyWritten);
        type(h, u"a"_s);
        QTRY_COMPARE(written.count(), 1);
        QCOMPARE(written.last().at(0).toBool(), false);
        QVERIFY2(h.notice().contains(u"No automatic copy"_s) &&
                     h.notice().contains(u"/Settings.recovery: "_s),
                 qPrintable(h.notice()));
        QTest::mouseClick(h.child("lNotice"), Qt::LeftButton);
        type(h, u"b"_s);
        QTRY_COMPARE(written.count(), 2);
        QVERIFY(h.notice().isEmpty());  // told once, not at every retry
    }

    void backupPathWithADoubleQuoteIsRefusedAndSaid()
    {
        Harness h;
        QVERIFY(h.start());
        h.session->setBackupPath(h.path(u"plain.txt"_s));
        h.session->setBackupPath(h.path(u"my \"show\"/b\"ack,up.txt"_s));
        QCOMPARE(h.session->backupPath(), h.path(u"plain.txt"_s));
        QVERIFY2(h.notice().contains(u"\"b\"ack,up.txt\" cannot be the backup script"_s) &&
                     h.notice().contains(u"double quote"_s),
                 qPrintable(h.notice()));
    }

    void newerRecoveryCopyIsRestoredAndSaid()
    {
        Harness h;
        h.write(u"Settings.ini"_s, kSaved);
        h.write(u"Settings.recovery"_s, "100,10,27.75,480,\"\",0,0,\"typed before the crash\"\r\n");
        setModified(h.path(u"Settings.ini"_s), QDateTime::currentDateTime().addSecs(-60));
        QVERIFY(h.start());
        QCOMPARE(h.script(), u"typed before the crash"_s);
        QVERIFY2(h.notice().contains(u"automatic copy "_s + h.path(u"Settings.recovery"_s)),
                 qPrintable(h.notice()));
        // Kept until the state is saved, so a second crash still finds it.
        QVERIFY(QFile::exists(h.path(u"Settings.recovery"_s)));
        h.key(Qt::Key_Escape);
        QVERIFY(!QFile::exists(h.path(u"Settings.recovery"_s)));
        QCOMPARE(scriptOf(h.read(u"Settings.ini"_s)), u"typed before the crash"_s);
    }

    void endSignalSavesOnceAsTheShownWindowsSavingExit_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::addColumn<bool>("fullScreen");
        QTest::newRow("SIGTERM, main window") << SIGTERM << false;
        QTest::newRow("SIGHUP, main window") << SIGHUP << false;
        QTest::newRow("SIGINT, full screen") << SIGINT << true;
    }

    void endSignalSavesOnceAsTheShownWindowsSavingExit()
    {
        QFETCH(int, signalNumber);
        QFETCH(bool, fullScreen);
        Harness h;
        h.write(u"Settings.ini"_s, kSaved);
        QVERIFY(h.start());
        velloran::platform::EndSignals bridge;  // wired as the program wires it
        QObject::connect(&bridge, &velloran::platform::EndSignals::received, h.session.get(), &velloran::session::AppSession::endFromOutside);
        QSignalSpy delivered(&bridge, &velloran::platform::EndSignals::received);
        type(h, u"typed "_s);
        QPointer<velloran::ui::frmFull> full;
        if (fullScreen) {
            full = h.openFullScreen();
            QTest::mouseClick(full->findChild<QWidget*>(u"cFntPlus"_s), Qt::LeftButton);  // 36 -> 38
        }
        QCOMPARE(::raise(signalNumber), 0);
        QTRY_COMPARE(h.services.ends, 1);
        // While the full-screen window is shown, the record is the one its X button writes: the
        // main window's state with the full-screen font size.
        const QByteArray record = h.read(u"Settings.ini"_s);
        QCOMPARE(scriptOf(record), u"typed saved"_s);
        QCOMPARE(fontOf(record), fullScreen ? u"38"_s : u"27.75"_s);
        QVERIFY(!QFile::exists(h.path(u"Settings.recovery"_s)));
        QFile::remove(h.path(u"Settings.ini"_s));
        QCOMPARE(::raise(signalNumber), 0);  // a second signal saves nothing more
        QTRY_COMPARE(delivered.count(), 2);
        QVERIFY(!QFile::exists(h.path(u"Settings.ini"_s)));
        QCOMPARE(h.services.ends, 1);
        delete full.data();
    }

    void desktopSessionEndSavesAndTheProgramGoesOn()
    {
        Harness h;
        h.write(u"Settings.ini"_s, kSaved);
        QVERIFY(h.start());
        type(h, u"typed "_s);
        h.session->saveForSessionEnd();
        QCOMPARE(scriptOf(h.read(u"Settings.ini"_s)), u"typed saved"_s);
        QCOMPARE(h.services.ends, 0);
        QVERIFY(h.w().isVisible());
    }

    void fullScreenExitsRemoveTheRecoveryCopy_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Escape: nothing saved, by design") << true;
        QTest::newRow("X button: saved") << false;
    }

    void fullScreenExitsRemoveTheRecoveryCopy()
    {
        QFETCH(bool, escape);
        Harness h;
        QVERIFY(h.start());
        RecoveryCopy* copy = recoveryOf(h);
        copy->setDelay(20);
        QSignalSpy written(copy, &RecoveryCopy::copyWritten);
        type(h, u"typed"_s);
        QTRY_VERIFY(written.count() >= 1);
        const QString recovery = h.path(u"Settings.recovery"_s);
        QVERIFY(QFile::exists(recovery));
        QPointer<velloran::ui::frmFull> full = h.openFullScreen();
        if (escape)
            QTest::keyClick(texOf(full), Qt::Key_Escape);
        else
            QTest::mouseClick(full->findChild<QWidget*>(u"cX"_s), Qt::LeftButton);
        QCOMPARE(h.services.ends, 1);
        QVERIFY(!QFile::exists(recovery));
        QCOMPARE(QFile::exists(h.path(u"Settings.ini"_s)), !escape);
        delete full.data();
    }
};

VELLORAN_TEST_CLASS(FrmSetSafetyTest);
#include "frmset_safety_test.moc"
