// tessomar_bench [size in MiB, default 1024] [repetitions, default 5] [folder, default the
// temporary folder]
//
// Times, on one file in the page cache, TransformFile against the keystream alone over as
// many bytes in memory (what the file traffic costs on top of it), a standard RC4 (openssl
// enc, hand-tuned assembly), a plain copy (dd) and a run through the window; then the bulk
// keystream against OpenSSL's RC4() on one buffer in memory, in processor time. Each timing is
// repeated and its median quoted; the repetitions are interleaved so that a slow spell of the
// machine hits every contender.
#include <openssl/rc4.h>
#include <unistd.h>

#include <QApplication>
#include <QStyleHints>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

#include "cipher/cipher.h"
#include "core_share.h"
#include "measure.h"
#include "platform/platform.h"
#include "platform/source_leases_posix.h"
#include "window_run.h"

namespace {

namespace fs = std::filesystem;

// 16 bytes, the key length openssl enc -rc4 takes.
constexpr std::uint8_t KEY[16] = {'b', 'e', 'n', 'c', 'h', ' ', 'k', 'e',
                                  'y', ' ', '1', '2', '3', '4', '5', '6'};
constexpr std::size_t MEMORY_BUFFER_BYTES = std::size_t{64} << 20;
constexpr std::size_t MEMORY_PIECE_BYTES = std::size_t{1} << 20;

constexpr const char* kEngineOnly = "--engine-only";

class QuietSink : public cipher::ProgressSink {
public:
    void Begin(std::int64_t) override {}
    void Update(std::int64_t) override {}
};

// Varied bytes, so that no layer below can shortcut zeros, written and flushed once so that
// the timed runs read it from the page cache without write-back of it in their way.
void CreateSource(const fs::path& path, std::int64_t bytes) {
    std::vector<std::uint8_t> block(std::size_t{1} << 20);
    std::uint64_t seed = 0x9E3779B97F4A7C15ull;
    {
        std::ofstream out(path, std::ios::binary);
        for (std::int64_t left = bytes; left > 0;) {
            for (auto& byte : block) {
                seed ^= seed << 13, seed ^= seed >> 7, seed ^= seed << 17;
                byte = static_cast<std::uint8_t>(seed);
            }
            const auto now = static_cast<std::streamsize>(
                std::min<std::int64_t>(left, static_cast<std::int64_t>(block.size())));
            out.write(reinterpret_cast<const char*>(block.data()), now);
            left -= now;
        }
    }
    sync();
}

struct FileContender {
    std::string name;
    // Returns the seconds the run took.
    std::function<double(const fs::path& from, const fs::path& to)> run;
    std::vector<double> seconds;
};

std::string Hex(const std::uint8_t* bytes, std::size_t count) {
    std::string text;
    char pair[3];
    for (std::size_t n = 0; n < count; ++n) {
        std::snprintf(pair, sizeof pair, "%02x", bytes[n]);
        text += pair;
    }
    return text;
}

// The keystream over bytes bytes in memory, a buffer's worth at a time: the cipher's own work
// in a run of that size, with no file traffic.
double KeystreamSeconds(std::int64_t bytes, std::vector<std::uint8_t>& buffer) {
    cipher::CipherState state;
    cipher::KeySchedule(state, KEY);
    return bench::Seconds([&] {
        for (std::int64_t left = bytes; left > 0;) {
            const auto now = static_cast<std::size_t>(
                std::min<std::int64_t>(left, static_cast<std::int64_t>(buffer.size())));
            cipher::ApplyKeystream(state, std::span(buffer).first(now));
            left -= static_cast<std::int64_t>(now);
        }
    });
}

double TransformSeconds(const fs::path& from, const fs::path& to) {
    return bench::Seconds([&] {
        cipher::CipherState state;
        cipher::KeySchedule(state, KEY);
        QuietSink sink;
        cipher::TransformFile(platform::FromNative(from.native()),
                              platform::FromNative(to.native()), state, sink);
    });
}

// The contenders in the order each round runs them; the first two are the ratio that says
// what the file traffic costs.
std::vector<FileContender> FileContenders(std::int64_t bytes, std::vector<std::uint8_t>& buffer) {
    return {
        {"TransformFile", TransformSeconds, {}},
        {"keystream in memory",
         [bytes, &buffer](const fs::path&, const fs::path&) {
             return KeystreamSeconds(bytes, buffer);
         },
         {}},
        {"openssl enc -rc4",
         [](const fs::path& from, const fs::path& to) {
             return bench::Seconds([&] {
                 bench::RunProgram({"openssl", "enc", "-rc4", "-provider", "legacy", "-provider",
                                    "default", "-K", Hex(KEY, sizeof KEY), "-nosalt", "-in",
                                    from.string(), "-out", to.string()});
             });
         },
         {}},
        {"dd bs=1M (copy)",
         [](const fs::path& from, const fs::path& to) {
             return bench::Seconds([&] {
                 bench::RunProgram(
                     {"dd", "if=" + from.string(), "of=" + to.string(), "bs=1M", "status=none"});
             });
         },
         {}},
        {"Start in the window", bench::SecondsThroughWindow, {}},
        // What the read lease on the source costs: the same run as a disk without leases has it.
        {"TransformFile, no lease",
         [](const fs::path& from, const fs::path& to) {
             const platform::posix::WithoutSourceLeases noLease;
             return TransformSeconds(from, to);
         },
         {}},
    };
}

double MegabytesPerSecond(double bytes, double seconds) { return bytes / 1e6 / seconds; }

void TimeFiles(const fs::path& folder, std::int64_t bytes, int repetitions) {
    const fs::path source = folder / "source";
    const fs::path destination = folder / "destination";
    std::printf("Creating a file of %lld bytes in %s ...\n", static_cast<long long>(bytes),
                folder.c_str());
    CreateSource(source, bytes);

    // The engine's own peak memory, in a process of its own that loads no window toolkit.
    bench::RunProgram({"/proc/self/exe", kEngineOnly, source.string(), destination.string()});
    fs::remove(destination);
    const double enginePeak = bench::PeakMemoryOfChildren();

    std::vector<std::uint8_t> buffer(MEMORY_BUFFER_BYTES, 0x5A);
    std::vector<FileContender> contenders = FileContenders(bytes, buffer);
    for (int round = 0; round < repetitions; ++round) {
        for (FileContender& contender : contenders) {
            contender.seconds.push_back(contender.run(source, destination));
            // Every contender starts from the same state: the last one's output gone and the
            // file system's own work on it done, so that no run pays for the one before it.
            // (A virtual machine that hands freed memory back to its host still makes some
            // runs write into memory the host must give back first: see README, Speed.)
            fs::remove(destination);
            sync();
        }
    }

    std::printf("\nFile to file, median of %d runs:\n", repetitions);
    for (const FileContender& contender : contenders) {
        const double median = bench::Median(contender.seconds);
        std::printf("  %-20s %8.3f s %9.1f MB/s\n", contender.name.c_str(), median,
                    MegabytesPerSecond(static_cast<double>(bytes), median));
    }
    const double ours = bench::Median(contenders[0].seconds);
    std::printf("  TransformFile time / keystream in memory time: %.3f (target at most 1.05)\n",
                ours / bench::Median(contenders[1].seconds));
    std::printf("  TransformFile time / openssl enc time:         %.3f (target at most 0.40)\n",
                ours / bench::Median(contenders[2].seconds));
    std::printf("  TransformFile time / dd copy time:             %.3f\n",
                ours / bench::Median(contenders[3].seconds));
    std::printf("  Window run time / TransformFile time:          %.3f (target at most 1.05)\n",
                bench::Median(contenders[4].seconds) / ours);
    std::printf("  TransformFile time / the same without the lease: %.3f\n",
                ours / bench::Median(contenders[5].seconds));
    std::printf(
        "  Peak memory of TransformFile in a process of its own: %.1f MiB (target under 32 MiB)\n",
        enginePeak);
    std::printf(
        "  Peak memory of this process, window and keystream buffer included: %.1f MiB; largest "
        "child "
        "(openssl or dd): %.1f MiB\n",
        bench::PeakMemoryOfSelf(), bench::PeakMemoryOfChildren());
}

void TimeMemory(int repetitions) {
    std::vector<std::uint8_t> buffer(MEMORY_BUFFER_BYTES, 0x5A);
    cipher::CipherState state;
    cipher::KeySchedule(state, KEY);
    RC4_KEY reference;
    RC4_set_key(&reference, sizeof KEY, KEY);

    // The buffer a mebibyte at a time, ours and theirs in turn on each: the median of so many
    // short runs is hardly moved by what the machine's other processes do to the caches.
    std::vector<double> ours;
    std::vector<double> theirs;
    for (int round = 0; round < repetitions; ++round) {
        for (std::size_t offset = 0; offset < buffer.size(); offset += MEMORY_PIECE_BYTES) {
            const std::span<std::uint8_t> piece =
                std::span(buffer).subspan(offset, MEMORY_PIECE_BYTES);
            ours.push_back(bench::ThreadSeconds([&] { cipher::ApplyKeystream(state, piece); }));
            theirs.push_back(bench::ThreadSeconds(
                [&] { RC4(&reference, piece.size(), piece.data(), piece.data()); }));
        }
    }
    const double size = static_cast<double>(MEMORY_PIECE_BYTES);
    const double oursRate = MegabytesPerSecond(size, bench::Median(ours));
    const double theirsRate = MegabytesPerSecond(size, bench::Median(theirs));
    std::printf(
        "\nKeystream over one %zu MiB buffer in memory, %d times, a MiB at a time; the median "
        "MiB (this thread's processor time):\n",
        buffer.size() >> 20, repetitions);
    std::printf("  %-20s %9.1f MB/s\n", "ApplyKeystream", oursRate);
    std::printf("  %-20s %9.1f MB/s\n", "OpenSSL RC4()", theirsRate);
    std::printf("  ApplyKeystream / RC4() throughput: %.2f (target at least 1.6)\n",
                oursRate / theirsRate);
    bench::PrintCoreShare();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == kEngineOnly) {
        cipher::CipherState state;
        cipher::KeySchedule(state, KEY);
        QuietSink sink;
        cipher::TransformFile(platform::FromNative(argv[2]), platform::FromNative(argv[3]), state,
                              sink);
        return 0;
    }
    // The window is drawn off screen, so the benchmark needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // The window run clicks Start right after OK, which would otherwise be taken for the
    // second half of a double click; a pause instead would let the memory the last run freed
    // go back to a virtual machine's host (README, Speed) and time that instead.
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(0);
    try {
        const std::int64_t mebibytes = argc > 1 ? std::stoll(argv[1]) : 1024;
        const int repetitions = argc > 2 ? std::stoi(argv[2]) : 5;
        const fs::path parent = argc > 3 ? fs::path(argv[3]) : fs::temp_directory_path();
        if (mebibytes <= 0 || repetitions <= 0) {
            std::fprintf(stderr, "usage: %s [MiB > 0] [repetitions > 0] [folder]\n", argv[0]);
            return 2;
        }
        {
            bench::WorkFolder folder(parent);
            TimeFiles(folder.Path(), mebibytes << 20, repetitions);
        }
        TimeMemory(repetitions);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tessomar_bench: %s\n", error.what());
        return 1;
    }
}
