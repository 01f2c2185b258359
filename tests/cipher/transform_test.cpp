#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <numeric>
#include <set>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <vector>

#include "cipher/cipher.h"
#include "platform/platform.h"
#include "platform/source_leases_posix.h"
#include "tests/support/expected_bytes.h"
#include "tests/support/native_text.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/whole_files.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

using TempFolder = support::ScratchFolder;
using support::Expected;
using support::ReadBytes;
using support::WriteBytes;
constexpr auto& Pattern = support::PatternBytes;

cipher::CipherState StateFor(std::u16string_view password) {
    cipher::CipherState state;
    cipher::KeySchedule(state, cipher::BuildKey(password).bytes);
    return state;
}

struct RecordingSink : cipher::ProgressSink {
    std::vector<std::int64_t> begins;
    std::vector<std::int64_t> updates;
    std::int64_t throwAt = -1;
    // What another program does while the run goes on, at each step.
    std::function<void(std::int64_t count)> meanwhile;
    std::thread::id caller = std::this_thread::get_id();
    bool elsewhere = false;  // a call came on another thread than the caller's

    // What another program does as the run begins, before anything is read.
    std::function<void()> atBegin;

    void Begin(std::int64_t total) override {
        elsewhere |= std::this_thread::get_id() != caller;
        begins.push_back(total);
        if (atBegin) atBegin();
    }
    void Update(std::int64_t count) override {
        elsewhere |= std::this_thread::get_id() != caller;
        if (meanwhile) meanwhile(count);
        if (count == throwAt) {
            throw std::runtime_error("cancelled");
        }
        updates.push_back(count);
    }
};

// Threads of this process now: the run's helper must be gone whenever the run is. A thread
// that has been joined may still be listed for a moment while the system releases it, so
// the count is given a little time to settle; a helper left waiting would never go.
std::size_t ThreadCount() {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator("/proc/self/task"), fs::directory_iterator()));
}

