#include "ui/mainwindow/welcomescript.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace {

// The script as the program reads it from its resources.
std::string welcomeScript()
{
    return velloran::ui::welcomeScript().toStdString();
}

// Splits on CR LF, the only line break the script may hold.
std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            return lines;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
}

TEST(WelcomeScript, HasTheRequiredShape)
{
    const std::string text = welcomeScript();
    const std::vector<std::string> lines = splitLines(text);

    EXPECT_EQ(lines.size(), 369u);
    EXPECT_FALSE(lines.back().empty()) << "no line break after the last line";

    std::size_t endingInSpace = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        EXPECT_LE(line.size(), 46u) << "line " << i + 1 << ": " << line;
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos)
            << "line " << i + 1 << " holds a lone CR or LF";
        if (!line.empty() && line.back() == ' ')
            ++endingInSpace;
    }
    EXPECT_GT(endingInSpace * 2, lines.size()) << "most lines end in a space";
}

TEST(WelcomeScript, OpensWithTheWelcomeLines)
{
    const std::vector<std::string> lines = splitLines(welcomeScript());
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Welcome to Velloran!");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "(Use the scroll bar to the right to ");
    EXPECT_EQ(lines[3], "navigate.)");
}

TEST(WelcomeScript, HasTheSevenSectionsOnceEachInOrder)
{
    const std::array<std::string, 7> headings = {
        "Getting Started...", "Basic Operation...",           "Control Functions...", "Editing...",
        "Using BACKUP...",    "Tutorial: A Simple Speech...", "Tips and Tricks...",
    };
    const std::vector<std::string> lines = splitLines(welcomeScript());

    std::ptrdiff_t previous = -1;
    for (const std::string& heading : headings) {
        EXPECT_EQ(std::count(lines.begin(), lines.end(), heading), 1) << heading;
        const auto found = std::find(lines.begin(), lines.end(), heading);
        ASSERT_NE(found, lines.end()) << heading;
        const std::ptrdiff_t index = found - lines.begin();
        EXPECT_GT(index, previous) << heading << " is out of order";
        previous = index;
    }
}

TEST(WelcomeScript, SurvivesTheSettingsFileAndNamesTheProduct)
{
    const std::string text = welcomeScript();
    // The settings file turns straight double quotes typographic: the welcome script has none.
    EXPECT_EQ(text.find('"'), std::string::npos);
    EXPECT_NE(text.find("Velloran"), std::string::npos);
    const bool plainAscii = std::all_of(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n' || (c >= ' ' && c <= '~'); });
    EXPECT_TRUE(plainAscii) << "the script is plain printable ASCII";
}

}  // namespace
