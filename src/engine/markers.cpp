#include "engine/markers.h"

#include <algorithm>

namespace velloran::engine {

namespace {

constexpr char16_t kLineSeparator = u'\u2028';
constexpr char16_t kParagraphSeparator = u'\u2029';

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f' || c == u'\u00a0' ||
           (c >= u'\u2000' && c <= u'\u200a') || c == u'\u202f' || c == u'\u3000';
}

bool isBreak(char16_t c)
{
    // Most characters lie between the two groups, so one test passes them.
    if (c > u'\r' && c < kLineSeparator)
        return false;
    return c == u'\n' || c == u'\r' || c == kLineSeparator || c == kParagraphSeparator;
}

}  // namespace

void MarkerIndex::reset(std::u16string_view script)
{
    m_blocks.clear();
    m_markers.clear();
    scan(script, 0, 0, 0, m_blocks, m_markers);
}

void MarkerIndex::scan(std::u16string_view text, std::size_t block, std::size_t offset, std::size_t line,
                       std::vector<BlockSize>& sizes, std::vector<Marker>& found) const
{
    const std::size_t size = text.size();
    std::size_t blockStart = 0;
    std::size_t breaks = 0;
    std::size_t lineStart = 0;
    for (;;) {
        std::size_t first = lineStart;
        while (first < size && isBlank(text[first]))
            ++first;
        const bool marker = first < size && text[first] == u'#';
        std::size_t end = first;
        while (end < size && !isBreak(text[end]))
            ++end;
        if (marker)
            found.push_back({block, lineStart - blockStart, offset + lineStart, line,
                             std::u16string(text.substr(lineStart, end - lineStart))});
        if (end == size) {
            sizes.push_back({end - blockStart, breaks});
            return;
        }
        const char16_t ending = text[end];
        lineStart = end + 1;
        if (ending == u'\r' && m_blockSeparator != u'\n' && lineStart < size && text[lineStart] == u'\n')
            ++lineStart;
        ++line;
        if (ending == m_blockSeparator) {
            sizes.push_back({end - blockStart, breaks});
            ++block;
            blockStart = lineStart;
            breaks = 0;
        } else {
            ++breaks;
        }
    }
}

void MarkerIndex::replaceBlocks(std::size_t first, std::size_t removed, std::u16string_view blocks)
{
    first = std::min(first, m_blocks.size());
    removed = std::min(removed, m_blocks.size() - first);
    // Each block counts its separator: one code unit and one line.
    std::size_t offset = 0;
    std::size_t line = 0;
    for (std::size_t i = 0; i < first; ++i) {
        offset += m_blocks[i].characters + 1;
        line += m_blocks[i].breaks + 1;
    }
    std::size_t oldCharacters = 0;
    std::size_t oldLines = 0;
    for (std::size_t i = first; i < first + removed; ++i) {
        oldCharacters += m_blocks[i].characters + 1;
        oldLines += m_blocks[i].breaks + 1;
    }
    std::vector<BlockSize> sizes;
    std::vector<Marker> found;
    scan(blocks, first, offset, line, sizes, found);
    std::size_t newCharacters = 0;
    std::size_t newLines = 0;
    for (const BlockSize& size : sizes) {
        newCharacters += size.characters + 1;
        newLines += size.breaks + 1;
    }

    const auto before = [](const Marker& marker, std::size_t block) { return marker.block < block; };
    const auto from = std::lower_bound(m_markers.begin(), m_markers.end(), first, before);
    const auto to = std::lower_bound(from, m_markers.end(), first + removed, before);
    // Those after the change only move; every sum stays whole, so unsigned wrap-around is exact.
    for (auto marker = to; marker != m_markers.end(); ++marker) {
        marker->block = marker->block - removed + sizes.size();
        marker->offset = marker->offset - oldCharacters + newCharacters;
        marker->line = marker->line - oldLines + newLines;
    }
    const auto at = m_markers.erase(from, to);
    m_markers.insert(at, std::make_move_iterator(found.begin()), std::make_move_iterator(found.end()));

    const auto blockAt = m_blocks.begin() + static_cast<std::ptrdiff_t>(first);
    m_blocks.insert(m_blocks.erase(blockAt, blockAt + static_cast<std::ptrdiff_t>(removed)), sizes.begin(),
                    sizes.end());
}

}  // namespace velloran::engine
