#include "ui/script/scripttextheights.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace velloran::ui {

namespace {
// An idle-time slice of lazy layout: short enough never to delay a tick noticeably.
constexpr qint64 kSliceNanoseconds = 4'000'000;
}  // namespace

ScriptTextHeights::ScriptTextHeights(QPlainTextEdit& box) : QObject(&box), m_box(box), m_slices(new QTimer(this))
{
    m_slices->setObjectName(QStringLiteral("tLayout"));
    m_slices->setSingleShot(true);
    m_slices->setInterval(0);
    connect(m_slices, &QTimer::timeout, this, &ScriptTextHeights::layoutSlice);
}

double ScriptTextHeights::charactersPerLine() const
{
    return std::max(1.0, double(m_box.viewport()->width()) / std::max(1, m_box.fontMetrics().averageCharWidth()));
}

double ScriptTextHeights::rawLines(const QTextBlock& block, double charactersPerLine)
{
    // One line per line break, or the characters over a line's worth, whichever is more; the
    // factor learnt from the blocks laid out makes up for the rest.
    const double lines = std::max(0, block.userState()) + 1.0;
    return std::max(lines, std::ceil((block.length() - 1) / charactersPerLine));
}

std::vector<double> ScriptTextHeights::rawLinesFrom(int blockNumber) const
{
    const QTextDocument* document = m_box.document();
    const auto count = static_cast<std::size_t>(std::max(0, document->blockCount() - std::max(0, blockNumber)));
    // Read from the top, every block above what is shown is measured and no estimate is used.
    if (!m_lazy)
        return std::vector<double>(count, 1.0);
    const double perLine = charactersPerLine();
    std::vector<double> lines;
    lines.reserve(count);
    for (QTextBlock block = document->findBlockByNumber(std::max(0, blockNumber)); block.isValid();
         block = block.next())
        lines.push_back(rawLines(block, perLine));
    return lines;
}

void ScriptTextHeights::estimateAll()
{
    m_heightsWidth = m_box.viewport()->width();
    m_heights.reset(rawLinesFrom(0));
    m_heights.setFactor(m_box.fontMetrics().lineSpacing());
    m_sliceFrom = 0;
    m_anchor = 0;
    if (m_lazy)
        m_slices->start();
}

void ScriptTextHeights::setLazy(bool lazy)
{
    if (lazy == m_lazy)
        return;
    m_lazy = lazy;
    if (lazy)
        estimateAll();
    else
        m_slices->stop();
}

void ScriptTextHeights::blocksChanged(int first, const QTextBlock* block)
{
    const auto from = static_cast<std::size_t>(std::max(0, first));
    if (block)
        m_heights.unmeasure(from, rawLines(*block, charactersPerLine()));
    else
        m_heights.replaceFrom(from, rawLinesFrom(first));
    m_sliceFrom = std::min(m_sliceFrom, from);
    if (m_lazy)
        m_slices->start();
}

qreal ScriptTextHeights::lineTop(int visualLine)
{
    const QTextBlock block = m_box.document()->findBlockByLineNumber(visualLine);
    if (!block.isValid())
        return 0;
    const auto number = static_cast<std::size_t>(block.blockNumber());
    if (number >= m_heights.size() || !m_heights.measured(number))
        return m_heights.top(std::min(number, m_heights.size()));
    const QTextLayout* layout = block.layout();
    const int lineInBlock = visualLine - block.firstLineNumber();
    if (!layout || lineInBlock <= 0 || lineInBlock >= layout->lineCount())
        return m_heights.top(number);
    // The box shows a line from the bottom of the natural rectangle of the line above it, which
    // leaves out that line's leading.
    return m_heights.top(number) + layout->lineAt(lineInBlock - 1).naturalTextRect().bottom();
}

int ScriptTextHeights::lineAt(int offset, int viewHeight)
{
    if (m_lazy)
        measureAround(offset, offset + viewHeight);
    else
        measureThrough(offset + viewHeight);
    if (m_heights.measuredPrefix() == 0 && !m_lazy)
        return 0;
    const std::size_t number = m_heights.blockAt(offset);
    const QTextBlock block = m_box.document()->findBlockByNumber(static_cast<int>(number));
    int line = block.firstLineNumber();
    if (const QTextLayout* layout = block.layout()) {
        const qreal inBlock = offset - m_heights.top(number);
        for (int i = layout->lineCount() - 1; i > 0; --i) {
            if (layout->lineAt(i).y() <= inBlock)
                return line + i;
        }
    }
    return line;
}

void ScriptTextHeights::measureBlock(std::size_t number, bool keepGlyphs)
{
    const QTextBlock block = m_box.document()->findBlockByNumber(static_cast<int>(number));
    // Keeps the shaped glyphs of what is shown: by default a layout drops them and every paint,
    // even of a one-pixel strip, shapes its lines again.
    if (keepGlyphs)
        block.layout()->setCacheEnabled(true);
    m_heights.measure(number, m_box.document()->documentLayout()->blockBoundingRect(block).height());
}

void ScriptTextHeights::measureThrough(int bottom)
{
    // Every block that can be seen, and every one above it.
    while (m_heights.measuredPrefix() < m_heights.size() && m_heights.top(m_heights.measuredPrefix()) <= bottom)
        measureBlock(m_heights.measuredPrefix(), true);
}

