#include <gtest/gtest.h>

#include "engine/scriptwords.h"

#include <tuple>

using namespace velloran::engine;

namespace {

std::string spoken(std::u16string_view text)
{
    std::string out;
    for (const auto& word : splitScriptWords(text))
        out += (out.empty() ? "" : " ") + word.word;
    return out;
}

}  // namespace

TEST(ScriptWords, SpeaksWordsAndNumbersAsAReaderWould)
{
    const std::pair<std::u16string_view, const char*> cases[] = {
        {u"Hello, World!  It's a well-known fact.", "hello world it's a well known fact"},
        {u"Don\u2019t ‘quote’ the dogs' bones", "don't quote the dogs bones"},
        {u"In 1984 and 2005 and 2024 and 1900 and 1905",
         "in nineteen eighty four and two thousand five and "
         "twenty twenty four and nineteen hundred and nineteen oh five"},
        {u"1,250 people, 3.14 and 007",
         "one thousand two hundred fifty people three point one four and zero zero seven"},
        {u"the 21st, 2nd, 3rd, 12th and 40th", "the twenty first second third twelfth and fortieth"},
        {u"the 1990s and 80s", "the nineteen nineties and eighties"},
        {u"at 10:30 or 10:00 or 9:05", "at ten thirty or ten o'clock or nine oh five"},
        {u"50% of $5 and \u00a32,000,000", "fifty percent of five dollars and two million pounds"},
        {u"MP3 players", "mp three players"},
        {u"\u00c7a va? \u0416\u0418\u0417\u041d\u042c", "\u00e7a va \u0436\u0438\u0437\u043d\u044c"},
        {u"-- ... !? \u2014", ""},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(spoken(text), expected);
}

TEST(ScriptWords, KeepsWhereEachWordStandsAndWhereSentencesEnd)
{
    const auto words = splitScriptWords(u"Hello, world. Say 42!\r\n\r\nNext line\r\nand more");
    const std::vector<ScriptWord> expected = {
        {"hello", 0, 5, false},  {"world", 7, 5, true}, {"say", 14, 3, false},
        {"forty", 18, 2, false}, {"two", 18, 2, true},  {"next", 25, 4, false},
        {"line", 30, 4, false},  {"and", 36, 3, false}, {"more", 40, 4, true}};
    EXPECT_EQ(words, expected);

    const std::pair<std::size_t, std::size_t> offsets[] = {{0, 0},  {4, 0},  {5, 1},
                                                           {18, 3}, {21, 5}, {500, 8}};
    for (const auto& [offset, index] : offsets)
        EXPECT_EQ(wordAtOffset(words, offset), index) << offset;
    EXPECT_EQ(wordAtOffset({}, 3), 0u);
}

TEST(ScriptWords, NormalisesWhatTheRecogniserWrites)
{
    const std::pair<const char*, const char*> cases[] = {{"read(2)", "read"}, {"Don\xe2\x80\x99t", "don't"},
                                                         {"<sil>", ""},       {"[NOISE]", ""},
                                                         {"++BREATH++", ""},  {"123", ""},
                                                         {"Hello", "hello"}};
    for (const auto& [heard, expected] : cases)
        EXPECT_EQ(normalisedWord(heard), expected) << heard;
}

TEST(ScriptWords, SpellsWholeNumbers)
{
    const std::tuple<unsigned long long, bool, const char*> cases[] = {
        {0, false, "zero"},
        {13, false, "thirteen"},
        {105, false, "one hundred five"},
        {1100, true, "eleven hundred"},
        {2000, true, "two thousand"},
        {2010, true, "twenty ten"},
        {1984, false, "one thousand nine hundred eighty four"},
        {3000000017ULL, false, "three billion seventeen"},
        {1000000000000000ULL, false,
         "one zero zero zero zero zero zero zero zero zero zero zero zero zero zero zero"},
    };
    for (const auto& [value, year, expected] : cases) {
        std::string out;
        for (const auto& word : numberWords(value, year))
            out += (out.empty() ? "" : " ") + word;
        EXPECT_EQ(out, expected) << value;
    }
}
