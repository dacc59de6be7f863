#pragma once

#include <QTextDocument>

#include "ui/script/scripttextplan.h"

class QTextBlock;
class QTextCursor;

namespace velloran::ui {

// The script as the text box holds it, and the way back to the script. Blocks group lines, keep
// a line's direction and cut long lines into pieces (see Grouping). The break before a block
// carries, in its format, what it stands for; a stand-in for U+FDD0 or U+FDD1 carries its mark in
// its character format. Both go with the text through every edit and its undo.
class ScriptTextDocument : public QTextDocument {
    Q_OBJECT
public:
    explicit ScriptTextDocument(QObject* parent = nullptr);

    // Marks the joints and stand-ins of a grouped script just set as the whole text; not undoable.
    void mark(const GroupedScript& grouped);
    // Inserts script text at the cursor in place of its selection, within the caller's edit.
    void insert(QTextCursor& cursor, QStringView text);
    // Regroups the blocks that hold the positions from `from` to `to` where an edit left a line
    // running the other way in a block, or a block too long: within the edit under way, or joined
    // to the one just made. False when nothing needed it.
    bool regroup(int from, int to, bool joinPreviousEdit);

    // The script between two positions of the document.
    QString script(int from, int to) const;
    // The script of a block, after what the break before it stands for (nothing for the first).
    static void appendBlock(QString& out, const QTextBlock& block);
    static Joint jointBefore(const QTextBlock& block);
    // The block's characters from `from` to `to`, its line breaks as '\n', its stand-ins given back.
    static void appendText(QString& out, const QTextBlock& block, int from, int to);
};

}  // namespace velloran::ui
