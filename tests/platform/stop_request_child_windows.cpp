// A process for the stop request tests: with "kept" it holds a StopRequests, without it the
// system's own handling stays. It sends its console Ctrl+C, then ends with 10 if the request
// was recorded within five seconds, 3 if not; a request that ends the program on the spot
// gives whatever code the system ends it with.
#include <windows.h>

#include <cstring>
#include <memory>

#include "platform/platform.h"

int main(int argc, char* argv[]) {
    if (argc < 2) return 2;
    std::unique_ptr<platform::StopRequests> requests;
    if (std::strcmp(argv[1], "kept") == 0) requests = std::make_unique<platform::StopRequests>();
    if (platform::StopRequests::Arrived()) return 4;
    if (!GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0)) return 5;
    for (int waited = 0; waited < 50 && !platform::StopRequests::Arrived(); ++waited) Sleep(100);
    return platform::StopRequests::Arrived() ? 10 : 3;
}
