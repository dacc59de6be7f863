#include "recordingtarget.h"
#include "session/settingsapply.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace velloran::session;
using namespace velloran::testing;
using namespace Qt::StringLiterals;

namespace {

using Kind = Field::Kind;

// Reads and applies a hand-written file; -1 when it does not read as eight fields.
int load(const QString& file, RecordingTarget& target)
{
    const auto fields = readFields(file);
    return fields ? applyFields(*fields, target) : -1;
}

TEST(ReadFields, SplitsTheRecordByTheReadingRules)
{
    const auto fields = readFields(
        u"  100 ,10\t,27.75,480,\"C:\\a, b\\c.txt\" junk,,-.5,\"Hello, you\r\n\r\n  World\"\r\ntrailing,\"garbage"_s);
    ASSERT_TRUE(fields);
    const std::pair<Kind, QString> expected[] = {
        {Kind::Number, u"100"_s},           {Kind::Number, u"10"_s},
        {Kind::Number, u"27.75"_s},         {Kind::Number, u"480"_s},
        {Kind::Text, u"C:\\a, b\\c.txt"_s}, {Kind::None, QString()},
        {Kind::Number, u"-.5"_s},           {Kind::Text, u"Hello, you\r\n\r\n  World"_s},
    };
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ((*fields)[i].kind, expected[i].first) << "field " << i + 1;
        EXPECT_EQ((*fields)[i].text, expected[i].second) << "field " << i + 1;
    }
}

TEST(ReadFields, LineEndsOfEveryKindDelimitAndUnquotedTextIsText)
{
    const auto fields = readFields(u"1\r2\n3\r\n4,abc def  ,x1,7,last"_s);
    ASSERT_TRUE(fields);
    EXPECT_EQ((*fields)[3].text, u"4"_s);
    EXPECT_EQ((*fields)[4].kind, Kind::Text);
    EXPECT_EQ((*fields)[4].text, u"abc def"_s);
    EXPECT_EQ((*fields)[7].text, u"last"_s);  // the end of the text ends the last field
}

TEST(ReadFields, FailsWhenTheTextEndsBeforeTheEighthField)
{
    const QString cases[] = {
        QString(),
        u"   "_s,
        u"100,10,27.75,480,\"\",2,5\r\n"_s,                // cut short after seven fields
        u"100,10,27.75,480,\"\",2,5,"_s,                   // the eighth never starts
        u"100,10,27.75,480,\"\",2,5,\"Hello\r\nWor"_s,     // unterminated script
        u"100,10,27.75,480,\"C:\\x,2,5,\"script\"\r\n"_s,  // unterminated path swallows the rest
    };
    for (const auto& c : cases)
        EXPECT_FALSE(readFields(c)) << c.toStdString();
}

TEST(IsDecimalNumber, FollowsTheFileSyntax)
{
    for (const auto* yes : {u"480", u"-95", u"27.75", u".5", u"-.5", u"007", u"-0"})
        EXPECT_TRUE(isDecimalNumber(yes)) << QString::fromUtf16(yes).toStdString();
    for (const auto* no : {u"", u"-", u".", u"5.", u"1.2.3", u"+5", u"1e5", u" 5", u"5 ", u"\u0663", u"--1"})
        EXPECT_FALSE(isDecimalNumber(no)) << QString::fromUtf16(no).toStdString();
}

Field number(const QString& text)
{
    return {Kind::Number, text};
}

Field text(const QString& text)
{
    return {Kind::Text, text};
}

