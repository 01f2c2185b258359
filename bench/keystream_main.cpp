// tessomar_keystream_bench [MiB, default 64] [repetitions, default 5]
//
// The keystream alone over one buffer in memory, with nothing of the system's in the timing,
// so that the Linux and the Windows build (under wine) can be set side by side.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "cipher/cipher.h"

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
    std::vector<double> seconds;
    for (long round = 0; round < repetitions; ++round) {
        const auto start = std::chrono::steady_clock::now();
        cipher::ApplyKeystream(state, buffer);
        seconds.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(seconds.begin(), seconds.end());
    const double median = seconds[seconds.size() / 2];
    // The last byte is printed so that the work cannot be optimised away.
    std::printf(
        "Keystream over one %ld MiB buffer in memory, median of %ld runs: %.1f MB/s (last byte "
        "%02x)\n",
        mebibytes, repetitions, static_cast<double>(buffer.size()) / median / 1e6, buffer.back());
    return 0;
}
