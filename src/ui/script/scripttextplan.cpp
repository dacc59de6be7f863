#include "ui/script/scripttextplan.h"

#include <QTextBoundaryFinder>
#include <algorithm>

namespace velloran::ui {

namespace {

// A space further on than this says nothing useful about the next word's direction.
constexpr qsizetype kLookAhead = 64;
// Spaces tried for a piece that starts the way its line runs, before any space will do.
constexpr int kSpacesTried = 64;
// A run of lines with no strong character stays with the block before up to this many blocks' worth.
constexpr qsizetype kNeutralRun = 4;

bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

// The index at or before `at`, and after `from`, where a character cluster starts.
qsizetype clusterStart(QStringView text, qsizetype from, qsizetype at)
{
    const qsizetype windowStart = std::max(from, at - kLookAhead);
    const qsizetype windowEnd = std::min(text.size(), at + kLookAhead);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.constData() + windowStart,
                               windowEnd - windowStart);
    finder.setPosition(at - windowStart);
    if (!finder.isAtBoundary())
        finder.toPreviousBoundary();
    const qsizetype found = windowStart + std::max<qsizetype>(0, finder.position());
    return found > from ? found : at;
}

// Where the next piece of a long line starts: the last space of the window [from + half, from +
// longLine] that is followed by a word running the line's way, else its last space, else a
// cluster boundary at its end.
qsizetype pieceStart(QStringView text, qsizetype from, qsizetype end, Strong direction,
                     const Grouping& grouping)
{
    const qsizetype low = from + grouping.longLine / 2;
    const qsizetype high = std::min(end - 1, from + grouping.longLine);
    qsizetype lastSpace = -1;
    int tried = 0;
    for (qsizetype i = high; i >= low && tried < kSpacesTried; --i) {
        if (text[i] != u' ')
            continue;
        if (lastSpace < 0)
            lastSpace = i;
        ++tried;
        const qsizetype next = i + 1;
        if (direction == Strong::None ||
            firstStrong(text.sliced(next, std::min(end, next + kLookAhead) - next)) == direction)
            return i;
    }
    return lastSpace >= 0 ? lastSpace : clusterStart(text, from, high);
}

}  // namespace

Strong firstStrong(QStringView text)
{
    // As the layout finds a paragraph's direction: characters inside isolates do not count.
    int isolates = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        switch (QChar::direction(c)) {
        case QChar::DirRLI:
        case QChar::DirLRI:
        case QChar::DirFSI: ++isolates; break;
        case QChar::DirPDI: isolates = std::max(0, isolates - 1); break;
        case QChar::DirL:
            if (isolates == 0)
                return Strong::LeftToRight;
            break;
        case QChar::DirR:
        case QChar::DirAL:
            if (isolates == 0)
                return Strong::RightToLeft;
            break;
        default: break;
        }
    }
    return Strong::None;
}

std::vector<BlockStart> planBlocks(QStringView text, const Grouping& grouping)
{
    std::vector<BlockStart> starts;
    qsizetype inBlock = 0;
    Strong blockDirection = Strong::None;
    qsizetype lineStart = 0;
    qsizetype breakAt = -1;  // the line break before the current line
    for (;;) {
        qsizetype end = lineStart;
        while (end < text.size() && !isLineBreak(text[end]))
            ++end;
        const Strong direction = firstStrong(text.sliced(lineStart, end - lineStart));
        const bool longLine = end - lineStart > grouping.longLine;
        if (breakAt >= 0) {
            const bool turns =
                direction != Strong::None && blockDirection != Strong::None && direction != blockDirection;
            const bool full = inBlock >= grouping.group &&
                              (direction != Strong::None || inBlock >= kNeutralRun * grouping.group);
            if (turns || full || longLine) {
                starts.push_back({breakAt, Joint::LineBreak});
                inBlock = 0;
                blockDirection = Strong::None;
            } else {
                ++inBlock;
            }
        }
        qsizetype pieceFrom = lineStart;
        while (end - pieceFrom > grouping.longLine) {
            const qsizetype at = pieceStart(text, pieceFrom, end, direction, grouping);
            const bool space = text[at] == u' ';
            starts.push_back({at, space ? Joint::Space : Joint::Nothing});
            pieceFrom = space ? at + 1 : at;
            blockDirection = Strong::None;
        }
        if (pieceFrom > lineStart) {
            inBlock = end - pieceFrom;
            blockDirection = firstStrong(text.sliced(pieceFrom, end - pieceFrom));
        } else {
            inBlock += end - lineStart;
        }
        if (blockDirection == Strong::None)
            blockDirection = direction;
        if (end >= text.size())
            break;
        breakAt = end;
        lineStart = end + (text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n' ? 2 : 1);
    }
    return starts;
}

GroupedScript groupScript(QStringView text, const Grouping& grouping)
{
    // The copy first, before the plan takes any memory: a script's worth of room that its reader
    // has just given back is then still whole, and the peak stays what it was without a plan.
    GroupedScript grouped;
    grouped.text = QString(text.size(), Qt::Uninitialized);
    const std::vector<BlockStart> starts = planBlocks(text, grouping);
    grouped.joints.reserve(starts.size());
    // A cut that stands for nothing adds a character.
    const auto inserted = std::count_if(
        starts.begin(), starts.end(), [](const BlockStart& start) { return start.joint == Joint::Nothing; });
    if (inserted > 0)
        grouped.text.resize(text.size() + inserted);
    QChar* out = grouped.text.data();
    const QChar* const begin = out;
    auto next = starts.begin();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool crLf = c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n';
        if (next != starts.end() && next->at == i) {
            grouped.joints.push_back(next->joint);
            *out++ = u'\n';
            const Joint joint = next->joint;
            ++next;
            if (joint == Joint::Nothing)
                --i;  // the character at `at` is the new block's first
            else if (crLf)
                ++i;
            continue;
        }
        if (isLineBreak(c)) {
            *out++ = QChar::LineSeparator;
            if (crLf)
                ++i;
        } else if (isHeldByStandIn(c)) {
            grouped.standIns.push_back(out - begin);
            *out++ = standInFor(c);
        } else {
            *out++ = c;
        }
    }
    grouped.text.truncate(out - begin);
    return grouped;
}

}  // namespace velloran::ui
