// Getting a script in: drops, the clipboard, the editor, the backup script and the TextFinder.
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include "harness.h"
#include "testclasses.h"
#include "ui/mainwindow/textfinder.h"

using velloran::ui::TextFinderPanel;

namespace {

QWidget* dropTarget(Harness& h, const QString& name)
{
    return name == u"Tex" ? h.tex()->viewport() : h.child("Scroll");
}

}  // namespace

class FrmSetEntryTest : public QObject {
    Q_OBJECT

private slots:
    void dropLoadsTheFirstFile_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("play");
        QTest::newRow("on the text") << u"Tex"_s << false;
        QTest::newRow("on the surface") << u"Scroll"_s << false;
        QTest::newRow("on the text while playing") << u"Tex"_s << true;
    }

    void dropLoadsTheFirstFile()
    {
        QFETCH(QString, target);
        QFETCH(bool, play);
        Harness h;
        prepare(h);
        h.write(u"first.rtf"_s, "First\r\nfile");
        h.write(u"second.txt"_s, "second");
        h.write(u"third.txt"_s, "third");
        QVERIFY(h.start());
        openTextFinder(h);
        QVERIFY(h.child("fX")->isVisible());
        if (play)
            QTest::mouseClick(h.child("cPlay"), Qt::LeftButton);

        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(h.path(u"first.rtf"_s)),
                       QUrl::fromLocalFile(h.path(u"second.txt"_s)),
                       QUrl::fromLocalFile(h.path(u"third.txt"_s))});
        QVERIFY(dropOn(dropTarget(h, target), files));
        QCOMPARE(h.script(), u"First\nfile"_s);
        QCOMPARE(h.text("lChar"), u"Chr # 11"_s);
        QCOMPARE(h.position(), 480.0f);
        QCOMPARE(h.text("lPos"), u"Scroller Position : -480"_s);
        QCOMPARE(h.text("lTime"), u"Run Time  0 : 0"_s);
        QVERIFY(!h.child("fX")->isVisible());
        QCOMPARE(h.child<QTimer>("tScroll")->isActive(), play);
        QCOMPARE(h.timer("tTime")->isActive(), play);
    }

    void dropWithoutAReadableFileChangesNothing_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("dropped");
        QTest::newRow("text on the text") << u"Tex"_s << u"text"_s;
        QTest::newRow("text on the surface") << u"Scroll"_s << u"text"_s;
        QTest::newRow("missing file") << u"Tex"_s << u"gone.txt"_s;
        QTest::newRow("named pipe") << u"Tex"_s << u"pipe.txt"_s;
        QTest::newRow("link to a device") << u"Scroll"_s << u"zero.txt"_s;
    }

    void dropWithoutAReadableFileChangesNothing()
    {
        QFETCH(QString, target);
        QFETCH(QString, dropped);
        Harness h;
        prepare(h);
        QCOMPARE(::mkfifo(QFile::encodeName(h.path(u"pipe.txt"_s)).constData(), 0600), 0);
        QVERIFY(QFile::link(u"/dev/zero"_s, h.path(u"zero.txt"_s)));
        QVERIFY(h.start());
        QMimeData data;
        if (dropped == u"text")
            data.setText(u"dragged words"_s);
        else
            data.setUrls({QUrl::fromLocalFile(h.path(dropped))});
        ::alarm(20);  // a drop that waits on the pipe or reads the device for ever fails here
        const bool accepted = dropOn(dropTarget(h, target), data);
        ::alarm(0);
        if (dropped == u"text")
            QVERIFY(!accepted);
        expectUntouched(h);
        QVERIFY(h.notice().isEmpty());  // refused like an unreadable file: without a word
    }

    void insertLoadsTheClipboard_data()
    {
        QTest::addColumn<bool>("readable");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("script");
        QTest::addColumn<float>("position");
        QTest::newRow("empty") << true << QString() << QString() << 480.0f;
        QTest::newRow("text") << true << u"One\r\nTwo"_s << u"One\nTwo"_s << 480.0f;
        QTest::newRow("unreadable") << false << QString() << u"script"_s << -5000.0f;
    }

    void insertLoadsTheClipboard()
    {
        QFETCH(bool, readable);
        QFETCH(QString, clipboard);
        QFETCH(QString, script);
        QFETCH(float, position);
        Harness h;
        prepare(h);
        h.services.clipboard = readable ? std::optional<QString>(clipboard) : std::nullopt;
        QVERIFY(h.start());
        openTextFinder(h);
        h.key(Qt::Key_Insert);
        QCOMPARE(h.script(), script);
        QCOMPARE(h.position(), position);
        QCOMPARE(h.text("lTime"), u"Run Time  2 : 5"_s);
        QVERIFY(h.child("fX")->isVisible());
    }

    void doubleClickOnTheTextStartsTheEditorOnlyWhilePaused()
    {
        Harness h;
        QVERIFY(h.start());
        Harness::doubleClick(h.tex()->viewport());
        QCOMPARE(h.services.editorsStarted, 1);
        QTest::mouseClick(h.child("cPlay"), Qt::LeftButton);
        Harness::doubleClick(h.tex()->viewport());
        QCOMPARE(h.services.editorsStarted, 1);
    }

    void altBLoadsTheBackup_data()
    {
        QTest::addColumn<QString>("backup");
        QTest::addColumn<bool>("loads");
        QTest::newRow("designated") << u"spare.txt"_s << true;
        QTest::newRow("none") << QString() << false;
        QTest::newRow("deleted since") << u"deleted.txt"_s << false;
    }

    void altBLoadsTheBackup()
    {
        QFETCH(QString, backup);
        QFETCH(bool, loads);
        Harness h;
        prepare(h, backup.isEmpty() ? QString() : h.path(backup));
        h.write(u"spare.txt"_s, "Spare\r\nlines");
        QVERIFY(h.start());
        h.key(Qt::Key_B, Qt::AltModifier);  // an Alt shortcut acts at once
        if (!loads) {
            expectUntouched(h);
            return;
        }
        QCOMPARE(h.script(), u"Spare\nlines"_s);
        QCOMPARE(h.position(), 480.0f);
        QCOMPARE(h.text("lTime"), u"Run Time  2 : 5"_s);
    }

    void pauseButtonReleaseLoadsTheBackupAndKeepsPlaying()
    {
        Harness h;
        prepare(h, h.path(u"spare.txt"_s));
        h.write(u"spare.txt"_s, "Spare");
        QVERIFY(h.start());
        QTest::mouseClick(h.child("cPlay"), Qt::LeftButton);
        QTest::mousePress(h.child("cPause"), Qt::RightButton);
        QCOMPARE(h.script(), u"script"_s);
        QTest::mouseRelease(h.child("cPause"), Qt::RightButton);
        QCOMPARE(h.script(), u"Spare"_s);
        QCOMPARE(h.position(), 480.0f);
        QVERIFY(h.child<QTimer>("tScroll")->isActive());
        QVERIFY(h.timer("tTime")->isActive());
        QCOMPARE(h.session->clock().minutes, 2);

        h.tex()->setPlainText(u"current"_s);
        QTest::mouseClick(h.child("cPause"), Qt::LeftButton);
        QVERIFY(!h.child<QTimer>("tScroll")->isActive());
        QCOMPARE(h.script(), u"current"_s);
    }

    void backupTitleHidesAndComesBack()
    {
        Harness h;
        prepare(h, h.path(u"spare.txt"_s));
        h.write(u"spare.txt"_s, "Spare");
        QVERIFY(h.start());
        QWidget* title = h.child("lBack");
        QVERIFY(title->isVisible());
        Harness::doubleClick(title);
        QVERIFY(!title->isVisible());
        h.key(Qt::Key_B, Qt::AltModifier);
        QTRY_COMPARE(h.script(), u"Spare"_s);

        QWidget* panel = h.child("Frame2");
        QTest::mouseClick(panel, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        QVERIFY(!title->isVisible());
        QTest::mouseClick(panel, Qt::MiddleButton, Qt::NoModifier, QPoint(5, 5));
        QVERIFY(title->isVisible());
        QCOMPARE(h.text("lBack"), u"BACKUP File : spare.txt"_s);
        QCOMPARE(h.session->backupPath(), h.path(u"spare.txt"_s));
    }

    void textFinderListsAndLoads()
    {
        Harness h;
        prepare(h);
        QTemporaryDir scripts;
        QFile notes(scripts.filePath(u"notes.txt"_s));
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write("Notes\r\nhere");
        notes.close();
        for (const QString& name : {u"outline.rtf"_s, u"draft-txt"_s}) {
            QFile other(scripts.filePath(name));
            QVERIFY(other.open(QIODevice::WriteOnly));
        }
        // Only regular files and links to them are listed: a pipe or a device would never load.
        QCOMPARE(::mkfifo(QFile::encodeName(scripts.filePath(u"pipe.txt"_s)).constData(), 0600), 0);
        QVERIFY(QFile::link(u"/dev/zero"_s, scripts.filePath(u"zero.txt"_s)));
        QVERIFY(QFile::link(scripts.filePath(u"notes.txt"_s), scripts.filePath(u"link.txt"_s)));
        QVERIFY(h.start());
        openTextFinder(h);
        auto* finder = h.child<TextFinderPanel>("fX");
        QVERIFY(finder->openFolder(scripts.path()));
        auto* files = h.child<QListWidget>("File1");
        QStringList listed;
        for (int i = 0; i < files->count(); ++i)
            listed << files->item(i)->text();
        QCOMPARE(listed, (QStringList {u"draft-txt"_s, u"link.txt"_s, u"notes.txt"_s}));
        QVERIFY(!finder->openFolder(scripts.filePath(u"absent"_s)));
        QCOMPARE(files->count(), 3);

        QListWidgetItem* item = files->findItems(u"notes.txt"_s, Qt::MatchExactly).value(0);
        QTest::mouseClick(files->viewport(), Qt::LeftButton, Qt::NoModifier,
                          files->visualItemRect(item).center());
        QTest::mousePress(h.child("cOKay"), Qt::RightButton);
        QTest::mouseRelease(h.child("cOKay"), Qt::RightButton);
        QVERIFY(finder->isVisible());
        expectUntouched(h);

        QTest::mouseClick(h.child("cOKay"), Qt::LeftButton);
        QCOMPARE(h.script(), u"Notes\nhere"_s);
        QCOMPARE(h.position(), 480.0f);
        QCOMPARE(h.text("lTime"), u"Run Time  0 : 0"_s);
        QVERIFY(!finder->isVisible());
    }

    // The folder list shows the way from the drive's root down to the current folder, one row
    // a level, then the current folder's subfolders a level further in; a double-click on any
    // row opens that folder and the file list follows.
    void textFinderOpensAFolderOnDoubleClick()
    {
        Harness h;
        QTemporaryDir scripts;
        const QDir top(scripts.path());
        for (const char* folder : {"talks/day2", "talks/day1", "notes"})
            QVERIFY(top.mkpath(QString::fromLatin1(folder)));
        for (const char* file : {"talks/keynote.txt", "top.txt"})
            QVERIFY(QFile(top.filePath(QString::fromLatin1(file))).open(QIODevice::WriteOnly));
        QVERIFY(h.start());
        openTextFinder(h);
        auto* finder = h.child<TextFinderPanel>("fX");
        auto* folders = h.child<QListWidget>("Dir1");
        auto* files = h.child<QListWidget>("File1");
        const QSize listSize = folders->size();
        const auto pathOf = [folders](int row) {
            return folders->item(row)->data(TextFinderPanel::kPathRole).toString();
        };
        const auto levelOf = [folders](int row) {
            return folders->item(row)->data(TextFinderPanel::kLevelRole).toInt();
        };
        const auto rowOf = [folders](const QString& path) {
            return folders->row(folders->findItems(QFileInfo(path).fileName(), Qt::MatchExactly).value(0));
        };
        // The rows down to `current` (the drive's root first), then `subfolders`; the file list
        // shows the one text file there.
        const auto expectRows = [&](const QString& current, const QStringList& subfolders,
                                    const QString& file) {
            const int here = folders->currentRow();
            QVERIFY2(here >= 0, "the current folder has a row");
            QCOMPARE(pathOf(here), current);
            QVERIFY(folders->item(here)->isSelected());
            QCOMPARE(folders->item(here)->text(), QFileInfo(current).fileName());
            QCOMPARE(pathOf(0), finder->drives()->currentData().toString());
            for (int row = 0; row <= here; ++row) {
                QCOMPARE(levelOf(row), row);
                if (row > 0)
                    QCOMPARE(QFileInfo(pathOf(row)).dir().path(), pathOf(row - 1));
            }
            QCOMPARE(folders->count(), here + 1 + subfolders.size());
            for (int i = 0; i < subfolders.size(); ++i) {
                QCOMPARE(folders->item(here + 1 + i)->text(), subfolders[i]);
                QCOMPARE(pathOf(here + 1 + i), current + u'/' + subfolders[i]);
                QCOMPARE(levelOf(here + 1 + i), here + 1);
            }
            QCOMPARE(finder->folder(), current);
            QCOMPARE(files->count(), 1);
            QCOMPARE(files->item(0)->text(), file);
        };
        const QString talks = top.canonicalPath() + u"/talks"_s;
        QVERIFY(finder->openFolder(talks));
        expectRows(talks, {u"day1"_s, u"day2"_s}, u"keynote.txt"_s);

        const auto doubleClickRow = [folders](int row) {
            folders->scrollToItem(folders->item(row));
            Harness::doubleClick(folders->viewport(), folders->visualItemRect(folders->item(row)).center());
        };
        doubleClickRow(rowOf(top.canonicalPath()));  // up one level by its row in the path
        expectRows(top.canonicalPath(), {u"notes"_s, u"talks"_s}, u"top.txt"_s);

        // Down into a subfolder, and up to the drive's root, which has no row above it.
        doubleClickRow(rowOf(talks));
        expectRows(talks, {u"day1"_s, u"day2"_s}, u"keynote.txt"_s);
        const QString root = pathOf(0);
        doubleClickRow(0);
        QVERIFY(finder->folder() == QDir(root).canonicalPath() && folders->currentRow() == 0);
        QCOMPARE(folders->item(0)->text(), root);
        QCOMPARE(folders->size(), listSize);
    }

    void textFinderOkayWithNothingSelected()
    {
        Harness h;
        prepare(h);
        QVERIFY(h.start());
        openTextFinder(h);
        h.child<QListWidget>("File1")->clearSelection();
        QTest::mouseClick(h.child("cOKay"), Qt::LeftButton);
        QVERIFY(!h.child("fX")->isVisible());
        expectUntouched(h);
    }

    void textFinderDesignatesTheBackup()
    {
        Harness h;
        prepare(h);
        QTemporaryDir scripts;
        QFile notes(scripts.filePath(u"notes.txt"_s));
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.close();
        QVERIFY(h.start());
        QVERIFY(!h.child("lBack")->isVisible());
        openTextFinder(h);
        QVERIFY(h.child<TextFinderPanel>("fX")->openFolder(scripts.path()));
        auto* files = h.child<QListWidget>("File1");
        const QPoint first = files->visualItemRect(files->item(0)).center();
        QTest::mouseClick(files->viewport(), Qt::LeftButton, Qt::NoModifier, first);
        QTest::mouseClick(h.child("cBackup"), Qt::LeftButton);
        QCOMPARE(h.session->backupPath(), QDir(scripts.path()).canonicalPath() + u"/notes.txt"_s);
        QVERIFY(h.child("lBack")->isVisible());
        QCOMPARE(h.text("lBack"), u"BACKUP File : notes.txt"_s);
        QVERIFY(!h.child("fX")->isVisible());
        expectUntouched(h);
    }

    void textFinderButtonByStateAndMouseButton()
    {
        Harness h;
        QVERIFY(h.start());
        QWidget* finder = h.child("fX");
        QTest::mouseClick(h.child("cFile"), Qt::RightButton);
        QVERIFY(!finder->isVisible());
        QTest::mouseClick(h.child("cHelp"), Qt::LeftButton);
        openTextFinder(h);
        QVERIFY(finder->isVisible());
        QVERIFY(!h.child("tHelp")->isVisible());
        openTextFinder(h);
        QVERIFY(finder->isVisible());
        QTest::mouseClick(h.child("cCancel"), Qt::LeftButton);
        QVERIFY(!finder->isVisible());
        QTest::mouseClick(h.child("cPlay"), Qt::LeftButton);
        openTextFinder(h);
        QVERIFY(!finder->isVisible());
    }
};

VELLORAN_TEST_CLASS(FrmSetEntryTest);
#include "frmset_entry_test.moc"
