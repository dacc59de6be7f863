// The script text box keeps many lines per block, cuts long lines into pieces and holds U+FDD0 and
// U+FDD1 by stand-ins; what it hands out and counts must not show any of it.
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>

#include "testclasses.h"
#include "ui/script/scripttext.h"
#include "ui/script/scripttextdocument.h"
#include "ui/script/scripttextplan.h"

using namespace Qt::StringLiterals;
using velloran::ui::Grouping;
using velloran::ui::groupScript;
using velloran::ui::Joint;
using velloran::ui::ScriptText;
using velloran::ui::ScriptTextDocument;

namespace {

// "line 0" CR LF "line 1" ... : a script far longer than one block.
QString numberedLines(int count, const QString& lineBreak = u"\r\n"_s)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << u"line "_s + QString::number(i);
    return lines.join(lineBreak);
}

// The character counter's rule: each line break counts as CR LF.
qint64 expectedLength(const QString& plain)
{
    return plain.size() + plain.count(u'\n');
}

// One line of `count` words and spaces, as a text pasted without line breaks.
QString longLine(int count)
{
    static const QStringList words {u"the"_s, u"script"_s, u"scrolls"_s, u"steadily"_s, u"up"_s};
    QStringList line;
    for (int i = 0; i < count; ++i)
        line << words[i % words.size()];
    return line.join(u' ');
}

// Characters typed as a keyboard of any script sends them: one key press each.
void type(QWidget* target, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
    }
}

QString repeated(const QString& piece, int count)
{
    return piece.repeated(count);
}

// A box as the windows show one, with a script in it.
struct Box {
    ScriptText text;
    explicit Box(const QString& script)
    {
        text.resize(500, 300);
        text.show();
        text.setPlainText(script);
    }
    QTextDocument* document() const { return text.document(); }
    // The caret at a block's start, or `into` characters into it.
    void caretIn(int block, int into = 0)
    {
        QTextCursor cursor(document()->findBlockByNumber(block));
        cursor.setPosition(cursor.position() + into);
        text.setTextCursor(cursor);
    }
    qsizetype caretInScript() const
    {
        return text.scriptDocument()->script(0, text.textCursor().position()).size();
    }
    int firstBlockAfter(Joint joint) const
    {
        for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
            if (block.previous().isValid() && ScriptTextDocument::jointBefore(block) == joint)
                return block.blockNumber();
        return -1;
    }
};

}  // namespace

class ScriptTextTest : public QObject {
    Q_OBJECT

private slots:
    void groupingKeepsEveryLineBreak()
    {
        const QString text = u"a\r\nb\rc\nd"_s + QChar(QChar::ParagraphSeparator) + u"e\r\n\r\nf"_s;
        const QString grouped = groupScript(text).text;
        QCOMPARE(grouped, u"a\u2028b\u2028c\u2028d\u2028e\u2028\u2028f"_s);
        const QString small = groupScript(text, Grouping {2, 2048}).text;
        QCOMPARE(small.count(u'\n') + small.count(QChar(QChar::LineSeparator)), 6);
        QVERIFY(!small.contains(u'\r'));
        QVERIFY(small.count(u'\n') >= 2);
    }

