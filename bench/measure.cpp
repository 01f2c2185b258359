#include "measure.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <fstream>
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

namespace {

double Seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

double ProcessorSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Where a child's standard output goes.
enum class Output { Inherited, Discarded, Captured };

// Starts the program and waits for it; the child's own usage. A captured output is read
// into *captured.
rusage Run(const std::vector<std::string>& arguments, Output output,
           std::string* captured = nullptr) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    int pipeEnds[2] = {-1, -1};
    if (output == Output::Captured && pipe2(pipeEnds, O_CLOEXEC) != 0) {
        throw std::system_error(errno, std::generic_category(), "Cannot make a pipe");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (output == Output::Discarded) {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    } else if (output == Output::Captured) {
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
    }
    pid_t child;
    const int failed = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (output == Output::Captured) {
        close(pipeEnds[1]);
        char buffer[4096];
        ssize_t got;
        while ((got = read(pipeEnds[0], buffer, sizeof buffer)) > 0 ||
               (got < 0 && errno == EINTR)) {
            if (got > 0) captured->append(buffer, static_cast<std::size_t>(got));
        }
        close(pipeEnds[0]);
    }
    if (failed != 0) {
        throw std::system_error(failed, std::generic_category(), "Cannot start " + arguments[0]);
    }
    int status;
    rusage usage{};
    while (wait4(child, &status, 0, &usage) < 0) {
        if (errno != EINTR) {
            throw std::system_error(errno, std::generic_category(),
                                    "Cannot wait for " + arguments[0]);
        }
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error(arguments[0] + " failed");
    }
    return usage;
}

}  // namespace

void RunProgram(const std::vector<std::string>& arguments) { Run(arguments, Output::Inherited); }

std::string OutputOf(const std::vector<std::string>& arguments) {
    std::string output;
    Run(arguments, Output::Captured, &output);
    return output;
}

double PeakMemoryOfThisProgram() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        // The high-water mark of this program's own memory, which unlike the process's
        // usage counts nothing from before it was started in it.
        if (line.starts_with("VmHWM:")) return std::stod(line.substr(6)) / 1024.0;
    }
    return 0;
}

Timing Time(const std::function<void()>& work) {
    const double processorStart = ProcessorSeconds();
    const double wall = Seconds(work);
    return {wall, ProcessorSeconds() - processorStart};
}

Timing Median(const std::vector<Timing>& timings) {
    std::vector<double> walls;
    std::vector<double> processors;
    for (const Timing& timing : timings) {
        walls.push_back(timing.wall);
        processors.push_back(timing.processor);
    }
    return {Median(walls), Median(processors)};
}

Timing TimeQuietly(const std::vector<std::string>& arguments) {
    rusage usage{};
    const double wall = Seconds([&] { usage = Run(arguments, Output::Discarded); });
    return {wall, Seconds(usage.ru_utime) + Seconds(usage.ru_stime)};
}

WorkFolder::WorkFolder(const std::filesystem::path& parent) {
    std::string pattern = (parent / "tessomar-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("Cannot create a folder in " + parent.string());
    }
    path_ = pattern;
}

WorkFolder::~WorkFolder() { std::filesystem::remove_all(path_); }

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
