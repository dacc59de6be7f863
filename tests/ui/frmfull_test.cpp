#include "frmfull_harness.h"

class FrmFullTest : public QObject {
    Q_OBJECT
private slots:
    void loadTakesOverScriptAndPaceButNotPositionOrFont()
    {
        Session s;
        s.main->pane().scroller().setPosition(-100000);
        s.main->tex()->setPointSize(20);
        s.main->tex()->setPlainText(u"First line\nSecond line"_s);
        setSpinner(s.main.get(), "sFreq", 30);
        frmFull* full = s.open();

        QVERIFY(s.main->isHidden());
        QCOMPARE(full->geometry(), QGuiApplication::primaryScreen()->geometry());
        QCOMPARE(child<velloran::ui::ScriptSurface>(full, "Scroll")->position(), 4800.0f);
        QCOMPARE(full->tex()->pointSize(), 36.0);
        QCOMPARE(full->tex()->toPlainText(), u"First line\nSecond line"_s);
        QVERIFY2(caption(full, "lPos").isEmpty(), "no ShowPosition at load");
        QCOMPARE(caption(full, "lScrnt"), u"Frq: 30"_s);
        QCOMPARE(caption(full, "lScrd"), u"Spd: 2000"_s);
        QCOMPARE(child<QTimer>(full, "tScroll")->interval(), 2000);
        QVERIFY(!full->pane().playing() && !child(full, "sFreq")->isEnabled() &&
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
        Session s;
        frmFull* full = s.open();
        const int width = full->widthInTwips();
        QVERIFY(width > 0);
        widgettools::expectLayoutsReachTheirControls(
            full, full->pane().layoutTargets(),
            {velloran::engine::fullPlayingLayout(width), velloran::engine::fullPausedLayout(width)});
    }

    void tickWrapsToFullHomeAndPlayWidensSurface()
    {
        Session s;
        setSpinner(s.main.get(), "sFreq", 200);
        frmFull* full = s.open();
        auto* surface = child<velloran::ui::ScriptSurface>(full, "Scroll");
        const double w = full->width() * twipsPerPixel();
        full->pane().setPosition(-239900);

        click(full, "cPlay");
        QVERIFY(full->pane().playing() && child(full, "Tip")->isHidden() &&
                child(full, "sFreq")->isEnabled());
        QCOMPARE(surface->width(), w);
        QCOMPARE(surface->texWidth(), w - 120);
        QCOMPARE(surface->texLeft(), 200.0);
        tick(full);
        QCOMPARE(surface->position(), -240100.0f);
        QCOMPARE(caption(full, "lPos"), u"Scroller Position : 240100"_s);
        QCOMPARE(textColour(full), QColor(255, 255, 0));
        tick(full);
        QCOMPARE(surface->position(), 4600.0f);
        QCOMPARE(textColour(full), QColor(Qt::white));

        QTest::mousePress(child(full, "cPause"), Qt::LeftButton);
        QVERIFY(!full->pane().playing() && !child<QTimer>(full, "tScroll")->isActive() &&
                child(full, "Tip")->isVisible());
        QCOMPARE(surface->width(), w - 495);
        QCOMPARE(surface->texWidth(), w - 735);
        QCOMPARE(surface->texLeft(), 0.0);
    }

    void nudgesAndNavigationBarLeaveClockAlone()
    {
        Session s;
        s.shared.clock = {2, 30};
        frmFull* full = s.open();
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
            full->pane().setPosition(nudge.start);
            altKey(full, nudge.key, nudge.button);
            QCOMPARE(full->pane().scroller().position(), nudge.expected);
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
        QCOMPARE(full->pane().scroller().position(), 4900.0f);
        moveWith(Qt::LeftButton, threeQuarters);
        QCOMPARE(full->pane().scroller().position(), 4800.0f);
        QCOMPARE(caption(full, "lPos"), u"Scroller Position : -4800"_s);
        // Three quarters down the bar stands for 375000 twips of surface, to within a pixel.
        moveWith(Qt::LeftButton, threeQuarters);
        QVERIFY(std::abs(full->pane().scroller().position() + 125000) <= 500000.0 / bar->height());
        QVERIFY(s.shared.clock.minutes == 2 && s.shared.clock.seconds == 30);

        // Left below the wrap limit by a nudge, the script wraps on the next tick.
        full->pane().setPosition(-240399);
        altKey(full, Qt::Key_Slash, "cUpB");
        click(full, "cPlay");
        tick(full);
        QCOMPARE(full->pane().scroller().position(), 4790.0f);
    }

    void f1HidesPanelAndPointerAndKeysStillWork()
    {
        Session s;
        s.designateBackup("Backup script");
        frmFull* full = s.open();
        QWidget* panel = child(full, "fCtrl");
        QWidget* surface = child(full, "Scroll");
        click(full, "cPlay");

        key(Qt::Key_F1);
        QVERIFY(panel->isHidden());
        QCOMPARE(surface->cursor().shape(), Qt::BlankCursor);
        QVERIFY(full->tex()->viewport()->cursor().shape() != Qt::BlankCursor);
        QVERIFY(child(full, "Tip")->cursor().shape() != Qt::BlankCursor);
        tick(full);
        QCOMPARE(full->pane().scroller().position(), 4790.0f);

        altKey(full, Qt::Key_P, "cPlay2");
        QVERIFY(!full->pane().playing());
        altKey(full, Qt::Key_P, "cPlay2");
        QVERIFY(full->pane().playing());
        altKey(full, Qt::Key_B, "cBack");
        QCOMPARE(full->tex()->toPlainText(), u"Backup script"_s);
        QCOMPARE(full->pane().scroller().position(), 4800.0f);
        QVERIFY(full->pane().playing());

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
        Session s;
        s.designateBackup("Backup script");
        frmFull* full = s.open();
        for (const bool held : {false, true}) {
            key(Qt::Key_F1);
            for (const auto& shortcut : widgettools::kAltShortcuts) {
                full->pane().setPosition(-3000);
                QSignalSpy clicks(child<QAbstractButton>(full, shortcut.button), &QAbstractButton::clicked);
                widgettools::pressTenTimes(full->windowHandle(), shortcut, held);
                QCOMPARE(clicks.count(), 10);
                QCOMPARE(full->pane().scroller().position(),
                         shortcut.key == Qt::Key_B ? 4800.0f : -3000.0f + 10 * shortcut.nudge);
                QVERIFY(!full->pane().playing());
            }
        }
        QCOMPARE(full->tex()->toPlainText(), u"Backup script"_s);
    }

    void mouseButtonsClipboardAndEditor()
    {
        Session s;
        const QString backup = s.designateBackup("Backup script");
        s.services.clipboard = u"From the clipboard"_s;
        frmFull* full = s.open();

        QTest::mouseDClick(full->tex()->viewport(), Qt::LeftButton);
        QCOMPARE(s.services.editorsStarted, 1);
        click(full, "cPlay");
        QTest::mouseDClick(full->tex()->viewport(), Qt::LeftButton);
        QCOMPARE(s.services.editorsStarted, 1);

        full->pane().setPosition(-3000);
        key(Qt::Key_Insert);
        QCOMPARE(full->tex()->toPlainText(), u"From the clipboard"_s);
        QCOMPARE(full->pane().scroller().position(), 4800.0f);

        click(full, "cPause", Qt::RightButton);
        QVERIFY(full->pane().playing());
        QCOMPARE(full->tex()->toPlainText(), u"Backup script"_s);
        full->tex()->setPlainText(u"Edited"_s);
        click(full, "cPause");
        QVERIFY(!full->pane().playing());
        QCOMPARE(full->tex()->toPlainText(), u"Edited"_s);

        // A backup file that has gone leaves script and position alone.
        QVERIFY(QFile::remove(backup));
        full->pane().setPosition(-5000);
        altKey(full, Qt::Key_B, "cBack");
        QCOMPARE(full->tex()->toPlainText(), u"Edited"_s);
        QCOMPARE(full->pane().scroller().position(), -5000.0f);

        click(full, "cPlay");
        click(full, "cX", Qt::RightButton);
        // Minimised alone: asked for full screen in the same breath, a window manager shows it again.
        QVERIFY(!full->pane().playing());
        QCOMPARE(full->windowState(), Qt::WindowMinimized);
        full->setWindowState(Qt::WindowNoState);  // the window manager brings it back
        QTRY_COMPARE(full->windowState(), Qt::WindowFullScreen);
        QCOMPARE(s.services.ends, 0);
        QVERIFY(!QFile::exists(s.main->settingsFile()));
    }

    void returningKeepsSharedPaceAndClockButDropsEdits()
    {
        Session s;
        s.shared.clock = {3, 10};
        const QString script = s.main->tex()->toPlainText();
        frmFull* full = s.open();
        click(full, "cPlay");
        setSpinner(full, "sFreq", 40);
        setSpinner(full, "sSpeed", 300);
        QCOMPARE(caption(full, "lScrnt"), u"Frq: 40"_s);
        QCOMPARE(child<QTimer>(full, "tScroll")->interval(), 300);
        QTest::keyClicks(full->tex(), u"typed in full screen"_s);
        click(full, "cReset");

        click(full, "cFull");
        QVERIFY(s.main->isVisible());
        QTRY_VERIFY(s.full.isNull());
        QCOMPARE(s.main->tex()->toPlainText(), script);
        QCOMPARE(child<velloran::ui::ArrowSpinner>(s.main.get(), "sFreq")->value(), 10);
        QVERIFY(s.shared.pace.speed == 300 && s.shared.clock.minutes == 0 && s.shared.clock.seconds == 0);

        click(s.main.get(), "cPlay");
        QCOMPARE(child<QTimer>(s.main.get(), "tScroll")->interval(), 2000);
        tick(s.main.get());
        QCOMPARE(s.main->pane().scroller().position(), 440.0f);
    }

    void exitButtonWritesMainRecordWithFullFontSize()
    {
        Session s;
        s.main->tex()->setPlainText(u"Say \"hi\"\nBye"_s);
        s.main->pane().scroller().setPosition(-1234);
        s.main->setBackupPath(u"/scripts/spare.txt"_s);
        s.shared.clock = {3, 7};
        frmFull* full = s.open();
        click(full, "cPlay");
        setSpinner(full, "sFreq", 40);
        setSpinner(full, "sSpeed", 300);
        QTest::keyClicks(full->tex(), u"not saved"_s);
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
        Session s;
        const QByteArray before("120,12,27.75,-3000,\"\",1,30,\"Earlier run\"\r\n");
        QFile file(s.main->settingsFile());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(before) == before.size());
        file.close();
        frmFull* full = s.open();
        click(full, "cFntPlus");

        key(Qt::Key_Escape, Qt::ShiftModifier);
        QCOMPARE(s.services.ends, 1);
        QCOMPARE(s.settingsBytes(), before);
    }

