#include "ui/scripttext.h"

#include <QAbstractTextDocumentLayout>
#include <QDropEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QUrl>
#include <algorithm>

namespace velloran::ui {

ScriptText::ScriptText(QWidget* parent) : QPlainTextEdit(parent)
{
    setObjectName(QStringLiteral("Tex"));
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    document()->setDocumentMargin(0);
    viewport()->setMouseTracking(true);
    setMouseTracking(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);

    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::black);
    colours.setColor(QPalette::Text, Qt::white);
    setPalette(colours);

    connect(document(), &QTextDocument::contentsChange, this,
            [this](int position, int, int) {
                forgetBlockTopsFrom(document()->findBlock(position).blockNumber());
            });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (!m_settingScroll)
            emit contentMoved();
    });
}

void ScriptText::forgetBlockTopsFrom(int blockNumber)
{
    const auto keep = static_cast<std::size_t>(std::max(0, blockNumber));
    if (keep < m_blockTops.size()) {
        m_measuredBottom = m_blockTops[keep];
        m_blockTops.resize(keep);
    }
}

void ScriptText::extendBlockTops(int offset)
{
    QAbstractTextDocumentLayout* layout = document()->documentLayout();
    QTextBlock block = document()->findBlockByNumber(static_cast<int>(m_blockTops.size()));
    while (block.isValid() && m_measuredBottom <= offset) {
        m_blockTops.push_back(m_measuredBottom);
        m_measuredBottom += static_cast<int>(layout->blockBoundingRect(block).height());
        block = block.next();
    }
}

int ScriptText::lineTopOfVisualLine(int visualLine)
{
    const QTextBlock block = document()->findBlockByLineNumber(visualLine);
    if (!block.isValid())
        return 0;
    const auto number = static_cast<std::size_t>(block.blockNumber());
    if (number >= m_blockTops.size())
        return m_measuredBottom;
    const QTextLayout* layout = block.layout();
    const int lineInBlock = visualLine - block.firstLineNumber();
    if (!layout || lineInBlock <= 0 || lineInBlock >= layout->lineCount())
        return m_blockTops[number];
    return m_blockTops[number] + static_cast<int>(layout->lineAt(lineInBlock).y());
}

int ScriptText::showFrom(int offset)
{
    extendBlockTops(offset);
    int wantedLine = 0;
    if (!m_blockTops.empty()) {
        const auto found = std::upper_bound(m_blockTops.begin(), m_blockTops.end(), offset);
        const int number = static_cast<int>(found - m_blockTops.begin()) - 1;
        const QTextBlock block = document()->findBlockByNumber(number);
        wantedLine = block.firstLineNumber();
        if (const QTextLayout* layout = block.layout()) {
            const int inBlock = offset - m_blockTops[static_cast<std::size_t>(number)];
            for (int i = layout->lineCount() - 1; i > 0; --i) {
                if (layout->lineAt(i).y() <= inBlock) {
                    wantedLine += i;
                    break;
                }
            }
        }
    }
    QScrollBar* bar = verticalScrollBar();
    m_settingScroll = true;
    bar->setValue(std::min(wantedLine, bar->maximum()));
    m_settingScroll = false;
    return offset - lineTopOfVisualLine(bar->value());
}

qint64 ScriptText::scriptLength() const
{
    // Every block boundary stands for CR LF; characterCount() counts the final separator too.
    const QTextDocument* doc = document();
    return static_cast<qint64>(doc->characterCount()) - 1 + (doc->blockCount() - 1);
}

void ScriptText::setTextColor(const QColor& color)
{
    QPalette colours = palette();
    if (colours.color(QPalette::Text) == color)
        return;
    colours.setColor(QPalette::Text, color);
    setPalette(colours);
}

void ScriptText::setPointSize(double points)
{
    QFont font = this->font();
    font.setPointSizeF(points);
    setFont(font);
    m_blockTops.clear();
    m_measuredBottom = 0;
}

double ScriptText::pointSize() const
{
    return font().pointSizeF();
}

int ScriptText::tallestLine() const
{
    return fontMetrics().lineSpacing() * 2;
}

void ScriptText::mouseDoubleClickEvent(QMouseEvent* event)
{
    QPlainTextEdit::mouseDoubleClickEvent(event);
    emit doubleClicked();
}

void ScriptText::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved();
    QPlainTextEdit::mouseMoveEvent(event);
}

void ScriptText::resizeEvent(QResizeEvent* event)
{
    const int oldWidth = viewport()->width();
    QPlainTextEdit::resizeEvent(event);
    if (viewport()->width() != oldWidth) {
        m_blockTops.clear();
        m_measuredBottom = 0;
    }
}

void ScriptText::wheelEvent(QWheelEvent* event)
{
    event->ignore();  // the surface, not the box, decides what is shown
}

QStringList droppedFiles(const QMimeData* data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    return paths;
}

void ScriptText::dragEnterEvent(QDragEnterEvent* event)
{
    if (m_acceptsFiles && !droppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void ScriptText::dragMoveEvent(QDragMoveEvent* event)
{
    if (m_acceptsFiles && !droppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void ScriptText::dropEvent(QDropEvent* event)
{
    const QStringList paths = droppedFiles(event->mimeData());
    if (!m_acceptsFiles || paths.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    emit filesDropped(paths);
}

}  // namespace velloran::ui
