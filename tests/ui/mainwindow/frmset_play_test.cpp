// Play and pause, the tick, the pace spinners, the clock and the counters of the main window.
#include <QAbstractButton>
#include <QSignalSpy>
#include <QTimer>
#include <QWheelEvent>
#include <cmath>

#include "harness.h"
#include "testclasses.h"
#include "ui/widgets/navigationbar.h"

using velloran::ui::NavigationBar;

namespace {

const QColor kWhite(255, 255, 255);
const QColor kYellow(255, 255, 0);

// What each tick left behind, seen right after the window has handled it.
struct TickLog {
    QList<float> positions;
    QList<QString> readouts;
    QList<QColor> colours;
};

void logTicks(Harness& h, TickLog& log)
{
    QObject::connect(h.child<QTimer>("tScroll"), &QTimer::timeout, h.window.get(), [&h, &log] {
        log.positions << h.position();
        log.readouts << h.text("lPos");
        log.colours << h.tex()->palette().color(QPalette::Text);
    });
}

bool playing(const Harness& h)
{
    return h.child<QTimer>("tScroll")->isActive();
}

}  // namespace

class FrmSetPlayTest : public QObject {
    Q_OBJECT

private slots:
    void layoutAfterToggles_data()
    {
        QTest::addColumn<QStringList>("actions");
        QTest::newRow("click PLAY") << QStringList {u"play"_s};
        QTest::newRow("Alt+P") << QStringList {u"alt"_s};
        QTest::newRow("click PLAY, press PAUSE") << QStringList {u"play"_s, u"pause"_s};
        QTest::newRow("Alt+P twice") << QStringList {u"alt"_s, u"alt"_s};
        QTest::newRow("three toggles") << QStringList {u"alt"_s, u"pause"_s, u"play"_s};
    }

    void layoutAfterToggles()
    {
        QFETCH(QStringList, actions);
        Harness h;
        QVERIFY(h.start());
        for (const QString& action : actions) {
            const bool before = playing(h);
            if (action == u"play")
                QTest::mouseClick(h.child("cPlay"), Qt::LeftButton);
            else if (action == u"pause")
                QTest::mousePress(h.child("cPause"), Qt::LeftButton);
            else
                h.key(Qt::Key_P, Qt::AltModifier);
            QTRY_COMPARE(playing(h), !before);
        }
        const bool play = actions.size() % 2 == 1;
        QCOMPARE(h.pane().playing(), play);
        QCOMPARE(h.timer("tTime")->isActive(), play);
        QCOMPARE(h.child("cPause")->isVisible(), play);
        QCOMPARE(h.child("sSpeed")->isEnabled(), play);
        QCOMPARE(h.child("sFreq")->isEnabled(), play);
        QCOMPARE(h.child("cFile")->isEnabled(), !play);
        QCOMPARE(h.child("Tip")->isVisible(), !play);
        QCOMPARE(h.child("cUp")->isVisible(), !play);
        QCOMPARE(h.child("cDwn")->isVisible(), !play);
        QCOMPARE(h.child("Line16")->isVisible(), play);
        QCOMPARE(h.child("Line17")->isVisible(), play);
        QCOMPARE(h.child("Scroll")->geometry().width(), h.px(play ? 10455 : 9975));
        QCOMPARE(h.child("Tex")->geometry().x(), h.px(play ? 320 : 120));
        QCOMPARE(h.child("tHelp")->width(), h.px(play ? 10025 : 9445));
        QVERIFY(h.child<QTimer>("tRef")->isActive());
    }

    void layoutsChangeOnlyRegisteredControls()
    {
        Harness h;
        QVERIFY(h.start());
        widgettools::expectLayoutsReachTheirControls(
            h.window.get(), h.session.get(),
            {velloran::engine::mainPlayingLayout(), velloran::engine::mainPausedLayout()});
    }

