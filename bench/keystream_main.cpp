// tessomar_keystream_bench [MiB, default 64] [repetitions, default 5]
//
// The keystream alone over one buffer in memory, with nothing of the system's in the timing,
// so that the Linux and the Windows build (under wine) can be set side by side; then each bulk
// loop of the build on its own, the runs of all of them interleaved, and which one the program
// chose on this processor.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "cipher/cipher.h"
#include "cipher/keystream_loops.h"
#include "core_share.h"
#include "timing.h"

int main(int argc, char** argv) {
    const long mebibytes = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 64;
    const long repetitions = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 5;
    if (argc > 3 || mebibytes <= 0 || repetitions <= 0) {
        std::fprintf(stderr, "usage: %s [MiB > 0] [repetitions > 0]\n", argv[0]);
        return 2;
    }
    constexpr std::uint8_t kKey[16] = {'b', 'e', 'n', 'c', 'h', ' ', 'k', 'e',
                                       'y', ' ', '1', '2', '3', '4', '5', '6'};
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(mebibytes) << 20, 0x5A);
    cipher::CipherState state;
    cipher::KeySchedule(state, kKey);
    const std::span<const cipher::detail::NamedLoop> loops = cipher::detail::BulkLoops();
    std::vector<double> seconds;
    std::vector<std::vector<double>> loopSeconds(loops.size());
    cipher::detail::WideState wide;
    std::copy(state.S.begin(), state.S.end(), wide.S);
    wide.i = state.i;
    wide.j = state.j;
    // A mebibyte at a time, every contender in turn on each: the median of so many short runs
    // is hardly moved by what the machine's other processes do meanwhile.
    constexpr std::size_t kPiece = std::size_t{1} << 20;
    for (long round = 0; round < repetitions; ++round) {
        for (std::size_t offset = 0; offset < buffer.size(); offset += kPiece) {
            const std::span<std::uint8_t> piece = std::span(buffer).subspan(offset, kPiece);
            seconds.push_back(bench::Seconds([&] { cipher::ApplyKeystream(state, piece); }));
            for (std::size_t n = 0; n < loops.size(); ++n) {
                loopSeconds[n].push_back(bench::Seconds([&] { loops[n].apply(wide, piece); }));
            }
        }
    }
    const double bytes = static_cast<double>(kPiece);
    // The last byte is printed so that the work cannot be optimised away.
    std::printf(
        "Keystream over one %ld MiB buffer in memory, %ld times, a MiB at a time; the median MiB: "
        "%.1f MB/s (last byte %02x)\n",
        mebibytes, repetitions, bytes / bench::Median(seconds) / 1e6, buffer.back());
    for (std::size_t n = 0; n < loops.size(); ++n) {
        std::printf("  loop %-10s %9.1f MB/s%s\n", loops[n].name,
                    bytes / bench::Median(loopSeconds[n]) / 1e6,
                    loops[n].apply == cipher::detail::ChosenLoop() ? " (chosen)" : "");
    }
    bench::PrintCoreShare();
    return 0;
}
