#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "engine/markers.h"

using namespace velloran::engine;

namespace {

struct ScanCase {
    char16_t blockSeparator;
    const char16_t* script;
    std::vector<Marker> expected;
};

// U+2028 breaks a line inside a block, U+2029 starts a new block.
const ScanCase kScans[] = {
    {u'\u2029', u"", {}},
    {u'\u2029', u"no markers\nhere a # b", {}},
    {u'\u2029', u"# One", {{0, 0, 0, 0, u"# One"}}},
    {u'\u2029', u"a\n  #b\r\nc # no\r#", {{0, 2, 2, 1, u"  #b"}, {0, 15, 15, 3, u"#"}}},
    {u'\u2029', u"x\u2028\t#y\u2029##z\u2029", {{0, 2, 2, 1, u"\t#y"}, {1, 0, 6, 2, u"##z"}}},
    {u'\u2029',
     u"\u00a0#nb\u2029\u2029 \u2028last\u2028#end",
     {{0, 0, 0, 0, u"\u00a0#nb"}, {2, 7, 13, 4, u"#end"}}},
    {u'\n', u"x\u2028\t#y\n##z\r#", {{0, 2, 2, 1, u"\t#y"}, {1, 0, 6, 2, u"##z"}, {1, 4, 10, 3, u"#"}}},
};

// What the window does on a change: the blocks from the one holding the change's start to the one
// holding its end, as they are now, and how many blocks they replace.
void edit(MarkerIndex& index, std::u16string& script, std::size_t at, std::size_t remove,
          std::u16string_view insert)
{
    script.replace(at, remove, insert);
    const auto breaksBefore = [&](std::size_t end) {
        return static_cast<std::size_t>(std::count(script.begin(), script.begin() + end, u'\u2029'));
    };
    const std::size_t first = breaksBefore(at);
    const std::size_t last = breaksBefore(at + insert.size());
    const std::size_t blocks = breaksBefore(script.size()) + 1;
    const std::size_t start = first == 0 ? 0 : script.rfind(u'\u2029', at - 1) + 1;
    const std::size_t end = std::min(script.find(u'\u2029', at + insert.size()), script.size());
    index.replaceBlocks(first, index.blockCount() - blocks + last - first + 1,
                        std::u16string_view(script).substr(start, end - start));
}

void expectSameAsFullScan(const MarkerIndex& index, const std::u16string& script)
{
    MarkerIndex fresh;
    fresh.reset(script);
    ASSERT_EQ(index.blockCount(), fresh.blockCount());
    ASSERT_EQ(index.markers(), fresh.markers());
}

}  // namespace

TEST(MarkerIndex, FindsMarkerLinesWithTheirPlaces)
{
    for (const ScanCase& row : kScans) {
        MarkerIndex index(row.blockSeparator);
        index.reset(row.script);
        EXPECT_EQ(index.markers(), row.expected) << "script #" << (&row - kScans);
    }
}

TEST(MarkerIndex, EditsGiveWhatAFullScanGives)
{
    struct Edit {
        std::size_t at, remove;
        const char16_t* insert;
    };
    // Script: "# One|body|  # Two" "text|#Three" "tail|# Four" (| a line break, one block per quote).
    const Edit kEdits[] = {
        {6, 0, u"#"},                               // a line becomes a marker
        {0, 1, u""},                                // and one stops being one
        {15, 0, u"\u2029"},                         // Enter inside a marker line
        {15, 1, u""},                               // and the two blocks joined again
        {3, 20, u"x"},                              // a cut across blocks and markers
        {0, 0, u"\u2029"},                          // an empty block before all
        {9, 0, u"\u2029# Five\u2028x\u2029# Six"},  // a paste of several blocks
        {0, 0, u"  #\r"},                           // a lone CR
        {0, 1000, u"plain"},                        // everything replaced
    };
    std::u16string script = u"# One\u2028body\u2028  # Two\u2029text\u2028#Three\u2029tail\u2028# Four";
    MarkerIndex index;
    index.reset(script);
    for (const Edit& row : kEdits) {
        const std::size_t at = std::min(row.at, script.size());
        edit(index, script, at, std::min(row.remove, script.size() - at), row.insert);
        SCOPED_TRACE(&row - kEdits);
        expectSameAsFullScan(index, script);
    }

    // Then many small edits anywhere, from a fixed sequence.
    const char16_t kPieces[] = {u'#', u' ', u'a', u'\r', u'\n', u'\u2028', u'\u2029'};
    std::uint32_t state = 7;
    const auto next = [&state](std::uint32_t bound) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % bound;
    };
    for (int round = 0; round < 400; ++round) {
        const std::size_t at = next(static_cast<std::uint32_t>(script.size() + 1));
        const std::size_t remove = std::min<std::size_t>(next(4), script.size() - at);
        std::u16string insert;
        for (std::uint32_t i = next(5); i > 0; --i)
            insert += kPieces[next(std::size(kPieces))];
        edit(index, script, at, remove, insert);
        SCOPED_TRACE(round);
        expectSameAsFullScan(index, script);
    }
    EXPECT_GT(index.markers().size(), 0u);  // the sequence did make markers to keep
}
