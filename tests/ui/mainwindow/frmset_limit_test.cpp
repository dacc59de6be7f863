// One size limit wherever a script comes in, in both windows: what would go beyond it is refused
// with a notice that gives its size and the limit, and the script stays as it was.
#include <QClipboard>
#include <QListWidget>
#include <QPointer>
#include <QUrl>

#include "harness.h"
#include "session/textlimit.h"
#include "testclasses.h"
#include "ui/fullscreen/frmfull.h"
#include "ui/mainwindow/textfinder.h"
#include "ui/script/scripttext.h"

using velloran::ui::TextFinderPanel;

class FrmSetLimitTest : public QObject {
    Q_OBJECT

private slots:
    void scriptsBeyondTheLimitAreRefusedWithTheirSize_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::newRow("TextFinder") << u"TextFinder"_s;
        QTest::newRow("drop") << u"drop"_s;
        QTest::newRow("backup, Alt+B") << u"backup"_s;
        QTest::newRow("Insert") << u"Insert"_s;
    }

    void scriptsBeyondTheLimitAreRefusedWithTheirSize()
    {
        QFETCH(QString, entry);
        Harness h;
        const QString huge = h.path(u"huge.txt"_s);
        prepare(h, entry == u"backup" ? huge : QString());
        QFile file(huge);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(velloran::session::kMaxScriptFileBytes + 1));  // sparse: takes no room
        file.close();
        h.services.clipboard = QString(velloran::session::kMaxScriptCharacters - 1, u'x') + u"\n"_s;
        QVERIFY(h.start());
        if (entry == u"TextFinder") {
            openTextFinder(h);
            QVERIFY(h.child<TextFinderPanel>("fX")->openFolder(h.folder.path()));
            auto* files = h.child<QListWidget>("File1");
            QListWidgetItem* item = files->findItems(u"huge.txt"_s, Qt::MatchExactly).value(0);
            QVERIFY(item);
            QTest::mouseClick(files->viewport(), Qt::LeftButton, Qt::NoModifier,
                              files->visualItemRect(item).center());
            QTest::mouseClick(h.child("cOKay"), Qt::LeftButton);
            QVERIFY(h.child("fX")->isVisible());
        } else if (entry == u"drop") {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(huge)});
            QVERIFY(dropOn(h.tex()->viewport(), data));
        } else if (entry == u"backup") {
            h.key(Qt::Key_B, Qt::AltModifier);
        } else {
            h.key(Qt::Key_Insert);
        }
        QTRY_VERIFY(!h.notice().isEmpty());
        expectUntouched(h);
        const QString said = entry == u"Insert"
                                 ? u"The clipboard was not loaded: it holds 16,000,001 characters"_s
                                 : u"\"huge.txt\" was not loaded: it is 48,000,004 bytes"_s;
        QVERIFY2(h.notice().startsWith(said), qPrintable(h.notice()));
        QVERIFY2(h.notice().endsWith(u"a script can hold at most 16,000,000 characters."_s),
                 qPrintable(h.notice()));
    }

    void typingAndPastingStopAtTheLimit()
    {
        Harness h;
        prepare(h);
        QVERIFY(h.start());
        // 320000 lines of 48 characters and a line break: the limit exactly.
        const QString line = QString(48, u'x') + u"\n"_s;
        h.tex()->setPlainText(line.repeated(320000));
        QCOMPARE(h.tex()->scriptLength(), velloran::session::kMaxScriptCharacters);
        h.tex()->setFocus();
        h.tex()->moveCursor(QTextCursor::Start);

        QTest::keyClick(h.tex(), Qt::Key_A);
        QCOMPARE(h.tex()->scriptLength(), velloran::session::kMaxScriptCharacters);
        QCOMPARE(h.notice(),
                 u"Not added: the script would hold 16,000,001 characters, and a script can hold at "
                 "most 16,000,000 characters."_s);
        QTest::keyClick(h.tex(), Qt::Key_Return);
        QCOMPARE(h.tex()->scriptLength(), velloran::session::kMaxScriptCharacters);

        // Typing over a selection of the same size is taken; so is a paste that fits, not one that
        // does not.
        h.tex()->moveCursor(QTextCursor::Right, QTextCursor::KeepAnchor);
        QTest::keyClick(h.tex(), Qt::Key_A);
        QCOMPARE(h.tex()->toPlainText().left(3), u"axx"_s);
        QApplication::clipboard()->setText(u"bc"_s);
        h.tex()->moveCursor(QTextCursor::Right, QTextCursor::KeepAnchor);
        h.tex()->paste();
        QCOMPARE(h.tex()->toPlainText().left(3), u"axx"_s);
        QApplication::clipboard()->setText(u"b"_s);
        h.tex()->paste();
        QCOMPARE(h.tex()->toPlainText().left(3), u"abx"_s);
        QCOMPARE(h.tex()->scriptLength(), velloran::session::kMaxScriptCharacters);
    }

    void scriptsBeyondTheLimitAreRefusedInFullScreenToo()
    {
        Harness h;
        QVERIFY(h.start());
        h.tex()->setPlainText(u"kept"_s);
        h.services.clipboard = QString(velloran::session::kMaxScriptCharacters + 1, u'x');
        QPointer<velloran::ui::frmFull> full = h.openFullScreen();
        QTest::keyClick(texOf(full), Qt::Key_Insert);
        QCOMPARE(texOf(full)->toPlainText(), u"kept"_s);
        auto* notice = full->findChild<QLabel*>(u"lNotice"_s);
        QVERIFY(notice->isVisible());
        QVERIFY(notice->text().startsWith(u"The clipboard was not loaded: it holds 16,000,001 characters"_s));
        QVERIFY(notice->geometry().bottom() < full->height());  // over the screen, not beyond it
        delete full.data();
    }
};

VELLORAN_TEST_CLASS(FrmSetLimitTest);
#include "frmset_limit_test.moc"
