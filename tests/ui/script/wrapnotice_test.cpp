// A script that runs past the classic range is told of once, with where it wraps and how to read
// it to the end; the Preferences dialog is reached from the script's right-click menu too.
#include <QContextMenuEvent>
#include <QDialog>
#include <QMenu>
#include <QRegularExpression>

#include "harness.h"
#include "testclasses.h"
#include "ui/script/wrapnotice.h"

namespace {

QString numberedLines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << u"Line %1 of the script, read aloud"_s.arg(i);
    return lines.join(u"\r\n");
}

// The line the notice names, 0 when it names none.
int namedLine(const QString& notice)
{
    const auto match = QRegularExpression(u"about line (\\d+) of"_s).match(notice);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

}  // namespace

class WrapNoticeTest : public QObject {
    Q_OBJECT
private slots:
    void longScriptIsToldOnceWhereItWraps()
    {
        Harness h;
        QVERIFY(h.start());
        auto* settle = h.child<QTimer>("tWrapNotice");
        ManualTimers manual({settle});
        manual.expire(settle);
        QCOMPARE(h.notice(), QString());  // the built-in guide is not the reader's script

        h.services.clipboard = numberedLines(1000);
        h.key(Qt::Key_Insert);
        QVERIFY(manual.expire(settle));
        const QString told = h.notice();
        QVERIFY2(told.contains(u"\u201CWhole script reachable\u201D"_s) && told.contains(u"Alt+O"_s) &&
                     told.contains(u"of 1000"_s),
                 qPrintable(told));
        // The line named is the one at the reading height, a third down the band, when the script
        // wraps.
        h.pane().setPosition(velloran::engine::kWrapLimit);
        h.pane().ShowPosition();
        velloran::ui::ScriptText* tex = h.tex();
        const int readingY = h.px(495 + (5280 - 495) / 3.0);
        const QPoint reading = tex->viewport()->mapFrom(&h.w(), QPoint(h.px(600), readingY));
        const int line =
            static_cast<int>(tex->script().left(tex->cursorForPosition(reading).position()).count(u'\n')) + 1;
        QVERIFY2(qAbs(namedLine(told) - line) <= 1, qPrintable(u"%1 shown, %2 told"_s.arg(line).arg(told)));

        // Once a script: typing on tells nothing more.
        h.child("lNotice")->hide();
        QTest::keyClicks(tex, u"more"_s);
        manual.expire(settle);
        QCOMPARE(h.notice(), QString());

        // A short script tells nothing, until typing (a paste here) takes it past the range.
        h.services.clipboard = u"Short"_s;
        h.key(Qt::Key_Insert);
        QVERIFY(manual.expire(settle));
        QCOMPARE(h.notice(), QString());
        tex->insertPlainText(numberedLines(1000));
        QVERIFY(manual.expire(settle));
        QVERIFY(!h.notice().isEmpty());

        // With the whole script reachable, nothing wraps early and nothing is told.
        h.child("lNotice")->hide();
        h.session->setWholeScriptReachable(true);
        h.key(Qt::Key_Insert);
        QVERIFY(manual.expire(settle));
        QCOMPARE(h.notice(), QString());
    }

    // The script's right-click menu is the edit menu with the Preferences added, which opens the
    // dialog as Alt+O does; while playing the entry is off.
    void scriptMenuOpensPreferences()
    {
        Harness h;
        QVERIFY(h.start());
        velloran::ui::ScriptText* tex = h.tex();
        int dialogs = 0;
        int entries = 0;
        const auto rightClick = [&](bool choose) {
            QTimer::singleShot(0, [&, choose] {
                auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                QVERIFY(menu);
                entries = static_cast<int>(menu->actions().size());
                auto* options = menu->findChild<QAction*>(u"mPreferences"_s);
                QVERIFY(options);
                QCOMPARE(options->isEnabled(), !h.pane().playing());
                if (choose)
                    options->trigger();
                menu->close();
            });
            QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10),
                                    tex->viewport()->mapToGlobal(QPoint(10, 10)));
            QApplication::sendEvent(tex->viewport(), &event);
        };
        QTimer dialogWatch;
        connect(&dialogWatch, &QTimer::timeout, [&dialogs] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                ++dialogs;
                dialog->reject();
            }
        });
        dialogWatch.start(10);
        rightClick(true);
        QTRY_COMPARE(dialogs, 1);
        QVERIFY(entries > 5);  // the edit menu's own entries are there

        QTest::mouseClick(h.child("cPlay"), Qt::LeftButton);
        rightClick(false);
    }
};

VELLORAN_TEST_CLASS(WrapNoticeTest);
#include "wrapnotice_test.moc"
