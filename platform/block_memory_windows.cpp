// Memory for a run's blocks on Windows: committed at once, at a page boundary. Large pages
// would need a privilege that users' accounts do not hold.
#include <windows.h>

#include <new>

#include "platform/platform.h"

namespace platform {

BlockMemory::BlockMemory(std::size_t bytes)
    : start_(static_cast<std::uint8_t*>(
          VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE))),
      size_(bytes) {
    if (start_ == nullptr) throw std::bad_alloc();
}

BlockMemory::~BlockMemory() { VirtualFree(start_, 0, MEM_RELEASE); }

}  // namespace platform
