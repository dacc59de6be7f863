#include "session/textcodec.h"

#include <QStringDecoder>

#include <array>

namespace velloran::session {

namespace {

// Windows-1252 for 0x80..0x9F; the five bytes it leaves undefined map to the C1 control of the
// same value so that they are kept. Every other byte is the Latin-1 character of the same value.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString decodeCp1252(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = (byte >= 0x80 && byte < 0xA0) ? QChar(kCp1252High[byte - 0x80]) : QChar(char16_t(byte));
    }
    return text;
}

// Stateless so that a sequence cut off at the end counts as an error; the mark is handled by the
// caller, so a second one is kept as a character.
constexpr auto kDecoderFlags = QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;

}  // namespace

QString decodeText(const QByteArray& bytes)
{
    if (bytes.startsWith("\xFF\xFE")) {
        QStringDecoder decoder(QStringConverter::Utf16LE, kDecoderFlags);
        return decoder.decode(QByteArrayView(bytes).sliced(2));
    }
    if (bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(QStringConverter::Utf16BE, kDecoderFlags);
        return decoder.decode(QByteArrayView(bytes).sliced(2));
    }
    const QByteArrayView body = bytes.startsWith("\xEF\xBB\xBF") ? QByteArrayView(bytes).sliced(3)
                                                                 : QByteArrayView(bytes);
    QStringDecoder utf8(QStringConverter::Utf8, kDecoderFlags);
    QString text = utf8.decode(body);
    if (!utf8.hasError())
        return text;
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