void ScriptTextHeights::measureAround(int offset, int bottom)
{
    // Measuring a block moves none of the tops above it, only where in it the offset falls.
    std::size_t number = m_heights.blockAt(offset);
    while (!m_heights.measured(number)) {
        measureBlock(number, true);
        number = m_heights.blockAt(offset);
    }
    m_anchor = number;
    for (std::size_t i = number; i < m_heights.size() && m_heights.top(i) <= bottom; ++i)
        if (!m_heights.measured(i))
            measureBlock(i, true);
    announceHeight();
}

void ScriptTextHeights::layoutSlice()
{
    if (!m_lazy)
        return;
    const double anchorTop = m_heights.top(m_anchor);
    QElapsedTimer clock;
    clock.start();
    std::optional<std::size_t> next = m_heights.nextUnmeasured(m_sliceFrom);
    while (next && clock.nsecsElapsed() < kSliceNanoseconds) {
        measureBlock(*next, false);
        m_sliceFrom = *next + 1;
        next = m_heights.nextUnmeasured(m_sliceFrom);
    }
    m_heights.setFactor(m_heights.suggestedFactor(m_box.fontMetrics().lineSpacing()));
    const double shift = m_heights.top(m_anchor) - anchorTop;
    if (shift != 0)
        emit shownContentShifted(shift);
    announceHeight();
    if (next)
        m_slices->start();
}

void ScriptTextHeights::announceHeight()
{
    const qreal now = m_heights.total();
    if (now != m_announcedHeight) {
        m_announcedHeight = now;
        emit contentHeightChanged();
    }
}

TextPlace ScriptTextHeights::placeOf(int position) const
{
    TextPlace place;
    place.lineHeight = m_box.fontMetrics().lineSpacing();
    const QTextBlock block = m_box.document()->findBlock(std::max(0, position));
    if (!block.isValid() || std::size_t(block.blockNumber()) >= m_heights.size())
        return place;
    const auto number = static_cast<std::size_t>(block.blockNumber());
    const double top = m_heights.top(number);
    const QTextLayout* layout = block.layout();
    const int inBlock = std::clamp(position - block.position(), 0, std::max(0, block.length() - 1));
    if (!m_heights.measured(number) || !layout || layout->lineCount() == 0) {
        // A share of the block's estimated height, in whole lines.
        const double height = m_heights.top(number + 1) - top;
        const double share = double(inBlock) / std::max(1, block.length());
        place.lineTop = top + std::floor(share * height / place.lineHeight) * place.lineHeight;
        return place;
    }
    const QTextLine line = layout->lineForTextPosition(inBlock);
    if (!line.isValid())
        return place;
    place.lineTop = top + line.y();
    place.lineHeight = line.height();
    const double from = line.cursorToX(line.textStart());
    const double to = line.cursorToX(line.textStart() + line.textLength());
    if (to != from)
        place.along = std::clamp((line.cursorToX(inBlock) - from) / (to - from), 0.0, 1.0);
    const QString text = block.text().mid(line.textStart(), line.textLength()).simplified();
    place.lineWords = std::max<int>(1, int(text.count(u' ')) + 1);
    return place;
}

int ScriptTextHeights::positionAt(double y) const
{
    if (m_heights.size() == 0 || y <= 0)
        return 0;
    const std::size_t number = m_heights.blockAt(y);
    const QTextBlock block = m_box.document()->findBlockByNumber(static_cast<int>(number));
    if (!block.isValid())
        return 0;
    const QTextLayout* layout = block.layout();
    if (!m_heights.measured(number) || !layout)
        return block.position();
    const double inBlock = y - m_heights.top(number);
    for (int i = layout->lineCount() - 1; i >= 0; --i)
        if (layout->lineAt(i).y() <= inBlock)
            return block.position() + layout->lineAt(i).textStart();
    return block.position();
}

}  // namespace velloran::ui

namespace velloran::ui {

qreal ScriptTextHeights::blockTopEstimate(std::size_t number) const
{
    const std::size_t prefix = m_heights.measuredPrefix();
    if (m_lazy || number <= prefix)
        return m_heights.top(number);
    const QTextDocument* document = m_box.document();
    const std::tuple<int, int, qreal> key {document->revision(), m_box.viewport()->width(),
                                           m_box.font().pointSizeF()};
    if (key != m_rawTopsFor || m_rawTops.size() != m_heights.size() + 1) {
        m_rawTopsFor = key;
        m_rawTops.assign(1, 0.0);
        const double perLine = charactersPerLine();
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
            m_rawTops.push_back(m_rawTops.back() + rawLines(block, perLine));
        m_rawTops.resize(m_heights.size() + 1, m_rawTops.back());
    }
    return m_heights.top(prefix) + (m_rawTops[number] - m_rawTops[prefix]) * m_box.fontMetrics().lineSpacing();
}

qreal ScriptTextHeights::lineTopAt(int blockNumber, int offset) const
{
    const auto number = static_cast<std::size_t>(std::max(0, blockNumber));
    if (number >= m_heights.size())
        return blockTopEstimate(m_heights.size());
    const qreal top = blockTopEstimate(number);
    const QTextBlock block = m_box.document()->findBlockByNumber(blockNumber);
    const QTextLayout* layout = block.layout();
    if (m_heights.measured(number) && layout && layout->lineCount() > 0) {
        const QTextLine line = layout->lineForTextPosition(offset);
        return top + (line.isValid() ? line.y() : 0);
    }
    return top + (blockTopEstimate(number + 1) - top) * offset / std::max(1, block.length());
}

}  // namespace velloran::ui
