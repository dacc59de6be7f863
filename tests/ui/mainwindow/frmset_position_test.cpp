// Moving the script by hand: nudges, reset, the navigation bar; and the font size buttons.
#include <QTimer>

#include "harness.h"
#include "testclasses.h"
#include "ui/widgets/navigationbar.h"

using velloran::ui::NavigationBar;

namespace {

// Settings with the given speed, font size, position and clock; the rest at design values.
QByteArray settings(int speed, const char* fontSize, const char* position, int minutes = 0, int seconds = 0)
{
    return QByteArray::number(speed) + ",10," + fontSize + ',' + position + ",\"\"," +
           QByteArray::number(minutes) + ',' + QByteArray::number(seconds) + ",\"script\"\r\n";
}

// A movement over the bar at y units of its scale (one unit per twip of surface).
void moveOnBar(Harness& h, double y, Qt::MouseButtons held)
{
    QWidget* tip = h.child("Tip");
    Harness::moveHeld(tip, QPointF(tip->width() / 2.0, y * tip->height() / 500000.0), held);
}

bool clockWasReset(Harness& h)
{
    return h.session->clock().minutes == 0 && h.session->clock().seconds == 0 &&
           h.text("lTime") == u"Run Time  0 : 0"_s;
}

void setClock(Harness& h, int minutes, int seconds)
{
    h.session->setClock({minutes, static_cast<std::int16_t>(seconds)});
}

// Settings with the given position and script, speed 100, frequency 2.
QByteArray settingsWithScript(const char* position, const QString& script)
{
    return QByteArray("100,2,27.75,") + position + ",\"\",0,0,\"" + script.toUtf8() + "\"\r\n";
}

// Where in the script the line at the middle of the band starts, and where on the window it stands.
std::pair<int, int> lineAtBandMiddle(Harness& h)
{
    velloran::ui::ScriptText* text = h.tex();
    const QPoint middle = text->viewport()->mapFrom(&h.w(), QPoint(h.px(3000), h.px(2900)));
    QTextCursor cursor = text->cursorForPosition(middle);
    cursor.movePosition(QTextCursor::StartOfLine);
    const int y = text->viewport()->mapTo(&h.w(), text->cursorRect(cursor).topLeft()).y();
    return {cursor.position(), y};
}

}  // namespace

class FrmSetPositionTest : public QObject {
    Q_OBJECT

private slots:
    void nudges_data()
    {
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<bool>("play");
        QTest::addColumn<QString>("action");
        QTest::addColumn<float>("expected");
        QTest::newRow("Alt+/ at home") << QByteArray("480") << false << u"Alt+/"_s << 280.0f;
        QTest::newRow("Alt+\\ at home") << QByteArray("480") << false << u"Alt+\\"_s << 480.0f;
        QTest::newRow("DOWN at home") << QByteArray("480") << false << u"cDwn"_s << 480.0f;
        QTest::newRow("DOWN at 400") << QByteArray("400") << false << u"cDwn"_s << 600.0f;
        QTest::newRow("DOWN at 479, unclamped") << QByteArray("479") << false << u"cDwn"_s << 679.0f;
        QTest::newRow("DOWN at 600") << QByteArray("600") << false << u"cDwn"_s << 600.0f;
        QTest::newRow("UP at the lower limit") << QByteArray("-240400") << false << u"cUp"_s << -240400.0f;
        QTest::newRow("UP just above it") << QByteArray("-240300") << false << u"cUp"_s << -240500.0f;
        QTest::newRow("Alt+/ while playing") << QByteArray("480") << true << u"Alt+/"_s << 280.0f;
        QTest::newRow("Alt+\\ while playing") << QByteArray("-1000") << true << u"Alt+\\"_s << -800.0f;
    }

    void nudges()
    {
        QFETCH(QByteArray, start);
        QFETCH(bool, play);
        QFETCH(QString, action);
        QFETCH(float, expected);
        Harness h;
        // The slowest speed, so no tick moves the script while it plays.
        h.write(u"Settings.ini"_s, settings(2000, "27.75", start.constData()));
        QVERIFY(h.start());
        if (play)
            QTest::mouseClick(h.child("cPlay"), Qt::LeftButton);
        if (action == u"cUp" || action == u"cDwn")
            QTest::mouseClick(h.child(action.toLatin1().constData()), Qt::LeftButton);
        else
            h.key(action == u"Alt+/" ? Qt::Key_Slash : Qt::Key_Backslash, Qt::AltModifier);
        QTRY_COMPARE(h.position(), expected);
        QCOMPARE(h.text("lPos"), u"Scroller Position : "_s + QString::number(-expected));
        QCOMPARE(h.child<QTimer>("tScroll")->isActive(), play);
    }

