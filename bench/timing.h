// Timing helpers for the benchmarks (Linux and Windows): a run's seconds, and repeated runs
// summed up by their median.
#pragma once

#include <functional>
#include <vector>

namespace bench {

double Seconds(const std::function<void()>& work);
double Median(std::vector<double> values);

}  // namespace bench
