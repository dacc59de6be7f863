// The working state restored at start-up and saved on every way out of the main window; the
// areas that move the borderless window.
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include "harness.h"
#include "testclasses.h"
#include "ui/mainwindow/welcomescript.h"

namespace {

QString welcome()
{
    // The text box hands out line breaks as LF.
    return velloran::ui::welcomeScript().replace(u"\r\n"_s, u"\n"_s);
}

const QString kWelcome = u"(the welcome script)"_s;

bool minimised(const Harness& h)
{
    return h.w().windowState().testFlag(Qt::WindowMinimized);
}

}  // namespace

class FrmSetSettingsTest : public QObject {
    Q_OBJECT

private slots:
    void startsFromTheDesignState()
    {
        Harness h;
        QVERIFY(h.start());
        QCOMPARE(h.w().windowTitle(), u" Velloran"_s);
        QVERIFY(h.w().windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(h.w().size(), QSize(h.px(10935), h.px(6975)));
        QCOMPARE(h.text("lTime"), u"Run Time  0 : 0"_s);
        QCOMPARE(h.text("lScroll"), u"Scroll Spd : 100   Scroll Frq : 10"_s);
        QCOMPARE(h.text("lPos"), u"Scroller Position : -480"_s);
        const auto welcomeLength = velloran::ui::welcomeScript().size();
        QCOMPARE(h.text("lChar"), u"Chr # "_s + QString::number(welcomeLength));
        QCOMPARE(h.tex()->font().pointSizeF(), 27.75);
        QCOMPARE(h.child("fX")->pos(), QPoint(h.px(3480), h.px(720)));
        QVERIFY(!h.child("fX")->isVisible());
        QVERIFY(!h.child("tHelp")->isVisible());
        QVERIFY(!h.child("lBack")->isVisible());
        QVERIFY(h.child("lTime")->isVisible() && !h.child("lRun")->isVisible());
        QVERIFY(!h.child<QTimer>("tScroll")->isActive() && !h.timer("tTime")->isActive());
        QVERIFY(h.child<QTimer>("tRef")->isActive());
        QCOMPARE(h.services.ends, 0);
    }

    void restoresEveryField()
    {
        Harness h;
        const QString backup = h.path(u"spare.txt"_s);
        h.write(u"Settings.ini"_s,
                "150,20,35.75,-12000,\"" + backup.toUtf8() + "\",3,7,\"Hello\r\nWorld\"\r\n");
        QVERIFY(h.start());
        QCOMPARE(h.pane().speedValue(), 150);
        QCOMPARE(h.pane().frequencyValue(), 20);
        QCOMPARE(int(h.session->pace().speed), 150);
        QCOMPARE(int(h.session->pace().frequency), 20);
        QCOMPARE(h.child<QTimer>("tScroll")->interval(), 150);
        QCOMPARE(h.text("lScroll"), u"Scroll Spd : 150   Scroll Frq : 20"_s);
        QCOMPARE(h.tex()->pointSize(), 35.75);
        QCOMPARE(h.position(), -12000.0f);
        QCOMPARE(h.text("lPos"), u"Scroller Position : 12000"_s);
        QCOMPARE(h.session->backupPath(), backup);
        QVERIFY(h.child("lBack")->isVisible());
        QCOMPARE(h.text("lBack"), u"BACKUP File : spare.txt"_s);
        QCOMPARE(h.text("lTime"), u"Run Time  3 : 7"_s);
        QCOMPARE(h.script(), u"Hello\nWorld"_s);
        QCOMPARE(h.text("lChar"), u"Chr # 12"_s);
        QVERIFY(!h.child<QTimer>("tScroll")->isActive());
    }

    void appliesFieldsUntilOneFails_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("frequency");
        QTest::addColumn<float>("position");
        QTest::addColumn<QString>("backup");
        QTest::addColumn<QString>("clock");
        QTest::addColumn<QString>("script");
        QTest::addColumn<bool>("backupShown");
        const QString design = u"Run Time  0 : 0"_s;
        const QString unchanged = kWelcome;
        QTest::newRow("no file") << QByteArray() << 100 << 10 << 480.0f << QString() << design << unchanged
                                 << false;
        QTest::newRow("frequency 0: only the speed")
            << QByteArray("150,0,35.75,-12000,\"/x/spare.txt\",3,7,\"Hello\"\r\n") << 150 << 10 << 480.0f
            << QString() << design << unchanged << false;
        QTest::newRow("speed 5: nothing")
            << QByteArray("5,20,35.75,-12000,\"/x/spare.txt\",3,7,\"Hello\"\r\n") << 100 << 10 << 480.0f
            << QString() << design << unchanged << false;
        QTest::newRow("cut short after seven fields")
            << QByteArray("150,20,35.75,-12000,\"/x/spare.txt\",3,7") << 100 << 10 << 480.0f << QString()
            << design << unchanged << false;
        QTest::newRow("unterminated script")
            << QByteArray("150,20,35.75,-12000,\"/x/spare.txt\",3,7,\"Hello\r\n") << 100 << 10 << 480.0f
            << QString() << design << unchanged << false;
        QTest::newRow("seconds out of range: backup set, label hidden")
            << QByteArray("150,20,35.75,-12000,\"/x/spare.txt\",3,70000,\"Hello\"\r\n") << 150 << 20
            << -12000.0f << u"/x/spare.txt"_s << u"Run Time  3 : 0"_s << unchanged << false;
        QTest::newRow("empty minutes")
            << QByteArray("150,20,35.75,-12000,\"/x/spare.txt\",,7,\"Hello\"\r\n") << 150 << 20 << -12000.0f
            << u"/x/spare.txt"_s << u"Run Time  0 : 7"_s << u"Hello"_s << true;
        QTest::newRow("no backup: label hidden")
            << QByteArray("150,20,35.75,-12000,\"\",1,2,\"\"\r\n") << 150 << 20 << -12000.0f << QString()
            << u"Run Time  1 : 2"_s << u""_s << false;
    }