    void resetWhilePlayingKeepsRunning()
    {
        Harness h;
        h.write(u"Settings.ini"_s, settings(100, "27.75", "-5000", 2, 5));
        QVERIFY(h.start());
        QTest::mouseClick(h.child("cPlay"), Qt::LeftButton);
        QTest::mouseClick(h.child("cReset"), Qt::LeftButton);
        QCOMPARE(h.position(), 480.0f);
        QVERIFY(clockWasReset(h));
        QVERIFY(h.child<QTimer>("tScroll")->isActive());
        QVERIFY(h.timer("tTime")->isActive());
        QVERIFY(h.expire("tTime"));
        QCOMPARE(h.text("lTime"), u"Run Time  0 : 1"_s);
        QVERIFY(h.expire("tScroll") && h.expire("tScroll"));
        QVERIFY(h.position() < 470.0f);
    }

    void resetWhilePaused()
    {
        Harness h;
        h.write(u"Settings.ini"_s, settings(100, "27.75", "-5000", 2, 5));
        QVERIFY(h.start());
        QCOMPARE(h.text("lTime"), u"Run Time  2 : 5"_s);
        QTest::mouseClick(h.child("cReset"), Qt::LeftButton);
        QCOMPARE(h.position(), 480.0f);
        QCOMPARE(h.text("lPos"), u"Scroller Position : -480"_s);
        QVERIFY(clockWasReset(h));
        QVERIFY(!h.child<QTimer>("tScroll")->isActive());
    }

    void fontButtons_data()
    {
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<QString>("button");
        QTest::addColumn<double>("expected");
        QTest::addColumn<QString>("tooltip");
        QTest::newRow("larger from design")
            << QByteArray("27.75") << u"cFntPlus"_s << 29.75 << u"Font Size : 30"_s;
        QTest::newRow("smaller from design")
            << QByteArray("27.75") << u"cFntMinus"_s << 25.75 << u"Font Size : 26"_s;
        QTest::newRow("larger at 72") << QByteArray("72") << u"cFntPlus"_s << 72.0 << u"Font Size : 72"_s;
        QTest::newRow("larger at 71") << QByteArray("71") << u"cFntPlus"_s << 73.0 << u"Font Size : 73"_s;
        QTest::newRow("smaller at 12") << QByteArray("12") << u"cFntMinus"_s << 12.0 << u"Font Size : 12"_s;
        QTest::newRow("smaller at 13") << QByteArray("13") << u"cFntMinus"_s << 11.0 << u"Font Size : 11"_s;
        QTest::newRow("half to even") << QByteArray("24.5") << u"cFntMinus"_s << 22.5 << u"Font Size : 22"_s;
    }

    void fontButtons()
    {
        QFETCH(QByteArray, start);
        QFETCH(QString, button);
        QFETCH(double, expected);
        QFETCH(QString, tooltip);
        Harness h;
        h.write(u"Settings.ini"_s, settings(100, start.constData(), "480"));
        QVERIFY(h.start());
        QWidget* control = h.child(button.toLatin1().constData());
        QTest::mouseClick(control, Qt::LeftButton);
        QCOMPARE(h.tex()->pointSize(), expected);
        QCOMPARE(h.tex()->font().pointSizeF(), expected);
        Harness::hover(control);
        QCOMPARE(control->toolTip(), tooltip);
        QCOMPARE(h.position(), 480.0f);
    }

    void barPlacesScriptFromPointer()
    {
        Harness h;
        h.write(u"Settings.ini"_s, settings(100, "27.75", "480", 3, 4));
        QVERIFY(h.start());
        moveOnBar(h, 375000, Qt::LeftButton);
        QCOMPARE(h.position(), -125000.0f);
        QCOMPARE(h.child<NavigationBar>("Tip")->markerTop(), 125000.0);
        QCOMPARE(h.text("lPos"), u"Scroller Position : 125000"_s);
        QVERIFY(clockWasReset(h));
    }

