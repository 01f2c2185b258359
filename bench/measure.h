// Measuring helpers for the benchmark on Linux: other programs run as child processes, and
// peak memory.
#pragma once

#include <string>
#include <vector>

#include "timing.h"

namespace bench {

// The processor time this thread spends on work, in seconds: unlike Seconds, it leaves out the
// time the machine gives to other processes meanwhile.
double ThreadSeconds(const std::function<void()>& work);

// Runs a program found on PATH with these arguments and waits; throws unless it exits with 0.
void RunProgram(const std::vector<std::string>& arguments);

// Peak resident memory, in MiB, of this process and of the largest child it has waited for.
double PeakMemoryOfSelf();
double PeakMemoryOfChildren();

}  // namespace bench
