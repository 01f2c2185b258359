#include "measure.h"

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <stdexcept>
#include <system_error>

extern char** environ;

namespace bench {

double Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void RunProgram(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t child;
    const int failed = posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ);
    if (failed != 0) {
        throw std::system_error(failed, std::generic_category(), "Cannot start " + arguments[0]);
    }
    int status;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            throw std::system_error(errno, std::generic_category(),
                                    "Cannot wait for " + arguments[0]);
        }
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error(arguments[0] + " failed");
    }
}

namespace {
double PeakMemoryOf(int who) {
    rusage usage;
    getrusage(who, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // Linux reports KiB
}
}  // namespace

double PeakMemoryOfSelf() { return PeakMemoryOf(RUSAGE_SELF); }
double PeakMemoryOfChildren() { return PeakMemoryOf(RUSAGE_CHILDREN); }

}  // namespace bench