    void appliesFieldsUntilOneFails()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, speed);
        QFETCH(int, frequency);
        QFETCH(float, position);
        QFETCH(QString, backup);
        QFETCH(QString, clock);
        QFETCH(QString, script);
        QFETCH(bool, backupShown);
        Harness h;
        if (!file.isNull())
            h.write(u"Settings.ini"_s, file);
        QVERIFY(h.start());
        QCOMPARE(h.pane().speedValue(), speed);
        QCOMPARE(h.pane().frequencyValue(), frequency);
        QCOMPARE(h.child<QTimer>("tScroll")->interval(), speed);
        QCOMPARE(h.position(), position);
        QCOMPARE(h.session->backupPath(), backup);
        QCOMPARE(h.text("lTime"), clock);
        QCOMPARE(h.script(), script == kWelcome ? welcome() : script);
        QCOMPARE(h.child("lBack")->isVisible(), backupShown);
    }

    void escapeSavesOnceAndEnds()
    {
        Harness h;
        h.services.clipboard = u"Say \"hi\",\r\n\r\n  then go"_s;
        QVERIFY(h.start());
        h.key(Qt::Key_Insert);
        h.key(Qt::Key_Slash, Qt::AltModifier);
        QTRY_COMPARE(h.position(), 280.0f);
        h.key(Qt::Key_Escape);
        QCOMPARE(h.services.ends, 1);
        QCOMPARE(
            h.read(u"Settings.ini"_s),
            QByteArray("100,10,27.75,280,\"\",0,0,\"Say \xE2\x80\x9Chi\xE2\x80\x9D,\r\n\r\n  then go\"\r\n"));
        QCOMPARE(h.script(), u"Say \u201Chi\u201D,\n\n  then go"_s);  // the box shows the quotes as saved

        // Nothing runs after the end: neither another Escape nor the close that follows saves.
        QVERIFY(QFile::remove(h.path(u"Settings.ini"_s)));
        h.key(Qt::Key_Escape);
        h.w().close();
        QVERIFY(!QFile::exists(h.path(u"Settings.ini"_s)));
        QCOMPARE(h.services.ends, 1);
    }

    void exitButtonPress_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("ends");
        QTest::newRow("left") << Qt::LeftButton << true;
        QTest::newRow("middle") << Qt::MiddleButton << true;
        QTest::newRow("right") << Qt::RightButton << false;
    }

    void exitButtonPress()
    {
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, ends);
        Harness h;
        QVERIFY(h.start());
        QTest::mouseClick(h.child("cPlay"), Qt::LeftButton);
        QTest::mousePress(h.child("cX"), button);
        QCOMPARE(h.services.ends, ends ? 1 : 0);
        QCOMPARE(QFile::exists(h.path(u"Settings.ini"_s)), ends);
        QCOMPARE(h.child<QTimer>("tScroll")->isActive(), !ends);
        if (!ends) {
            QTest::mouseRelease(h.child("cX"), button);
            return;
        }

        // The release that follows the end does nothing more.
        QVERIFY(QFile::remove(h.path(u"Settings.ini"_s)));
        QTest::mouseRelease(h.child("cX"), button);
        h.w().close();
        QVERIFY(!minimised(h));
        QVERIFY(!QFile::exists(h.path(u"Settings.ini"_s)));
        QCOMPARE(h.services.ends, 1);
    }

    void exitButtonRightClickMinimises_data()
    {
        QTest::addColumn<bool>("play");
        QTest::newRow("playing") << true;
        QTest::newRow("paused") << false;
    }

    void exitButtonRightClickMinimises()
    {
        QFETCH(bool, play);
        Harness h;
        QVERIFY(h.start());
        if (play)
            QTest::mouseClick(h.child("cPlay"), Qt::LeftButton);
        QTest::mousePress(h.child("cX"), Qt::RightButton);
        QCOMPARE(h.child<QTimer>("tScroll")->isActive(), play);
        QVERIFY(!minimised(h));
        QTest::mouseRelease(h.child("cX"), Qt::RightButton);
        QVERIFY(minimised(h));
        QVERIFY(!h.child<QTimer>("tScroll")->isActive());
        QVERIFY(!h.child("cPause")->isVisible());
        QCOMPARE(h.child("Scroll")->width(), h.px(9975));
        QVERIFY(!QFile::exists(h.path(u"Settings.ini"_s)));
        QCOMPARE(h.services.ends, 0);
    }

    void secondCopyEndsWithoutTouchingTheFile()
    {
        Harness h;
        const QByteArray saved("150,20,35.75,-12000,\"\",3,7,\"Hello\"\r\n");
        h.write(u"Settings.ini"_s, saved);
        const QDateTime written = QFileInfo(h.path(u"Settings.ini"_s)).lastModified();
        h.services.anotherCopyRuns = true;
        QVERIFY(!h.start());
        QCOMPARE(h.services.ends, 1);
        QVERIFY(!h.w().isVisible());
        QCOMPARE(h.pane().speedValue(), 100);  // the file was not even read
        h.w().close();
        h.window.reset();
        QCOMPARE(h.read(u"Settings.ini"_s), saved);
        QCOMPARE(QFileInfo(h.path(u"Settings.ini"_s)).lastModified(), written);
    }

    void closeFromOutsideSaves()
    {
        Harness h;
        h.services.clipboard = u"Hi"_s;
        QVERIFY(h.start());
        h.key(Qt::Key_Insert);
        h.key(Qt::Key_Slash, Qt::AltModifier);
        QTRY_COMPARE(h.position(), 280.0f);
        QVERIFY(h.w().close());
        QCOMPARE(h.read(u"Settings.ini"_s), QByteArray("100,10,27.75,280,\"\",0,0,\"Hi\"\r\n"));
        QCOMPARE(h.services.ends, 0);
    }

    void stateSurvivesARestart()
    {
        Harness first;
        first.services.clipboard = u"  Lead, \"quoted\"\r\n\r\nÉté ü 日本"_s;
        first.write(u"Settings.ini"_s, "100,10,27.75,480,\"\",0,0,\"x\"\r\n");
        QVERIFY(first.start());
        first.key(Qt::Key_Insert);
        QTest::mouseClick(first.child("cFntPlus"), Qt::LeftButton);
        QTest::mouseClick(first.child("cPlay"), Qt::LeftButton);
        QWidget* speed = first.child("sSpeed");
        QTest::mouseClick(speed, Qt::LeftButton, Qt::NoModifier,
                          QPoint(speed->width() / 2, speed->height() * 3 / 4));
        QTest::mousePress(first.child("cPause"), Qt::LeftButton);
        QTest::mouseRelease(first.child("cPause"), Qt::LeftButton);
        first.session->setBackupPath(first.path(u"spare.txt"_s));
        first.pane().scroller().setPosition(-4321.5f);
        first.session->setClock({61, 9});
        first.key(Qt::Key_Escape);
        QCOMPARE(first.services.ends, 1);

        Harness again;
        again.services.folder = first.folder.path();
        QVERIFY(again.start());
        QCOMPARE(again.pane().speedValue(), 110);
        QCOMPARE(again.pane().frequencyValue(), 10);
        QCOMPARE(again.tex()->pointSize(), 29.75);
        QCOMPARE(again.position(), -4321.5f);
        QCOMPARE(again.session->backupPath(), first.path(u"spare.txt"_s));
        QCOMPARE(again.text("lBack"), u"BACKUP File : spare.txt"_s);
        QCOMPARE(again.text("lTime"), u"Run Time  61 : 9"_s);
        QCOMPARE(again.script(), u"  Lead, \u201Cquoted\u201D\n\nÉté ü 日本"_s);
    }

    // What the box does to hold a script (long lines cut into pieces, its own marks held by
    // stand-ins, lines grouped by direction) never reaches the file: a save writes it back as read.
    void scriptSurvivesASaveByteForByte()
    {
        QString line;
        while (line.size() < 300000)
            line += u"word \u05E9\u05DC\u05D5\u05DD "_s + QString(line.size() % 7, u'x');
        const QString script = u"a\uFDD0b\uFDD1c\uFDEE\r\n"_s + line + u"\r\n"_s + QString(5000, u'z');
        const QByteArray file = "100,10,27.75,480,\"\",0,0,\"" + script.toUtf8() + "\"\r\n";
        Harness h;
        h.write(u"Settings.ini"_s, file);
        QVERIFY(h.start());
        QVERIFY(h.w().SaveSettings());
        QVERIFY(h.read(u"Settings.ini"_s) == file);
    }

    void installedCopyKeepsItsStateInTheConfigFolder()
    {
        // The program folder can be written here, as the superuser finds /usr/bin: an installed
        // copy still leaves it alone.
        QTemporaryDir config;
        const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        Harness h;
        QVERIFY(QDir(h.folder.path()).mkpath(u"usr/bin"_s));
        QVERIFY(QDir(h.folder.path()).mkpath(u"usr/share/velloran"_s));
        h.services.folder = h.path(u"usr/bin"_s);
        h.services.installedData = h.path(u"usr/share/velloran"_s);
        h.write(u"usr/bin/Settings.ini"_s, "100,10,27.75,480,\"\",0,0,\"beside\"\r\n");
        QVERIFY(QDir().mkpath(config.filePath(u"Velloran"_s)));
        const QString kept = config.filePath(u"Velloran/Settings.ini"_s);
        QFile seed(kept);
        QVERIFY(seed.open(QIODevice::WriteOnly));
        seed.write("120,12,27.75,480,\"\",3,4,\"kept\"\r\n");
        seed.close();

        QVERIFY(h.start());
        QCOMPARE(h.script(), u"kept"_s);
        QCOMPARE(h.pane().speedValue(), 120);
        h.key(Qt::Key_Slash, Qt::AltModifier);
        QTRY_COMPARE(h.position(), 280.0f);
        h.key(Qt::Key_Escape);
        QCOMPARE(h.services.ends, 1);
        QFile saved(kept);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray("120,12,27.75,280,\"\",3,4,\"kept\"\r\n"));
        QCOMPARE(QDir(h.services.folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList {u"Settings.ini"_s});
        QCOMPARE(h.read(u"usr/bin/Settings.ini"_s), QByteArray("100,10,27.75,480,\"\",0,0,\"beside\"\r\n"));
        if (previous.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", previous);
    }

    // A save that once fell back to the configuration folder left the newer state there: the
    // options beside it are the ones the start and the Preferences dialog go by, until the
    // dialog saves them beside the program.
    void optionsAreReadBesideTheSettingsThatAreRead()
    {
        QTemporaryDir config;
        const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        Harness h;
        h.write(u"Settings.ini"_s, "100,10,27.75,480,\"\",0,0,\"older\"\r\n");
        QVERIFY(QDir().mkpath(config.filePath(u"Velloran"_s)));
        for (const auto& [name, bytes] :
             {std::pair {u"Settings.ini"_s, QByteArray("100,10,27.75,480,\"\",0,0,\"newer\"\r\n")},
              std::pair {u"Preferences.ini"_s, QByteArray("[Script]\nWholeScriptReachable=true\n")}}) {
            QFile file(config.filePath(u"Velloran/"_s + name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
            file.close();
            QVERIFY(file.open(QIODevice::Append));
            file.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime);
        }

        QVERIFY(h.start());
        QCOMPARE(h.script(), u"newer"_s);
        QVERIFY(h.pane().wholeScriptReachable());
        QVERIFY(h.session->rereadPreferences().wholeScriptReachable);
        velloran::session::Preferences changed = h.session->rereadPreferences();
        changed.cue = true;
        h.session->changePreferences(changed);
        QVERIFY(h.read(u"Preferences.ini"_s).contains("WholeScriptReachable=true"));
        QVERIFY(h.session->rereadPreferences().cue);
        if (previous.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", previous);
    }

    // Each area that moves the window hands it to the window manager once a press there has been
    // carried a few pixels with a button held, never on a press alone, so a double-click stays a
    // double-click; the right button alone moves nothing.
    void areasThatMoveTheWindow_data()
    {
        QTest::addColumn<QString>("area");
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<int>("moves");
        for (const char* area : {"frmSet", "Frame2", "Image1", "Image2", "lHelp", "lRun"}) {
            const QString name = QString::fromLatin1(area);
            QTest::addRow("%s, left drag", area) << name << u"drag"_s << Qt::LeftButton << 1;
            QTest::addRow("%s, middle drag", area) << name << u"drag"_s << Qt::MiddleButton << 1;
            QTest::addRow("%s, right drag", area) << name << u"drag"_s << Qt::RightButton << 0;
            QTest::addRow("%s, left press", area) << name << u"press"_s << Qt::LeftButton << 0;
            QTest::addRow("%s, left press with a tremor", area) << name << u"tremor"_s << Qt::LeftButton << 0;
            QTest::addRow("%s, double-click", area) << name << u"double-click"_s << Qt::LeftButton << 0;
        }
        QTest::newRow("statistics caption, left drag") << u"lTime"_s << u"drag"_s << Qt::LeftButton << 0;
        QTest::newRow("script area, left drag") << u"Scroll"_s << u"drag"_s << Qt::LeftButton << 0;
        QTest::newRow("TextFinder panel, left drag") << u"fX"_s << u"drag"_s << Qt::LeftButton << 0;
    }

    void areasThatMoveTheWindow()
    {
        QFETCH(QString, area);
        QFETCH(QString, gesture);
        QFETCH(Qt::MouseButton, button);
        QFETCH(int, moves);
        Harness h;
        QVERIFY(h.start());
        if (area == u"lRun")
            h.w().ToggleStats();  // the tip labels stand in for the captions
        if (area == u"fX")
            h.w().ToggleTextFinder();
        QWidget* target = area == u"frmSet" ? h.window.get() : h.child(area.toLatin1().constData());
        const QPoint at = area == u"frmSet"   ? QPoint(5, h.px(2000))
                          : area == u"Frame2" ? QPoint(5, h.px(1200))
                          : area == u"Scroll" ? QPoint(2, h.px(3000))
                          : area == u"fX"     ? QPoint(5, 5)
                                              : target->rect().center();
        const int distance = QApplication::startDragDistance();
        if (gesture == u"double-click") {
            Harness::doubleClick(target, at);
        } else {
            QTest::mousePress(target, button, Qt::NoModifier, at);
            if (gesture != u"press")
                Harness::moveHeld(target, at + QPoint(gesture == u"drag" ? distance : distance / 2, 0),
                                  button);
            QTest::mouseRelease(target, button, Qt::NoModifier, at);
        }
        QCOMPARE(h.services.windowMoves, moves);
        QCOMPARE(h.w().height(),
                 h.px(gesture == u"double-click" && area != u"Image1" && area != u"frmSet" && area != u"lRun"
                          ? 6615
                          : 6975));
    }
};

VELLORAN_TEST_CLASS(FrmSetSettingsTest);
#include "frmset_settings_test.moc"
