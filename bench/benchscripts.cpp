#include "benchscripts.h"

#include <QString>

#include <cstdint>

#include "session/settingsrecord.h"
#include "session/textcodec.h"

namespace velloran::bench {

namespace {

constexpr std::array<const char*, 24> kWords {"the",    "script", "scrolls", "up",     "while",  "you",
                                              "read",   "it",     "aloud",   "to",     "camera", "and",
                                              "keep",   "your",   "eyes",    "at",     "one",    "height",
                                              "steady", "pace",   "before",  "people", "every",  "evening"};

// A fixed linear congruential sequence: no seeding from the clock, so the text never changes.
class Sequence {
public:
    std::uint32_t next(std::uint32_t bound)
    {
        m_state = m_state * 1664525u + 1013904223u;
        return (m_state >> 8) % bound;
    }

private:
    std::uint32_t m_state = 12345;
};

QByteArray makeScript(qsizetype targetBytes, int maxLines, bool quoted)
{
    QByteArray text;
    text.reserve(targetBytes + 64);
    Sequence random;
    for (int line = 0; line < maxLines && text.size() < targetBytes; ++line) {
        if (line > 0)
            text += "\r\n";
        const qsizetype lineStart = text.size();
        const auto length = static_cast<qsizetype>(44 + random.next(13));
        const bool quoteThisLine = quoted && line % 20 == 7;
        int word = 0;
        while (text.size() - lineStart < length) {
            if (word > 0)
                text += ' ';
            const bool quoteWord = quoteThisLine && (word == 2 || word == 4);
            if (quoteWord && word == 2)
                text += '"';
            text += kWords[random.next(kWords.size())];
            if (quoteWord && word == 4)
                text += '"';
            ++word;
        }
    }
    return text;
}

constexpr qsizetype kMegabyte = 1024 * 1024;

QByteArray longLine()
{
    QByteArray text;
    text.reserve(kLongLineCharacters + 16);
    Sequence random;
    while (text.size() < kLongLineCharacters) {
        text += kWords[random.next(kWords.size())];
        text += ' ';
    }
    text.truncate(kLongLineCharacters);
    return text;
}

QByteArray generate(ScriptSize size, bool quoted)
{
    switch (size) {
    case ScriptSize::TenLines: return makeScript(kMegabyte, 10, quoted);
    case ScriptSize::OneMb: return makeScript(kMegabyte, 1 << 30, quoted);
    case ScriptSize::TenMb: return makeScript(10 * kMegabyte, 1 << 30, quoted);
    case ScriptSize::FourHundredLines: return makeScript(kMegabyte, 400, quoted);
    case ScriptSize::LongLine: return longLine();
    }
    return {};
}

}  // namespace

const char* sizeTag(ScriptSize size)
{
    switch (size) {
    case ScriptSize::TenLines: return "lines10";
    case ScriptSize::OneMb: return "mb1";
    case ScriptSize::TenMb: return "mb10";
    case ScriptSize::FourHundredLines: return "lines400";
    case ScriptSize::LongLine: return "line1m";
    }
    return "";
}

const char* sizeHeading(ScriptSize size)
{
    switch (size) {
    case ScriptSize::TenLines: return "10 lines";
    case ScriptSize::OneMb: return "1 MB";
    case ScriptSize::TenMb: return "10 MB";
    case ScriptSize::FourHundredLines: return "400 lines";
    case ScriptSize::LongLine: return "one 1,000,000-character line";
    }
    return "";
}

bool sizeFromTag(const QByteArray& tag, ScriptSize* size)
{
    for (const ScriptSize candidate : {ScriptSize::TenLines, ScriptSize::OneMb, ScriptSize::TenMb,
                                       ScriptSize::FourHundredLines, ScriptSize::LongLine}) {
        if (tag == sizeTag(candidate)) {
            *size = candidate;
            return true;
        }
    }
    return false;
}

QByteArray scriptBytes(ScriptSize size)
{
    return generate(size, false);
}

QByteArray quotedScriptBytes(ScriptSize size)
{
    return generate(size, true);
}

QByteArray settingsWithScript(const QByteArray& script)
{
    session::SettingsRecord record;
    record.script = session::decodeText(script);
    return session::writeRecord(record);
}

}  // namespace velloran::bench