    void barPullsBack_data()
    {
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<bool>("nudgeDown");
        QTest::addColumn<double>("firstY");
        QTest::addColumn<float>("afterFirst");
        QTest::addColumn<bool>("firstResetsClock");
        QTest::addColumn<double>("secondY");
        QTest::addColumn<float>("afterSecond");
        QTest::addColumn<bool>("secondResetsClock");
        QTest::newRow("past the lower guard") << QByteArray("480") << false << 250000.0 << -250000.0f << true
                                              << 400000.0 << -240000.0f << false;
        QTest::newRow("below the bar")
            << QByteArray("480") << false << 500600.0 << 600.0f << true << 400000.0 << 480.0f << false;
        QTest::newRow("after a nudge down")
            << QByteArray("400") << true << 400000.0 << 480.0f << false << 400000.0 << -100000.0f << true;
        QTest::newRow("just inside the guards")
            << QByteArray("480") << false << 259648.0 << -240352.0f << true << 400000.0 << -100000.0f << true;
    }

    void barPullsBack()
    {
        QFETCH(QByteArray, start);
        QFETCH(bool, nudgeDown);
        QFETCH(double, firstY);
        QFETCH(float, afterFirst);
        QFETCH(bool, firstResetsClock);
        QFETCH(double, secondY);
        QFETCH(float, afterSecond);
        QFETCH(bool, secondResetsClock);
        Harness h;
        h.write(u"Settings.ini"_s, settings(100, "27.75", start.constData()));
        QVERIFY(h.start());
        if (nudgeDown)
            QTest::mouseClick(h.child("cDwn"), Qt::LeftButton);

        setClock(h, 5, 5);
        moveOnBar(h, firstY, Qt::LeftButton);
        QCOMPARE(h.position(), afterFirst);
        QCOMPARE(h.session->clock().minutes == 0, firstResetsClock);

        setClock(h, 5, 5);
        moveOnBar(h, secondY, Qt::LeftButton);
        QCOMPARE(h.position(), afterSecond);
        QCOMPARE(h.session->clock().minutes == 0, secondResetsClock);
    }

    void barIgnoresOtherButtonsAndPlay_data()
    {
        QTest::addColumn<Qt::MouseButtons>("held");
        QTest::addColumn<bool>("play");
        QTest::newRow("no button") << Qt::MouseButtons(Qt::NoButton) << false;
        QTest::newRow("right") << Qt::MouseButtons(Qt::RightButton) << false;
        QTest::newRow("left and right") << (Qt::LeftButton | Qt::RightButton) << false;
        QTest::newRow("middle") << Qt::MouseButtons(Qt::MiddleButton) << false;
        QTest::newRow("left while playing") << Qt::MouseButtons(Qt::LeftButton) << true;
    }

    void barIgnoresOtherButtonsAndPlay()
    {
        QFETCH(Qt::MouseButtons, held);
        QFETCH(bool, play);
        Harness h;
        h.write(u"Settings.ini"_s, settings(2000, "27.75", "-5000", 3, 4));
        QVERIFY(h.start());
        if (play)
            QTest::mouseClick(h.child("cPlay"), Qt::LeftButton);
        moveOnBar(h, 375000, held);
        QCOMPARE(h.position(), -5000.0f);
        QCOMPARE(h.text("lTime"), u"Run Time  3 : 4"_s);
        QCOMPARE(h.text("lHelp"),
                 u"SCROLLER NAVIGATION BAR... Press and hold Left mouse button to position "
                 "scroller. Release to set position. Use DIRECTIONAL buttons below to fine tune."_s);
    }

    // The whole-script option in the main window, live through its entry point: the range, the
    // warning and the bar follow a 1000-line script; turned off, the classic range is back.
    void wholeScriptOptionInMainWindow()
    {
        Harness h;
        h.write(u"Settings.ini"_s, settingsWithScript("480", widgettools::variedLines(1000)));
        QVERIFY(h.start());
        QCOMPARE(h.pane().scroller().range(), velloran::engine::ScrollRange {});
        h.session->setWholeScriptReachable(true);
        QTRY_VERIFY(h.tex()->layoutSettled());
        moveOnBar(h, 0, Qt::LeftButton);  // the top of the bar: the marker at its bottom
        QCOMPARE(h.child<NavigationBar>("Tip")->markerTop(), h.child<NavigationBar>("Tip")->scaleHeight());
        h.pane().cReset_Click();
        const auto tick = [&h] { QVERIFY(h.expire("tScroll")); };
        widgettools::expectWholeScriptRange(h.window.get(), 480, tick);
        if (QTest::currentTestFailed())
            return;
        widgettools::expectClassicRangeBackAtOnce(
            h.window.get(), 480, [&h](bool on) { h.session->setWholeScriptReachable(on); }, tick);
    }

