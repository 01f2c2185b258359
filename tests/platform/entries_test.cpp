// Entries on either system: which file an entry is, whatever its names, and removing files,
// one by its name, or one unless it is the file spared, whatever name that one has by now.
// On Windows names are also given in other letters' case, which name the same files there.
#ifdef _WIN32
#include <windows.h>
#endif
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <string>
#include <system_error>

#include "platform/platform.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/whole_files.h"

namespace {

namespace fs = std::filesystem;
using platform::EntryKind;
using support::ReadFile;
using support::ScratchFolder;
using support::WriteFile;

#ifdef _WIN32
const std::error_code kNotFound(ERROR_FILE_NOT_FOUND, std::system_category());
#else
const std::error_condition kNotFound = std::errc::no_such_file_or_directory;
#endif

// A name as a user may type it for the file that has it.
std::string AsTyped(std::string name) {
#ifdef _WIN32
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char letter) { return std::toupper(letter); });
#endif
    return name;
}

TEST(Entries, SameFileGoesByIdentityNotName) {
    const ScratchFolder folder;
    WriteFile(folder / "a", "same");
    WriteFile(folder / "b", "same");
    fs::create_hard_link(folder / "a", folder / "hard");
    fs::create_directory(folder / "sub");
    EXPECT_TRUE(platform::SameFile(folder.Text("a"), folder.Text(AsTyped("a"))));
    EXPECT_TRUE(platform::SameFile(folder.Text("a"), folder.Text("hard")));
    EXPECT_TRUE(platform::SameFile(folder.Text("a"), folder.Text(fs::path("sub") / ".." / "a")));
#ifndef _WIN32
    // A link leads to its file (made only here, where making one takes no privilege).
    fs::create_symlink(folder / "a", folder / "soft");
    EXPECT_TRUE(platform::SameFile(folder.Text("a"), folder.Text("soft")));
#endif
    EXPECT_FALSE(platform::SameFile(folder.Text("a"), folder.Text("b")));
    EXPECT_FALSE(platform::SameFile(folder.Text("a"), folder.Text("absent")));
    // Where the file system keeps lasting numbers, the file is told by its own.
    const auto identity = platform::IdentityOf(folder.Text("a"));
    ASSERT_TRUE(identity);
    EXPECT_NE(identity->index, 0u);
}

TEST(Entries, RemoveFileRemovesOneFileAndNamesThePathOnFailure) {
    const ScratchFolder folder;
    WriteFile(folder / "gone.txt", "x");
    platform::RemoveFile(folder.Text(AsTyped("gone.txt")));
    EXPECT_EQ(platform::Classify(folder.Text("gone.txt")), EntryKind::Missing);
    EXPECT_FALSE(fs::exists(folder / "gone.txt"));
    try {
        platform::RemoveFile(folder.Text("gone.txt"));
        ADD_FAILURE() << "no error";
    } catch (const platform::FileError& error) {
        EXPECT_EQ(error.code(), kNotFound);
        EXPECT_EQ(error.Path(), folder.Text("gone.txt"));
        EXPECT_NE(std::string(error.what()).find("gone.txt"), std::string::npos);
    }
}

TEST(Entries, RemoveFileUnlessSparesTheFileByIdentityWhateverItsName) {
    const ScratchFolder folder;
    WriteFile(folder / "source.txt", "precious");
    WriteFile(folder / "other.txt", "doomed");
    const auto spared = platform::IdentityOf(folder.Text("source.txt"));
    ASSERT_TRUE(spared);
    // Another program renames the source onto the name about to be deleted, or gives it a
    // second name.
    fs::rename(folder / "source.txt", folder / "renamed.txt");
    fs::create_hard_link(folder / "renamed.txt", folder / "alias.txt");
    EXPECT_FALSE(platform::RemoveFileUnless(folder.Text(AsTyped("renamed.txt")), *spared));
    EXPECT_FALSE(platform::RemoveFileUnless(folder.Text(AsTyped("alias.txt")), *spared));
    EXPECT_EQ(ReadFile(folder / "renamed.txt"), "precious");
    EXPECT_EQ(ReadFile(folder / "alias.txt"), "precious");
#ifndef _WIN32
    // A link to it is only a link: removing it leaves the file alone.
    fs::create_symlink(folder / "renamed.txt", folder / "link");
    EXPECT_TRUE(platform::RemoveFileUnless(folder.Text("link"), *spared));
#endif
    EXPECT_TRUE(platform::RemoveFileUnless(folder.Text(AsTyped("other.txt")), *spared));
    EXPECT_EQ(folder.Names(), (std::set<std::string>{"alias.txt", "renamed.txt"}));
    try {
        platform::RemoveFileUnless(folder.Text("other.txt"), *spared);
        ADD_FAILURE() << "no error";
    } catch (const platform::FileError& error) {
        EXPECT_EQ(error.code(), kNotFound);
        EXPECT_EQ(error.Path(), folder.Text("other.txt"));
    }
}

}  // namespace
