// The script text box keeps many lines per block; what it hands out and counts must not show it.
#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>

#include "ui/scripttext.h"

using namespace Qt::StringLiterals;
using velloran::ui::groupLinesIntoBlocks;
using velloran::ui::ScriptText;

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

}  // namespace

class ScriptTextTest : public QObject {
    Q_OBJECT

private slots:
    void groupingKeepsEveryLineBreak()
    {
        const QString text = u"a\r\nb\rc\nd"_s + QChar(QChar::ParagraphSeparator) + u"e\r\n\r\nf"_s;
        const QString grouped = groupLinesIntoBlocks(text, 1000);
        QCOMPARE(grouped, u"a\u2028b\u2028c\u2028d\u2028e\u2028\u2028f"_s);
        const QString small = groupLinesIntoBlocks(text, 2);
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

QTEST_MAIN(ScriptTextTest)
#include "scripttext_test.moc"
