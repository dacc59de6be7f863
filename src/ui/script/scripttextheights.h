#pragma once

#include <QObject>

#include <cstddef>
#include <tuple>
#include <vector>

#include "ui/script/blockheights.h"

class QPlainTextEdit;
class QTextBlock;
class QTimer;

namespace velloran::ui {

// Where a position of the document stands, in pixels of the content: its line's top and height,
// how far along the line's text it is (0 at the line's start, 1 at its end), and the words on
// that line.
struct TextPlace {
    double lineTop = 0;
    double lineHeight = 0;
    double along = 0;
    int lineWords = 1;
};

// How tall the blocks of the script text box are and which of them are laid out. Only the blocks
// near what is shown are ever laid out, so the cost does not depend on how long the script is.
// Lazy (the whole-script option), the other blocks are estimated and laid out in idle-time slices
// until all are real; otherwise every block above the place shown is laid out, as a script read
// from its top needs.
class ScriptTextHeights : public QObject {
    Q_OBJECT
public:
    explicit ScriptTextHeights(QPlainTextEdit& box);

    // Every block estimated afresh: a new width or font.
    void estimateAll();
    bool needsEstimateAt(int viewportWidth) const { return viewportWidth != m_heightsWidth; }
    void setLazy(bool lazy);
    bool lazy() const { return m_lazy; }

    // The blocks from `first` changed: `block` alone when the change stayed within it, otherwise
    // every block from `first` on.
    void blocksChanged(int first, const QTextBlock* block);

    // The visual line to show at `offset` pixels below the content's top, the blocks there laid
    // out first (and every one above them when not lazy).
    int lineAt(int offset, int viewHeight);
    // Where a visual line's top stands, in pixels below the content's top.
    qreal lineTop(int visualLine);
    // Lays out every block from the top down to `bottom` pixels.
    void measureThrough(int bottom);

    // Where the line holding `offset` of a block starts: exact where the block is laid out;
    // elsewhere estimated from its lines (not lazy, the blocks below the laid-out ones count as
    // one line each in the heights, which a place far down must not take).
    qreal lineTopAt(int block, int offset) const;
    // Where a position stands, estimated where its block has not been laid out; and the position
    // of the first character of the line at `y` pixels.
    TextPlace placeOf(int position) const;
    int positionAt(double y) const;

    qreal total() const { return m_heights.total(); }
    bool settled() const { return !m_heights.nextUnmeasured(0); }

signals:
    void shownContentShifted(qreal pixels);  // see ScriptText::shownContentShifted
    void contentHeightChanged();

private:
    double charactersPerLine() const;
    static double rawLines(const QTextBlock& block, double charactersPerLine);
    std::vector<double> rawLinesFrom(int blockNumber) const;
    void measureBlock(std::size_t number, bool keepGlyphs);
    void measureAround(int offset, int bottom);
    void layoutSlice();
    void announceHeight();
    qreal blockTopEstimate(std::size_t number) const;

    QPlainTextEdit& m_box;
    BlockHeights m_heights;
    std::size_t m_anchor = 0;     // the block of the place last shown
    std::size_t m_sliceFrom = 0;  // where the next idle-time slice looks for unmeasured blocks
    qreal m_announcedHeight = -1;
    int m_heightsWidth = -1;  // the viewport's width when the heights were last estimated
    QTimer* m_slices;
    bool m_lazy = false;
    mutable std::vector<double> m_rawTops;  // running sums of the blocks' raw lines
    mutable std::tuple<int, int, qreal> m_rawTopsFor {-1, -1, 0};  // revision, width, font
};

}  // namespace velloran::ui
