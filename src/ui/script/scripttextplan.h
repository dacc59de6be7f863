#pragma once

#include <QString>
#include <QStringView>
#include <vector>

namespace velloran::ui {

// How a script is cut into the blocks of the text box, each laid out on its own:
//  - short lines are grouped, many to a block (a block costs the same to load whatever its size);
//  - a line whose first strong character runs the other way from its block's starts a new block,
//    since a block is one paragraph for the direction of its text;
//  - a line longer than `longLine` is cut into display pieces of half to all of that, each a block
//    of its own, so that a keystroke lays out one piece and never the whole line. A piece starts at
//    a space, which the break between the blocks then stands for, or, with no space near, after
//    any character (the break then stands for nothing).
struct Grouping {
    qsizetype group = 1024;     // a line starts a new block once the block holds this many characters
    qsizetype longLine = 2048;  // longer lines are cut into pieces of at most this many characters
};

// What the break before a block stands for in the script.
enum class Joint {
    LineBreak,  // a line break
    Space,      // one space: the block carries on the line of the block before
    Nothing,    // nothing: the same, cut after any character
};

// Where a block starts, as an index into the text grouped: the line break or the space at `at`
// gives way to the break between blocks; for Joint::Nothing the block starts before `at`.
struct BlockStart {
    qsizetype at;
    Joint joint;
};

// The block starts of a text, in order. The text's line breaks are CR LF, CR, LF, U+2028 or
// U+2029; the first block starts at 0 and is not listed.
std::vector<BlockStart> planBlocks(QStringView text, const Grouping& grouping = {});

// The text box keeps its own marks in U+FDD0 and U+FDD1 (they would break the line), so a
// script's own are held as these stand-ins, marked as such; an unmarked one is itself.
inline constexpr char16_t kStandInFdd0 = 0xFDEE;
inline constexpr char16_t kStandInFdd1 = 0xFDEF;
inline bool isHeldByStandIn(QChar c)
{
    return c.unicode() == 0xFDD0 || c.unicode() == 0xFDD1;
}
inline bool isStandIn(QChar c)
{
    return c.unicode() == kStandInFdd0 || c.unicode() == kStandInFdd1;
}
inline QChar standInFor(QChar c)
{
    return QChar(c.unicode() == 0xFDD0 ? kStandInFdd0 : kStandInFdd1);
}
inline QChar heldBy(QChar standIn)
{
    return QChar(standIn.unicode() == kStandInFdd0 ? char16_t(0xFDD0) : char16_t(0xFDD1));
}

// A script made ready for the text box: each block start a '\n' (gone for a space it stands for,
// inserted for Joint::Nothing), every other line break U+2028, U+FDD0 and U+FDD1 their stand-ins.
struct GroupedScript {
    QString text;
    std::vector<Joint> joints;        // the joint before each block but the first
    std::vector<qsizetype> standIns;  // where in `text` the stand-ins are
};
GroupedScript groupScript(QStringView text, const Grouping& grouping = {});

// The direction of a text's first strong character, as the layout takes it for a paragraph:
// right to left (true), left to right (false), or none.
enum class Strong { None, LeftToRight, RightToLeft };
Strong firstStrong(QStringView text);

}  // namespace velloran::ui