    // Each Alt shortcut acts at once on every press, quick presses and a held key's auto-repeats
    // alike: ten presses are ten actions, seen as soon as the keys have been delivered.
    void altShortcutsActOnEveryPress_data()
    {
        QTest::addColumn<int>("shortcut");
        QTest::addColumn<bool>("held");
        for (int i = 0; i < 4; ++i) {
            const char* button = widgettools::kAltShortcuts[i].button;
            QTest::addRow("%s, ten quick presses", button) << i << false;
            QTest::addRow("%s, held for nine repeats", button) << i << true;
        }
    }

    void altShortcutsActOnEveryPress()
    {
        QFETCH(int, shortcut);
        QFETCH(bool, held);
        const widgettools::AltShortcut& alt = widgettools::kAltShortcuts[shortcut];
        Harness h;
        h.write(u"backup.txt"_s, "the backup");
        // The slowest speed, so no tick moves the script while Alt+P plays it.
        h.write(u"Settings.ini"_s,
                "2000,10,27.75,-3000,\"" + h.path(u"backup.txt"_s).toUtf8() + "\",0,0,\"script\"\r\n");
        QVERIFY(h.start());
        QSignalSpy clicks(h.child<QAbstractButton>(alt.button), &QAbstractButton::clicked);
        widgettools::pressTenTimes(h.w().windowHandle(), alt, held);
        QCOMPARE(clicks.count(), 10);
        const bool backup = alt.key == Qt::Key_B;
        QCOMPARE(h.position(), backup ? 480.0f : -3000.0f + 10 * alt.nudge);
        QVERIFY(!playing(h));  // Alt+P ten times ends paused; the others never play
        QCOMPARE(h.script(), backup ? u"the backup"_s : u"script"_s);
    }

    void tickLowersByFrequencyAndShowsPosition()
    {
        Harness h;
        QVERIFY(h.start());
        TickLog log;
        logTicks(h, log);
        QTest::mouseClick(h.child("cPlay"), Qt::LeftButton);
        for (int i = 0; i < 3; ++i)
            QVERIFY(h.expire("tScroll"));
        QCOMPARE(log.positions.mid(0, 3), (QList<float> {470, 460, 450}));
        QCOMPARE(log.readouts.mid(0, 3),
                 (QList<QString> {u"Scroller Position : -470"_s, u"Scroller Position : -460"_s,
                                  u"Scroller Position : -450"_s}));
        QCOMPARE(h.child("lScroll")->toolTip(), h.text("lPos"));
    }

    void tickWrapsAndTheWarningClears()
    {
        Harness h;
        h.write(u"Settings.ini"_s, "100,10,27.75,-239995,\"\",0,0,\"end\"\r\n");
        QVERIFY(h.start());
        QCOMPARE(h.tex()->palette().color(QPalette::Text), kYellow);
        TickLog log;
        logTicks(h, log);
        h.key(Qt::Key_P, Qt::AltModifier);
        QVERIFY(h.expire("tScroll"));
        QVERIFY(h.expire("tScroll"));
        QCOMPARE(log.positions.mid(0, 2), (QList<float> {-240005, 470}));
        QCOMPARE(log.readouts[0], u"Scroller Position : 240005"_s);
        QCOMPARE(log.colours.mid(0, 2), (QList<QColor> {kYellow, kWhite}));
    }

