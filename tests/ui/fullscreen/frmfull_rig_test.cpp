// The full-screen window's rig options: the reflected picture, the reading cue, the screen it
// covers, the remote's keys, the Control Panel as a window of its own, and the Preferences dialog.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QSettings>

#include <QSignalSpy>
#include <QTimer>

#include "harness.h"
#include "session/preferences.h"
#include "testclasses.h"
#include "ui/pane/readingpane.h"
#include "ui/script/scripttext.h"
#include "ui/widgets/navigationbar.h"

using velloran::session::Preferences;
Q_DECLARE_METATYPE(velloran::session::Preferences)

namespace {

QImage picture(frmFull* full)
{
    return full->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// A mouse move over the widget with the given buttons held, as the window system delivers it.
void moveOver(QWidget* widget, QPoint at, Qt::MouseButtons buttons)
{
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

Preferences written(const Harness& s)
{
    return velloran::session::loadPreferences(s.session->preferencesFile());
}

// Runs `work` on the modal dialog as soon as it is up; counts the dialogs seen.
template <class Work> void onDialog(int* seen, Work work)
{
    QTimer::singleShot(0, [seen, work] {
        QDialog* dialog = nullptr;
        const auto find = [&dialog] {
            for (QWidget* window : QApplication::topLevelWidgets())
                if (window->objectName() == u"Preferences" && window->isVisible())
                    dialog = qobject_cast<QDialog*>(window);
            return dialog != nullptr;
        };
        QTRY_VERIFY_WITH_TIMEOUT(find(), 2000);
        ++*seen;
        work(dialog);
    });
}

Preferences reflected(bool mirror, bool flip)
{
    Preferences preferences;
    preferences.mirror = mirror;
    preferences.flip = flip;
    return preferences;
}

}  // namespace

class FrmFullRigTest : public QObject {
    Q_OBJECT
private slots:
    void reflectedPictureIsThePlainOneReflected_data()
    {
        QTest::addColumn<bool>("mirror");
        QTest::addColumn<bool>("flip");
        QTest::addColumn<bool>("playing");
        QTest::newRow("mirror, paused") << true << false << false;
        QTest::newRow("mirror, scrolling") << true << false << true;
        QTest::newRow("flip, paused") << false << true << false;
        QTest::newRow("mirror and flip, scrolling") << true << true << true;
    }
    void reflectedPictureIsThePlainOneReflected()
    {
        QFETCH(bool, mirror);
        QFETCH(bool, flip);
        QFETCH(bool, playing);
        Harness s;
        QVERIFY(s.start(true));
        s.tex()->setPlainText(
            u"Left aligned first line\nsecond\n\nA longer third line, read through glass"_s);
        frmFull* full = s.openFullScreen();
        if (playing)
            click(full, "cPlay");
        for (const float position : {4800.0f, 3000.0f, -1234.0f}) {
            paneOf(full).setPosition(position);
            full->applyPreferences({});
            const QImage plain = picture(full);
            full->applyPreferences(reflected(mirror, flip));
            const QImage shown = picture(full);
            QVERIFY(shown != plain);
            QVERIFY2(shown == plain.mirrored(mirror, flip), qPrintable(QString::number(position)));
        }
    }

    // Pointer positions are reflected back, so the bar still places from the plain picture's
    // place: the top of the upside-down bar is the plain bar's bottom.
    void barTakesReflectedPointer()
    {
        Harness s;
        QVERIFY(s.start(true));
        frmFull* full = s.openFullScreen();
        auto* tip = child<velloran::ui::NavigationBar>(full, "Tip");
        const int h = tip->height();
        const auto placeAt = [&](int y) {
            paneOf(full).setPosition(0);
            moveOver(tip, {1, y}, Qt::LeftButton);
            return paneOf(full).scroller().position();
        };
        const float low = placeAt(h - 30);
        const float high = placeAt(3 * h / 4);
        QVERIFY(low > high);

        const QRect plainBar = tip->geometry();
        full->applyPreferences(reflected(true, true));
        QCOMPARE(tip->geometry(),
                 QRect(full->width() - plainBar.right() - 1, full->height() - plainBar.bottom() - 1,
                       plainBar.width(), plainBar.height()));
        QCOMPARE(placeAt(29), low);
        QCOMPARE(placeAt(h - 1 - 3 * h / 4), high);
        full->applyPreferences(reflected(true, false));
        QCOMPARE(placeAt(h - 30), low);
    }

    // A presentation remote's keys, whichever control has the focus, with the Control Panel
    // shown or hidden. Without Preferences.ini the keys are the text box's own: nothing is taken
    // from typing.
    void remoteKeys_data()
    {
        QTest::addColumn<QByteArray>("preferences");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("playing");  // after the press
        QTest::addColumn<bool>("back");     // moved back one line
        QTest::addColumn<QString>("script");
        const QByteArray on("[FullScreen]\nRemote=true\n");
        const QString none = u"Script"_s;
        QTest::newRow("forward plays") << on << int(Qt::Key_PageDown) << true << false << none;
        QTest::newRow("back, one line") << on << int(Qt::Key_PageUp) << false << true << none;
        QTest::newRow("blank screen B") << on << int(Qt::Key_B) << false << false << none;
        QTest::newRow("blank screen period") << on << int(Qt::Key_Period) << false << false << none;
        QTest::newRow("start show F5") << on << int(Qt::Key_F5) << false << false << none;
        QTest::newRow("default: Page Down")
            << QByteArray() << int(Qt::Key_PageDown) << false << false << none;
        QTest::newRow("default: Page Up") << QByteArray() << int(Qt::Key_PageUp) << false << false << none;
        QTest::newRow("default: B types") << QByteArray() << int(Qt::Key_B) << false << false << u"Scriptb"_s;
        QTest::newRow("default: period types")
            << QByteArray() << int(Qt::Key_Period) << false << false << u"Script."_s;
        QTest::newRow("off: B types")
            << QByteArray("[FullScreen]\nRemote=false\n") << int(Qt::Key_B) << false << false << u"Scriptb"_s;
    }
    void remoteKeys()
    {
        QFETCH(QByteArray, preferences);
        QFETCH(int, key);
        QFETCH(bool, playing);
        QFETCH(bool, back);
        QFETCH(QString, script);
        Harness s;
        QVERIFY(s.start(true));
        if (!preferences.isEmpty())
            s.writePreferences(preferences);
        s.tex()->setPlainText(u"Script"_s);
        frmFull* full = s.openFullScreen();
        QTest::keyClick(texOf(full), Qt::Key_End, Qt::ControlModifier);
        const double line = texOf(full)->fontMetrics().lineSpacing() * twipsPerPixel();
        for (const bool panelShown : {true, false}) {
            if (full->controlPanelShown() != panelShown)
                ::key(Qt::Key_F1);
            paneOf(full).setPosition(-3000);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::NoModifier);
            QCOMPARE(paneOf(full).playing(), playing);
            QCOMPARE(paneOf(full).scroller().position(), back ? float(-3000 + line) : -3000.0f);
            QCOMPARE(texOf(full)->toPlainText(), script);
            if (playing)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));  // forward again pauses
            QVERIFY(!paneOf(full).playing());
            texOf(full)->setPlainText(u"Script"_s);
            QTest::keyClick(texOf(full), Qt::Key_End, Qt::ControlModifier);
        }
        QCOMPARE(QFile::exists(s.session->preferencesFile()), !preferences.isEmpty());
    }

    // With the remote, a clicker's "start/stop show" button (F5, then Escape) must not end the
    // program: Escape asks for a second one within three seconds, a held Escape counting once.
    void remoteEscapeAsksTwice()
    {
        Harness s;
        QVERIFY(s.start(true));
        s.writePreferences("[FullScreen]\nRemote=true\n");
        frmFull* full = s.openFullScreen();
        QWidget* notice = child(full, "lNotice");
        QTimer* wait = child<QTimer>(full, "tEscape");
        ::key(Qt::Key_F5);
        ::key(Qt::Key_Escape);
        QCOMPARE(s.services.ends, 0);
        QVERIFY(notice->isVisible() && caption(full, "lNotice").contains(u"Escape again"_s));
        QKeyEvent held(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(QApplication::focusWidget(), &held);
        QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Escape);
        QCOMPARE(s.services.ends, 0);
        QVERIFY(expireNow(wait));  // three seconds later the first press is forgotten
        QVERIFY(notice->isHidden());
        ::key(Qt::Key_Escape);
        QCOMPARE(s.services.ends, 0);
        ::key(Qt::Key_Escape, Qt::ShiftModifier);
        QCOMPARE(s.services.ends, 1);
        QVERIFY(!QFile::exists(s.session->settingsFile()));
    }

    // While the script moves the text cursor is not drawn on the glass; typing still goes in.
    void noTextCursorWhilePlaying()
    {
        Harness s;
        QVERIFY(s.start(true));
        s.tex()->setPlainText(u"Script"_s);
        frmFull* full = s.openFullScreen();
        const int shown = texOf(full)->cursorWidth();
        QVERIFY(shown > 0);
        click(full, "cPlay");
        QCOMPARE(texOf(full)->cursorWidth(), 0);
        QTest::keyClicks(texOf(full), u"abc. Bob"_s);
        QVERIFY(texOf(full)->toPlainText().contains(u"abc. Bob"_s));
        ::key(Qt::Key_P, Qt::AltModifier);
        QCOMPARE(texOf(full)->cursorWidth(), shown);
    }

    // Alt+M and Alt+K change the picture and the cue at once and save the change; Alt+O is the
    // main window's and means nothing here.
    void mirrorAndCueKeysSave()
    {
        Harness s;
        QVERIFY(s.start(true));
        frmFull* full = s.openFullScreen();
        QWidget* cue = child(full, "Cue");
        QWidget* tip = child(full, "Tip");
        const int plainTipX = tip->x();
        QVERIFY(cue->isHidden());
        altKey(full, Qt::Key_M, "cMirror");
        QVERIFY(full->preferences().mirror && written(s).mirror);
        QCOMPARE(tip->x(), full->width() - plainTipX - tip->width());
        altKey(full, Qt::Key_K, "cCue");
        QVERIFY(full->preferences().cue && written(s).cue && written(s).mirror);
        QVERIFY(cue->isVisible() && cue->isWindow());
        // Mirrored with the script: at the right edge of the screen, a third of the way down.
        QCOMPARE(cue->geometry().right(), full->geometry().right());
        QVERIFY(qAbs(cue->geometry().center().y() - full->height() / 3) <= 1);
        ::key(Qt::Key_F1);
        altKey(full, Qt::Key_M, "cMirror");
        QVERIFY(!written(s).mirror && written(s).cue);
        QCOMPARE(tip->x(), plainTipX);
        QCOMPARE(cue->x(), full->x());
        altKey(full, Qt::Key_K, "cCue");
        QVERIFY(cue->isHidden() && !written(s).cue);
        ::key(Qt::Key_O, Qt::AltModifier);
        QVERIFY(!QApplication::activeModalWidget());
    }

    // The Control Panel is a window of its own above the script, so the script's scroll stays a
    // move of pixels; it still behaves as part of the one window.
    void controlPanelActsAsPartOfTheWindow()
    {
        Harness s;
        QVERIFY(s.start(true));
        s.writePreferences("[FullScreen]\nRemote=true\n");
        frmFull* full = s.openFullScreen();
        QWidget* panel = child(full, "fCtrl");
        QVERIFY(panel->isWindow() && panel->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
        QCOMPARE(panel->parentWidget(), full);
        // A click on a panel button leaves the keys with the script.
        click(full, "cFntPlus");
        QCOMPARE(QApplication::focusWidget(), texOf(full));
        ::key(Qt::Key_PageDown);
        QVERIFY(paneOf(full).playing());
        ::key(Qt::Key_F1);
        QVERIFY(panel->isHidden() && !full->controlPanelShown());
        ::key(Qt::Key_F1);
        QVERIFY(panel->isVisible());

        // The window manager takes it along when the window is minimised and restored: the
        // program leaves it mapped, since one mapped anew during the restore may be kept hidden.
        // Hidden by F1, it stays hidden.
        full->setWindowState(Qt::WindowMinimized);
        QVERIFY(!panel->isHidden());
        full->setWindowState(Qt::WindowNoState);
        QTRY_VERIFY(panel->isVisible());
        ::key(Qt::Key_F1);
        full->setWindowState(Qt::WindowMinimized);
        full->setWindowState(Qt::WindowNoState);
        QTRY_COMPARE(full->windowState(), Qt::WindowFullScreen);
        QVERIFY(panel->isHidden());
        ::key(Qt::Key_F1);
        QVERIFY2(panel->isVisible(),
                 qPrintable(u"%1 %2 %3 %4"_s.arg(full->isVisible())
                                .arg(full->isMinimized())
                                .arg(full->controlPanelShown())
                                .arg(QApplication::focusWidget()
                                         ? QApplication::focusWidget()->window()->objectName()
                                         : u"none"_s)));
        QPointer<QWidget> gone(panel);
        click(full, "cFull");
        QTRY_VERIFY(gone.isNull());
    }

    // The screen the window covers, with the main window dragged to the last screen. The
    // two-screen run (a second platform set-up in CTest) tells every choice apart; on one screen
    // they all end on it. A name that matches no screen falls back to the primary one.
    void screenChoice_data()
    {
        const QList<QScreen*> screens = QGuiApplication::screens();
        if (qEnvironmentVariableIntValue("VELLORAN_TEST_SCREENS") > 1)
            QCOMPARE(screens.size(), qEnvironmentVariableIntValue("VELLORAN_TEST_SCREENS"));
        const int last = static_cast<int>(screens.size()) - 1;
        QTest::addColumn<QByteArray>("preferences");
        QTest::addColumn<int>("expected");  // which screen, in the platform's order
        QTest::newRow("primary") << QByteArray("[FullScreen]\nScreen=primary\n") << 0;
        QTest::newRow("main window's") << QByteArray("[FullScreen]\nScreen=window\n") << last;
        QTest::newRow("by its name") << "[FullScreen]\nScreen=" + screens.last()->name().toUtf8() + "\n"
                                     << last;
        QTest::newRow("unknown name") << QByteArray("[FullScreen]\nScreen=HDMI-9\n") << 0;
    }
    void screenChoice()
    {
        QFETCH(QByteArray, preferences);
        QFETCH(int, expected);
        const QList<QScreen*> screens = QGuiApplication::screens();
        Harness s;
        QVERIFY(s.start(true));
        s.writePreferences(preferences);
        s.window->move(screens.last()->geometry().topLeft() + QPoint(40, 40));
        QTRY_COMPARE(s.window->screen(), screens.last());
        frmFull* full = s.openFullScreen();
        QCOMPARE(full->geometry(), screens.at(expected)->geometry());
        QCOMPARE(child(full, "fCtrl")->y(), full->y() + full->height() - std::lround(2295 / twipsPerPixel()));
    }

    // The dialog lists every screen with its size and position, and the one chosen is the one
    // the full-screen window then covers, though two screens may share a name.
    void screenList()
    {
        const QList<QScreen*> screens = QGuiApplication::screens();
        if (qEnvironmentVariableIntValue("VELLORAN_TEST_SCREENS") > 1)
            QCOMPARE(screens.size(), qEnvironmentVariableIntValue("VELLORAN_TEST_SCREENS"));
        Harness s;
        QVERIFY(s.start(true));
        s.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(s.window.get()));
        int dialogs = 0;
        onDialog(&dialogs, [&screens](QDialog* dialog) {
            const auto close = qScopeGuard([dialog] { dialog->accept(); });
            auto* list = child<QComboBox>(dialog, "Screen");
            QStringList shown;
            for (int i = 0; i < list->count(); ++i)
                shown << list->itemText(i);
            QVERIFY2(QStringList(shown).removeDuplicates() == 0, qPrintable(shown.join(u" | ")));
            for (const QScreen* screen : screens) {
                const QRect area = screen->geometry();
                const QString size =
                    QString::number(area.width()) + u" x "_s + QString::number(area.height());
                const QString place = QString::number(area.x()) + u", "_s + QString::number(area.y());
                QVERIFY2(!shown.filter(size).filter(place).isEmpty(), qPrintable(shown.join(u" | ")));
            }
            list->setCurrentIndex(list->count() - 1);
        });
        QTest::keyClick(s.tex(), Qt::Key_O, Qt::AltModifier);
        QCOMPARE(dialogs, 1);
        QCOMPARE(s.openFullScreen()->geometry(), screens.last()->geometry());
    }

    // Alt+O in the main window: the dialog while paused, nothing while playing. Nothing is written
    // until an option really changes; a change is saved and passed on.
    void preferencesDialog()
    {
        Harness s;
        QVERIFY(s.start(true));
        QSignalSpy told(s.session.get(), &velloran::session::AppSession::preferencesChanged);
        int dialogs = 0;
        // After a dialog the window manager gives the main window back its activation.
        const auto altO = [&s, &dialogs](auto work) {
            s.window->activateWindow();
            if (!QTest::qWaitForWindowActive(s.window.get()))
                qFatal("the main window is not active");
            onDialog(&dialogs, work);
            QTest::keyClick(s.tex(), Qt::Key_O, Qt::AltModifier);
        };
        click(s.window.get(), "cPlay");
        s.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(s.window.get()));
        QTest::keyClick(s.tex(), Qt::Key_O, Qt::AltModifier);
        QVERIFY(QApplication::topLevelWidgets().size() > 0);
        for (QWidget* window : QApplication::topLevelWidgets())
            QVERIFY(window->objectName() != u"Preferences");
        QVERIFY(s.pane().playing());
        click(s.window.get(), "cPause");

        altO([](QDialog* dialog) { dialog->accept(); });
        QCOMPARE(dialogs, 1);
        QVERIFY(!QFile::exists(s.session->preferencesFile()));
        QCOMPARE(told.count(), 0);

        altO([](QDialog* dialog) {
            QVERIFY(!child<QCheckBox>(dialog, "Mirror")->isChecked());
            QVERIFY(!child<QCheckBox>(dialog, "Remote")->isChecked());
            QCOMPARE(child<QComboBox>(dialog, "Screen")->currentText(), u"primary"_s);
            child<QCheckBox>(dialog, "Mirror")->setChecked(true);
            child<QCheckBox>(dialog, "Remote")->setChecked(true);
            child<QCheckBox>(dialog, "WholeScriptReachable")->setChecked(true);
            child<QComboBox>(dialog, "Screen")->setCurrentText(u"window"_s);
            child<QLineEdit>(dialog, "Model")->setText(u" /models/en "_s);
            dialog->accept();
        });
        Preferences expected;
        expected.voice.model = u"/models/en"_s;
        expected.mirror = true;
        expected.remote = true;
        expected.wholeScriptReachable = true;
        expected.screen = Preferences::ScreenChoice::MainWindow;
        QCOMPARE(dialogs, 2);
        QVERIFY(s.session->wholeScriptReachable());  // live, as well as saved
        QCOMPARE(written(s), expected);
        QCOMPARE(told.count(), 1);
        QCOMPARE(told.at(0).at(0).value<Preferences>(), expected);

        // Cancelled: nothing changes; the dialog shows what the file holds.
        altO([](QDialog* dialog) {
            QVERIFY(child<QCheckBox>(dialog, "Mirror")->isChecked());
            QCOMPARE(child<QComboBox>(dialog, "Screen")->currentText(), u"window"_s);
            child<QComboBox>(dialog, "Screen")->setCurrentText(u"DP-2"_s);
            dialog->reject();
        });
        QCOMPARE(dialogs, 3);
        QCOMPARE(written(s), expected);
        QCOMPARE(told.count(), 1);
    }
};

VELLORAN_TEST_CLASS(FrmFullRigTest);
#include "frmfull_rig_test.moc"
