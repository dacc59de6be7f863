#include "session/textcodec.h"

#include <gtest/gtest.h>

using namespace velloran::session;
using namespace Qt::StringLiterals;

namespace {

QByteArray bytes(std::initializer_list<unsigned char> list)
{
    QByteArray out;
    for (const unsigned char b : list)
        out.append(static_cast<char>(b));
    return out;
}

struct DecodeCase {
    const char* name;
    QByteArray input;
    QString expected;
};

TEST(DecodeText, ChoosesTheEncodingFromTheBytes)
{
    const DecodeCase cases[] = {
        {"ascii", QByteArray("Hello\r\nWorld"), u"Hello\r\nWorld"_s},
        {"utf16 le with mark", bytes({0xFF, 0xFE, 'A', 0, 0xE9, 0, 0xA9, 0x03}), u"A\u00E9\u03A9"_s},
        {"utf16 be with mark", bytes({0xFE, 0xFF, 0, 'A', 0x65, 0xE5, 0xD8, 0x3D, 0xDE, 0x00}),
         u"A\u65E5\U0001F600"_s},
        {"utf16 unpaired surrogates replaced",
         bytes({0xFE, 0xFF, 0xDE, 0x00, 0, 'a', 0xD8, 0x3D, 0xDE, 0x00, 0xD8, 0x3D}),
         u"\uFFFDa\U0001F600\uFFFD"_s},
        {"utf8 with mark dropped", bytes({0xEF, 0xBB, 0xBF, 'o', 'k', 0xC3, 0xA9}), u"ok\u00E9"_s},
        {"utf8 second mark kept", bytes({0xEF, 0xBB, 0xBF, 0xEF, 0xBB, 0xBF, 'x'}), u"\uFEFFx"_s},
        {"utf8 without mark", QByteArray("\xC3\x9F \xE6\x97\xA5\xE6\x9C\xAC"), u"\u00DF \u65E5\u672C"_s},
        {"cp1252 euro, e acute, undefined 0x81",
         bytes({0x80, ' ', 0xE9, ' ', 0x81, 0x8D, 0x8F, 0x90, 0x9D, ' ', 0x9F, 0xFF}),
         u"\u20AC \u00E9 \u0081\u008D\u008F\u0090\u009D \u0178\u00FF"_s},
        // A lone lead byte at the very end is not UTF-8: "café" as written by a Windows editor.
        {"cp1252 ending in a lead byte", QByteArray("caf\xE9"), u"caf\u00E9"_s},
        {"overlong utf8 is not utf8", bytes({0xC0, 0xAF}), u"\u00C0\u00AF"_s},
        // One stray byte in a UTF-8 file costs that byte only.
        {"utf8 with one stray byte",
         QByteArray("caf\xC3\xA9 \xE2\x82\xAC \x80 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80"),
         u"caf\u00E9 \u20AC \u20AC \u65E5\u672C \U0001F600"_s},
        {"utf8 cut short inside a sequence", QByteArray("\xC3\xA9\xC3\xA9 \xE6\x97"),
         u"\u00E9\u00E9 \u00E6\u2014"_s},
        {"mark says utf8 despite the stray byte", bytes({0xEF, 0xBB, 0xBF, 0xE9, 't', 0xE9}),
         u"\u00E9t\u00E9"_s},
        {"surrogate and beyond U+10FFFF are stray",
         QByteArray("\xC3\xA9").repeated(8) + QByteArray("\xED\xA0\x80\xF4\x90\x80\x80"),
         QString(8, QChar(0xE9)) + u"\u00ED\u00A0\u20AC\u00F4\u0090\u20AC\u20AC"_s},
        // An 8-bit file whose stray bytes outnumber its accidental sequences reads as before:
        // "CAFÉ’S été" with É’ forming a valid pair.
        {"cp1252 with an accidental sequence", QByteArray("CAF\xC9\x92S \xE9t\xE9"),
         u"CAF\u00C9\u2019S \u00E9t\u00E9"_s},
        {"empty", QByteArray(), QString()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decodeText(c.input), c.expected) << c.name;
}

TEST(DecodeText, Cp1252KeepsOneCharacterPerByte)
{
    QByteArray all;
    for (int b = 1; b < 256; ++b)
        all.append(static_cast<char>(b));
    all.append('\xFF');  // an invalid UTF-8 byte forces the 8-bit reading
    const QString text = decodeText(all);
    ASSERT_EQ(text.size(), all.size());
    for (int b = 1; b < 128; ++b)
        EXPECT_EQ(text[b - 1].unicode(), b);
    for (int b = 0xA0; b < 256; ++b)
        EXPECT_EQ(text[b - 1].unicode(), b);
}

TEST(EncodeSettings, AsciiIsByteIdenticalAndOtherTextIsUtf8)
{
    EXPECT_EQ(encodeSettings(u"100,10,\"a b\"\r\n"_s), QByteArray("100,10,\"a b\"\r\n"));
    EXPECT_EQ(encodeSettings(u"\u00E9\u20AC"_s), QByteArray("\xC3\xA9\xE2\x82\xAC"));
}

TEST(WithLineBreaks, EveryKindOfBreakBecomesTheGivenOne)
{
    EXPECT_EQ(withLineBreaks(u"a\nb\r\nc\rd\n\ne\r\r\n"_s, u"\r\n"), u"a\r\nb\r\nc\r\nd\r\n\r\ne\r\n\r\n"_s);
    EXPECT_EQ(withLineBreaks(u"a\r\nb\rc\n"_s, u"\n"), u"a\nb\nc\n"_s);
    EXPECT_EQ(withLineBreaks(u"plain"_s, u"\n"), u"plain"_s);
}

}  // namespace
