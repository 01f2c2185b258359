// Memory for a run's blocks on Linux and other POSIX systems: mapped directly, aligned to a
// huge page and advised to be one.
#include <sys/mman.h>

#include <cstdint>
#include <new>

#include "platform/platform.h"

namespace platform {
namespace {

// The huge page of x86-64 and of most other processors Linux runs on. The memory starts at a
// multiple of it, so that each whole 2 MiB of it can be one page.
constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::size_t MappedBytes(std::size_t bytes) {
    return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}

}  // namespace

BlockMemory::BlockMemory(std::size_t bytes) : size_(bytes) {
    const std::size_t mapped = MappedBytes(bytes);
    // Mapped with a huge page to spare, then cut down to the aligned part.
    void* const whole = mmap(nullptr, mapped + kHugePage, PROT_READ | PROT_WRITE,
                             MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (whole == MAP_FAILED) throw std::bad_alloc();
    const auto first = reinterpret_cast<std::uintptr_t>(whole);
    const std::uintptr_t aligned = (first + kHugePage - 1) & ~(kHugePage - 1);
    if (aligned > first) munmap(whole, aligned - first);
    // aligned is less than a huge page past first, so some of the spare is always left at the end.
    const std::uintptr_t end = aligned + mapped;
    munmap(reinterpret_cast<void*>(end), first + mapped + kHugePage - end);
    start_ = reinterpret_cast<std::uint8_t*>(aligned);
    // Advice only: where huge pages are turned off, these are ordinary pages.
    madvise(start_, mapped, MADV_HUGEPAGE);
}

BlockMemory::~BlockMemory() { munmap(start_, MappedBytes(size_)); }

}  // namespace platform
