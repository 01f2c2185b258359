// "LastPath" on both systems; the system's own differences fenced: on Linux the names' bytes
// kept as they are, links and an ended write's sibling; on Windows the ANSI code page, the
// drive root and hidden files.
#include "remembered/remembered_folder.h"

#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "remembered/line_format.h"
#include "tests/support/native_text.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/whole_files.h"

namespace remembered {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

class RememberedFolderTest : public ::testing::Test {
protected:
    RememberedFolderTest() : folder_(scratch_.Path()), remembered_(support::AsText(folder_)) {}

    fs::path File() const { return folder_ / "LastPath"; }
    void Put(const std::string& bytes) const { support::WriteFile(File(), bytes); }
    std::string Contents(const fs::path& path) const { return support::ReadFile(path); }

    support::ScratchFolder scratch_{"remembered"};
    fs::path folder_;
    RememberedFolder remembered_;
};

TEST_F(RememberedFolderTest, WritesTheFolderAndCarriageReturnLineFeedOnly) {
    EXPECT_EQ(remembered_.Write(u"/"), WriteOutcome::Written);
    EXPECT_EQ(Contents(File()), "/\r\n");
    // Nothing of the work is left beside the file.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

TEST_F(RememberedFolderTest, AFolderWithACommaIsQuotedAndReadBackWhole) {
    EXPECT_EQ(remembered_.Write(u"/home/ann/Letters, old"), WriteOutcome::Written);
    EXPECT_EQ(Contents(File()), "\"/home/ann/Letters, old\"\r\n");
    EXPECT_EQ(remembered_.Read(), u"/home/ann/Letters, old");
}

TEST_F(RememberedFolderTest, AFolderNoLineCanHoldIsNotWritten) {
    Put("/srv/earlier\r\n");
    for (const std::u16string folder :
         {u"/srv/two\nlines", u"/srv/cr\r", u"/srv/say \"hi\"", u"/srv/\"a,b\""}) {
        EXPECT_EQ(remembered_.Write(folder), WriteOutcome::FolderNameUnfit);
        EXPECT_EQ(Contents(File()), "/srv/earlier\r\n");
    }
}

#ifndef _WIN32  // Linux: a name is bytes, whatever their encoding
TEST_F(RememberedFolderTest, AnyFolderNameRoundTrips) {
    // Bytes that are not UTF-8 (here Latin-1) come back exactly as the file system holds them.
    remembered_.Write(u"/srv/caf\xdce9 \xdcd6l");
    EXPECT_EQ(Contents(File()), "/srv/caf\xe9 \xd6l\r\n");
    EXPECT_EQ(remembered_.Read(), u"/srv/caf\xdce9 \xdcd6l");
    remembered_.Write(u"/srv/\u00e4\u00df/\u65e5\u672c");
    EXPECT_EQ(remembered_.Read(), u"/srv/\u00e4\u00df/\u65e5\u672c");
}
#else  // Windows: the line is in the ANSI code page
TEST_F(RememberedFolderTest, FoldersAreWrittenInTheAnsiCodePageOrNotAtAll) {
    ASSERT_EQ(GetACP(), 1252u);
    EXPECT_EQ(remembered_.Write(u"D:\\Caf\u00e9\\\u20ac \u017d"), WriteOutcome::Written);
    EXPECT_EQ(Contents(File()), "D:\\Caf\xe9\\\x80 \x8e\r\n");
    EXPECT_EQ(remembered_.Read(), u"D:\\Caf\u00e9\\\u20ac \u017d");
    // A folder the code page cannot name is not remembered, and the last one stays.
    EXPECT_EQ(remembered_.Write(u"D:\\\u65e5\u672c"), WriteOutcome::FolderNameUnfit);
    EXPECT_EQ(remembered_.Read(), u"D:\\Caf\u00e9\\\u20ac \u017d");
}

TEST_F(RememberedFolderTest, ADriveRootIsWrittenAsFiveBytesAndReadBack) {
    remembered_.Write(u"C:\\");
    EXPECT_EQ(Contents(File()), "C:\\\r\n");
    EXPECT_TRUE(remembered_.Exists());
    EXPECT_EQ(remembered_.Read(), u"C:\\");
}
#endif

TEST_F(RememberedFolderTest, FilesWithoutAFolderFailAndCanThenBeDeleted) {
    for (const std::string& bytes : {""s, "\r\n"s, ",/srv\r\n"s, "\"\"\n"s}) {
        Put(bytes);
        EXPECT_THROW(remembered_.Read(), std::system_error) << bytes;
        EXPECT_TRUE(remembered_.Delete());
        EXPECT_FALSE(fs::exists(File()));
    }
    EXPECT_THROW(remembered_.Read(), std::system_error);
    EXPECT_THROW(remembered_.Delete(), std::system_error);
    // A long file whose first line ends in time is read, though it is not the program's.
    Put("/srv/short\r\n" + std::string(1 << 20, 'x'));
    EXPECT_EQ(remembered_.Read(), u"/srv/short");
}

TEST_F(RememberedFolderTest, SomeoneElsesFileOfThatNameIsNeitherDeletedNorReplaced) {
    // Only a short single line of text can be the program's: anything else is a file the
    // user named "LastPath" in this folder.
    for (const std::string& bytes :
         {"/" + std::string(1 << 20, 'x'), "first line\r\nsecond line\r\n"s, "/srv\r\n\r\n"s,
          "\0\0\0\r\n"s, "/srv\r\n\0"s}) {
        Put(bytes);
        EXPECT_FALSE(remembered_.Delete());
        EXPECT_EQ(remembered_.Write(u"/srv"), WriteOutcome::ForeignFile);
        EXPECT_EQ(Contents(File()), bytes) << bytes.substr(0, 20);
    }
    // The program's own lines, and a line an editor saved with a bare line feed, are its.
    for (const std::string& bytes : {"/srv/a\r\n"s, "\"/srv/a,b\"\r\n"s, "/srv/a\n"s, "/srv/a"s}) {
        Put(bytes);
        EXPECT_EQ(remembered_.Write(u"/srv/b"), WriteOutcome::Written) << bytes;
    }
}

TEST_F(RememberedFolderTest, ALineOfTheWholeSizeLimitIsWrittenAndRead) {
    const std::string folder = "/" + std::string(kLineLimit - 3, 'x');
    EXPECT_EQ(remembered_.Write(support::AsText(folder + "x")), WriteOutcome::FolderNameUnfit);
    EXPECT_EQ(remembered_.Write(support::AsText(folder)), WriteOutcome::Written);
    ASSERT_EQ(fs::file_size(File()), kLineLimit);
    EXPECT_EQ(remembered_.Read(), support::AsText(folder));
}

#ifndef _WIN32  // Linux: processes that end on the spot
// A start ended on the spot while writing leaves its sibling: the next write removes it, and
// leaves alone a sibling of a start still running (under the very name this write would
// take first) and a file that only looks alike.
TEST_F(RememberedFolderTest, AWriteRemovesWhatAnEndedWriteLeft) {
    const pid_t ended = fork();
    if (ended == 0) _exit(0);
    waitpid(ended, nullptr, 0);
    const std::string left = "LastPath.new-" + std::to_string(ended) + "-0";
    const std::string running = "LastPath.new-" + std::to_string(getpid()) + "-0";
    for (const std::string& name : {left, running, "LastPath.new-mine"s}) {
        support::WriteFile(folder_ / name, "/srv\r\n");
    }
    EXPECT_EQ(remembered_.Write(u"/srv"), WriteOutcome::Written);
    EXPECT_FALSE(fs::exists(folder_ / left));
    EXPECT_TRUE(fs::exists(folder_ / running));
    EXPECT_TRUE(fs::exists(folder_ / "LastPath.new-mine"));
}
#endif

TEST_F(RememberedFolderTest, OnlyAnOrdinaryFileIsFoundOrReplaced) {
    EXPECT_FALSE(remembered_.Exists());
    fs::create_directory(File());
    EXPECT_FALSE(remembered_.Exists());
    EXPECT_EQ(remembered_.Write(u"/srv"), WriteOutcome::ForeignFile);
    EXPECT_TRUE(fs::is_directory(File()));
    fs::remove(File());

#ifndef _WIN32  // Linux: a link in the file's place
    // The program never makes a link: one in the file's place, even to a line it could
    // have written, is someone else's, neither written through nor replaced nor deleted.
    std::ofstream(folder_ / "elsewhere") << "/srv/a\r\n";
    fs::create_symlink(folder_ / "elsewhere", File());
    EXPECT_FALSE(remembered_.Exists());
    EXPECT_EQ(remembered_.Write(u"/srv"), WriteOutcome::ForeignFile);
    EXPECT_FALSE(remembered_.Delete());
    EXPECT_TRUE(fs::is_symlink(File()));
    EXPECT_EQ(Contents(folder_ / "elsewhere"), "/srv/a\r\n");
#endif
}

#ifdef _WIN32  // Windows: hidden files are unseen
TEST_F(RememberedFolderTest, AHiddenOrSystemFileIsNotFound) {
    Put("C:\\\r\n");
    for (const DWORD attribute : {FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM}) {
        ASSERT_TRUE(SetFileAttributesW(File().c_str(), attribute));
        EXPECT_FALSE(remembered_.Exists());
    }
    ASSERT_TRUE(SetFileAttributesW(File().c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(remembered_.Exists());
}
#endif

}  // namespace
}  // namespace remembered
