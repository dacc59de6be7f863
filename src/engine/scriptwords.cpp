#include "engine/scriptwords.h"

#include <algorithm>
#include <array>

namespace velloran::engine {

namespace {

constexpr std::array<const char*, 20> kOnes = {"zero",    "one",     "two",       "three",    "four",
                                               "five",    "six",     "seven",     "eight",    "nine",
                                               "ten",     "eleven",  "twelve",    "thirteen", "fourteen",
                                               "fifteen", "sixteen", "seventeen", "eighteen", "nineteen"};
constexpr std::array<const char*, 10> kTens = {"",      "",      "twenty",  "thirty", "forty",
                                               "fifty", "sixty", "seventy", "eighty", "ninety"};
struct Scale {
    unsigned long long value;
    const char* name;
};
constexpr std::array<Scale, 4> kScales = {{{1000000000000ULL, "trillion"},
                                           {1000000000ULL, "billion"},
                                           {1000000ULL, "million"},
                                           {1000ULL, "thousand"}}};
// Beyond this a number is read digit by digit, as people read long codes.
constexpr unsigned long long kLargestSpoken = 999999999999999ULL;

bool isApostrophe(char16_t c)
{
    return c == u'\'' || c == u'\u2019' || c == u'\u2018' || c == u'\u02bc';
}

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// Letters of any script; what is not plainly punctuation, a symbol or a space counts as one.
bool isLetter(char16_t c)
{
    if (c < 0x80)
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
    if (c < 0xc0)
        return c == 0xaa || c == 0xb5 || c == 0xba;
    if (c == 0xd7 || c == 0xf7)
        return false;
    if ((c >= 0x2000 && c <= 0x2bff) || (c >= 0x3000 && c <= 0x303f) || (c >= 0xe000 && c <= 0xf8ff) ||
        (c >= 0xfe30 && c <= 0xfe4f) || (c >= 0xff00 && c <= 0xff0f) || c == 0xfeff)
        return false;
    return true;
}

char16_t lowered(char16_t c)
{
    if (c >= u'A' && c <= u'Z')
        return char16_t(c + 32);
    if ((c >= 0xc0 && c <= 0xde && c != 0xd7) || (c >= 0x391 && c <= 0x3a9) || (c >= 0x410 && c <= 0x42f))
        return char16_t(c + 32);
    if (c >= 0x400 && c <= 0x40f)
        return char16_t(c + 80);
    return c;
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xc0 | (c >> 6));
        out += char(0x80 | (c & 0x3f));
    } else if (c < 0x10000) {
        out += char(0xe0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3f));
        out += char(0x80 | (c & 0x3f));
    } else {
        out += char(0xf0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3f));
        out += char(0x80 | ((c >> 6) & 0x3f));
        out += char(0x80 | (c & 0x3f));
    }
}

// Letters of one word, lowered, with apostrophes as "'"; a lone surrogate becomes U+FFFD.
std::string utf8Word(std::u16string_view letters)
{
    std::string out;
    for (std::size_t i = 0; i < letters.size(); ++i) {
        const char16_t c = letters[i];
        if (isApostrophe(c)) {
            out += '\'';
        } else if (c >= 0xd800 && c <= 0xdbff && i + 1 < letters.size() && letters[i + 1] >= 0xdc00 &&
                   letters[i + 1] <= 0xdfff) {
            appendUtf8(out, 0x10000 + ((char32_t(c) - 0xd800) << 10) + (letters[i + 1] - 0xdc00));
            ++i;
        } else if (c >= 0xd800 && c <= 0xdfff) {
            appendUtf8(out, 0xfffd);
        } else {
            appendUtf8(out, lowered(c));
        }
    }
    return out;
}

void appendBelowThousand(std::vector<std::string>& out, unsigned value)
{
    if (value >= 100) {
        out.emplace_back(kOnes[value / 100]);
        out.emplace_back("hundred");
        value %= 100;
        if (value == 0)
            return;
    }
    if (value < 20) {
        out.emplace_back(kOnes[value]);
        return;
    }
    out.emplace_back(kTens[value / 10]);
    if (value % 10)
        out.emplace_back(kOnes[value % 10]);
}

void appendDigits(std::vector<std::string>& out, std::u16string_view digits)
{
    for (char16_t d : digits)
        out.emplace_back(kOnes[d - u'0']);
}

