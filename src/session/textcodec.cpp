#include "session/textcodec.h"

#include <QStringDecoder>

#include <array>

namespace velloran::session {

namespace {

// Windows-1252 for 0x80..0x9F; the five bytes it leaves undefined map to the C1 control of the
// same value so that they are kept. Every other byte is the Latin-1 character of the same value.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QChar cp1252Char(unsigned char byte)
{
    return (byte >= 0x80 && byte < 0xA0) ? QChar(kCp1252High[byte - 0x80]) : QChar(char16_t(byte));
}

QString decodeCp1252(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes)
        *out++ = cp1252Char(static_cast<unsigned char>(c));
    return text;
}

// Stateless so that a sequence cut off at the end counts as an error; the mark is handled by the
// caller, so a second one is kept as a character.
constexpr auto kDecoderFlags = QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;

// Length of the well-formed UTF-8 sequence that starts at bytes[i] (2 to 4), or 0 when the byte
// there starts none: overlong forms, surrogates and values beyond U+10FFFF are not well formed.
int sequenceLength(QByteArrayView bytes, qsizetype i)
{
    const auto at = [&](qsizetype k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = at(i);
    int length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (i + length > bytes.size() || at(i + 1) < low || at(i + 1) > high)
        return 0;
    for (int k = 2; k < length; ++k)
        if (at(i + k) < 0x80 || at(i + k) > 0xBF)
            return 0;
    return length;
}

// Valid UTF-8 sequences decoded as UTF-8 and every other byte as its Windows-1252 character;
// counts both kinds so the caller can tell a mixed file from an 8-bit one.
struct MixedDecoding {
    QString text;
    qsizetype sequences = 0;
    qsizetype strayBytes = 0;
};

MixedDecoding decodeMixed(QByteArrayView bytes)
{
    MixedDecoding result;
    result.text.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte < 0x80) {
            result.text += QChar(char16_t(byte));
            ++i;
            continue;
        }
        const int length = sequenceLength(bytes, i);
        if (length == 0) {
            result.text += cp1252Char(byte);
            ++result.strayBytes;
            ++i;
            continue;
        }
        char32_t code = byte & (0x7F >> length);
        for (int k = 1; k < length; ++k)
            code = (code << 6) | (static_cast<unsigned char>(bytes[i + k]) & 0x3F);
        if (QChar::requiresSurrogates(code)) {
            result.text += QChar(QChar::highSurrogate(code));
            result.text += QChar(QChar::lowSurrogate(code));
        } else {
            result.text += QChar(char16_t(code));
        }
        ++result.sequences;
        i += length;
    }
    return result;
}

// UTF-16 with its units as they stand, but an unpaired surrogate (no character at all) made the
// replacement character, as the UTF-8 of the settings file would make it: the script is saved as
// it is shown.
QString decodeUtf16(QByteArrayView body, QStringConverter::Encoding encoding)
{
    QStringDecoder decoder(encoding, kDecoderFlags);
    QString text = decoder.decode(body);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

}  // namespace

QString decodeText(const QByteArray& bytes)
{
    if (bytes.startsWith("\xFF\xFE"))
        return decodeUtf16(QByteArrayView(bytes).sliced(2), QStringConverter::Utf16LE);
    if (bytes.startsWith("\xFE\xFF"))
        return decodeUtf16(QByteArrayView(bytes).sliced(2), QStringConverter::Utf16BE);
    const QByteArrayView body =
        bytes.startsWith("\xEF\xBB\xBF") ? QByteArrayView(bytes).sliced(3) : QByteArrayView(bytes);
    QStringDecoder utf8(QStringConverter::Utf8, kDecoderFlags);
    QString text = utf8.decode(body);
    if (!utf8.hasError())
        return text;
    // A UTF-8 file with a stray byte keeps its characters; an 8-bit file, where the bytes that
    // happen to form UTF-8 sequences are few beside the ones that do not, reads as before.
    // A byte-order mark says UTF-8 whatever the counts.
    MixedDecoding mixed = decodeMixed(body);
    if (body.size() != bytes.size() || mixed.sequences >= mixed.strayBytes)
        return std::move(mixed.text);
    return decodeCp1252(bytes);
}

QByteArray encodeSettings(const QString& text)
{
    return text.toUtf8();
}

QString withLineBreaks(const QString& text, QStringView lineBreak)
{
    const QStringView source(text);
    QString result;
    qsizetype start = 0;
    for (qsizetype i = 0; i < source.size(); ++i) {
        const QChar c = source[i];
        if (c != u'\r' && c != u'\n')
            continue;
        result += source.sliced(start, i - start);
        result += lineBreak;
        if (c == u'\r' && i + 1 < source.size() && source[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start == 0)
        return text;  // no break at all: share the data instead of copying it
    result += source.sliced(start);
    return result;
}

}  // namespace velloran::session
