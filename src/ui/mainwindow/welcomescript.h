#pragma once

#include <QString>

namespace velloran::ui {

// The built-in welcome script: the text the script area starts with when no saved state is
// restored. A short user guide in seven sections, 369 lines joined with CR LF, with no line
// break after the last line. It is data/welcome.txt, compiled in as a resource.
QString welcomeScript();

}  // namespace velloran::ui
