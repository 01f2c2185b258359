// Stop requests from outside, each tried in a child process of its own, so that a request
// that still ended the program would end only the child.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "platform/platform.h"

namespace {

// Runs body in a child process; returns its wait status.
int InChild(const std::function<int()>& body) {
    const pid_t child = fork();
    if (child == 0) _exit(body());
    int status = 0;
    waitpid(child, &status, 0);
    return status;
}

bool ExitedWith(int status, int code) { return WIFEXITED(status) && WEXITSTATUS(status) == code; }

TEST(StopRequests, TerminateHangUpAndInterruptAreRecordedInsteadOfEndingTheProgram) {
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        const int status = InChild([signal] {
            const platform::StopRequests requests;
            if (platform::StopRequests::Arrived()) return 2;
            kill(getpid(), signal);
            return platform::StopRequests::Arrived() ? 0 : 3;
        });
        EXPECT_TRUE(ExitedWith(status, 0)) << strsignal(signal) << ": status " << status;
    }
}

TEST(StopRequests, OnlyWhileOneLivesAndNotForARequestIgnoredFromTheStart) {
    const int status = InChild([] {
        signal(SIGHUP, SIG_IGN);  // as nohup starts a program
        {
            const platform::StopRequests requests;
            kill(getpid(), SIGHUP);
            if (platform::StopRequests::Arrived()) return 2;
            kill(getpid(), SIGTERM);
            if (!platform::StopRequests::Arrived()) return 3;
        }
        if (platform::StopRequests::Arrived()) return 4;
        kill(getpid(), SIGHUP);   // still ignored once the object is gone
        kill(getpid(), SIGTERM);  // and this ends the program again
        return 5;
    });
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << "status " << status;
}

}  // namespace