    // A click on an arrow, or a turn of the wheel over the spinner, which does what a click on
    // the arrow in the turn's direction does: one notch (120) is one click, and smaller steps add
    // up to a notch. Up (away from the user) and left lower the value, down and right raise it.
    void spinnerArrows_data()
    {
        QTest::addColumn<QString>("spinner");
        QTest::addColumn<QString>("input");
        QTest::addColumn<bool>("play");
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("frequency");
        QTest::addColumn<QString>("readoutLabel");
        QTest::addColumn<QString>("readout");
        const auto speed = [](const char* row, const char* input, bool play, int value) {
            QTest::newRow(row) << u"sSpeed"_s << QString::fromLatin1(input) << play << value << 10
                               << u"lScrd"_s
                               << (value != 100 ? u"Spd: %1"_s.arg(value) : QString());  // set by a change
        };
        const auto frequency = [](const char* row, const char* input, int value) {
            QTest::newRow(row) << u"sFreq"_s << QString::fromLatin1(input) << true << 100 << value
                               << u"lScrnt"_s << u"Frq: %1"_s.arg(value);
        };
        speed("speed, lower arrow", "second arrow", true, 110);
        speed("speed, upper arrow", "first arrow", true, 90);
        frequency("frequency, right arrow", "second arrow", 12);
        frequency("frequency, left arrow", "first arrow", 8);
        speed("speed while paused", "second arrow", false, 100);
        speed("speed, wheel up", "wheel 0 120", true, 90);
        speed("speed, wheel down", "wheel 0 -120", true, 110);
        speed("speed, three notches up at once", "wheel 0 360", true, 70);
        speed("speed, two half notches up", "wheel 0 60, wheel 0 60", true, 90);
        speed("speed, half a notch", "wheel 0 60", true, 100);
        speed("speed, half up then half down", "wheel 0 60, wheel 0 -60", true, 100);
        speed("speed, wheel left", "wheel 120 0", true, 90);
        speed("speed, wheel up while paused", "wheel 0 120", false, 100);
        speed("speed, wheel down while paused", "wheel 0 -120", false, 100);
        frequency("frequency, wheel up", "wheel 0 120", 8);
        frequency("frequency, wheel down", "wheel 0 -120", 12);
        frequency("frequency, wheel left", "wheel 120 0", 8);
        frequency("frequency, wheel right", "wheel -120 0", 12);
        frequency("frequency, high-resolution steps", "wheel 0 -40, wheel 0 -40, wheel 0 -40, wheel 0 -40",
                  12);
    }

    void spinnerArrows()
    {
        QFETCH(QString, spinner);
        QFETCH(QString, input);
        QFETCH(bool, play);
        QFETCH(int, speed);
        QFETCH(int, frequency);
        QFETCH(QString, readoutLabel);
        QFETCH(QString, readout);
        Harness h;
        QVERIFY(h.start());
        if (play)
            QTest::mouseClick(h.child("cPlay"), Qt::LeftButton);
        QWidget* arrows = h.child(spinner.toLatin1().constData());
        const QSize size = arrows->size();
        for (const QString& step : input.split(u", "_s)) {
            if (step.startsWith(u"wheel"_s)) {
                const QPoint angle(step.section(u' ', 1, 1).toInt(), step.section(u' ', 2, 2).toInt());
                const QPointF at = QRectF(arrows->rect()).center();
                QWheelEvent wheel(at, arrows->mapToGlobal(at), QPoint(), angle, Qt::NoButton, Qt::NoModifier,
                                  Qt::NoScrollPhase, false);
                QApplication::sendEvent(arrows, &wheel);
                continue;
            }
            const bool second = step == u"second arrow";
            const QPoint at =
                spinner == u"sSpeed"
                    ? QPoint(size.width() / 2, second ? size.height() * 3 / 4 : size.height() / 4)
                    : QPoint(second ? size.width() * 3 / 4 : size.width() / 4, size.height() / 2);
            QTest::mouseClick(arrows, Qt::LeftButton, Qt::NoModifier, at);
        }

        QCOMPARE(int(h.session->pace().speed), speed);
        QCOMPARE(int(h.session->pace().frequency), frequency);
        QCOMPARE(h.child<QTimer>("tScroll")->interval(), speed);
        QCOMPARE(h.text(readoutLabel.toLatin1().constData()), readout);
        QCOMPARE(h.text("lScroll"), u"Scroll Spd : %1   Scroll Frq : %2"_s.arg(speed).arg(frequency));
    }

