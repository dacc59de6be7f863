// The full-screen window: its layout, the tick and the wrap, nudges and the bar, F1, the Alt keys,
// the mouse, the way back, the saving exit and Escape, and the whole-script option.
#include <QAbstractButton>
#include <QFile>
#include <QSignalSpy>
#include <QTimer>
#include <cmath>

#include "harness.h"
#include "testclasses.h"
#include "ui/pane/readingpane.h"
#include "ui/script/scriptsurface.h"
#include "ui/script/scripttext.h"
#include "ui/widgets/arrowspinner.h"
#include "ui/widgets/navigationbar.h"

class FrmFullTest : public QObject {
    Q_OBJECT
private slots:
    void loadTakesOverScriptAndPaceButNotPositionOrFont()
    {
        Harness s;
        QVERIFY(s.start(true));
        s.pane().scroller().setPosition(-100000);
        s.tex()->setPointSize(20);
        s.tex()->setPlainText(u"First line\nSecond line"_s);
        setSpinner(s.window.get(), "sFreq", 30);
        frmFull* full = s.openFullScreen();

        QVERIFY(s.window->isHidden());
        QCOMPARE(full->geometry(), QGuiApplication::primaryScreen()->geometry());
        QCOMPARE(child<velloran::ui::ScriptSurface>(full, "Scroll")->position(), 4800.0f);
        QCOMPARE(texOf(full)->pointSize(), 36.0);
        QCOMPARE(texOf(full)->toPlainText(), u"First line\nSecond line"_s);
        QVERIFY2(caption(full, "lPos").isEmpty(), "no ShowPosition at load");
        QCOMPARE(caption(full, "lScrnt"), u"Frq: 30"_s);
        QCOMPARE(caption(full, "lScrd"), u"Spd: 2000"_s);
        QCOMPARE(child<QTimer>(full, "tScroll")->interval(), 2000);
        QVERIFY(!paneOf(full).playing() && !child(full, "sFreq")->isEnabled() &&
                child(full, "cPause")->isHidden());

        // Screen-sized layout, in twips of the screen's own logical inch.
        const double perPixel = twipsPerPixel();
        const QSizeF screen = QSizeF(QGuiApplication::primaryScreen()->geometry().size()) * perPixel;
        const auto px = [perPixel](double twips) { return static_cast<int>(std::lround(twips / perPixel)); };
        const double w = screen.width(), h = screen.height();
        QCOMPARE(child(full, "fCtrl")->geometry(),
                 QRect(px(w / 2 - 5467.5), px(h - 2295), px(10935), px(1815)));
        QCOMPARE(child(full, "Tip")->geometry(), QRect(px(w - 375), px(120), px(255), px(h - 240)));
        QCOMPARE(child(full, "fHide")->y(), px(h + 10000));
        QVERIFY(widgettools::wholeAndOnTop(child(full, "cX")));
    }

    void layoutsChangeOnlyRegisteredControls()
    {
        Harness s;
        QVERIFY(s.start(true));
        frmFull* full = s.openFullScreen();
        const int width = full->widthInTwips();
        QVERIFY(width > 0);
        widgettools::expectLayoutsReachTheirControls(
            full, s.session.get(),
            {velloran::engine::fullPlayingLayout(width), velloran::engine::fullPausedLayout(width)});
    }

    void tickWrapsToFullHomeAndPlayWidensSurface()
    {
        Harness s;
        QVERIFY(s.start(true));
        setSpinner(s.window.get(), "sFreq", 200);
        frmFull* full = s.openFullScreen();
        auto* surface = child<velloran::ui::ScriptSurface>(full, "Scroll");
        const double w = full->width() * twipsPerPixel();
        paneOf(full).setPosition(-239900);

        click(full, "cPlay");
        QVERIFY(paneOf(full).playing() && child(full, "Tip")->isHidden() &&
                child(full, "sFreq")->isEnabled());
        QCOMPARE(surface->width(), w);
        QCOMPARE(surface->texWidth(), w - 120);
        QCOMPARE(surface->texLeft(), 200.0);
        tick(full);
        QCOMPARE(surface->position(), -240100.0f);
        QCOMPARE(caption(full, "lPos"), u"Scroller Position : 240100"_s);
        QCOMPARE(scriptColour(full), QColor(255, 255, 0));
        tick(full);
        QCOMPARE(surface->position(), 4600.0f);
        QCOMPARE(scriptColour(full), QColor(Qt::white));

        QTest::mousePress(child(full, "cPause"), Qt::LeftButton);
        QVERIFY(!paneOf(full).playing() && !child<QTimer>(full, "tScroll")->isActive() &&
                child(full, "Tip")->isVisible());
        QCOMPARE(surface->width(), w - 495);
        QCOMPARE(surface->texWidth(), w - 735);
        QCOMPARE(surface->texLeft(), 0.0);
    }

