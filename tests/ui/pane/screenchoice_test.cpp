#include "ui/pane/screenchoice.h"

#include <gtest/gtest.h>

using namespace velloran::ui;
using namespace Qt::StringLiterals;

namespace {

// Two screens of one name, as a display may name them, and one of its own.
const QList<ScreenInfo> kScreens {
    {u"screen"_s, QRect(0, 0, 1280, 1024)},
    {u"screen"_s, QRect(-1024, 0, 1024, 768)},
    {u"HDMI-1"_s, QRect(1280, 0, 1920, 1080)},
};

TEST(ScreenChoice, EachScreenIsSavedAsWhatPicksItAlone)
{
    const QString expected[] = {u"screen 1280x1024+0+0"_s, u"screen 1024x768-1024+0"_s, u"HDMI-1"_s};
    QStringList labels;
    for (qsizetype i = 0; i < kScreens.size(); ++i) {
        EXPECT_EQ(screenKey(kScreens, i), expected[i]);
        EXPECT_EQ(screenByKey(kScreens, screenKey(kScreens, i)), i);
        labels << screenLabel(kScreens.at(i));
    }
    EXPECT_EQ(labels, QStringList({u"screen (1280 x 1024 at 0, 0)"_s, u"screen (1024 x 768 at -1024, 0)"_s,
                                   u"HDMI-1 (1920 x 1080 at 1280, 0)"_s}));
}

TEST(ScreenChoice, ANameAlonePicksTheFirstOfThatName)
{
    EXPECT_EQ(screenByKey(kScreens, u"screen"_s), 0);
    EXPECT_EQ(screenByKey(kScreens, u"DP-2"_s), -1);
    // Two screens of one name, and neither where the saved one was: none is guessed.
    EXPECT_EQ(screenByKey(kScreens, u"screen 1024x768+2000+0"_s), -1);
    EXPECT_EQ(screenByKey(kScreens.mid(2), u"HDMI-1"_s), 0);
}

}  // namespace