std::string ordinalOf(const std::string& word)
{
    static const std::pair<const char*, const char*> irregular[] = {
        {"one", "first"},    {"two", "second"}, {"three", "third"},   {"five", "fifth"},
        {"eight", "eighth"}, {"nine", "ninth"}, {"twelve", "twelfth"}};
    for (const auto& [cardinal, ordinal] : irregular) {
        if (word == cardinal)
            return ordinal;
    }
    if (word.ends_with('y'))
        return word.substr(0, word.size() - 1) + "ieth";
    return word + "th";
}

std::string pluralOf(const std::string& word)
{
    if (word.ends_with('y'))
        return word.substr(0, word.size() - 1) + "ies";
    if (word.ends_with('x'))
        return word + "es";
    return word + "s";
}

// The spoken words of a run of digits with its inner separators: "1,000", "3.14", "10:30", "007".
std::vector<std::string> spokenNumber(std::u16string_view number, bool yearLike)
{
    std::vector<std::string> out;
    const std::size_t colon = number.find(u':');
    if (colon != std::u16string_view::npos) {
        const auto hours = spokenNumber(number.substr(0, colon), false);
        out.insert(out.end(), hours.begin(), hours.end());
        const std::u16string_view minutes = number.substr(colon + 1);
        if (minutes == u"00") {
            out.emplace_back("o'clock");
        } else {
            const bool oh = minutes.size() == 2 && minutes[0] == u'0';
            if (oh)
                out.emplace_back("oh");
            const auto rest = spokenNumber(oh ? minutes.substr(1) : minutes, false);
            out.insert(out.end(), rest.begin(), rest.end());
        }
        return out;
    }
    const std::size_t point = number.find(u'.');
    std::u16string whole;
    for (char16_t c : number.substr(0, point)) {
        if (isDigit(c))
            whole += c;
    }
    if (whole.empty()) {
        out.emplace_back("zero");
    } else if ((whole.size() > 1 && whole[0] == u'0') || whole.size() > 15) {
        appendDigits(out, whole);
    } else {
        unsigned long long value = 0;
        for (char16_t c : whole)
            value = value * 10 + unsigned(c - u'0');
        const auto words = numberWords(value, yearLike && whole.size() == 4);
        out.insert(out.end(), words.begin(), words.end());
    }
    if (point != std::u16string_view::npos) {
        out.emplace_back("point");
        appendDigits(out, number.substr(point + 1));
    }
    return out;
}

bool isNumberPart(std::u16string_view text, std::size_t i)
{
    const char16_t c = text[i];
    if (isDigit(c))
        return true;
    // A separator only between digits: "1,000", "3.5", "10:30".
    return (c == u',' || c == u'.' || c == u':') && i > 0 && isDigit(text[i - 1]) && i + 1 < text.size() &&
           isDigit(text[i + 1]);
}

// The end of the token that starts at `begin`: letters, digits with their separators, and
// apostrophes between letters.
std::size_t tokenEnd(std::u16string_view text, std::size_t begin)
{
    std::size_t i = begin;
    while (i < text.size()) {
        const char16_t c = text[i];
        if (isLetter(c) || isNumberPart(text, i)) {
            ++i;
        } else if (isApostrophe(c) && i > begin && isLetter(text[i - 1]) && i + 1 < text.size() &&
                   isLetter(text[i + 1])) {
            ++i;
        } else {
            break;
        }
    }
    return i;
}

bool lowerEquals(std::u16string_view text, const char16_t* expected)
{
    std::size_t i = 0;
    for (; expected[i]; ++i) {
        if (i >= text.size() || lowered(text[i]) != expected[i])
            return false;
    }
    return i == text.size();
}

// True when what follows the token, up to the next token, ends a sentence.
bool endsSentence(std::u16string_view text, std::size_t from)
{
    int newlines = 0;
    for (std::size_t i = from; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (isLetter(c) || isDigit(c))
            return false;
        if (c == u'.' || c == u'!' || c == u'?' || c == u'\u2026')
            return true;
        if (c == u'\n' && ++newlines == 2)
            return true;
    }
    return true;
}

}  // namespace

std::vector<std::string> numberWords(unsigned long long value, bool asYear)
{
    std::vector<std::string> out;
    if (asYear && value >= 1100 && value <= 2099 && !(value >= 2000 && value <= 2009)) {
        appendBelowThousand(out, unsigned(value / 100));
        const unsigned low = unsigned(value % 100);
        if (low == 0) {
            out.emplace_back("hundred");
        } else {
            if (low < 10)
                out.emplace_back("oh");
            appendBelowThousand(out, low);
        }
        return out;
    }
    if (value > kLargestSpoken) {
        for (char c : std::to_string(value))
            out.emplace_back(kOnes[c - '0']);
        return out;
    }
    if (value == 0) {
        out.emplace_back("zero");
        return out;
    }
    for (const Scale& scale : kScales) {
        if (value >= scale.value) {
            appendBelowThousand(out, unsigned(value / scale.value));
            out.emplace_back(scale.name);
            value %= scale.value;
        }
    }
    if (value)
        appendBelowThousand(out, unsigned(value));
    return out;
}