std::size_t SettledThreadCount(std::size_t expected) {
    for (int attempt = 0; attempt < 100 && ThreadCount() != expected; ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return ThreadCount();
}

std::vector<std::int64_t> StepsBelow(std::int64_t size) {
    std::vector<std::int64_t> steps;
    for (std::int64_t count = 0; count < std::max<std::int64_t>(size, 1);
         count += cipher::PROGRESS_STEP) {
        steps.push_back(count);
    }
    return steps;
}

struct Outcome {
    std::int64_t count;
    Bytes destination;
    RecordingSink sink;
};

Outcome Transform(const TempFolder& folder, const Bytes& source, std::u16string_view password) {
    WriteBytes(folder / "source", source);
    cipher::CipherState state = StateFor(password);
    Outcome run;
    run.count = cipher::TransformFile(support::AsText(folder / "source"),
                                      support::AsText(folder / "destination"), state, run.sink);
    run.destination = ReadBytes(folder / "destination");
    return run;
}

TEST(TransformFile, SmallSourcesFollowTheLastBytePlainRule) {
    for (const std::size_t size : {0, 1, 2, 3, 9}) {
        TempFolder folder;
        const Bytes source = Pattern(size);
        const Outcome run = Transform(folder, source, u"pw");
        EXPECT_EQ(run.count, static_cast<std::int64_t>(size)) << size;
        EXPECT_EQ(run.destination, Expected(source, u"pw")) << size;
        EXPECT_EQ(run.sink.begins, std::vector<std::int64_t>{std::int64_t(size)}) << size;
        EXPECT_EQ(run.sink.updates, std::vector<std::int64_t>{0}) << size;
    }
}

TEST(TransformFile, TwoByteSourceEnciphersOnlyTheFirst) {
    TempFolder folder;
    const Outcome run = Transform(folder, {0x11, 0x22}, u"");
    cipher::CipherState state = StateFor(u"");
    EXPECT_EQ(run.destination, (Bytes{std::uint8_t(0x11 ^ cipher::NextKeyByte(state)), 0x22}));
}

TEST(TransformFile, ProgressComesEveryStepBelowTheSize) {
    for (const std::size_t size : {10000, 10001, 20001}) {
        TempFolder folder;
        const Outcome run = Transform(folder, Pattern(size), u"p");
        EXPECT_EQ(run.sink.updates, StepsBelow(std::int64_t(size))) << size;
    }
}

TEST(TransformFile, BytesAndProgressStayExactAcrossBlocksAndTheirRounds) {
    // Sizes around the 1 MiB blocks the helper reads and writes, and around the round of
    // six blocks, where a block is used again; progress steps straddle block edges.
    const std::size_t block = std::size_t{1} << 20;
    const std::vector<std::size_t> sizes{block - 1,     block,     block + 1,     2 * block,
                                         6 * block - 1, 6 * block, 6 * block + 1, 7 * block + 3};
    // Every size's source is a prefix of the longest one, and so is its expected result,
    // but for the last byte, which stays plain.
    const Bytes longest = Pattern(sizes.back());
    const Bytes enciphered = Expected(longest, u"blocks");
    const std::size_t threads = ThreadCount();
    for (const std::size_t size : sizes) {
        TempFolder folder;
        const Bytes source(longest.begin(), longest.begin() + std::ptrdiff_t(size));
        Bytes expected(enciphered.begin(), enciphered.begin() + std::ptrdiff_t(size));
        expected.back() = source.back();
        const Outcome run = Transform(folder, source, u"blocks");
        EXPECT_EQ(run.count, std::int64_t(size));
        EXPECT_TRUE(run.destination == expected) << size;
        EXPECT_EQ(run.sink.updates, StepsBelow(std::int64_t(size))) << size;
        EXPECT_FALSE(run.sink.elsewhere);
        EXPECT_EQ(SettledThreadCount(threads), threads);
    }
}

TEST(TransformFile, SecondRunRestoresTheSourceWhichStaysUnchanged) {
    TempFolder folder;
    const Bytes source = Pattern(30011);
    WriteBytes(folder / "source", source);
    fs::permissions(folder / "source", fs::perms::owner_read);
    RecordingSink sink;
    cipher::CipherState first = StateFor(u"\u00E9t\u00E9");
    cipher::TransformFile(support::AsText(folder / "source"),
                          support::AsText(folder / "enciphered"), first, sink);
    cipher::CipherState second = StateFor(u"\u00E9t\u00E9");
    cipher::TransformFile(support::AsText(folder / "enciphered"),
                          support::AsText(folder / "restored"), second, sink);
    EXPECT_EQ(ReadBytes(folder / "restored"), source);
    EXPECT_EQ(ReadBytes(folder / "source"), source);
    EXPECT_NE(ReadBytes(folder / "enciphered"), source);
}

TEST(TransformFile, ResultTakesTheSourcesPermissionsThroughTheUmask) {
    // A private file deciphered must stay private; and the umask still has its say.
    const struct {
        fs::perms source;
        mode_t umask;
        fs::perms result;
    } cases[] = {
        {fs::perms::owner_read | fs::perms::owner_write, 022,
         fs::perms::owner_read | fs::perms::owner_write},
        {fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read, 027,
         fs::perms::owner_read | fs::perms::group_read},
    };
    for (const auto& each : cases) {
        TempFolder folder;
        WriteBytes(folder / "source", Pattern(5));
        fs::permissions(folder / "source", each.source);
        const mode_t previous = umask(each.umask);
        cipher::CipherState state = StateFor(u"");
        RecordingSink sink;
        cipher::TransformFile(support::AsText(folder / "source"),
                              support::AsText(folder / "destination"), state, sink);
        umask(previous);
        EXPECT_EQ(fs::status(folder / "destination").permissions(), each.result);
    }
}

void ExpectRefusedWithoutTrace(const TempFolder& folder, const fs::path& destination,
                               const std::set<std::string>& namesBefore) {
    cipher::CipherState state = StateFor(u"");
    RecordingSink sink;
    try {
        cipher::TransformFile(support::AsText(folder / "source"), support::AsText(destination),
                              state, sink);
        ADD_FAILURE() << "no error for " << destination;
    } catch (const std::system_error& error) {
        EXPECT_EQ(error.code(), std::errc::file_exists);
        EXPECT_NE(std::string(error.what()).find(destination.string()), std::string::npos);
    }
    EXPECT_EQ(folder.Names(), namesBefore);
    EXPECT_TRUE(sink.begins.empty());
}

TEST(TransformFile, AnythingAtTheDestinationIsLeftAloneWithAnError) {
    TempFolder folder;
    WriteBytes(folder / "source", Pattern(100));
    WriteBytes(folder / "file", {1, 2, 3});
    WriteBytes(folder / ".hidden", {4});
    fs::create_directory(folder / "folder");
    fs::create_symlink(folder / "nowhere", folder / "dangling");
    fs::create_symlink(folder / "source", folder / "link");
    const auto names = folder.Names();
    for (const char* name : {"file", ".hidden", "folder", "dangling", "link", "source"}) {
        ExpectRefusedWithoutTrace(folder, folder / name, names);
    }
    EXPECT_EQ(ReadBytes(folder / "file"), (Bytes{1, 2, 3}));
    EXPECT_EQ(ReadBytes(folder / "source"), Pattern(100));
    EXPECT_TRUE(fs::is_empty(folder / "folder"));
}

TEST(TransformFile, MissingSourceOrFolderIsAnErrorNamingThePath) {
    TempFolder folder;
    cipher::CipherState state = StateFor(u"");
    RecordingSink sink;
    try {
        cipher::TransformFile(support::AsText(folder / "absent"),
                              support::AsText(folder / "destination"), state, sink);
        ADD_FAILURE();
    } catch (const std::system_error& error) {
        EXPECT_EQ(error.code(), std::errc::no_such_file_or_directory);
        EXPECT_NE(std::string(error.what()).find("absent"), std::string::npos);
    }
    WriteBytes(folder / "source", Pattern(10));
    try {
        cipher::TransformFile(support::AsText(folder / "source"),
                              support::AsText(folder / "no" / "destination"), state, sink);
        ADD_FAILURE();
    } catch (const std::system_error& error) {
        // A missing folder is not an existing destination.
        EXPECT_EQ(error.code(), std::errc::no_such_file_or_directory);
    }
    EXPECT_EQ(folder.Names(), std::set<std::string>{"source"});
}

TEST(TransformFile, TheSourceUnderAnyOfItsNamesIsCalledTheSource) {
    TempFolder folder;
    WriteBytes(folder / "source", Pattern(10));
    fs::create_hard_link(folder / "source", folder / "alias");
    for (const char* name : {"source", "alias"}) {
        cipher::CipherState state = StateFor(u"");
        RecordingSink sink;
        try {
            cipher::TransformFile(support::AsText(folder / "source"),
                                  support::AsText(folder / name), state, sink);
            ADD_FAILURE() << name;
        } catch (const platform::FileError& error) {
            EXPECT_NE(error.Text().find(u"source file"), std::u16string::npos) << name;
        }
    }
    EXPECT_EQ(ReadBytes(folder / "source"), Pattern(10));
}

TEST(TransformFile, CancelFromTheSinkLeavesNoFile) {
    TempFolder folder;
    WriteBytes(folder / "source", Pattern(50000));
    cipher::CipherState state = StateFor(u"");
    RecordingSink sink;
    sink.throwAt = 20000;
    const std::size_t threads = ThreadCount();
    EXPECT_THROW(cipher::TransformFile(support::AsText(folder / "source"),
                                       support::AsText(folder / "destination"), state, sink),
                 std::runtime_error);
    EXPECT_EQ(sink.updates, (std::vector<std::int64_t>{0, 10000}));
    EXPECT_EQ(folder.Names(), std::set<std::string>{"source"});
    // The helper, waiting for the next block, was stopped and joined.
    EXPECT_EQ(SettledThreadCount(threads), threads);
}

// Lowers the process's file size limit for one test and restores it, with the signal that
// would otherwise end the process ignored so the write fails with an error instead.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit saved_{};
    sighandler_t previousHandler_;
};

