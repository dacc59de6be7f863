#include "session/textlimit.h"

#include <QLocale>

namespace velloran::session {

namespace {

QString number(qint64 value)
{
    return QLocale(QLocale::English).toString(value);
}

QString limit()
{
    return QStringLiteral("a script can hold at most ") + number(kMaxScriptCharacters) +
           QStringLiteral(" characters.");
}

}  // namespace

qint64 scriptCharacters(QStringView text)
{
    qint64 count = text.size();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\n' && (i == 0 || text[i - 1] != u'\r'))
            ++count;  // a lone LF stands for CR LF
        else if (c == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n'))
            ++count;  // so does a lone CR
    }
    return count;
}

QString fileTooBig(const QString& fileName, qint64 bytes)
{
    return u'"' + fileName + QStringLiteral("\" was not loaded: it is ") + number(bytes) +
           QStringLiteral(" bytes, more than any script can hold; ") + limit();
}

QString fileTooLong(const QString& fileName, qint64 characters)
{
    return u'"' + fileName + QStringLiteral("\" was not loaded: it holds ") + number(characters) +
           QStringLiteral(" characters, and ") + limit();
}

QString clipboardTooLong(qint64 characters)
{
    return QStringLiteral("The clipboard was not loaded: it holds ") + number(characters) +
           QStringLiteral(" characters, and ") + limit();
}

QString entryTooLong(qint64 characters)
{
    return QStringLiteral("Not added: the script would hold ") + number(characters) +
           QStringLiteral(" characters, and ") + limit();
}

}  // namespace velloran::session
