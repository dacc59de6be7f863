#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velloran::engine {

// A section heading: a line whose first non-blank character is '#'.
struct Marker {
    std::size_t block = 0;        // the block it stands in
    std::size_t blockOffset = 0;  // code units from the block's start to the line's start
    std::size_t offset = 0;       // code units from the script's start to the line's start
    std::size_t line = 0;         // the script's line number, from 0
    std::u16string text;          // the line as written, without its break

    bool operator==(const Marker&) const = default;
};

// The markers of a script held as blocks, kept up to date edit by edit so that typing into a
// long script rescans only the blocks it touched.
//
// Text is UTF-16. Blocks are separated by U+2029, as a text document gives its whole text, or by
// '\n', as the script text box groups a script that comes in; each separator is one code unit and
// one line break, so block starts are line starts. Within a block a line ends at U+2028, '\r',
// and, with U+2029 separating blocks, at '\n' or "\r\n". Offsets count code units, the way the
// text box counts cursor positions.
class MarkerIndex {
public:
    explicit MarkerIndex(char16_t blockSeparator = u'\u2029') : m_blockSeparator(blockSeparator)
    {
        reset({});
    }

    // Scans the whole script.
    void reset(std::u16string_view script);

    // `removed` blocks from `first` on were replaced by `blocks` (the new ones joined by the separator,
    // at least one). The blocks around them are unchanged, only moved.
    void replaceBlocks(std::size_t first, std::size_t removed, std::u16string_view blocks);

    const std::vector<Marker>& markers() const { return m_markers; }
    std::size_t blockCount() const { return m_blocks.size(); }

private:
    struct BlockSize {
        std::size_t characters = 0;  // without its separator
        std::size_t breaks = 0;      // line breaks inside it
    };
    // Appends the blocks of `text` and their markers, the first block numbered `block` and
    // starting at `offset` and `line`.
    void scan(std::u16string_view text, std::size_t block, std::size_t offset, std::size_t line,
              std::vector<BlockSize>& sizes, std::vector<Marker>& found) const;

    char16_t m_blockSeparator;
    std::vector<BlockSize> m_blocks;
    std::vector<Marker> m_markers;  // in script order
};

}  // namespace velloran::engine