std::vector<ScriptWord> splitScriptWords(std::u16string_view text)
{
    std::vector<ScriptWord> words;
    std::size_t i = 0;
    while (i < text.size()) {
        if (!isLetter(text[i]) && !isDigit(text[i])) {
            ++i;
            continue;
        }
        const std::size_t begin = i;
        const std::size_t end = tokenEnd(text, begin);
        const std::size_t before = words.size();
        auto add = [&](std::string word) { words.push_back({std::move(word), begin, end - begin, false}); };
        // Pieces of letters and of numbers, in order: "mp3" is "mp" and "three".
        std::size_t piece = begin;
        while (piece < end) {
            std::size_t pieceEnd = piece;
            if (isDigit(text[piece])) {
                while (pieceEnd < end && isNumberPart(text, pieceEnd))
                    ++pieceEnd;
                const std::u16string_view number = text.substr(piece, pieceEnd - piece);
                std::size_t suffixEnd = pieceEnd;
                while (suffixEnd < end && isLetter(text[suffixEnd]))
                    ++suffixEnd;
                const std::u16string_view suffix = text.substr(pieceEnd, suffixEnd - pieceEnd);
                const bool ordinal = lowerEquals(suffix, u"st") || lowerEquals(suffix, u"nd") ||
                                     lowerEquals(suffix, u"rd") || lowerEquals(suffix, u"th");
                const bool plural = lowerEquals(suffix, u"s");
                const bool money = begin > 0 && (text[begin - 1] == u'$' || text[begin - 1] == u'\u00a3' ||
                                                 text[begin - 1] == u'\u20ac');
                const bool yearLike = !money && number.find_first_of(u",.:") == std::u16string_view::npos;
                auto spoken = spokenNumber(number, yearLike);
                if (ordinal)
                    spoken.back() = ordinalOf(spoken.back());
                else if (plural)
                    spoken.back() = pluralOf(spoken.back());
                for (auto& word : spoken)
                    add(std::move(word));
                if (money)
                    add(text[begin - 1] == u'$'        ? "dollars"
                        : text[begin - 1] == u'\u00a3' ? "pounds"
                                                       : "euros");
                if (end < text.size() && text[end] == u'%' && suffixEnd == end)
                    add("percent");
                pieceEnd = (ordinal || plural) ? suffixEnd : pieceEnd;
            } else {
                while (pieceEnd < end && !isDigit(text[pieceEnd]))
                    ++pieceEnd;
                add(utf8Word(text.substr(piece, pieceEnd - piece)));
            }
            piece = pieceEnd;
        }
        if (words.size() > before && endsSentence(text, end))
            words.back().sentenceEnd = true;
        i = end;
    }
    return words;
}

std::string normalisedWord(std::string_view word)
{
    // Silence, breath and noise: "<sil>", "[NOISE]", "++breath++".
    if (word.empty() || word.front() == '<' || word.front() == '[' || word.front() == '+')
        return {};
    // Alternative pronunciations carry their number: "read(2)".
    if (word.ends_with(')')) {
        const std::size_t open = word.rfind('(');
        if (open != std::string_view::npos && open > 0)
            word = word.substr(0, open);
    }
    std::string out;
    bool letter = false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(word[i]);
        if (c == 0xe2 && word.substr(i, 3) == "\xe2\x80\x99") {
            out += '\'';
            i += 2;
        } else if (c >= 'A' && c <= 'Z') {
            out += char(c + 32);
            letter = true;
        } else {
            out += char(c);
            letter = letter || (c >= 'a' && c <= 'z') || c >= 0x80;
        }
    }
    return letter ? out : std::string();
}

std::size_t wordAtOffset(const std::vector<ScriptWord>& words, std::size_t offset)
{
    if (words.empty())
        return 0;
    const auto it =
        std::upper_bound(words.begin(), words.end(), offset, [](std::size_t at, const ScriptWord& word) {
            return at < word.offset + word.length;
        });
    return it == words.end() ? words.size() - 1 : std::size_t(it - words.begin());
}

}  // namespace velloran::engine