TEST(Conversions, WholeNumbersRoundHalvesToEvenAndCheckBounds)
{
    const std::pair<Field, std::optional<qint16>> cases[] = {
        {Field(), 0},
        {number(u"100.5"_s), 100},
        {number(u"101.5"_s), 102},
        {number(u"-0"_s), 0},
        {number(u"-0.5"_s), 0},
        {number(u"-1.5"_s), -2},
        {number(u".51"_s), 1},
        {number(u"2.50000000000000000001"_s), 3},  // exact, not via a double
        {number(u"2.4999999999"_s), 2},
        {number(u"32767"_s), 32767},
        {number(u"32767.5"_s), std::nullopt},
        {number(u"32768"_s), std::nullopt},
        {number(u"-32768.5"_s), -32768},
        {number(u"-32769"_s), std::nullopt},
        {number(u"0000000000000000000000000000042"_s), 42},
        {number(QString(5000, u'9')), std::nullopt},
        {text(u" 42 "_s), 42},
        {text(u"12abc"_s), std::nullopt},
        {text(QString()), std::nullopt},
    };
    for (const auto& [field, expected] : cases)
        EXPECT_EQ(toInt16(field), expected) << field.text.left(40).toStdString();
}

TEST(Conversions, MinutesHaveNoSixteenBitBoundButRejectTextAndAbsurdValues)
{
    EXPECT_EQ(toWhole(number(u"123456789012"_s)), 123456789012);
    EXPECT_EQ(toWhole(number(u"2.5"_s)), 2);
    EXPECT_EQ(toWhole(number(u"999999999999999999"_s)), 999999999999999999);
    EXPECT_EQ(toWhole(Field()), 0);
    EXPECT_EQ(toWhole(text(u"abc"_s)), std::nullopt);
    EXPECT_EQ(toWhole(number(u"1000000000000000000"_s)), std::nullopt);
    EXPECT_EQ(toWhole(number(QString(1 << 20, u'7'))), std::nullopt);
}

TEST(Conversions, SingleAndText)
{
    EXPECT_EQ(toSingle(number(u"27.75"_s)), 27.75f);
    EXPECT_EQ(toSingle(number(u"-.5"_s)), -0.5f);
    EXPECT_EQ(toSingle(text(u"-239999.9"_s)), -239999.9f);
    EXPECT_EQ(toSingle(Field()), 0.0f);
    const auto negativeZero = toSingle(number(u"-0"_s));
    ASSERT_TRUE(negativeZero);
    EXPECT_FALSE(std::signbit(*negativeZero));
    EXPECT_TRUE(toSingle(number(u"340282346638528859811704183484516925440"_s)));  // the largest float
    EXPECT_FALSE(toSingle(number(u"1"_s + QString(40, u'0'))));
    EXPECT_FALSE(toSingle(text(u"big"_s)));

    EXPECT_EQ(toText(Field()), QString());
    EXPECT_EQ(toText(text(u"a,b"_s)), u"a,b"_s);
    EXPECT_EQ(toText(text(u"0123 x"_s)), u"0123 x"_s);
}

TEST(Conversions, ANumberBecomesItsDecimalText)
{
    const std::pair<QString, QString> cases[] = {
        {u"0123"_s, u"123"_s},
        {u"007"_s, u"7"_s},
        {u"1.50"_s, u"1.5"_s},
        {u"1.0"_s, u"1"_s},
        {u"100"_s, u"100"_s},
        {u"-0"_s, u"0"_s},
        {u"-0.0"_s, u"0"_s},
        {u"-000.000"_s, u"0"_s},
        {u"0"_s, u"0"_s},
        {u"000"_s, u"0"_s},
        {u".5"_s, u"0.5"_s},
        {u"-.50"_s, u"-0.5"_s},
        {u"-0012.0340"_s, u"-12.034"_s},
        {u"27.75"_s, u"27.75"_s},
        // Exact: no digit is lost or gained on the way, however many there are.
        {u"0.1000000000000000000000000001"_s, u"0.1000000000000000000000000001"_s},
        {u"123456789012345678901234567890.10"_s, u"123456789012345678901234567890.1"_s},
    };
    for (const auto& [written, expected] : cases)
        EXPECT_EQ(toText(number(written)), expected) << written.toStdString();
}

