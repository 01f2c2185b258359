#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "platform/platform.h"
#include "platform/source_leases_posix.h"
#include "tests/support/native_text.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/whole_files.h"

namespace {

namespace fs = std::filesystem;
using support::AsText;

using TempFolder = support::ScratchFolder;
constexpr auto& WriteText = support::WriteFile;

TEST(Entries, ClassifyTellsEachKindWithoutFollowingLinks) {
    TempFolder folder;
    WriteText(folder / "visible", "v");
    WriteText(folder / ".hidden", "h");
    fs::create_directory(folder / "folder");
    fs::create_symlink(folder / "visible", folder / "link");
    fs::create_symlink(folder / "nowhere", folder / "dangling");
    using platform::EntryKind;
    EXPECT_EQ(platform::Classify(AsText(folder / "visible")), EntryKind::OrdinaryFile);
    EXPECT_EQ(platform::Classify(AsText(folder / ".hidden")), EntryKind::HiddenFile);
    EXPECT_EQ(platform::Classify(AsText(folder / "folder")), EntryKind::Folder);
    EXPECT_EQ(platform::Classify(AsText(folder / "link")), EntryKind::Other);
    EXPECT_EQ(platform::Classify(AsText(folder / "dangling")), EntryKind::Other);
    EXPECT_EQ(platform::Classify(AsText(folder / "absent")), EntryKind::Missing);
    EXPECT_EQ(platform::Classify(AsText(folder / "visible" / "below")), EntryKind::Missing);
    // A path the system cannot take is no leave to create anything, and says why.
    const std::string longName(200, 'n');
    std::u16string deep = AsText(folder / "folder");
    for (int level = 0; level < 30; ++level) deep = platform::JoinPath(deep, AsText(longName));
    EXPECT_EQ(platform::Classify(deep), EntryKind::PathTooLong);
}

// Two memory disks number their files alike: the first file on each has the same number.
TEST(Entries, FilesOfOneNumberOnTwoDisksAreTwoFiles) {
    if (geteuid() != 0) GTEST_SKIP() << "mounting needs root";
    TempFolder folder;
    fs::create_directory(folder / "one");
    fs::create_directory(folder / "two");
    for (const char* disk : {"one", "two"}) {
        ASSERT_EQ(mount("tessomar-test", (folder / disk).c_str(), "tmpfs", 0, "size=1m"), 0);
        WriteText(folder / disk / "file", "same");
    }
    struct stat one {
    }, two{};
    stat((folder / "one" / "file").c_str(), &one);
    stat((folder / "two" / "file").c_str(), &two);
    if (one.st_ino == two.st_ino) {
        const platform::InputFile opened(AsText(folder / "one" / "file"));
        EXPECT_FALSE(opened.IsSameFileAs(AsText(folder / "two" / "file")));
        EXPECT_FALSE(
            platform::SameFile(AsText(folder / "one" / "file"), AsText(folder / "two" / "file")));
    }
    for (const char* disk : {"one", "two"}) umount((folder / disk).c_str());
    if (one.st_ino != two.st_ino) GTEST_SKIP() << "the two disks numbered their files apart";
}

TEST(InputFile, VersionChangesWithTheContents) {
    // Without a lease, which would hold this test's own rewrite back until the system gives
    // up waiting for it to be released.
    const platform::posix::WithoutSourceLeases noLeases;
    TempFolder folder;
    WriteText(folder / "in", "0123456789");
    const auto second =
        std::chrono::floor<std::chrono::seconds>(fs::last_write_time(folder / "in"));
    fs::last_write_time(folder / "in", second);
    platform::InputFile input(AsText(folder / "in"));
    const platform::FileVersion start = input.Version();
    EXPECT_EQ(start.size, 10);
    EXPECT_EQ(start.identity, *platform::IdentityOf(AsText(folder / "in")));
    EXPECT_EQ(input.Version(), start);
    // Same size, other bytes: the modification time tells them apart, to the part of a
    // second (set apart here, as the clock may not have moved on between two writes this
    // close).
    WriteText(folder / "in", "abcdefghij");
    fs::last_write_time(folder / "in", second + std::chrono::milliseconds(5));
    EXPECT_EQ(input.Version().size, 10);
    EXPECT_NE(input.Version(), start);
}

// A run's blocks are filled by the system's reads; in 4 KiB pages each first touch is a fault,
// and on a virtual machine that held the keystream up for milliseconds at every run's start.
TEST(BlockMemory, IsAlignedToAHugePageAndAdvisedToBeOne) {
    if (!fs::exists("/sys/kernel/mm/transparent_hugepage")) GTEST_SKIP() << "no huge pages";
    const platform::BlockMemory memory(std::size_t{6} << 20);
    const auto start = reinterpret_cast<std::uintptr_t>(memory.Bytes().data());
    EXPECT_EQ(start % (std::uintptr_t{2} << 20), 0u);
    std::fill(memory.Bytes().begin(), memory.Bytes().end(), std::uint8_t{0xA5});

    // The kernel marks a mapping so advised "hg" among its flags.
    std::ifstream maps("/proc/self/smaps");
    std::string line;
    bool inMapping = false;
    std::string flags;
    while (std::getline(maps, line)) {
        std::uintptr_t from = 0;
        std::uintptr_t to = 0;
        if (std::sscanf(line.c_str(), "%lx-%lx ", &from, &to) == 2) {
            inMapping = from <= start && start < to;
        } else if (inMapping && line.starts_with("VmFlags:")) {
            flags = line;
        }
    }
    EXPECT_NE(flags.find(" hg"), std::string::npos) << flags;
}

}  // namespace
