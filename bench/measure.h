// Measuring helpers for the benchmark on Linux: other programs run as child processes, the
// processor time of a run, and peak memory.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "timing.h"

namespace bench {

// The processor time this thread spends on work, in seconds: unlike Seconds, it leaves out the
// time the machine gives to other processes meanwhile.
double ThreadSeconds(const std::function<void()>& work);

// Runs a program found on PATH with these arguments and waits; throws unless it exits with 0.
void RunProgram(const std::vector<std::string>& arguments);

// Wall-clock seconds, and the processor seconds the process spent in them (all its threads,
// user and system): on a machine that others share the second is what a run itself costs.
struct Timing {
    double wall = 0;
    double processor = 0;
};
Timing Time(const std::function<void()>& work);
// The median of each of the two, taken apart.
Timing Median(const std::vector<Timing>& timings);

// A child run with its standard output thrown away, from its start to its exit; the processor
// time is the child's own.
Timing TimeQuietly(const std::vector<std::string>& arguments);
// Runs a program and returns what it wrote to its standard output.
std::string OutputOf(const std::vector<std::string>& arguments);
// The peak resident memory, in MiB, of the program running in this process since it was
// started (a child's usage would also count the memory of the process it was started from).
double PeakMemoryOfThisProgram();

// A folder of its own under parent, removed with everything in it at the end.
class WorkFolder {
public:
    explicit WorkFolder(const std::filesystem::path& parent);
    ~WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Peak resident memory, in MiB, of this process and of the largest child it has waited for.
double PeakMemoryOfSelf();
double PeakMemoryOfChildren();

}  // namespace bench
