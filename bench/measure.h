// Timing helpers for the benchmark: repeated runs summed up by their median, and other
// programs run as child processes.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace bench {

double Seconds(const std::function<void()>& work);
double Median(std::vector<double> values);

// Runs a program found on PATH with these arguments and waits; throws unless it exits with 0.
void RunProgram(const std::vector<std::string>& arguments);

// Peak resident memory, in MiB, of this process and of the largest child it has waited for.
double PeakMemoryOfSelf();
double PeakMemoryOfChildren();

}  // namespace bench
