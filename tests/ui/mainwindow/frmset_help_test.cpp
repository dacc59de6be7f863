// The help panel, the statistics captions and the Instant Help bar of the main window.
#include "harness.h"
#include "testclasses.h"
#include <QDir>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTextBlock>

using widgettools::wholeAndOnTop;

namespace {

const QString kDefaultHelp =
    u"                                      Instant Help... When pointer is over any control, read me for "
    "complete instructions.      (Double-click to hide/view Instant Help)"_s;

bool captionsShown(const Harness& h)
{
    const bool captions = h.child("lTime")->isVisible();
    if (h.child("lScroll")->isVisible() != captions || h.child("lChar")->isVisible() != captions)
        qFatal("the statistics captions are out of step");
    return captions;
}

bool tipLabelsShown(const Harness& h)
{
    return h.child("lRun")->isVisible() && h.child("lStats")->isVisible() &&
           h.child("lCharTips")->isVisible();
}

}  // namespace

class FrmSetHelpTest : public QObject {
    Q_OBJECT

private slots:
    void withoutHelpFileThePanelIsEmpty_data()
    {
        QTest::addColumn<QString>("helpFile");
        for (const QString& kind : {u"missing"_s, u"pipe"_s, u"device"_s})
            QTest::newRow(qPrintable(kind)) << kind;
    }

    void withoutHelpFileThePanelIsEmpty()
    {
        QFETCH(QString, helpFile);
        Harness h;
        if (helpFile == u"pipe")
            QCOMPARE(::mkfifo(QFile::encodeName(h.path(u"help.txt"_s)).constData(), 0600), 0);
        else if (helpFile == u"device")
            QVERIFY(QFile::link(u"/dev/zero"_s, h.path(u"help.txt"_s)));
        ::alarm(20);  // a start that waits on the pipe or reads the device for ever fails here
        QVERIFY(h.start());
        ::alarm(0);
        QTest::mouseClick(h.child("cHelp"), Qt::LeftButton);
        auto* panel = h.child<QPlainTextEdit>("tHelp");
        QVERIFY(panel->isVisible());
        QCOMPARE(panel->toPlainText(), QString());
        QTest::mouseClick(h.child("cHelp"), Qt::LeftButton);
        QVERIFY(panel->isVisible());
    }

    void helpFileFillsThePanelAndDoubleClickReloadsIt_data()
    {
        QTest::addColumn<QString>("helpFile");  // relative to a prefix; the program is in usr/bin
        QTest::newRow("copy run in place") << u"usr/bin/help.txt"_s;
        QTest::newRow("installed copy") << u"usr/share/velloran/help.txt"_s;
    }

    void helpFileFillsThePanelAndDoubleClickReloadsIt()
    {
        QFETCH(QString, helpFile);
        Harness h;
        QVERIFY(QDir(h.folder.path()).mkpath(QFileInfo(helpFile).path()));
        QVERIFY(QDir(h.folder.path()).mkpath(u"usr/bin"_s));
        h.services.folder = h.path(u"usr/bin"_s);
        if (!helpFile.startsWith(u"usr/bin/"))
            h.services.installedData = h.path(QFileInfo(helpFile).path());
        h.write(helpFile, "How to scroll\r\n\r\nPress PLAY.");
        QVERIFY(h.start());
        h.key(Qt::Key_F2);
        auto* panel = h.child<QPlainTextEdit>("tHelp");
        QVERIFY(!panel->isVisible());
        QTest::mouseClick(h.child("cHelp"), Qt::LeftButton);
        QCOMPARE(panel->toPlainText(), u"How to scroll\n\nPress PLAY."_s);

        // A click puts the cursor where the user points, as in any text box.
        const QRect third = panel->cursorRect(QTextCursor(panel->document()->findBlockByNumber(2)));
        QTest::mouseClick(panel->viewport(), Qt::LeftButton, Qt::NoModifier, third.center());
        QCOMPARE(panel->textCursor().blockNumber(), 2);
        QTest::keyClicks(panel, u"typed "_s);
        QCOMPARE(panel->toPlainText(), u"How to scroll\n\ntyped Press PLAY."_s);
        Harness::doubleClick(panel->viewport(), QPoint(3, 3));
        QCOMPARE(panel->toPlainText(), u"How to scroll\n\nPress PLAY."_s);
        QCOMPARE(h.read(helpFile), QByteArray("How to scroll\r\n\r\nPress PLAY."));
    }

