#pragma once

namespace velloran::bench {

// The whole set: every benchmark as the median of several repetitions, every probe in processes
// of its own, printed as one markdown table with the budgets beside the figures.
int runTable(int argc, char** argv);

// Every benchmark of the 10-line script once with a tiny iteration count, the probes briefly,
// and checks that the measured work really happens (a tick paints, a key reaches the counter).
// Fails only on a fault, never on a time.
int runSmoke(int argc, char** argv);

}  // namespace velloran::bench
