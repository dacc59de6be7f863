#pragma once

#include <QString>

#include "benchscripts.h"

namespace velloran::bench {

// Each probe is one mode of the program, run in a process of its own so that nothing measured
// before it weighs on its figures. Each prints one line of name=value pairs and returns the
// process exit code (non-zero only when the probe could not do its work).

// Start-up to the window shown with the script in Settings.ini (or with the given settings file
// when not empty); builds its own QApplication inside the measured time, so it must run before
// any exists.
int runStartupProbe(ScriptSize size, const QString& settingsFile, int& argc, char** argv);
// Peak resident memory (VmHWM) after start-up with the script (or the given settings file) and a
// spell of use.
int runMemoryProbe(ScriptSize size, const QString& settingsFile);
// tScroll at speed 10 for `seconds`, in the playing layout, painted by the event loop; with
// `recoveryEveryMs` above 0, the recovery copy of the whole state is written that often meanwhile.
int runTimingProbe(ScriptSize size, double seconds, int recoveryEveryMs);

}  // namespace velloran::bench
