#include "session/settingsrecord.h"

#include <gtest/gtest.h>

#include <utility>

using namespace velloran::session;
using namespace Qt::StringLiterals;

namespace {

TEST(WriteRecord, TheFortyByteExample)
{
    SettingsRecord record;
    record.minutes = 2;
    record.seconds = 5;
    record.script = u"Hello\nWorld"_s;
    const QByteArray expected("100,10,27.75,480,\"\",2,5,\"Hello\r\nWorld\"\r\n");
    EXPECT_EQ(expected.size(), 40);
    EXPECT_EQ(writeRecord(record), expected);
}

TEST(WriteRecord, NumbersAndTextFields)
{
    struct Case {
        SettingsRecord record;
        QByteArray expected;
    };
    const Case cases[] = {
        {{-5, -32768, 8.25f, -95.0f, u"C:\\scripts\\b.txt"_s, 0, 0, QString()},
         "-5,-32768,8.25,-95,\"C:\\scripts\\b.txt\",0,0,\"\"\r\n"},
        {{2000, 1000, 1.0f / 3.0f, -239999.9f, QString(), 1234567890123, 59, u" lead, comma"_s},
         "2000,1000,0.3333333,-239999.9,\"\",1234567890123,59,\" lead, comma\"\r\n"},
        {{100, 10, 0.0f, -0.0f, QString(), 0, 0, u"x"_s}, "100,10,0,0,\"\",0,0,\"x\"\r\n"},
        // A far position: every whole twip when exact, the classic seven digits otherwise.
        {{100, 10, 27.75f, -123456789.0, QString(), 0, 0, u"x"_s, true},
         "100,10,27.75,-123456789,\"\",0,0,\"x\"\r\n"},
        {{100, 10, 27.75f, -123456789.0, QString(), 0, 0, u"x"_s, false},
         "100,10,27.75,-123456800,\"\",0,0,\"x\"\r\n"},
        {{100, 10, 27.75f, -240005.0, QString(), 0, 0, u"x"_s, true},
         "100,10,27.75,-240005,\"\",0,0,\"x\"\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(writeRecord(c.record), c.expected) << c.expected.constData();
}

TEST(WriteRecord, ScriptBreaksBecomeCrLfOnceAndQuotesTypographic)
{
    SettingsRecord record;
    record.script = u"a\r\nb\nc\rd\n\n\"e\""_s;
    record.backupPath = u"/tmp/odd\"name.txt"_s;
    EXPECT_EQ(writeRecord(record),
              QByteArray("100,10,27.75,480,\"/tmp/oddname.txt\",0,0,\"a\r\nb\r\nc\r\nd\r\n\r\n"
                         "\xE2\x80\x9C"
                         "e\xE2\x80\x9D\"\r\n"));
}

// A straight double quote opens at the start of a word and closes everywhere else; the writer
// and the script area replace them alike.
TEST(TypographicQuotes, OpenAtTheStartOfAWordCloseElsewhere)
{
    const std::pair<QString, QString> cases[] = {
        {u"\"Hi,\" she said."_s, u"\u201CHi,\u201D she said."_s},
        {u"He said \"stop\", then \"go\"."_s, u"He said \u201Cstop\u201D, then \u201Cgo\u201D."_s},
        {u"(\"yes\")"_s, u"(\u201Cyes\u201D)"_s},
        {u"line\n\"next\"\tx"_s, u"line\n\u201Cnext\u201D\tx"_s},
        {u"a 6\" pipe"_s, u"a 6\u201D pipe"_s},
        {u"wait \u2014\"now\""_s, u"wait \u2014\u201Cnow\u201D"_s},
        {u"\"\""_s, u"\u201C\u201D"_s},
        {u"alone \" here \""_s, u"alone \u201D here \u201D"_s},
        {u"none"_s, u"none"_s},
    };
    for (const auto& [straight, typographic] : cases) {
        EXPECT_EQ(typographicQuotes(straight), typographic) << straight.toStdString();
        SettingsRecord record;
        record.script = straight;
        SettingsRecord replaced = record;
        replaced.script = typographic;
        EXPECT_EQ(writeRecord(record), writeRecord(replaced)) << straight.toStdString();
    }
}

}  // namespace
