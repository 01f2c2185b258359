// How much of its core this thread has: on a machine that shares each core between two
// hardware threads, a busy neighbour on the other one takes part of the core's issue width
// but none of its latency, so every throughput-bound loop slows while a chain of dependent
// instructions does not. The benchmarks print it beside their ratios, so that a run on a
// shared core can be told from one on a core of its own.
#pragma once

namespace bench {

// Prints the independent additions the core completes a cycle, the cycle being timed as one
// dependent addition: 5.2 on a core of its own on the machine measured so far, 4.5 to 5.0 on a
// shared one. Prints nothing where the probe is not built (it is written for x86-64).
void PrintCoreShare();

}  // namespace bench
