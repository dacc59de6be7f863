#include "ui/script/scripttextlayout.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>

#include "ui/script/scripttextplan.h"

namespace velloran::ui {

ScriptTextLayout::ScriptTextLayout(QTextDocument* document) : QPlainTextDocumentLayout(document)
{
}

QRectF ScriptTextLayout::blockBoundingRect(const QTextBlock& block) const
{
    const QRectF rect = QPlainTextDocumentLayout::blockBoundingRect(block);
    QTextLayout* layout = block.isValid() ? block.layout() : nullptr;
    if (!layout || layout->lineCount() == 0 || firstStrong(block.text()) != Strong::RightToLeft)
        return rect;
    // Setting the same place again changes nothing, so a layout met twice is not moved twice.
    const qreal margin = document()->documentMargin();
    for (int i = 0; i < layout->lineCount(); ++i) {
        QTextLine line = layout->lineAt(i);
        const qreal x = margin + std::max<qreal>(0, line.width() - line.naturalTextWidth());
        if (line.x() != x)
            line.setPosition(QPointF(x, line.y()));
    }
    return rect;
}

}  // namespace velloran::ui