TEST(ApplyFields, StopsAtTheFirstFieldThatFailsOrIsRejected)
{
    struct Case {
        QString file;
        int applied;
        std::vector<int> calls;
    };
    const QString tail = u",27.75,480,\"\",2,5,\"s\"\r\n"_s;
    const Case cases[] = {
        {u"100,10"_s + tail, 8, {1, 2, 3, 4, 5, 6, 7, 8}},
        {u"5,10"_s + tail, 0, {1}},      // speed below the spinner's range
        {u"100,0"_s + tail, 1, {1, 2}},  // frequency below the spinner's range
        {u"big,10"_s + tail, 0, {}},     // speed that does not convert
        {u"100,10,27.75,480,\"\",ten,5,\"s\"\r\n"_s, 8, {1, 2, 3, 4, 5, 6, 7, 8}},  // minutes as 0
        {u"100,10,27.75,480,\"\",2,70000,\"s\"\r\n"_s, 6, {1, 2, 3, 4, 5, 6}},
    };
    for (const auto& c : cases) {
        RecordingTarget target;
        EXPECT_EQ(load(c.file, target), c.applied) << c.file.toStdString();
        EXPECT_EQ(target.calls, c.calls) << c.file.toStdString();
    }
}

TEST(ApplyFields, RestoresValuesAndBringsTheClockIntoRange)
{
    RecordingTarget target;
    ASSERT_EQ(load(u"101.5,2,8.5,-95,C:\\b.txt,,75,\"one\r\ntwo\rthree\"\r\n"_s, target), 8);
    EXPECT_EQ(target.record.speed, 102);
    EXPECT_EQ(target.record.fontSize, 8.5f);
    EXPECT_EQ(target.record.position, -95.0f);
    EXPECT_EQ(target.record.backupPath, u"C:\\b.txt"_s);
    EXPECT_EQ(target.record.minutes, 0);
    EXPECT_EQ(target.record.seconds, 59);
    EXPECT_EQ(target.record.script, u"one\ntwo\nthree"_s);

    RecordingTarget negative;
    ASSERT_EQ(load(u"100,10,27.75,480,\"\",-3,-1,7\r\n"_s, negative), 8);
    EXPECT_EQ(negative.record.minutes, 0);
    EXPECT_EQ(negative.record.seconds, 0);
    EXPECT_EQ(negative.record.script, u"7"_s);

    RecordingTarget numbers;
    ASSERT_EQ(load(u"100,10,27.75,480,0123,0,0,1.50\r\n"_s, numbers), 8);
    EXPECT_EQ(numbers.record.backupPath, u"123"_s);
    EXPECT_EQ(numbers.record.script, u"1.5"_s);
    RecordingTarget quoted;  // quoted, they are text and stay as written
    ASSERT_EQ(load(u"100,10,27.75,480,\"0123\",0,0,\"1.50\"\r\n"_s, quoted), 8);
    EXPECT_EQ(quoted.record.backupPath, u"0123"_s);
    EXPECT_EQ(quoted.record.script, u"1.50"_s);
}

TEST(CleanText, RemovesEveryOccurrenceInLinearTime)
{
    EXPECT_EQ(cleanText(u"\"a\"\"b c\"\"\""_s, u'"'), u"ab c"_s);
    EXPECT_EQ(cleanText(u"AaA"_s, u'a'), u"AA"_s);  // exact comparison, case kept
    EXPECT_EQ(cleanText(QString(), u'"'), QString());

    // A script at the size limit with a million quotes. Rebuilding the text for each quote, as the
    // classic routine does, moves about 10^13 bytes and cannot end within the test's time-out
    // (60 s); one pass takes a fraction of a second. That time-out is the bound: nothing here reads
    // a clock, so a slow machine cannot fail it and a quadratic version cannot pass it.
    QString big;
    const QString block = QString(15, u'x') + u'"';
    big.reserve(block.size() * 1'000'000);
    for (int i = 0; i < 1'000'000; ++i)
        big += block;
    const QString cleaned = cleanText(big, u'"');
    EXPECT_EQ(cleaned.size(), 15 * 1'000'000);
    EXPECT_FALSE(cleaned.contains(u'"'));
}

}  // namespace
