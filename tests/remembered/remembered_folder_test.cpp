#include "remembered/remembered_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

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
    remembered_.Write(u"/");
    EXPECT_EQ(Contents(File()), "/\r\n");
    remembered_.Write(u"/home/ann/Letters, old");
    EXPECT_EQ(Contents(File()), "/home/ann/Letters, old\r\n");
    EXPECT_EQ(remembered_.Read(), u"/home/ann/Letters");
    // Nothing of the work is left beside the file.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

TEST_F(RememberedFolderTest, AnyFolderNameRoundTrips) {
    // Bytes that are not UTF-8 (here Latin-1) come back exactly as the file system holds them.
    remembered_.Write(u"/srv/caf\xdce9 \xdcd6l");
    EXPECT_EQ(Contents(File()), "/srv/caf\xe9 \xd6l\r\n");
    EXPECT_EQ(remembered_.Read(), u"/srv/caf\xdce9 \xdcd6l");
    remembered_.Write(u"/srv/\u00e4\u00df/\u65e5\u672c");
    EXPECT_EQ(remembered_.Read(), u"/srv/\u00e4\u00df/\u65e5\u672c");
}

TEST_F(RememberedFolderTest, FilesWithoutAFolderFailAndCanThenBeDeleted) {
    for (const std::string& bytes :
         {""s, "\r\n"s, "\0\0\0\r\n"s, "/" + std::string(1 << 20, 'x')}) {
        Put(bytes);
        EXPECT_THROW(remembered_.Read(), std::system_error) << bytes.substr(0, 8);
        remembered_.Delete();
        EXPECT_FALSE(fs::exists(File()));
    }
    EXPECT_THROW(remembered_.Read(), std::system_error);
    EXPECT_THROW(remembered_.Delete(), std::system_error);
    // A long file whose first line ends in time is fine.
    Put("/srv/short\r\n" + std::string(1 << 20, 'x'));
    EXPECT_EQ(remembered_.Read(), u"/srv/short");
}

TEST_F(RememberedFolderTest, OnlyAnOrdinaryFileIsFoundOrReplaced) {
    EXPECT_FALSE(remembered_.Exists());
    fs::create_directory(File());
    EXPECT_FALSE(remembered_.Exists());
    EXPECT_THROW(remembered_.Write(u"/srv"), std::system_error);
    fs::remove(File());

    // A link in the file's place is replaced, never written through.
    std::ofstream(folder_ / "elsewhere") << "keep me";
    fs::create_symlink(folder_ / "elsewhere", File());
    EXPECT_FALSE(remembered_.Exists());
    remembered_.Write(u"/srv");
    EXPECT_TRUE(remembered_.Exists());
    EXPECT_EQ(Contents(File()), "/srv\r\n");
    EXPECT_EQ(Contents(folder_ / "elsewhere"), "keep me");
}

}  // namespace
}  // namespace remembered
