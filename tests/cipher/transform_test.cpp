#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numeric>
#include <set>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "cipher/cipher.h"
#include "tests/support/native_text.h"
#include "tests/support/expected_bytes.h"
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
    void Begin(std::int64_t total) override { begins.push_back(total); }
    void Update(std::int64_t count) override {
        if (count == throwAt) {
            throw std::runtime_error("cancelled");
        }
        updates.push_back(count);
    }
};

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
    run.count =
        cipher::TransformFile(support::AsText(folder / "source"),
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

TEST(TransformFile, BytesAndProgressStayExactAcrossReadBlocks) {
    // Sizes around the 1 MiB read block, where the held-back last byte changes hands.
    const std::size_t block = std::size_t{1} << 20;
    for (const std::size_t size : {block - 1, block, block + 1, 2 * block + 3}) {
        TempFolder folder;
        const Bytes source = Pattern(size);
        const Outcome run = Transform(folder, source, u"blocks");
        EXPECT_EQ(run.count, std::int64_t(size));
        EXPECT_TRUE(run.destination == Expected(source, u"blocks")) << size;
        EXPECT_EQ(run.sink.updates, StepsBelow(std::int64_t(size))) << size;
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

TEST(TransformFile, DestinationGetsOrdinaryPermissions) {
    TempFolder folder;
    const mode_t previous = umask(027);
    Transform(folder, Pattern(5), u"");
    umask(previous);
    EXPECT_EQ(fs::status(folder / "destination").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

void ExpectRefusedWithoutTrace(const TempFolder& folder, const fs::path& destination,
                               const std::set<std::string>& namesBefore) {
    cipher::CipherState state = StateFor(u"");
    RecordingSink sink;
    try {
        cipher::TransformFile(support::AsText(folder / "source"),
                              support::AsText(destination), state, sink);
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
    EXPECT_THROW(
        cipher::TransformFile(support::AsText(folder / "source"),
                              support::AsText(folder / "destination"), state, sink),
        std::runtime_error);
    EXPECT_EQ(sink.updates, (std::vector<std::int64_t>{0, 10000}));
    EXPECT_EQ(folder.Names(), std::set<std::string>{"source"});
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

TEST(TransformFile, WriteFailureInTheMiddleLeavesNoFile) {
    TempFolder folder;
    WriteBytes(folder / "source", Pattern(3 << 20));
    cipher::CipherState state = StateFor(u"");
    RecordingSink sink;
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
}

}  // namespace
