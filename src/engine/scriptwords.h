#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velloran::engine {

// One spoken word of the script, in the form a recogniser's dictionary uses, and the written
// token it stands for. A number is spoken as several words that all point at its token.
struct ScriptWord {
    std::string word;          // lower case UTF-8, apostrophes inside kept as "'" ("don't")
    std::size_t offset = 0;    // of the token, in UTF-16 code units of the text
    std::size_t length = 0;    // of the token, in UTF-16 code units
    bool sentenceEnd = false;  // the last word before ". ! ?", a blank line or the end

    bool operator==(const ScriptWord&) const = default;
};

// The words of a script as a reader says them: letters and apostrophes make words, hyphens and
// other punctuation separate them, digits are spelled out ("1984" as a year, "3.5", "21st",
// "10:30", "50%").
std::vector<ScriptWord> splitScriptWords(std::u16string_view text);

// A single word as the recogniser writes it, in the same form ("Don’t" -> "don't", "read(2)" ->
// "read"); "" for silence and noise ("<sil>", "[NOISE]") and when it holds no letter.
std::string normalisedWord(std::string_view word);

// The spoken form of a whole number ("one hundred five", "twenty one"); year reading for the
// years people say in pairs ("nineteen eighty four", "two thousand five").
std::vector<std::string> numberWords(unsigned long long value, bool asYear = false);

// The index of the first word whose token ends after the offset (the word at or after it), the
// last word for an offset past the end; 0 for no words.
std::size_t wordAtOffset(const std::vector<ScriptWord>& words, std::size_t offset);

}  // namespace velloran::engine