    void nudgesAndNavigationBarLeaveClockAlone()
    {
        Harness s;
        QVERIFY(s.start(true));
        s.session->setClock({2, 30});
        frmFull* full = s.openFullScreen();
        const struct {
            float start;
            Qt::Key key;
            const char* button;
            float expected;
        } nudges[] = {
            {4800, Qt::Key_Backslash, "cDwnB", 4800},
            {-240399, Qt::Key_Slash, "cUpB", -240599},
            {4700, Qt::Key_Backslash, "cDwnB", 4900},
        };
        for (const auto& nudge : nudges) {
            paneOf(full).setPosition(nudge.start);
            altKey(full, nudge.key, nudge.button);
            QCOMPARE(paneOf(full).scroller().position(), nudge.expected);
        }

        // Out of range after the down nudge: the first left-held move only pulls back to home.
        QWidget* bar = child(full, "Tip");
        const auto moveWith = [bar](Qt::MouseButtons held, int y) {
            QMouseEvent move(QEvent::MouseMove, QPointF(5, y), bar->mapToGlobal(QPointF(5, y)), Qt::NoButton,
                             held, Qt::NoModifier);
            QApplication::sendEvent(bar, &move);
        };
        const int threeQuarters = bar->height() * 3 / 4;
        moveWith(Qt::RightButton, threeQuarters);
        QCOMPARE(paneOf(full).scroller().position(), 4900.0f);
        moveWith(Qt::LeftButton, threeQuarters);
        QCOMPARE(paneOf(full).scroller().position(), 4800.0f);
        QCOMPARE(caption(full, "lPos"), u"Scroller Position : -4800"_s);
        // Three quarters down the bar stands for 375000 twips of surface, to within a pixel.
        moveWith(Qt::LeftButton, threeQuarters);
        QVERIFY(std::abs(paneOf(full).scroller().position() + 125000) <= 500000.0 / bar->height());
        QVERIFY(s.session->clock().minutes == 2 && s.session->clock().seconds == 30);

        // Left below the wrap limit by a nudge, the script wraps on the next tick.
        paneOf(full).setPosition(-240399);
        altKey(full, Qt::Key_Slash, "cUpB");
        click(full, "cPlay");
        tick(full);
        QCOMPARE(paneOf(full).scroller().position(), 4790.0f);
    }

    void f1HidesPanelAndPointerAndKeysStillWork()
    {
        Harness s;
        QVERIFY(s.start(true));
        s.designateBackup("Backup script");
        frmFull* full = s.openFullScreen();
        QWidget* panel = child(full, "fCtrl");
        QWidget* surface = child(full, "Scroll");
        click(full, "cPlay");

        key(Qt::Key_F1);
        QVERIFY(panel->isHidden());
        QCOMPARE(surface->cursor().shape(), Qt::BlankCursor);
        QVERIFY(texOf(full)->viewport()->cursor().shape() != Qt::BlankCursor);
        QVERIFY(child(full, "Tip")->cursor().shape() != Qt::BlankCursor);
        tick(full);
        QCOMPARE(paneOf(full).scroller().position(), 4790.0f);

        altKey(full, Qt::Key_P, "cPlay2");
        QVERIFY(!paneOf(full).playing());
        altKey(full, Qt::Key_P, "cPlay2");
        QVERIFY(paneOf(full).playing());
        altKey(full, Qt::Key_B, "cBack");
        QCOMPARE(texOf(full)->toPlainText(), u"Backup script"_s);
        QCOMPARE(paneOf(full).scroller().position(), 4800.0f);
        QVERIFY(paneOf(full).playing());

        key(Qt::Key_F1, Qt::ShiftModifier);
        QVERIFY(panel->isVisible());
        QVERIFY(!surface->testAttribute(Qt::WA_SetCursor));
        key(Qt::Key_F1, Qt::ControlModifier);
        QVERIFY(panel->isHidden());
    }

