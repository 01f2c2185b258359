#include "core_share.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "timing.h"

namespace bench {

#if defined(__x86_64__) && defined(__GNUC__)

namespace {

// 64-bit counts throughout: long is 32 bits on Windows.
constexpr std::int64_t kIterations = 5000;
constexpr int kRuns = 100;

// Twelve additions an iteration, each waiting for the one before: twelve cycles.
void DependentAdds() {
    std::int64_t left = kIterations;
    std::uint64_t a = 0;
    __asm__ volatile(
        ".p2align 6\n"
        "1:\n\t"
        "addq $1, %0\n\taddq $1, %0\n\taddq $1, %0\n\taddq $1, %0\n\t"
        "addq $1, %0\n\taddq $1, %0\n\taddq $1, %0\n\taddq $1, %0\n\t"
        "addq $1, %0\n\taddq $1, %0\n\taddq $1, %0\n\taddq $1, %0\n\t"
        "decq %1\n\tjnz 1b"
        : "+r"(a), "+r"(left));
}

// Forty-eight additions an iteration in eight chains: as many a cycle as the core issues.
#define TESSOMAR_EIGHT_ADDS                                        \
    "addq $1, %0\n\taddq $1, %1\n\taddq $1, %2\n\taddq $1, %3\n\t" \
    "addq $1, %4\n\taddq $1, %5\n\taddq $1, %6\n\taddq $1, %7\n\t"
void IndependentAdds() {
    std::int64_t left = kIterations;
    std::uint64_t a = 0, b = 0, c = 0, d = 0, e = 0, f = 0, g = 0, h = 0;
    __asm__ volatile(
        ".p2align 6\n"
        "1:\n\t" TESSOMAR_EIGHT_ADDS TESSOMAR_EIGHT_ADDS TESSOMAR_EIGHT_ADDS TESSOMAR_EIGHT_ADDS
            TESSOMAR_EIGHT_ADDS TESSOMAR_EIGHT_ADDS "decq %8\n\tjnz 1b"
        : "+r"(a), "+r"(b), "+r"(c), "+r"(d), "+r"(e), "+r"(f), "+r"(g), "+r"(h), "+r"(left));
}
#undef TESSOMAR_EIGHT_ADDS

// The least of many runs: an interruption lengthens one run, never shortens one.
double LeastSeconds(void (*work)()) {
    double least = Seconds(work);
    for (int run = 1; run < kRuns; ++run) {
        least = std::min(least, Seconds(work));
    }
    return least;
}

}  // namespace

void PrintCoreShare() {
    const double cycle = LeastSeconds(DependentAdds) / 12;
    const double perCycle = 48 / (LeastSeconds(IndependentAdds) / cycle);
    std::printf(
        "  This core: %.1f independent additions a cycle (fewer when another hardware thread "
        "shares it)\n",
        perCycle);
}

#else

void PrintCoreShare() {}

#endif

}  // namespace bench
