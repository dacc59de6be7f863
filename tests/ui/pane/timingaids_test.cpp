// The presenter's timing aids in both windows: the countdown, the time left, section markers and
// the pace keys, each an option of Preferences.ini.
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>

#include "harness.h"
#include "testclasses.h"
#include "ui/pane/sectionmarkers.h"
#include "ui/pane/timingaids.h"
#include "ui/widgets/arrowspinner.h"
#include "ui/widgets/countdownoverlay.h"
#include "ui/widgets/navigationbar.h"

using velloran::ui::ArrowSpinner;
using velloran::ui::CountdownOverlay;
using velloran::ui::NavigationBar;
using velloran::ui::TimingAids;
using widgettools::paneOf;

namespace {

constexpr double kReadingHeight = 495 + (5280 - 495) / 3.0;  // the main window's, in twips

bool running(QWidget* window, const char* timer)
{
    return window->findChild<QTimer*>(QString::fromLatin1(timer))->isActive();
}

TimingAids& timingOf(const QWidget* window)
{
    return *widgettools::child<TimingAids>(window, "timing");
}

// The script line that stands at the reading height of the main window.
QString lineAtReadingHeight(Harness& h)
{
    velloran::ui::ScriptText* tex = h.tex();
    const QPoint inWindow(h.px(5000), h.px(kReadingHeight) + tex->fontMetrics().lineSpacing() / 2);
    QTextCursor cursor = tex->cursorForPosition(tex->viewport()->mapFrom(h.window.get(), inWindow));
    cursor.select(QTextCursor::LineUnderCursor);
    return cursor.selectedText();
}

QString manyMarkers(int count)
{
    QString script;
    for (int i = 0; i < count; ++i)
        script += u"# m"_s + QString::number(i) + u"\ntext\n"_s;
    return script;
}

}  // namespace

class TimingAidsTest : public QObject {
    Q_OBJECT

private slots:
    void countdown_data()
    {
        QTest::addColumn<QString>("during");  // what the user does while 3, 2, 1 is shown
        QTest::addColumn<bool>("starts");
        QTest::newRow("count runs out") << u""_s << true;
        QTest::newRow("PAUSE cancels") << u"pause"_s << false;
        QTest::newRow("Alt+P cancels") << u"alt+p"_s << false;
        QTest::newRow("full screen cancels") << u"full"_s << false;
    }