    // The whole-script option reaches the full-screen window at opening and live from the main
    // window's entry point: the range, the warning and the bar follow the script there too.
    void wholeScriptOptionInFullScreenWindow()
    {
        Session s;
        s.main->tex()->setPlainText(widgettools::variedLines(1000));
        s.main->setWholeScriptReachable(true);
        frmFull* full = s.open();
        QVERIFY(full->pane().wholeScriptReachable());
        QVERIFY2(caption(full, "lPos").isEmpty(), "no ShowPosition at load");
        QVERIFY2(!full->pane().tip()->markerRect().isEmpty(),
                 "the marker shows where the whole script stands");
        const auto once = [full] { tick(full); };
        widgettools::expectWholeScriptRange(full->pane(), velloran::engine::kFullHome, once);
        if (QTest::currentTestFailed())
            return;
        widgettools::expectClassicRangeBackAtOnce(
            full->pane(), velloran::engine::kFullHome, [&s](bool on) { s.main->setWholeScriptReachable(on); },
            once);
        QVERIFY(!s.main->pane().wholeScriptReachable());
        QVERIFY2(full->pane().tip()->markerRect().isEmpty(), "classic: no marker in full screen");
    }
};

QTEST_MAIN(FrmFullTest)
#include "frmfull_test.moc"
