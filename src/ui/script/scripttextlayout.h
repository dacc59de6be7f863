#pragma once

#include <QPlainTextDocumentLayout>

namespace velloran::ui {

// The plain-text layout, with each paragraph that runs right to left aligned to the right edge:
// the plain layout takes one alignment for the whole document, and a script may hold both ways.
// A block's direction is that of its first strong character, as the layout itself takes it.
class ScriptTextLayout : public QPlainTextDocumentLayout {
    Q_OBJECT
public:
    explicit ScriptTextLayout(QTextDocument* document);

    // Every way the box reaches a block's lines (painting, the caret, hit tests) asks for its
    // rectangle first, so the lines are moved here, once they are laid out.
    QRectF blockBoundingRect(const QTextBlock& block) const override;
};

}  // namespace velloran::ui