    // Read from Preferences.ini at start: a far position comes back whole, takes 2-twip steps
    // exactly and is saved with every digit.
    void wholeScriptOptionFromPreferencesKeepsFarPositionsWhole()
    {
        Harness h;
        h.write(u"Preferences.ini"_s, "[Script]\nWholeScriptReachable=true\n");
        h.write(u"Settings.ini"_s, settingsWithScript("-1234567", widgettools::variedLines(4000)));
        QVERIFY(h.start());
        QVERIFY(h.pane().wholeScriptReachable());
        QTRY_VERIFY(h.tex()->layoutSettled());
        QCOMPARE(h.pane().scroller().position(), -1234567.0);  // the saved place, not an estimate's
        QCOMPARE(h.text("lPos"), u"Scroller Position : 1234567"_s);
        h.pane().TogglePlay();
        QVERIFY(h.expire("tScroll"));
        QCOMPARE(h.pane().scroller().position(), -1234569.0);
        h.pane().TogglePlay();
        QVERIFY(h.w().SaveSettings());
        QVERIFY2(h.read(u"Settings.ini"_s).startsWith("100,2,27.75,-1234569,\""),
                 h.read(u"Settings.ini"_s).left(40));
    }

    // Lazy layout corrects estimates above the place shown: the lines the reader sees stay put.
    void linesShownStayWhileEstimatesAboveThemAreCorrected()
    {
        Harness h;
        h.write(u"Settings.ini"_s, settingsWithScript("480", widgettools::variedLines(4000)));
        QVERIFY(h.start());
        h.session->setWholeScriptReachable(true);
        QVERIFY(!h.tex()->layoutSettled());
        moveOnBar(h, 0, Qt::LeftButton);  // far down, on estimates
        const auto before = lineAtBandMiddle(h);
        QVERIFY(before.first > h.tex()->document()->characterCount() / 2);
        const double placed = h.pane().scroller().position();
        QTRY_VERIFY(h.tex()->layoutSettled());
        QVERIFY(h.pane().scroller().position() != placed);  // the estimates were off, and made up for
        QCOMPARE(lineAtBandMiddle(h), before);
    }

    // With the option on, the place saved is the place shown at the next start, at once and not
    // only once the layout has settled; near the end too, where the first tick goes on from it.
    void restoredPlaceShowsItsLinesAtOnce_data()
    {
        QTest::addColumn<double>("fraction");  // of the bar's height, from its top (the end)
        QTest::newRow("half way") << 0.5;
        QTest::newRow("near the end") << 0.01;
    }

    void restoredPlaceShowsItsLinesAtOnce()
    {
        QFETCH(double, fraction);
        Harness first;
        first.write(u"Preferences.ini"_s, "[Script]\nWholeScriptReachable=true\n");
        first.write(u"Settings.ini"_s, settingsWithScript("480", widgettools::variedLines(6000)));
        QVERIFY(first.start());
        QTRY_VERIFY(first.tex()->layoutSettled());
        widgettools::dragOnBar(first.window.get(), fraction);
        QCoreApplication::processEvents();
        const auto before = lineAtBandMiddle(first);
        const double place = first.pane().scroller().position();
        first.key(Qt::Key_Escape);
        QCOMPARE(first.services.ends, 1);

        Harness again;
        again.services.folder = first.folder.path();
        QVERIFY(again.start());
        QCOMPARE(again.pane().scroller().position(), place);
        QCOMPARE(lineAtBandMiddle(again), before);
        again.pane().TogglePlay();
        QVERIFY(again.expire("tScroll"));
        QCOMPARE(again.pane().scroller().position(), place - 2);
    }

    // A far position saved with the option on, read with it off: the program starts, keeps the
    // place in single precision and wraps at the first tick.
    void farPositionReadWithTheOptionOffWrapsAtTheFirstTick()
    {
        Harness h;
        h.write(u"Settings.ini"_s, settingsWithScript("-123456789", widgettools::variedLines(50)));
        QVERIFY(h.start());
        QVERIFY(!h.pane().wholeScriptReachable());
        QCOMPARE(h.pane().scroller().position(), double(-123456789.0f));
        QCOMPARE(h.text("lPos"), u"Scroller Position : 123456800"_s);
        h.pane().TogglePlay();
        QVERIFY(h.expire("tScroll"));
        QCOMPARE(h.position(), 478.0f);
    }
};

VELLORAN_TEST_CLASS(FrmSetPositionTest);
#include "frmset_position_test.moc"