    void playingClosesThePanelAndWidensIt()
    {
        Harness h;
        QVERIFY(h.start());
        QTest::mouseClick(h.child("cHelp"), Qt::LeftButton);
        QTest::mouseClick(h.child("cPlay"), Qt::LeftButton);
        QWidget* panel = h.child("tHelp");
        QVERIFY(!panel->isVisible());
        QTest::mouseClick(h.child("cHelp"), Qt::LeftButton);
        QVERIFY(panel->isVisible());
        QCOMPARE(panel->width(), h.px(10025));
    }

    void helpButtonByMouseButton_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("finderOpen");
        QTest::addColumn<bool>("helpShown");
        QTest::addColumn<bool>("captionsToggle");
        QTest::newRow("left, from the TextFinder") << Qt::LeftButton << true << true << false;
        QTest::newRow("middle") << Qt::MiddleButton << false << true << true;
        QTest::newRow("right, from the TextFinder") << Qt::RightButton << true << false << true;
    }

    void helpButtonByMouseButton()
    {
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, finderOpen);
        QFETCH(bool, helpShown);
        QFETCH(bool, captionsToggle);
        Harness h;
        QVERIFY(h.start());
        if (finderOpen)
            QTest::mouseClick(h.child("cFile"), Qt::LeftButton);
        QCOMPARE(h.child("fX")->isVisible(), finderOpen);
        QVERIFY(captionsShown(h));

        QTest::mousePress(h.child("cHelp"), button);
        QCOMPARE(h.child("tHelp")->isVisible(), helpShown);
        QVERIFY(!h.child("fX")->isVisible());
        QVERIFY(captionsShown(h));  // the captions change on the release only
        QTest::mouseRelease(h.child("cHelp"), button);
        QCOMPARE(captionsShown(h), !captionsToggle);
        QCOMPARE(tipLabelsShown(h), captionsToggle);
    }

    void rightClickHidesAnOpenHelpPanel()
    {
        Harness h;
        QVERIFY(h.start());
        QTest::mouseClick(h.child("cHelp"), Qt::LeftButton);
        QTest::mouseClick(h.child("cHelp"), Qt::RightButton);
        QVERIFY(!h.child("tHelp")->isVisible());
        QVERIFY(tipLabelsShown(h));
    }

    void singleCaptionSwapAndGroupToggle()
    {
        Harness h;
        QVERIFY(h.start());
        Harness::doubleClick(h.child("lTime"));
        QVERIFY(!h.child("lTime")->isVisible());
        QVERIFY(h.child("lRun")->isVisible());
        QVERIFY(h.child("lScroll")->isVisible());
        QVERIFY(!h.child("lStats")->isVisible());
        QTest::mouseClick(h.child("cHelp"), Qt::RightButton);
        QVERIFY(!captionsShown(h));
        QVERIFY(tipLabelsShown(h));
        QTest::mouseClick(h.child("cHelp"), Qt::RightButton);
        QVERIFY(captionsShown(h));
        QVERIFY(!h.child("lRun")->isVisible());
    }

    void tipLabelsCarryTheValues()
    {
        Harness h;
        h.write(u"Settings.ini"_s, "150,20,27.75,-12000,\"\",4,2,\"abc\"\r\n");
        QVERIFY(h.start());
        QTest::mouseClick(h.child("cHelp"), Qt::RightButton);
        const struct {
            const char* label;
            QString tooltip;
        } tips[] = {
            {"lRun", u"Run Time  4 : 2"_s},
            {"lStats", u"Scroll Spd : 150   Scroll Frq : 20    Scroller Position : 12000"_s},
            {"lCharTips", u"Chr # 3"_s},
        };
        for (const auto& tip : tips) {
            Harness::hover(h.child(tip.label));
            QCOMPARE(h.child(tip.label)->toolTip(), tip.tooltip);
        }
    }

    void instantHelpTexts_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("setup");  // "play", "finder", "help", "backup" or ""
        QTest::addColumn<QPoint>("at");      // in the control, pixels; null for its centre
        QTest::addColumn<QString>("text");
        const QPoint centre;
        QTest::newRow("window background") << u"frmSet"_s << QString() << QPoint(5, 150) << kDefaultHelp;
        QTest::newRow("controls background") << u"Frame2"_s << QString() << QPoint(5, 5) << kDefaultHelp;
        QTest::newRow("cPlay") << u"cPlay"_s << QString() << centre
                               << u"PLAY/PAUSE button... Click to start scroller [ALT + P]."_s;
        QTest::newRow("cPause")
            << u"cPause"_s << u"play"_s << centre
            << u"PLAY/PAUSE button... Click to PAUSE scroller [ALT + P] (Right-click to load "
               "BACKUP text into scroller. See HELP file for details.)"_s;
        QTest::newRow("cReset")
            << u"cReset"_s << QString() << centre
            << u"SCROLLER RESET button... Click to reset scroller to topmost position. (Note: "
               "This also resets the RUN TIME CLOCK)"_s;
        QTest::newRow("cFntPlus")
            << u"cFntPlus"_s << QString() << centre
            << u"FONT PLUS button... Click to increase scroller font size. (Tooltip displays "
               "value.)"_s;
        QTest::newRow("cFntMinus")
            << u"cFntMinus"_s << QString() << centre
            << u"FONT MINUS button... Click to decrease scroller font size. (Tooltip displays "
               "value.)"_s;
        const QString speed =
            u"Scroller SPEED CONTROL... Click arrows to adjust scroller speed. These are enabled "
            "when scroller is running. (Lower numbers indicate faster speed.)  Current speed : 100"_s;
        QTest::newRow("lSpeed") << u"lSpeed"_s << QString() << QPoint(4, 16) << speed;
        QTest::newRow("lScrd") << u"lScrd"_s << QString() << centre << speed;
        const QString frequency =
            u"Scroller FREQUENCY CONTROL... Click arrows to adjust scroller frequency. These are "
            "enabled when scroller is running. (Higher numbers indicate greater frequency.)  "
            "Current frequency : 10"_s;
        QTest::newRow("lFreq") << u"lFreq"_s << QString() << QPoint(60, 16) << frequency;
        QTest::newRow("lScrnt") << u"lScrnt"_s << QString() << centre << frequency;
        QTest::newRow("lBack")
            << u"lBack"_s << u"backup"_s << centre
            << u"Displays name of current BACKUP text. Hide it by double-clicking, or restore it "
               "by right-clicking the same area."_s;
        QTest::newRow("cFile")
            << u"cFile"_s << QString() << centre
            << u"TEXTFINDER button... Click to view/hide TextFinder panel. (Note : Disabled while "
               "scroller is running.)"_s;
        QTest::newRow("cHelp")
            << u"cHelp"_s << QString() << centre
            << u"HELP button [F2 Key]... Click to view/hide HELP file. Right-click to view/hide "
               "scroller statitics. (ALL statitics are available via tooltips by placing your "
               "pointer in the same areas where they're normally displayed.)"_s;
        QTest::newRow("cX") << u"cX"_s << QString() << centre
                            << u"EXIT button... Click to exit program. (Right-click to minimize window.)"_s;
        QTest::newRow("cUp")
            << u"cUp"_s << QString() << centre
            << u"UP button... Click to move scroller up incrementally [ALT + / (foward-slash)]."_s;
        QTest::newRow("cDwn")
            << u"cDwn"_s << QString() << centre
            << u"DOWN button... Click to move scroller down incrementally [ALT + \\ (back-slash)]."_s;
        QTest::newRow("Tip")
            << u"Tip"_s << QString() << centre
            << u"SCROLLER NAVIGATION BAR... Press and hold Left mouse button to position scroller. "
               "Release to set position. Use DIRECTIONAL buttons below to fine tune."_s;
        QTest::newRow("Tex")
            << u"Tex"_s << QString() << QPoint(20, 20)
            << u"Type directly into scroller OR use TextFinder to locate and load a text file OR use "
               "Drag and Drop. Right-click for normal EDIT menu. (Double-click to open NotePad if "
               "available.) Insert key clears scroller and loads clipboard text"_s;
        QTest::newRow("tHelp") << u"tHelp"_s << u"help"_s << centre
                               << u"Use scrollbar to navigate. Click HELP button to close panel."_s;
        QTest::newRow("Dir1") << u"Dir1"_s << u"finder"_s << centre << u"Double-click to select FOLDER"_s;
        QTest::newRow("File1")
            << u"File1"_s << u"finder"_s << centre
            << u"Select the file you want to load by clicking it's name, then click the OKAY button "
               "(center) below to load it into the scroller OR click the BACKUP button (bottom, "
               "left) to set selected file as BACKUP text."_s;
        QTest::newRow("cOKay")
            << u"cOKay"_s << u"finder"_s << centre
            << u"OKAY button... Click to load selected file from list above into scroller."_s;
        QTest::newRow("cBackup")
            << u"cBackup"_s << u"finder"_s << centre
            << u"BACKUP button... Click to set selected file from list above as BACKUP text. The "
               "title will be displayed above PLAY button. When ready to deploy, right-click PLAY "
               "button while scroller is running. (See HELP file for details.)"_s;
    }

    void instantHelpTexts()
    {
        QFETCH(QString, control);
        QFETCH(QString, setup);
        QFETCH(QPoint, at);
        QFETCH(QString, text);
        Harness h;
        if (setup == u"backup")
            h.write(u"Settings.ini"_s, "100,10,27.75,480,\"/x/spare.txt\",0,0,\"abc\"\r\n");
        QVERIFY(h.start());
        if (setup == u"play")
            QTest::mouseClick(h.child("cPlay"), Qt::LeftButton);
        else if (setup == u"finder")
            QTest::mouseClick(h.child("cFile"), Qt::LeftButton);
        else if (setup == u"help")
            QTest::mouseClick(h.child("cHelp"), Qt::LeftButton);

        // Another control's text first, so the bar must really change.
        Harness::hover(h.child(control == u"cX" ? "cReset" : "cX"));
        QVERIFY(h.text("lHelp") != text);
        QWidget* target = control == u"frmSet" ? h.window.get() : h.child(control.toLatin1().constData());
        Harness::hover(target, at);
        QCOMPARE(h.text("lHelp"), text);
    }

    void silentControlsLeaveTheText_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QPoint>("at");
        QTest::newRow("cFull") << u"cFull"_s << QPoint();
        QTest::newRow("sSpeed") << u"sSpeed"_s << QPoint();
        QTest::newRow("sFreq") << u"sFreq"_s << QPoint();
        QTest::newRow("top strip") << u"Frame1"_s << QPoint(5, 28);
        QTest::newRow("clock caption") << u"lTime"_s << QPoint();
        QTest::newRow("surface outside the text") << u"Scroll"_s << QPoint(100, 40);
        QTest::newRow("cCancel") << u"cCancel"_s << QPoint();
    }

    void silentControlsLeaveTheText()
    {
        QFETCH(QString, control);
        QFETCH(QPoint, at);
        Harness h;
        QVERIFY(h.start());
        QTest::mouseClick(h.child("cFile"), Qt::LeftButton);
        Harness::hover(h.child("cFile"));
        const QString before = h.text("lHelp");
        QVERIFY(before != kDefaultHelp);
        Harness::hover(h.child(control.toLatin1().constData()), at);
        QCOMPARE(h.text("lHelp"), before);
    }

    void readoutsFollowThePointer()
    {
        Harness h;
        QVERIFY(h.start());
        Harness::hover(h.child("lScrd"));
        QCOMPARE(h.text("lScrd"), u"Spd: 100"_s);
        Harness::hover(h.child("lScrnt"));
        QCOMPARE(h.text("lScrnt"), u"Frq: 10"_s);
        QCOMPARE(h.text("lScrd"), u"Spd: 100"_s);
        Harness::hover(h.child("lSpeed"), QPoint(4, 16));
        QCOMPARE(h.text("lScrd"), QString());
        QCOMPARE(h.text("lScrnt"), u"Frq: 10"_s);
        Harness::hover(h.child("lScrd"));
        Harness::hover(h.child("Frame2"), QPoint(5, 5));
        QCOMPARE(h.text("lScrd"), QString());
        QCOMPARE(h.text("lScrnt"), QString());

        // An empty backup title writes no text but still clears the readouts.
        Harness::hover(h.child("lScrd"));
        Harness::hover(h.child("lScrnt"));
        QTest::mouseClick(h.child("Frame2"), Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
        QVERIFY(h.child("lBack")->isVisible());
        Harness::hover(h.child("lBack"));
        QCOMPARE(h.text("lScrd"), QString());
        QCOMPARE(h.text("lScrnt"), QString());
        QVERIFY(h.text("lHelp").startsWith(u"Scroller FREQUENCY CONTROL"_s));
    }

    void tooltips()
    {
        Harness h;
        QVERIFY(h.start());
        QCOMPARE(h.child("Drive1")->toolTip(), u"Click ARROW to select DRIVE"_s);
        QCOMPARE(h.child("tHelp")->toolTip(), u"Click HELP button OR press F2 key to close"_s);
        Harness::hover(h.child("cFntPlus"));
        QCOMPARE(h.child("cFntPlus")->toolTip(), u"Font Size : 28"_s);
        Harness::hover(h.child("cFntMinus"));
        QCOMPARE(h.child("cFntMinus")->toolTip(), u"Font Size : 28"_s);
        Harness::hover(h.tex()->viewport(), QPoint(20, 20));
        QCOMPARE(h.child("Tex")->toolTip(), u"Scroller Position : -480"_s);
        Harness::hover(h.child("Scroll"), QPoint(100, 40));
        QCOMPARE(h.child("Scroll")->toolTip(), u"Scroller Position : -480"_s);

        QTest::mouseClick(h.child("cPlay"), Qt::LeftButton);
        Harness::hover(h.tex()->viewport(), QPoint(20, 20));
        QCOMPARE(h.child("Tex")->toolTip(), QString());
        Harness::hover(h.child("cPause"));
        QCOMPARE(h.child("cPause")->toolTip(), h.text("lPos"));
        QVERIFY(h.text("lPos").startsWith(u"Scroller Position : "_s));
    }

    void instantHelpBarHidesAndShows_data()
    {
        QTest::addColumn<QString>("hideOn");
        QTest::addColumn<QString>("showOn");
        QTest::newRow("bar, then bottom edge") << u"lHelp"_s << u"Image2"_s;
        QTest::newRow("bottom edge twice") << u"Image2"_s << u"Image2"_s;
        QTest::newRow("controls background twice") << u"Frame2"_s << u"Frame2"_s;
    }

    void instantHelpBarHidesAndShows()
    {
        QFETCH(QString, hideOn);
        QFETCH(QString, showOn);
        Harness h;
        QVERIFY(h.start());
        QCOMPARE(h.w().height(), h.px(6975));
        QVERIFY(wholeAndOnTop(h.child("cX")));
        const auto where = [&h](const QString& name) { return name == u"Frame2" ? QPoint(5, 5) : QPoint(); };

        Harness::doubleClick(h.child(hideOn.toLatin1().constData()), where(hideOn));
        QCOMPARE(h.w().height(), h.px(6615));
        QVERIFY(!h.child("lHelp")->isVisible());
        QCOMPARE(h.child("Image2")->y(), h.px(1080));
        QCOMPARE(h.child("cHelp")->toolTip(), u"Double-click below to view Instant Help"_s);
        QVERIFY(wholeAndOnTop(h.child("cX")));

        Harness::doubleClick(h.child(showOn.toLatin1().constData()), where(showOn));
        QCOMPARE(h.w().height(), h.px(6975));
        QVERIFY(h.child("lHelp")->isVisible());
        QCOMPARE(h.child("Image2")->y(), h.px(1440));
        QCOMPARE(h.child("cHelp")->toolTip(), QString());
        QVERIFY(wholeAndOnTop(h.child("cX")));
    }
};

VELLORAN_TEST_CLASS(FrmSetHelpTest);
#include "frmset_help_test.moc"