    // Every press and every auto-repeat of a held key is one action, at once, with the Control
    // Panel shown or hidden.
    void altShortcutsActOnEveryPress()
    {
        Harness s;
        QVERIFY(s.start(true));
        s.designateBackup("Backup script");
        frmFull* full = s.openFullScreen();
        for (const bool held : {false, true}) {
            key(Qt::Key_F1);
            for (const auto& shortcut : widgettools::kAltShortcuts) {
                paneOf(full).setPosition(-3000);
                QSignalSpy clicks(child<QAbstractButton>(full, shortcut.button), &QAbstractButton::clicked);
                widgettools::pressTenTimes(full->windowHandle(), shortcut, held);
                QCOMPARE(clicks.count(), 10);
                QCOMPARE(paneOf(full).scroller().position(),
                         shortcut.key == Qt::Key_B ? 4800.0f : -3000.0f + 10 * shortcut.nudge);
                QVERIFY(!paneOf(full).playing());
            }
        }
        QCOMPARE(texOf(full)->toPlainText(), u"Backup script"_s);
    }

    void mouseButtonsClipboardAndEditor()
    {
        Harness s;
        QVERIFY(s.start(true));
        const QString backup = s.designateBackup("Backup script");
        s.services.clipboard = u"From the clipboard"_s;
        frmFull* full = s.openFullScreen();

        QTest::mouseDClick(texOf(full)->viewport(), Qt::LeftButton);
        QCOMPARE(s.services.editorsStarted, 1);
        click(full, "cPlay");
        QTest::mouseDClick(texOf(full)->viewport(), Qt::LeftButton);
        QCOMPARE(s.services.editorsStarted, 1);

        paneOf(full).setPosition(-3000);
        key(Qt::Key_Insert);
        QCOMPARE(texOf(full)->toPlainText(), u"From the clipboard"_s);
        QCOMPARE(paneOf(full).scroller().position(), 4800.0f);

        click(full, "cPause", Qt::RightButton);
        QVERIFY(paneOf(full).playing());
        QCOMPARE(texOf(full)->toPlainText(), u"Backup script"_s);
        texOf(full)->setPlainText(u"Edited"_s);
        click(full, "cPause");
        QVERIFY(!paneOf(full).playing());
        QCOMPARE(texOf(full)->toPlainText(), u"Edited"_s);

        // A backup file that has gone leaves script and position alone.
        QVERIFY(QFile::remove(backup));
        paneOf(full).setPosition(-5000);
        altKey(full, Qt::Key_B, "cBack");
        QCOMPARE(texOf(full)->toPlainText(), u"Edited"_s);
        QCOMPARE(paneOf(full).scroller().position(), -5000.0f);

        click(full, "cPlay");
        click(full, "cX", Qt::RightButton);
        // Minimised alone: asked for full screen in the same breath, a window manager shows it again.
        QVERIFY(!paneOf(full).playing());
        QCOMPARE(full->windowState(), Qt::WindowMinimized);
        full->setWindowState(Qt::WindowNoState);  // the window manager brings it back
        QTRY_COMPARE(full->windowState(), Qt::WindowFullScreen);
        QCOMPARE(s.services.ends, 0);
        QVERIFY(!QFile::exists(s.session->settingsFile()));
    }

