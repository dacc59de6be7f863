#pragma once

#include "benchscripts.h"

namespace velloran::bench {

// Each probe is one mode of the program, run in a process of its own so that nothing measured
// before it weighs on its figures. Each prints one line of name=value pairs and returns the
// process exit code (non-zero only when the probe could not do its work).

// Start-up to the window shown with the script in Settings.ini; builds its own QApplication
// inside the measured time, so it must run before any exists.
int runStartupProbe(ScriptSize size, int& argc, char** argv);
// Peak resident memory (VmHWM) after start-up with the script and a spell of use.
int runMemoryProbe(ScriptSize size);
// tScroll at speed 10 for `seconds`, in the playing layout, painted by the event loop.
int runTimingProbe(ScriptSize size, double seconds);

}  // namespace velloran::bench