    void countdown()
    {
        QFETCH(QString, during);
        QFETCH(bool, starts);
        Harness h;
        h.writePreferences("[Play]\nCountdown=3\n");
        QVERIFY(h.start());
        ManualTimers count({h.child<QTimer>("tCount")});
        const float home = h.position();
        QTest::mouseClick(h.child("cPlay"), Qt::LeftButton);
        auto* overlay = h.child<CountdownOverlay>("lCount");
        QVERIFY(overlay->isVisible());
        QCOMPARE(overlay->number(), 3);
        QVERIFY(h.child("cPause")->isVisible());
        QVERIFY(!h.timer("tScroll")->isActive() && !h.timer("tTime")->isActive());
        QVERIFY(count.expire(h.child<QTimer>("tCount")));
        QCOMPARE(overlay->number(), 2);
        if (during == u"pause")
            QTest::mousePress(h.child("cPause"), Qt::LeftButton);
        else if (during == u"alt+p")
            h.key(Qt::Key_P, Qt::AltModifier);
        else if (during == u"full")
            QTest::mouseClick(h.child("cFull"), Qt::LeftButton);
        count.expire(h.child<QTimer>("tCount"));
        count.expire(h.child<QTimer>("tCount"));
        // The scroll and the run-time clock start together when the count is over, or never.
        QCOMPARE(h.timer("tScroll")->isActive(), starts);
        QCOMPARE(h.timer("tTime")->isActive(), starts);
        QCOMPARE(h.pane().playing(), starts);
        QVERIFY(!overlay->isVisible());
        QCOMPARE(h.position(), home);
        if (!starts)
            QCOMPARE(h.child("cPause")->isVisible(), false);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == u"frmFull")
                w->close();
    }

    void rightClickOnPauseNeverCounts()
    {
        Harness h;
        prepare(h, h.path(u"backup.txt"_s));
        h.write(u"backup.txt"_s, "backup");
        h.writePreferences("[Play]\nCountdown=1\n");
        QVERIFY(h.start());
        ManualTimers count({h.child<QTimer>("tCount")});
        QTest::mouseClick(h.child("cPlay"), Qt::LeftButton);
        QVERIFY(count.expire(h.child<QTimer>("tCount")));
        QVERIFY(h.pane().playing());
        QTest::mouseClick(h.child("cPause"), Qt::RightButton);
        QCOMPARE(h.script(), u"backup"_s);
        QVERIFY(h.pane().playing());
        QVERIFY(!h.child("lCount")->isVisible() && !running(h.window.get(), "tCount"));
    }

    void fullScreenCountIsReflectedAndCountsTheClock()
    {
        Harness h;
        h.writePreferences("[FullScreen]\nMirror=true\nFlip=true\n[Play]\nCountdown=1\n"
                                      "[Display]\nTimeLeft=true\n");
        QVERIFY(h.start());
        velloran::ui::frmFull* full = h.openFullScreen();
        ManualTimers time({full->findChild<QTimer*>(u"tCount"_s), full->findChild<QTimer*>(u"tScroll"_s)});
        QTest::mouseClick(full->findChild<QWidget*>(u"cPlay"_s), Qt::LeftButton);
        auto* overlay = full->findChild<CountdownOverlay*>(u"lCount"_s);
        QVERIFY(overlay->isVisible() && overlay->mirrored() && overlay->flipped());
        // Flipped, the reading height a third of the way down shows two thirds of the way down.
        QVERIFY(std::abs(overlay->geometry().center().y() - full->height() * 2 / 3) <= 2);
        QVERIFY(!h.timer("tTime")->isActive());
        QVERIFY(time.expire(full->findChild<QTimer*>(u"tCount"_s)));
        QVERIFY(paneOf(full).playing() && h.timer("tTime")->isActive());
        QVERIFY(h.expire("tTime"));
        QCOMPARE(full->findChild<QLabel*>(u"lTime"_s)->text(), u"Run Time  0 : 1"_s);
        QVERIFY(full->findChild<QLabel*>(u"lLeft"_s)->isVisible());
        full->close();
        QCOMPARE(h.text("lTime"), u"Run Time  0 : 1"_s);
    }

    void fullScreenClockStandsStillWithoutTheOption()
    {
        Harness h;
        QVERIFY(h.start());
        velloran::ui::frmFull* full = h.openFullScreen();
        QTest::mouseClick(full->findChild<QWidget*>(u"cPlay"_s), Qt::LeftButton);
        QVERIFY(paneOf(full).playing() && !h.timer("tTime")->isActive());
        QVERIFY(!full->findChild<QLabel*>(u"lLeft"_s)->isVisible());
        full->close();
    }

    void paceKeys_data()
    {
        QTest::addColumn<bool>("fullScreen");
        QTest::addColumn<bool>("option");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("expected");
        QTest::newRow("Alt+Up faster") << false << true << 10 << int(Qt::Key_Up) << 12;
        QTest::newRow("Alt+Down slower") << false << true << 10 << int(Qt::Key_Down) << 8;
        QTest::newRow("at the top") << false << true << 1000 << int(Qt::Key_Up) << 1000;
        QTest::newRow("at the bottom") << false << true << 2 << int(Qt::Key_Down) << 2;
        QTest::newRow("full screen") << true << true << 10 << int(Qt::Key_Up) << 12;
        QTest::newRow("option off") << false << false << 10 << int(Qt::Key_Up) << 10;
    }

    void paceKeys()
    {
        QFETCH(bool, fullScreen);
        QFETCH(bool, option);
        QFETCH(int, from);
        QFETCH(int, key);
        QFETCH(int, expected);
        Harness h;
        h.writePreferences(option ? "[Keys]\nPace=true\n" : "");
        QVERIFY(h.start());
        QWidget* window = fullScreen ? static_cast<QWidget*>(h.openFullScreen()) : h.window.get();
        auto* spinner = window->findChild<ArrowSpinner*>(u"sFreq"_s);
        spinner->setValue(from);
        // Paused: the spinner ignores the mouse, but the keys still set the pace.
        QTest::keyClick(window->windowHandle(), Qt::Key(key), Qt::AltModifier);
        QCOMPARE(spinner->value(), expected);
        QCOMPARE(int(h.session->pace().frequency), expected);
        if (fullScreen)
            window->close();
    }

    void heldPaceKeyRepeatsLikeTheArrow()
    {
        Harness h;
        h.writePreferences("[Keys]\nPace=true\n");
        QVERIFY(h.start());
        auto* spinner = h.child<ArrowSpinner>("sFreq");
        QTest::keyPress(h.window->windowHandle(), Qt::Key_Up, Qt::AltModifier);
        QCOMPARE(spinner->value(), 12);
        QTRY_VERIFY_WITH_TIMEOUT(spinner->value() >= 16, 3000);
        QTest::keyRelease(h.window->windowHandle(), Qt::Key_Up, Qt::AltModifier);
        const int released = spinner->value();
        QTest::qWait(200);
        QCOMPARE(spinner->value(), released);
    }

    // One line, so the distance from the reading height to the last line's top is the line's
    // depth below it: 1150 twips at home (480 + 2760 - 2090).
    void timeLeft_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("frequency");
        QTest::addColumn<double>("position");
        QTest::addColumn<QString>("expected");
        QTest::newRow("at home") << u"x"_s << 100 << 10 << 480.0 << u"0:12"_s;  // 115 ticks of 0.1 s
        QTest::newRow("twice the step") << u"x"_s << 100 << 20 << 480.0 << u"0:06"_s;  // 58 ticks
        QTest::newRow("half the speed") << u"x"_s << 200 << 10 << 480.0 << u"0:23"_s;
        QTest::newRow("moved on") << u"x"_s << 100 << 10 << -520.0 << u"0:02"_s;     // 150 twips
        QTest::newRow("past the end") << u"x"_s << 100 << 10 << -5000.0 << u"0:00"_s;
        // Longer than the scroll range: it counts to the wrap, 240480 twips, and says so.
        QTest::newRow("past the wrap") << QString(u"line\n"_s).repeated(20000) << 100 << 10 << 480.0
                                       << u"40:05+"_s;
    }

    void timeLeft()
    {
        QFETCH(QString, script);
        QFETCH(int, speed);
        QFETCH(int, frequency);
        QFETCH(double, position);
        QFETCH(QString, expected);
        Harness h;
        h.writePreferences("[Display]\nTimeLeft=true\n");
        QVERIFY(h.start());
        h.tex()->setPlainText(script);
        h.pane().takePace(speed, frequency);
        h.pane().jumpTo(position);
        QCOMPARE(h.text("lLeft"), u"Time Left  "_s + expected);
    }

    void timeLeftFollowsFontLengthAndWrapAtOnce()
    {
        Harness h;
        h.writePreferences("[Display]\nTimeLeft=true\n");
        QVERIFY(h.start());
        const auto seconds = [&h] { return *timingOf(h.window.get()).timeLeft().seconds; };
        h.tex()->setPlainText(u"a\nb\nc\n"_s);
        const auto three = seconds();
        QTest::mouseClick(h.child("cFntPlus"), Qt::LeftButton);
        const auto larger = seconds();
        QVERIFY2(larger > three, qPrintable(h.text("lLeft")));
        h.tex()->setPlainText(u"a\nb\nc\nd\ne\n"_s);
        QVERIFY(seconds() > larger);
        QVERIFY(h.text("lLeft").endsWith(QString::fromStdString(
            velloran::engine::timeLeftReadout(timingOf(h.window.get()).timeLeft()))));
        // The whole script reachable: no wrap, no "+", and the time to the real end.
        h.tex()->setPlainText(QString(u"line\n"_s).repeated(20000));
        QVERIFY(h.text("lLeft").endsWith(u'+'));
        h.session->setWholeScriptReachable(true);
        h.pane().ShowPosition();
        QVERIFY(!h.text("lLeft").endsWith(u'+'));
        QVERIFY(seconds() > 2405);
    }

    void markers_data()
    {
        const QString three = u"intro\n# One\ntext\n   # Two\nmore\n#Three\nend"_s;
        QTest::addColumn<QString>("script");
        QTest::addColumn<bool>("option");
        QTest::addColumn<QList<int>>("keys");  // Alt with these
        QTest::addColumn<QString>("expected");  // at the reading height; empty: not moved
        QTest::addColumn<int>("ticks");
        QTest::newRow("next") << three << true << QList<int> {Qt::Key_Right} << u"# One"_s << 3;
        QTest::newRow("next twice") << three << true << QList<int> {Qt::Key_Right, Qt::Key_Right}
                                    << u"   # Two"_s << 3;
        QTest::newRow("back to the one before")
            << three << true << QList<int> {Qt::Key_Right, Qt::Key_Right, Qt::Key_Left} << u"# One"_s << 3;
        QTest::newRow("first") << three << true << QList<int> {Qt::Key_1} << u"# One"_s << 3;
        QTest::newRow("last") << three << true << QList<int> {Qt::Key_3} << u"#Three"_s << 3;
        QTest::newRow("past the last") << three << true << QList<int> {Qt::Key_4} << u""_s << 3;
        QTest::newRow("none") << u"no\nmarkers\n"_s << true << QList<int> {Qt::Key_Right} << u""_s << 0;
        QTest::newRow("many") << manyMarkers(1000) << true << QList<int> {Qt::Key_9} << u"# m8"_s << 1000;
        QTest::newRow("option off") << three << false << QList<int> {Qt::Key_Right} << u""_s << 0;
    }

    void markers()
    {
        QFETCH(QString, script);
        QFETCH(bool, option);
        QFETCH(QList<int>, keys);
        QFETCH(QString, expected);
        QFETCH(int, ticks);
        Harness h;
        h.writePreferences(option ? "[Script]\nMarkers=true\n" : "");
        QVERIFY(h.start());
        h.tex()->setPlainText(script);
        const float before = h.position();
        for (const int key : keys)
            h.key(Qt::Key(key), Qt::AltModifier);
        if (expected.isEmpty())
            QCOMPARE(h.position(), before);
        else
            QCOMPARE(lineAtReadingHeight(h), expected);
        QTRY_COMPARE(int(h.child<NavigationBar>("Tip")->ticks().size()), ticks);
    }

    void markerJumpKeepsPlayingAndFollowsEdits()
    {
        Harness h;
        h.writePreferences("[Script]\nMarkers=true\n");
        QVERIFY(h.start());
        h.tex()->setPlainText(u"intro\n# One\ntext\n"_s);
        QTest::mouseClick(h.child("cPlay"), Qt::LeftButton);
        h.key(Qt::Key_Right, Qt::AltModifier);
        QVERIFY(h.pane().playing());
        QCOMPARE(lineAtReadingHeight(h), u"# One"_s);
        // Typed in: the new heading counts at once, the one turned into text no longer.
        QTextCursor cursor(h.tex()->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(u"\n# Two"_s);
        cursor.setPosition(h.tex()->document()->findBlockByNumber(0).position());
        cursor.insertText(u"# Zero "_s);
        const auto& found = timingOf(h.window.get()).markers().index().markers();
        QCOMPARE(int(found.size()), 3);
        QCOMPARE(QString::fromStdU16String(found.back().text), u"# Two"_s);
    }
};

VELLORAN_TEST_CLASS(TimingAidsTest);
#include "timingaids_test.moc"
