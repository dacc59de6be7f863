#pragma once

#include <QByteArray>

#include <array>

namespace velloran::bench {

enum class ScriptSize { TenLines, OneMb, TenMb, FourHundredLines, LongLine };
inline constexpr std::array<ScriptSize, 3> kAllSizes {ScriptSize::TenLines, ScriptSize::OneMb,
                                                      ScriptSize::TenMb};

// The whole-script option's comparison: a 400-line script, and 10 MB.
inline constexpr std::array<ScriptSize, 2> kWholeScriptSizes {ScriptSize::FourHundredLines,
                                                              ScriptSize::TenMb};

// A pasted text with no line break: one line of 1,000,000 characters, words and spaces.
inline constexpr qsizetype kLongLineCharacters = 1'000'000;

// Short tag used in benchmark names and on the command line: lines10, mb1, mb10, lines400, line1m.
const char* sizeTag(ScriptSize size);
// Heading used in the table: "10 lines", "1 MB", "10 MB".
const char* sizeHeading(ScriptSize size);
bool sizeFromTag(const QByteArray& tag, ScriptSize* size);

// A script as a file holds it: lines of about 50 characters joined by CR LF and no double quote.
// The same bytes on every run, so figures from different runs compare. Made anew on each call
// and kept by no one, so a memory probe does not count it.
QByteArray scriptBytes(ScriptSize size);
// The same kind of script with a quoted phrase in about one line in twenty, which a save strips.
QByteArray quotedScriptBytes(ScriptSize size);
// Settings.ini as the program writes it, with this script and every other field at its default.
QByteArray settingsWithScript(const QByteArray& script);

}  // namespace velloran::bench
