#include <gtest/gtest.h>

#include "engine/fontsize.h"

using namespace velloran::engine;

TEST(FontSize, BoundsAreTestedBeforeTheStep)
{
    EXPECT_FALSE(smallerFont(12).has_value());
    EXPECT_FLOAT_EQ(*smallerFont(13), 11);
    EXPECT_FALSE(largerFont(72).has_value());
    EXPECT_FLOAT_EQ(*largerFont(71), 73);
    EXPECT_FLOAT_EQ(*largerFont(kDesignFontSize), 29.75f);

    float size = kDesignFontSize;
    while (auto smaller = smallerFont(size))
        size = *smaller;
    EXPECT_FLOAT_EQ(size, 11.75f);
    while (auto larger = largerFont(size))
        size = *larger;
    EXPECT_FLOAT_EQ(size, 73.75f);
}

TEST(FontSize, TooltipShowsWholeSize)
{
    EXPECT_EQ(fontSizeTooltip(27.75f), "Font Size : 28");
    EXPECT_EQ(fontSizeTooltip(36), "Font Size : 36");
    EXPECT_EQ(fontSizeTooltip(12.5f), "Font Size : 12");
}
