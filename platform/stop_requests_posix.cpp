// Signals that would end the program in the middle of a run are turned into a flag that the
// run's progress path reads. The handler does nothing else: an atomic store is all that is
// safe to do in it.
#include <signal.h>

#include <atomic>
#include <iterator>

#include "platform/platform.h"

namespace platform {
namespace {

// A signal handler can reach only what is global; this flag and the saved actions are the
// state of the one StopRequests that main() creates.
std::atomic<bool> stopArrived{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the handler may only do a plain store");

constexpr int kStopSignals[] = {SIGTERM, SIGHUP, SIGINT};
struct sigaction savedStop[std::size(kStopSignals)];
struct sigaction savedFileSize;

void RecordStop(int) { stopArrived.store(true, std::memory_order_relaxed); }

}  // namespace

StopRequests::StopRequests() {
    stopArrived.store(false);
    struct sigaction record {};
    record.sa_handler = RecordStop;
    sigemptyset(&record.sa_mask);
    // Restarted, so that a request arriving during a read or a write does not fail it.
    record.sa_flags = SA_RESTART;
    for (std::size_t n = 0; n < std::size(kStopSignals); ++n) {
        sigaction(kStopSignals[n], nullptr, &savedStop[n]);
        if (savedStop[n].sa_handler != SIG_IGN) sigaction(kStopSignals[n], &record, nullptr);
    }
    // Ignored, the signal no longer ends the program, and the write past the limit fails
    // with EFBIG instead, which the run reports like any other failed write.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGXFSZ, &ignore, &savedFileSize);
}

StopRequests::~StopRequests() {
    for (std::size_t n = 0; n < std::size(kStopSignals); ++n) {
        sigaction(kStopSignals[n], &savedStop[n], nullptr);
    }
    sigaction(SIGXFSZ, &savedFileSize, nullptr);
    stopArrived.store(false);
}

bool StopRequests::Arrived() { return stopArrived.load(std::memory_order_relaxed); }

}  // namespace platform