    void pausePressByButton_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("pauses");
        QTest::newRow("left") << Qt::LeftButton << true;
        QTest::newRow("middle") << Qt::MiddleButton << true;
        QTest::newRow("right") << Qt::RightButton << false;
    }

    void pausePressByButton()
    {
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, pauses);
        Harness h;
        QVERIFY(h.start());
        QTest::mouseClick(h.child("cPlay"), Qt::LeftButton);
        // Through the window system, so the release finds its receiver as the mouse's would:
        // it must not land on PLAY, uncovered by the press.
        QWindow* window = h.w().windowHandle();
        const QPoint at = h.child("cPause")->mapTo(h.window.get(), QPoint(10, 10));
        QTest::mousePress(window, button, Qt::NoModifier, at);
        QCOMPARE(playing(h), !pauses);
        QCOMPARE(h.child("cPause")->isVisible(), !pauses);
        QTest::mouseRelease(window, button, Qt::NoModifier, at);
        QCOMPARE(playing(h), !pauses);
    }

    void clockCountsOnlyWhilePlaying()
    {
        Harness h;
        h.session->setClock({0, 59});
        QVERIFY(h.start());
        QCOMPARE(h.text("lTime"), u"Run Time  0 : 59"_s);
        QTest::mouseClick(h.child("cPlay"), Qt::LeftButton);
        QVERIFY(h.expire("tTime"));
        QCOMPARE(h.text("lTime"), u"Run Time  1 : 0"_s);
        QTest::mousePress(h.child("cPause"), Qt::LeftButton);
        QTest::mouseRelease(h.child("cPause"), Qt::LeftButton);
        const QString paused = h.text("lTime");
        // Nothing may count meanwhile: the clock's timer is stopped, so no second can come.
        QVERIFY(!h.timer("tTime")->isActive());
        QVERIFY(!h.expire("tTime"));
        QCOMPARE(h.text("lTime"), paused);
        QTest::mouseClick(h.child("cPlay"), Qt::LeftButton);
        QVERIFY(h.expire("tTime"));
        QVERIFY(h.text("lTime") != paused);
        QCOMPARE(int(h.session->clock().seconds), paused.section(u' ', -1).toInt() + 1);
    }

    void characterCounter_data()
    {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("counter");
        QTest::newRow("CR LF counts two") << u"ab\r\nc"_s << u"Chr # 5"_s;
        QTest::newRow("empty") << QString() << u"Chr # 0"_s;
        QTest::newRow("blank line") << u"a\r\n\r\nb"_s << u"Chr # 6"_s;
        QTest::newRow("trailing break") << u"abc\r\n"_s << u"Chr # 5"_s;
    }

    void characterCounter()
    {
        QFETCH(QString, clipboard);
        QFETCH(QString, counter);
        Harness h;
        h.services.clipboard = clipboard;
        QVERIFY(h.start());
        h.key(Qt::Key_Insert);
        QCOMPARE(h.text("lChar"), counter);
    }

    void characterCounterFollowsTyping()
    {
        Harness h;
        QVERIFY(h.start());
        h.key(Qt::Key_Insert);  // empty clipboard: empty script
        QWidget* tex = h.child("Tex");
        tex->setFocus();
        QTest::keyClicks(tex, u"ab"_s);
        QTest::keyClick(tex, Qt::Key_Return);
        QTest::keyClicks(tex, u"c"_s);
        QCOMPARE(h.text("lChar"), u"Chr # 5"_s);
        QTest::keyClick(tex, Qt::Key_Backspace);
        QTest::keyClick(tex, Qt::Key_Backspace);
        QCOMPARE(h.text("lChar"), u"Chr # 2"_s);
    }

    void warningColour_data()
    {
        QTest::addColumn<float>("position");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("home") << 480.0f << kWhite;
        QTest::newRow("at the threshold") << -230000.0f << kWhite;
        QTest::newRow("just below") << -230001.0f << kYellow;
        QTest::newRow("at the wrap limit") << -240000.0f << kYellow;
    }

    void warningColour()
    {
        QFETCH(float, position);
        QFETCH(QColor, colour);
        Harness h;
        QVERIFY(h.start());
        h.pane().scroller().setPosition(position);
        h.pane().ShowPosition();
        QCOMPARE(h.tex()->palette().color(QPalette::Text), colour);
        QCOMPARE(h.child<NavigationBar>("Tip")->markerColour(), colour);
    }
};

VELLORAN_TEST_CLASS(FrmSetPlayTest);
#include "frmset_play_test.moc"
