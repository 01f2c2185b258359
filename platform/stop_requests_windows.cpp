// Requests from the console (Ctrl+C, Ctrl+Break, the console closed, the session ending) that
// would end the program in the middle of a run are turned into a flag that the run's progress
// path reads. The system calls the handler on a thread of its own; it only stores the flag.
#include <windows.h>

#include <atomic>

#include "platform/platform.h"

namespace platform {
namespace {

std::atomic<bool> stopArrived{false};

BOOL WINAPI RecordStop(DWORD) {
    stopArrived.store(true, std::memory_order_relaxed);
    // Handled: the run stops at its next step and the window closes, rather than the system
    // ending the program on the spot.
    return TRUE;
}

}  // namespace

// Windows has no file size limit that ends a program, so only the console's requests are taken.
StopRequests::StopRequests() {
    stopArrived.store(false);
    SetConsoleCtrlHandler(RecordStop, TRUE);
}

StopRequests::~StopRequests() {
    SetConsoleCtrlHandler(RecordStop, FALSE);
    stopArrived.store(false);
}

bool StopRequests::Arrived() { return stopArrived.load(std::memory_order_relaxed); }

}  // namespace platform
