#include "measure.h"

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>

#include <cerrno>
#include <stdexcept>
#include <system_error>

extern char** environ;

namespace bench {

namespace {
double ThreadClock() {
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}
}  // namespace

double ThreadSeconds(const std::function<void()>& work) {
    const double start = ThreadClock();
    work();
    return ThreadClock() - start;
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