TEST(TransformFile, WriteFailureOnTheHelpersSideLeavesNoFile) {
    TempFolder folder;
    WriteBytes(folder / "source", Pattern(3 << 20));
    cipher::CipherState state = StateFor(u"");
    RecordingSink sink;
    const std::size_t threads = ThreadCount();
    {
        FileSizeLimit limit(std::size_t{3} << 19);
        try {
            cipher::TransformFile(support::AsText(folder / "source"),
                                  support::AsText(folder / "destination"), state, sink);
            ADD_FAILURE();
        } catch (const std::system_error& error) {
            EXPECT_EQ(error.code(), std::errc::file_too_large);
            EXPECT_NE(std::string(error.what()).find("destination"), std::string::npos);
        }
    }
    EXPECT_FALSE(sink.updates.empty());
    EXPECT_EQ(folder.Names(), std::set<std::string>{"source"});
    EXPECT_EQ(SettledThreadCount(threads), threads);
}

TEST(TransformFile, ARunKilledOnTheSpotLeavesNothing) {
    // SIGKILL cannot be caught: only a result that has no name until it is complete leaves
    // nothing behind it.
    TempFolder folder;
    WriteBytes(folder / "source", Pattern(3 << 20));
    const pid_t child = fork();
    if (child == 0) {
        cipher::CipherState state = StateFor(u"");
        RecordingSink sink;
        sink.meanwhile = [](std::int64_t count) {
            if (count == 20000) raise(SIGKILL);
        };
        cipher::TransformFile(support::AsText(folder / "source"),
                              support::AsText(folder / "destination"), state, sink);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "status " << status;
    EXPECT_EQ(folder.Names(), std::set<std::string>{"source"});
}

// The source as it is before the run: written a while ago, so that any change during the
// run shows in its modification time whatever the clock's grain.
void WriteOldSource(const fs::path& path, const Bytes& bytes) {
    WriteBytes(path, bytes);
    fs::last_write_time(path, fs::last_write_time(path) - std::chrono::seconds(10));
}

void Overwrite(const fs::path& path, std::size_t at, const Bytes& bytes) {
    std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
    file.seekp(static_cast<std::streamoff>(at));
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// Changes made from the run's own thread: with a lease held, the change would wait for the
// run to end, which waits for the change. These are the checks that a file system without
// leases relies on.
TEST(TransformFile, ASourceChangedDuringTheRunFailsAndWritesNothing) {
    const platform::posix::WithoutSourceLeases noLeases;
    // Larger than the six blocks of 1 MiB the helper may have read ahead at the first step,
    // so that a source cut short there is cut before the helper has read it all.
    const std::size_t size = (9 << 20) + 7;
    const std::int64_t lastStep =
        std::int64_t(size - 1) / cipher::PROGRESS_STEP * cipher::PROGRESS_STEP;
    fs::file_time_type before;
    const struct {
        const char* what;
        // Called at every progress step with its count.
        std::function<void(const fs::path&, std::int64_t)> change;
    } changes[] = {
        // Cut short before the helper has read it all: a read comes back short.
        {"truncated",
         [](const fs::path& source, std::int64_t count) {
             if (count == 10000) fs::resize_file(source, 1 << 20);
         }},
        // Cut short, then grown back to its size with its old time put back, so that by the
        // end it looks untouched: the reads that came back short still tell.
        {"truncated and restored",
         [size, lastStep, &before](const fs::path& source, std::int64_t count) {
             if (count == 10000) {
                 before = fs::last_write_time(source);
                 fs::resize_file(source, 1 << 20);
             }
             if (count == lastStep) {
                 fs::resize_file(source, size);
                 fs::last_write_time(source, before);
             }
         }},
        // Same size, other bytes, where they were already read.
        {"rewritten",
         [lastStep](const fs::path& source, std::int64_t count) {
             if (count == lastStep) Overwrite(source, 5, Bytes(100, 0xEE));
         }},
        // Grown by an append: the result would be neither version.
        {"grown",
         [](const fs::path& source, std::int64_t count) {
             if (count == 20000) std::ofstream(source, std::ios::binary | std::ios::app) << "more";
         }},
        // Another file put in its place: the bytes read are no longer the file there.
        {"replaced",
         [](const fs::path& source, std::int64_t count) {
             if (count != 20000) return;
             WriteBytes(source.parent_path() / "new", Bytes(10, 1));
             fs::rename(source.parent_path() / "new", source);
         }},
    };
    const std::size_t threads = ThreadCount();
    for (const auto& change : changes) {
        SCOPED_TRACE(change.what);
        TempFolder folder;
        WriteOldSource(folder / "source", Pattern(size));
        cipher::CipherState state = StateFor(u"");
        RecordingSink sink;
        sink.meanwhile = [&](std::int64_t count) { change.change(folder / "source", count); };
        try {
            cipher::TransformFile(support::AsText(folder / "source"),
                                  support::AsText(folder / "destination"), state, sink);
            ADD_FAILURE() << "reported as done";
        } catch (const std::system_error& error) {
            EXPECT_EQ(error.code(), cipher::SourceChanged());
            EXPECT_NE(std::string(error.what()).find((folder / "source").string()),
                      std::string::npos);
        }
        EXPECT_EQ(folder.Names(), std::set<std::string>{"source"});
        EXPECT_EQ(SettledThreadCount(threads), threads);
    }
}

// The reason a run with no password failed with; none if it was done.
std::error_code FailureOf(const fs::path& source, const fs::path& destination,
                          RecordingSink& sink) {
    cipher::CipherState state = StateFor(u"");
    try {
        cipher::TransformFile(support::AsText(source), support::AsText(destination), state, sink);
    } catch (const std::system_error& error) {
        return error.code();
    }
    return {};
}

// A source that gives other bytes than its size says, while its size and time end up as
// they began: only the reads themselves tell.
TEST(TransformFile, ASourceGivingMoreOrFewerBytesThanItsSizeFails) {
    const platform::posix::WithoutSourceLeases noLeases;
    {
        SCOPED_TRACE("cut inside its one block, then grown back with its old time");
        TempFolder folder;
        WriteOldSource(folder / "source", Pattern(100000));
        fs::file_time_type before;
        RecordingSink sink;
        sink.atBegin = [&] {
            before = fs::last_write_time(folder / "source");
            fs::resize_file(folder / "source", 50001);
        };
        sink.meanwhile = [&](std::int64_t count) {
            if (count != 90000) return;
            fs::resize_file(folder / "source", 100000);
            fs::last_write_time(folder / "source", before);
        };
        EXPECT_EQ(FailureOf(folder / "source", folder / "destination", sink),
                  cipher::SourceChanged());
        EXPECT_EQ(folder.Names(), std::set<std::string>{"source"});
    }
    {
        SCOPED_TRACE("a pseudo-file of size 0 that reads as text");
        TempFolder folder;
        RecordingSink sink;
        EXPECT_EQ(FailureOf("/proc/self/status", folder / "destination", sink),
                  cipher::SourceChanged());
        EXPECT_TRUE(fs::is_empty(folder.Path()));
    }
}

// Until the process has written and gone, or waits in the system for a lease to break.
void WaitForTheWriter(pid_t writer) {
    for (int look = 0; look < 500; ++look) {
        std::ifstream locks("/proc/locks");
        const std::string all{std::istreambuf_iterator<char>(locks), {}};
        if (all.find("BREAKING") != std::string::npos) return;
        siginfo_t info{};
        if (waitid(P_PID, writer, &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid != 0) {
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// Another process that writes the source: one holding a writable shared mapping from before
// the run (whose writes never move the modification time), and one opening it for writing
// during the run, which writes in place and puts the old time back.
TEST(TransformFile, AnotherProgramWritingTheSourceFailsTheRunNothingWritten) {
    const Bytes source = Pattern((3 << 20) + 5);
    {
        SCOPED_TRACE("a writable mapping held by another process");
        TempFolder folder;
        WriteOldSource(folder / "source", source);
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t mapper = fork();
        if (mapper == 0) {
            const int file = open((folder / "source").c_str(), O_RDWR);
            void* pages = mmap(nullptr, 4096, PROT_READ | PROT_WRITE, MAP_SHARED, file, 0);
            close(file);
            const char done = pages == MAP_FAILED ? 'n' : 'y';
            if (write(ready[1], &done, 1) != 1) _exit(1);
            pause();
            _exit(0);
        }
        char mapped = 0;
        ASSERT_EQ(read(ready[0], &mapped, 1), 1);
        ASSERT_EQ(mapped, 'y');
        RecordingSink sink;
        EXPECT_EQ(FailureOf(folder / "source", folder / "destination", sink),
                  platform::BeingWritten());
        kill(mapper, SIGKILL);
        waitpid(mapper, nullptr, 0);
        close(ready[0]);
        close(ready[1]);
        EXPECT_EQ(folder.Names(), std::set<std::string>{"source"});
    }
    {
        SCOPED_TRACE("opened for writing during the run");
        TempFolder folder;
        WriteOldSource(folder / "source", source);
        pid_t writer = -1;
        RecordingSink sink;
        sink.meanwhile = [&](std::int64_t count) {
            if (count != 20000) return;
            writer = fork();
            if (writer != 0) return;
            // Another program holds none of the run's files: a copy of the leased one would
            // keep the lease from ever being let go.
            close_range(3, ~0U, 0);
            const int file = open((folder / "source").c_str(), O_WRONLY);
            const char other[100] = {};
            if (file < 0 || pwrite(file, other, sizeof other, 5) != sizeof other) _exit(1);
            close(file);
            _exit(0);
        };
        // The run goes on only once the writer waits for the lease (or, had none been taken,
        // has written), so that it cannot end before the writer comes.
        sink.meanwhile = [&, start = sink.meanwhile](std::int64_t count) {
            start(count);
            if (count == 20000) WaitForTheWriter(writer);
        };
        EXPECT_EQ(FailureOf(folder / "source", folder / "destination", sink),
                  platform::BeingWritten());
        int status = 0;
        ASSERT_GT(writer, 0);
        waitpid(writer, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        EXPECT_EQ(folder.Names(), std::set<std::string>{"source"});
    }
}

TEST(TransformFile, ASourceOnlyReadByOthersMeanwhileIsNoChange) {
    TempFolder folder;
    const Bytes source = Pattern(30000);
    WriteOldSource(folder / "source", source);
    cipher::CipherState state = StateFor(u"calm");
    RecordingSink sink;
    sink.meanwhile = [&](std::int64_t count) {
        if (count == 10000) {
            EXPECT_EQ(ReadBytes(folder / "source"), source);
        }
    };
    cipher::TransformFile(support::AsText(folder / "source"),
                          support::AsText(folder / "destination"), state, sink);
    EXPECT_EQ(ReadBytes(folder / "destination"), Expected(source, u"calm"));
}

// The window writes the result beside the source: their folder renamed during the run
// changes neither, and the result is complete where the folder is now.
TEST(TransformFile, TheFolderOfSourceAndResultRenamedDuringTheRunIsHarmless) {
    TempFolder folder;
    fs::create_directory(folder / "in");
    const Bytes source = Pattern(3 << 20);
    WriteOldSource(folder / "in" / "source", source);
    cipher::CipherState state = StateFor(u"moved");
    RecordingSink sink;
    sink.meanwhile = [&](std::int64_t count) {
        if (count == 20000) fs::rename(folder / "in", folder / "moved");
    };
    EXPECT_EQ(cipher::TransformFile(support::AsText(folder / "in" / "source"),
                                    support::AsText(folder / "in" / "result"), state, sink),
              std::int64_t(source.size()));
    EXPECT_TRUE(ReadBytes(folder / "moved" / "result") == Expected(source, u"moved"));
    EXPECT_TRUE(ReadBytes(folder / "moved" / "source") == source);
}

TEST(TransformFile, TheDestinationFolderRenamedDuringTheRunKeepsNothingBehind) {
    for (const bool cancelled : {false, true}) {
        TempFolder folder;
        fs::create_directory(folder / "out");
        const Bytes source = Pattern(3 << 20);
        WriteBytes(folder / "source", source);
        cipher::CipherState state = StateFor(u"moved");
        RecordingSink sink;
        sink.meanwhile = [&](std::int64_t count) {
            if (count == 20000) fs::rename(folder / "out", folder / "moved");
        };
        if (cancelled) sink.throwAt = 30000;
        try {
            cipher::TransformFile(support::AsText(folder / "source"),
                                  support::AsText(folder / "out" / "result"), state, sink);
            EXPECT_FALSE(cancelled);
            // Complete: the result is in the folder it was started in, under its new path.
            EXPECT_TRUE(ReadBytes(folder / "moved" / "result") == Expected(source, u"moved"));
        } catch (const std::runtime_error&) {
            EXPECT_TRUE(cancelled);
            EXPECT_TRUE(fs::is_empty(folder / "moved"));
        }
        EXPECT_EQ(folder.Names(), (std::set<std::string>{"moved", "source"}));
    }
}

}  // namespace
