#include "cipher/wipe.h"

#include <atomic>

namespace cipher {
namespace {

std::atomic<WipeWatcher> watcher{nullptr};

}  // namespace

void Wipe(void* memory, std::size_t size) {
    auto* const bytes = static_cast<volatile unsigned char*>(memory);
    for (std::size_t n = 0; n < size; ++n) bytes[n] = 0;
    if (const WipeWatcher watching = watcher.load()) {
        watching({static_cast<const unsigned char*>(memory), size});
    }
}

void WatchWipes(WipeWatcher watching) { watcher.store(watching); }

}  // namespace cipher
