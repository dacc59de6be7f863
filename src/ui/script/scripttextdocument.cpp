#include "ui/script/scripttextdocument.h"

#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>
#include <utility>

#include "ui/script/scripttextlayout.h"

namespace velloran::ui {

namespace {

constexpr int kJointProperty = QTextFormat::UserProperty + 1;    // in a block format: a Joint
constexpr int kStandInProperty = QTextFormat::UserProperty + 2;  // in a character format

// Typing and pasting leave the grouping alone unless a block grows well past its loaded size.
constexpr Grouping kEditGrouping {4096, Grouping {}.longLine};

QTextBlockFormat formatFor(Joint joint)
{
    QTextBlockFormat format;
    if (joint != Joint::LineBreak)
        format.setProperty(kJointProperty, static_cast<int>(joint));
    return format;
}

QStringView breakText(Joint joint)
{
    switch (joint) {
    case Joint::LineBreak: return u"\n";
    case Joint::Space: return u" ";
    case Joint::Nothing: return u"";
    }
    return u"\n";
}

}  // namespace

ScriptTextDocument::ScriptTextDocument(QObject* parent) : QTextDocument(parent)
{
    setDocumentLayout(new ScriptTextLayout(this));
}

Joint ScriptTextDocument::jointBefore(const QTextBlock& block)
{
    switch (block.blockFormat().intProperty(kJointProperty)) {
    case static_cast<int>(Joint::Space): return Joint::Space;
    case static_cast<int>(Joint::Nothing): return Joint::Nothing;
    default: return Joint::LineBreak;
    }
}

void ScriptTextDocument::mark(const GroupedScript& grouped)
{
    const bool anyJoint = std::any_of(grouped.joints.begin(), grouped.joints.end(),
                                      [](Joint joint) { return joint != Joint::LineBreak; });
    if (!anyJoint && grouped.standIns.empty())
        return;
    const bool undo = isUndoRedoEnabled();
    setUndoRedoEnabled(false);
    QTextCursor cursor(this);
    cursor.beginEditBlock();
    QTextBlock block = firstBlock().next();
    for (const Joint joint : grouped.joints) {
        if (joint != Joint::LineBreak) {
            cursor.setPosition(block.position());
            cursor.setBlockFormat(formatFor(joint));
        }
        block = block.next();
    }
    QTextCharFormat held;
    held.setProperty(kStandInProperty, true);
    for (const qsizetype at : grouped.standIns) {
        cursor.setPosition(static_cast<int>(at));
        cursor.setPosition(static_cast<int>(at) + 1, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(held);
    }
    cursor.endEditBlock();
    setUndoRedoEnabled(undo);
}

void ScriptTextDocument::insert(QTextCursor& cursor, QStringView text)
{
    const GroupedScript grouped = groupScript(text);
    if (cursor.hasSelection())
        cursor.removeSelectedText();
    QTextCharFormat plain = cursor.charFormat();
    plain.clearProperty(kStandInProperty);
    QTextCharFormat held = plain;
    held.setProperty(kStandInProperty, true);
    const int from = cursor.position();
    const QString& all = grouped.text;
    auto standIn = grouped.standIns.begin();
    auto joint = grouped.joints.begin();
    qsizetype run = 0;
    for (qsizetype i = 0; i <= all.size(); ++i) {
        const bool atStandIn = standIn != grouped.standIns.end() && *standIn == i;
        if (i < all.size() && all[i] != u'\n' && !atStandIn)
            continue;
        if (i > run)
            cursor.insertText(all.sliced(run, i - run), plain);
        if (i == all.size())
            break;
        if (atStandIn) {
            cursor.insertText(QString(all[i]), held);
            ++standIn;
        } else {
            cursor.insertBlock(formatFor(*joint++), plain);
        }
        run = i + 1;
    }
    regroup(from, cursor.position(), false);
}

bool ScriptTextDocument::regroup(int from, int to, bool joinPreviousEdit)
{
    std::vector<std::pair<int, BlockStart>> starts;  // document position of the block, start in it
    for (QTextBlock block = findBlock(from); block.isValid() && block.position() <= to; block = block.next())
        for (const BlockStart& start : planBlocks(block.text(), kEditGrouping))
            starts.emplace_back(block.position(), start);
    if (starts.empty())
        return false;
    QTextCursor cursor(this);
    if (joinPreviousEdit)
        cursor.joinPreviousEditBlock();
    else
        cursor.beginEditBlock();
    // From the end, so that the positions still to be used stay where they were.
    for (auto at = starts.rbegin(); at != starts.rend(); ++at) {
        const int position = at->first + static_cast<int>(at->second.at);
        cursor.setPosition(position);
        if (at->second.joint != Joint::Nothing) {
            cursor.setPosition(position + 1, QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
        }
        QTextCharFormat plain = cursor.charFormat();
        plain.clearProperty(kStandInProperty);
        cursor.insertBlock(formatFor(at->second.joint), plain);
    }
    cursor.endEditBlock();
    return true;
}

void ScriptTextDocument::appendText(QString& out, const QTextBlock& block, int from, int to)
{
    const QString text = block.text();
    to = std::min<int>(to, static_cast<int>(text.size()));
    const qsizetype first = out.size();
    out.append(QStringView(text).sliced(from, std::max(0, to - from)));
    bool standIns = false;
    for (qsizetype i = first; i < out.size(); ++i) {
        if (out[i] == QChar::LineSeparator)
            out[i] = u'\n';
        else if (isStandIn(out[i]))
            standIns = true;
    }
    if (!standIns)
        return;
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.charFormat().boolProperty(kStandInProperty))
            continue;
        const int start = std::max(from, fragment.position() - block.position());
        const int end = std::min(to, fragment.position() - block.position() + fragment.length());
        for (int i = start; i < end; ++i) {
            QChar& c = out[first + i - from];
            if (isStandIn(c))
                c = heldBy(c);
        }
    }
}

void ScriptTextDocument::appendBlock(QString& out, const QTextBlock& block)
{
    if (block.previous().isValid())
        out.append(breakText(jointBefore(block)));
    appendText(out, block, 0, block.length() - 1);
}

QString ScriptTextDocument::script(int from, int to) const
{
    QString out;
    out.reserve(to - from);
    for (QTextBlock block = findBlock(from); block.isValid() && block.position() <= to;
         block = block.next()) {
        if (block.position() > from)
            out.append(breakText(jointBefore(block)));
        appendText(out, block, std::max(from, block.position()) - block.position(), to - block.position());
    }
    return out;
}

}  // namespace velloran::ui