    void handsOutTheTextAPlainBoxWould_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("one line") << u"Hello"_s;
        QTest::newRow("mixed breaks and blank lines") << u"a\r\n\r\nb\rc\n\n  d  \r\n"_s;
        QTest::newRow("long, CR LF") << numberedLines(3000);
        QTest::newRow("long, LF") << numberedLines(3000, u"\n"_s);
    }

    void handsOutTheTextAPlainBoxWould()
    {
        QFETCH(QString, text);
        ScriptText script;
        script.setPlainText(text);
        QPlainTextEdit plain;
        plain.setPlainText(text);
        QCOMPARE(script.toPlainText(), plain.toPlainText());
        QCOMPARE(script.scriptLength(), expectedLength(plain.toPlainText()));
    }

    void scriptKeepsEveryCharacterButLineBreakForms()
    {
        // Non-breaking spaces, accents and characters beyond the basic plane come back as typed;
        // only the form of a line break is normalised.
        const QString typed = u"caf\u00e9\u00a0\u00e0 \U0001F600\r\nline\u00a0two\n"_s + numberedLines(2000);
        ScriptText script;
        script.setPlainText(typed);
        QString expected = typed;
        expected.replace(u"\r\n"_s, u"\n"_s);
        QCOMPARE(script.script(), expected);
    }

    void longScriptTakesFewBlocks()
    {
        ScriptText script;
        script.setPlainText(numberedLines(3000));
        QVERIFY2(script.document()->blockCount() < 300, "the lines were not grouped into blocks");
    }

    // Every kind of edit keeps the counter right, whether it stays inside a block, makes a block
    // or joins two.
    void lengthFollowsEdits()
    {
        ScriptText script;
        script.resize(400, 300);
        script.show();
        QVERIFY(QTest::qWaitForWindowExposed(&script));
        script.setPlainText(numberedLines(3000));
        const auto check = [&script](const char* after) {
            QVERIFY2(script.scriptLength() == expectedLength(script.toPlainText()), after);
        };
        check("loading");

        QTextCursor cursor = script.textCursor();
        cursor.setPosition(script.document()->characterCount() / 2);
        script.setTextCursor(cursor);
        QTest::keyClicks(&script, u"abc"_s);
        check("typing inside a block");
        QTest::keyClick(&script, Qt::Key_Return);
        check("Enter");
        QTest::keyClick(&script, Qt::Key_Backspace);
        check("Backspace over the new break");
        QTest::keyClick(&script, Qt::Key_Home);
        QTest::keyClick(&script, Qt::Key_Backspace);
        check("Backspace joining two lines of a block");

        const QTextBlock second = script.document()->firstBlock().next();
        cursor.setPosition(second.position());
        script.setTextCursor(cursor);
        QTest::keyClick(&script, Qt::Key_Backspace);
        check("Backspace joining two blocks");

        QApplication::clipboard()->setText(numberedLines(500));
        script.paste();
        check("pasting many lines");
        script.undo();
        check("undoing the paste");

        script.selectAll();
        QTest::keyClicks(&script, u"x"_s);
        check("replacing everything");
        QCOMPARE(script.scriptLength(), 1);
    }

    // Long lines are cut into pieces, one block each, and U+FDD0 and U+FDD1 held by stand-ins:
    // the script, its length and what the recovery copy gathers block by block are as typed.
    void scriptComesBackAsTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("a long line of words") << longLine(4000) + u"\r\nshort\r\n"_s + longLine(900);
        QTest::newRow("no space for 9000 characters") << u"start "_s + QString(9000, u'x') + u" end"_s;
        QTest::newRow("accents, pictures, ideographs") << repeated(u"e\u0301"_s, 3000) + u"\n"_s +
                                                              repeated(u"\U0001F600\u200D\U0001F4BB"_s, 900) +
                                                              u"\n"_s + repeated(u"\u4E2D\u6587"_s, 3000);
        QTest::newRow("the box's marks and their stand-ins") << u"a\uFDD0b\uFDD1c\r\n\uFDEEd\uFDEF\uFDD0"_s;
        QTest::newRow("both directions") << u"\u05E9\u05DC\u05D5\u05DD world.\nhello \u05E9.\n123\n"_s +
                                                repeated(u"\u0645\u0631\u062D\u0628\u0627 hi "_s, 900);
    }

    void scriptComesBackAsTyped()
    {
        QFETCH(QString, typed);
        Box box(typed);
        QString expected = typed;
        expected.replace(u"\r\n"_s, u"\n"_s);
        QCOMPARE(box.text.script(), expected);
        QCOMPARE(box.text.scriptLength(), expectedLength(expected));
        QString gathered;
        for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next()) {
            ScriptTextDocument::appendBlock(gathered, block);
            // No block long enough to hold a keystroke up, none starting inside a character.
            QVERIFY2(block.length() <= 2 * Grouping {}.longLine, qPrintable(QString::number(block.length())));
            const QString text = block.text();
            QVERIFY(text.isEmpty() || (!text.front().isLowSurrogate() && !text.front().isMark() &&
                                       text.front() != QChar(0x200D)));
        }
        QCOMPARE(gathered, expected);
    }

    // An edit at the caret does to the script what it does to the text typed, wherever the
    // caret stands against the cuts of a long line; undo brings back what was there.
    void editsDoToTheScriptWhatTheyDoToTheText_data()
    {
        QTest::addColumn<QString>("joint");  // the cut the caret stands after
        QTest::addColumn<int>("into");       // how far into the piece after it
        QTest::addColumn<QString>("action");
        for (const QString& joint : {u"space"_s, u"nothing"_s}) {
            for (const QString& action :
                 {u"type"_s, u"Enter"_s, u"Backspace"_s, u"paste"_s, u"U+FDD0"_s, u"Enter, undo"_s})
                for (const int into : {0, 5})
                    QTest::newRow(qPrintable(joint + u", "_s + QString::number(into) + u": "_s + action))
                        << joint << into << action;
        }
        QTest::newRow("nothing, at the end of the piece before: Delete") << u"nothing"_s << -1 << u"Delete"_s;
    }

    void editsDoToTheScriptWhatTheyDoToTheText()
    {
        QFETCH(QString, joint);
        QFETCH(int, into);
        QFETCH(QString, action);
        Box box(u"first\n"_s + (joint == u"space" ? longLine(2000) : QString(9000, u'y')) + u"\nlast"_s);
        const int block = box.firstBlockAfter(joint == u"space" ? Joint::Space : Joint::Nothing);
        QVERIFY(block > 0);
        if (into < 0)
            box.caretIn(block - 1, box.document()->findBlockByNumber(block - 1).length() - 1);
        else
            box.caretIn(block, into);
        const QString before = box.text.script();
        const qsizetype at = box.caretInScript();
        QString expected = before;
        const QString pasted = u"pasted\n"_s + longLine(700);
        if (action == u"type") {
            QTest::keyClicks(&box.text, u"Q"_s);
            expected.insert(at, u'Q');
        } else if (action.startsWith(u"Enter")) {
            QTest::keyClick(&box.text, Qt::Key_Return);
            expected.insert(at, u'\n');
            if (action.endsWith(u"undo")) {
                QTest::keyClick(&box.text, Qt::Key_Z, Qt::ControlModifier);
                expected = before;
            }
        } else if (action == u"Backspace") {
            QTest::keyClick(&box.text, Qt::Key_Backspace);
            expected.remove(at - 1, 1);
        } else if (action == u"Delete") {
            QTest::keyClick(&box.text, Qt::Key_Delete);
            expected.remove(at, 1);
        } else if (action == u"paste") {
            QApplication::clipboard()->setText(pasted);
            box.text.paste();
            expected.insert(at, pasted);
        } else {
            type(&box.text, u"\uFDD0"_s);
            expected.insert(at, QChar(0xFDD0));
        }
        QCOMPARE(box.text.script(), expected);
        QCOMPARE(box.text.scriptLength(), expectedLength(expected));
    }

    // Each line runs the way of its own first strong character, whatever the lines around it, and
    // one that runs right to left stands against the right edge; an edit that turns a line keeps
    // the line after it as it was.
    void eachLineRunsItsOwnWay()
    {
        const QString hebrew = u"\u05E9\u05DC\u05D5\u05DD"_s;
        const QString arabic = u"\u0645\u0631\u062D\u0628\u0627"_s;
        const QStringList lines {hebrew + u" world."_s, u"hello "_s + hebrew + u"."_s, arabic + u" 42."_s,
                                 u"hello again."_s, u"and again."_s};
        Box box(lines.join(u'\n'));
        const auto runsRightToLeft = [&box](const QString& line) {
            const qsizetype at = box.text.scriptDocument()->toRawText().indexOf(line);
            QTextCursor cursor(box.document());
            cursor.setPosition(int(at));
            const int start = box.text.cursorRect(cursor).x();
            cursor.setPosition(int(at + line.size()));
            const int end = box.text.cursorRect(cursor).x();
            const int right = box.text.viewport()->width();
            // The caret's rectangle stands just left of the place it marks.
            const bool leftToRight = start < end && start <= 1;
            const bool rightToLeft = start > end && right - start <= 2;
            return leftToRight == rightToLeft ? QStringLiteral("neither") : QString::number(rightToLeft);
        };
        QCOMPARE(runsRightToLeft(lines[0]), u"1"_s);
        QCOMPARE(runsRightToLeft(lines[1]), u"0"_s);
        QCOMPARE(runsRightToLeft(lines[2]), u"1"_s);
        QCOMPARE(runsRightToLeft(lines[3]), u"0"_s);

        QTextCursor cursor(box.document());
        cursor.setPosition(int(box.text.scriptDocument()->toRawText().indexOf(lines[4])));
        box.text.setTextCursor(cursor);
        type(&box.text, hebrew + u" "_s);
        QCOMPARE(runsRightToLeft(hebrew + u" "_s + lines[4]), u"1"_s);
        QCOMPARE(runsRightToLeft(lines[3]), u"0"_s);
        QCOMPARE(box.text.script(),
                 QStringList(lines.mid(0, 4)).join(u'\n') + u"\n"_s + hebrew + u" "_s + lines[4]);
    }

    // A copy across the cuts of a long line gives its text as typed.
    void copyGivesTheScript()
    {
        const QString typed = longLine(3000) + QString(5000, u'z') + u"\uFDD1"_s;
        Box box(typed);
        box.text.selectAll();
        box.text.copy();
        QCOMPARE(QApplication::clipboard()->text(), typed);
    }

    void pasteIsGroupedAndComesBackWhole()
    {
        ScriptText script;
        const QString lines = numberedLines(3000, u"\n"_s);
        QApplication::clipboard()->setText(lines);
        script.paste();
        QCOMPARE(script.toPlainText(), lines);
        QVERIFY(script.document()->blockCount() < 300);
    }
};

VELLORAN_TEST_CLASS(ScriptTextTest);
#include "scripttext_test.moc"
