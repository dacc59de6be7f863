#include "session/settingsrecord.h"

#include "engine/numberformat.h"
#include "session/textcodec.h"

#include <algorithm>

namespace velloran::session {

namespace {

constexpr QChar kQuote = u'"';

QString single(float value)
{
    return QString::fromStdString(engine::formatGeneral(value));
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool isDelimiter(QChar c)
{
    return c == u',' || c == u'\r' || c == u'\n';
}

bool allDigits(QStringView text)
{
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() >= u'0' && c.unicode() <= u'9'; });
}

// Walks the fields of the record; the position only ever moves forward, which keeps reading
// linear however long the script is.
class FieldScanner {
public:
    explicit FieldScanner(QStringView text) : m_text(text) { }

    std::optional<Field> next()
    {
        while (m_pos < m_text.size() && isBlank(m_text[m_pos]))
            ++m_pos;
        if (m_pos >= m_text.size())
            return std::nullopt;

        Field field;
        if (m_text[m_pos] == kQuote) {
            const qsizetype close = m_text.indexOf(kQuote, m_pos + 1);
            if (close < 0)
                return std::nullopt;
            field.kind = Field::Kind::Text;
            field.text = m_text.sliced(m_pos + 1, close - m_pos - 1).toString();
            m_pos = close + 1;
            skipToDelimiter();  // whatever stands between the closing quote and the delimiter
            consumeDelimiter();
            return field;
        }

        const qsizetype start = m_pos;
        skipToDelimiter();
        QStringView raw = m_text.sliced(start, m_pos - start);
        while (!raw.isEmpty() && isBlank(raw.back()))
            raw.chop(1);
        consumeDelimiter();
        if (!raw.isEmpty()) {
            field.kind = isDecimalNumber(raw) ? Field::Kind::Number : Field::Kind::Text;
            field.text = raw.toString();
        }
        return field;
    }

private:
    void skipToDelimiter()
    {
        while (m_pos < m_text.size() && !isDelimiter(m_text[m_pos]))
            ++m_pos;
    }

    void consumeDelimiter()  // a comma, CR, LF or CR LF; nothing at the end of the text
    {
        if (m_pos >= m_text.size())
            return;
        const bool carriageReturn = m_text[m_pos] == u'\r';
        ++m_pos;
        if (carriageReturn && m_pos < m_text.size() && m_text[m_pos] == u'\n')
            ++m_pos;
    }

    QStringView m_text;
    qsizetype m_pos = 0;
};

}  // namespace

namespace {

// The typographic quote for the straight one at `i`, from its neighbours.
QChar quoteAt(QStringView text, qsizetype i)
{
    return typographicQuote(i > 0 ? text[i - 1] : QChar(), i + 1 < text.size() ? text[i + 1] : QChar());
}

// Appends the script as UTF-8 with typographic quotes and with every line break as CR LF,
// a piece at a time, so a long script is never held again as a whole in between.
void appendScript(QByteArray& out, QStringView script)
{
    constexpr qsizetype kPiece = 64 * 1024;
    QString piece;
    piece.reserve(kPiece + 2);
    for (qsizetype i = 0; i < script.size(); ++i) {
        const QChar c = script[i];
        if (c == kQuote) {
            piece += quoteAt(script, i);
        } else if (c == u'\r' || c == u'\n') {
            piece += u"\r\n";
            if (c == u'\r' && i + 1 < script.size() && script[i + 1] == u'\n')
                ++i;
        } else if (c.isHighSurrogate() && i + 1 < script.size()) {
            piece += c;  // keep a pair together in one piece
            piece += script[++i];
        } else {
            piece += c;
        }
        if (piece.size() >= kPiece) {
            out += piece.toUtf8();
            piece.clear();
        }
    }
    out += piece.toUtf8();
}

}  // namespace

QByteArray writeRecord(const SettingsRecord& record)
{
    const QString head =
        QString::number(record.speed) % u',' % QString::number(record.frequency) % u',' %
        single(record.fontSize) % u',' %
        QString::fromStdString(engine::formatPosition(record.position, record.exactPosition)) % u',' %
        kQuote % cleanText(record.backupPath, kQuote) % kQuote % u',' % QString::number(record.minutes) %
        u',' % QString::number(record.seconds) % u',' % kQuote;
    QByteArray out = encodeSettings(head);
    // UTF-8 takes at least a byte per character; the reserve spares regrowth for ASCII scripts.
    out.reserve(out.size() + record.script.size() + record.script.size() / 16 + 8);
    appendScript(out, record.script);
    out += "\"\r\n";
    return out;
}

bool isDecimalNumber(QStringView text)
{
    if (text.startsWith(u'-'))
        text = text.sliced(1);
    const qsizetype dot = text.indexOf(u'.');
    if (dot < 0)
        return !text.isEmpty() && allDigits(text);
    const QStringView fraction = text.sliced(dot + 1);
    return !fraction.isEmpty() && allDigits(text.first(dot)) && allDigits(fraction);
}

std::optional<std::array<Field, 8>> readFields(const QString& decoded)
{
    FieldScanner scanner(decoded);
    std::array<Field, 8> fields;
    for (Field& field : fields) {
        auto next = scanner.next();
        if (!next)
            return std::nullopt;
        field = std::move(*next);
    }
    return fields;
}

QString cleanText(const QString& text, QChar ch)
{
    // One pass that keeps the other characters; Qt 6.4's QString::remove(QChar) is quadratic here.
    QString copy(text.size(), Qt::Uninitialized);
    QChar* out = copy.data();
    for (const QChar c : text)
        if (c != ch)
            *out++ = c;
    copy.truncate(out - copy.constData());
    return copy;
}

QChar typographicQuote(QChar before, QChar after)
{
    // A word starts after the start of the text, a blank or a line break, or an opening bracket,
    // dash or quote, and only where something other than a blank follows.
    static const QString opensAfter = QStringLiteral("([{<\u2018\u201C\u2013\u2014-/");
    const bool wordStarts = before.isNull() || before.isSpace() || opensAfter.contains(before);
    const bool wordFollows = !after.isNull() && !after.isSpace();
    return wordStarts && wordFollows ? QChar(0x201C) : QChar(0x201D);
}

QString typographicQuotes(const QString& text)
{
    QString replaced = text;
    QChar* out = replaced.data();
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] == kQuote)
            out[i] = quoteAt(text, i);
    return replaced;
}

}  // namespace velloran::session