    void returningKeepsSharedPaceAndClockButDropsEdits()
    {
        Harness s;
        QVERIFY(s.start(true));
        s.session->setClock({3, 10});
        const QString script = s.tex()->toPlainText();
        frmFull* full = s.openFullScreen();
        click(full, "cPlay");
        setSpinner(full, "sFreq", 40);
        setSpinner(full, "sSpeed", 300);
        QCOMPARE(caption(full, "lScrnt"), u"Frq: 40"_s);
        QCOMPARE(child<QTimer>(full, "tScroll")->interval(), 300);
        QTest::keyClicks(texOf(full), u"typed in full screen"_s);
        click(full, "cReset");

        click(full, "cFull");
        QVERIFY(s.window->isVisible());
        QTRY_VERIFY(s.full.isNull());
        QCOMPARE(s.tex()->toPlainText(), script);
        QCOMPARE(child<velloran::ui::ArrowSpinner>(s.window.get(), "sFreq")->value(), 10);
        QVERIFY(s.session->pace().speed == 300 && s.session->clock().minutes == 0 && s.session->clock().seconds == 0);

        click(s.window.get(), "cPlay");
        QCOMPARE(child<QTimer>(s.window.get(), "tScroll")->interval(), 2000);
        QVERIFY(s.expire("tScroll"));
        QCOMPARE(s.pane().scroller().position(), 440.0f);
    }

    void exitButtonWritesMainRecordWithFullFontSize()
    {
        Harness s;
        QVERIFY(s.start(true));
        s.tex()->setPlainText(u"Say \"hi\"\nBye"_s);
        s.pane().scroller().setPosition(-1234);
        s.session->setBackupPath(u"/scripts/spare.txt"_s);
        s.session->setClock({3, 7});
        frmFull* full = s.openFullScreen();
        click(full, "cPlay");
        setSpinner(full, "sFreq", 40);
        setSpinner(full, "sSpeed", 300);
        QTest::keyClicks(texOf(full), u"not saved"_s);
        click(full, "cFntPlus");
        click(full, "cFntPlus");

        click(full, "cX", Qt::MiddleButton);
        QCOMPARE(s.services.ends, 1);
        QVERIFY(!child<QTimer>(full, "tScroll")->isActive());
        QCOMPARE(
            s.settingsBytes(),
            QByteArray(
                "2000,10,40,-1234,\"/scripts/spare.txt\",3,7,\"Say \xE2\x80\x9Chi\xE2\x80\x9D\r\nBye\"\r\n"));
    }

    void escapeEndsWithoutWriting()
    {
        Harness s;
        QVERIFY(s.start(true));
        const QByteArray before("120,12,27.75,-3000,\"\",1,30,\"Earlier run\"\r\n");
        QFile file(s.session->settingsFile());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(before) == before.size());
        file.close();
        frmFull* full = s.openFullScreen();
        click(full, "cFntPlus");

        key(Qt::Key_Escape, Qt::ShiftModifier);
        QCOMPARE(s.services.ends, 1);
        QCOMPARE(s.settingsBytes(), before);
    }

    // The whole-script option reaches the full-screen window at opening and live from the main
    // window's entry point: the range, the warning and the bar follow the script there too.
    void wholeScriptOptionInFullScreenWindow()
    {
        Harness s;
        QVERIFY(s.start(true));
        s.tex()->setPlainText(widgettools::variedLines(1000));
        s.session->setWholeScriptReachable(true);
        frmFull* full = s.openFullScreen();
        QVERIFY(paneOf(full).wholeScriptReachable());
        QVERIFY2(caption(full, "lPos").isEmpty(), "no ShowPosition at load");
        QVERIFY2(!child<velloran::ui::NavigationBar>(full, "Tip")->markerRect().isEmpty(),
                 "the marker shows where the whole script stands");
        const auto once = [full] { tick(full); };
        widgettools::expectWholeScriptRange(full, velloran::engine::kFullHome, once);
        if (QTest::currentTestFailed())
            return;
        widgettools::expectClassicRangeBackAtOnce(
            full, velloran::engine::kFullHome, [&s](bool on) { s.session->setWholeScriptReachable(on); },
            once);
        QVERIFY(!s.pane().wholeScriptReachable());
        QVERIFY2(child<velloran::ui::NavigationBar>(full, "Tip")->markerRect().isEmpty(), "classic: no marker in full screen");
    }
};

VELLORAN_TEST_CLASS(FrmFullTest);
#include "frmfull_test.moc"
