#pragma once

#include <QString>

#include <optional>

namespace velloran::ui {

class Notice;

// A script brought in from a file (TextFinder, drop, backup), or nothing. A file that cannot be
// read leaves no word; one beyond the script size limit is refused with a notice that says why.
std::optional<QString> scriptFromFile(const QString& path, Notice& notice);

// The clipboard's text as a script (Insert), or nothing when it cannot be read or is beyond the
// limit, which the notice then says.
std::optional<QString> scriptFromClipboard(const std::optional<QString>& clipboard, Notice& notice);

}  // namespace velloran::ui
