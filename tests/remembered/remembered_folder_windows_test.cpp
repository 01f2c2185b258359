// "LastPath" on Windows: the ANSI code page, the 5-byte drive root, and hidden files unseen.
#include <gtest/gtest.h>
#include <windows.h>

#include "remembered/remembered_folder.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/whole_files.h"

namespace remembered {
namespace {

using support::ReadFile;
using support::WriteFile;

TEST(RememberedFolderWindows, ADriveRootIsWrittenAsFiveBytesAndReadBack) {
    const support::ScratchFolder folder;
    const RememberedFolder remembered(folder.Text());
    remembered.Write(u"C:\\");
    EXPECT_EQ(ReadFile(folder / "LastPath"), "C:\\\r\n");
    EXPECT_TRUE(remembered.Exists());
    EXPECT_EQ(remembered.Read(), u"C:\\");
}

TEST(RememberedFolderWindows, FoldersAreWrittenInTheAnsiCodePageOrNotAtAll) {
    ASSERT_EQ(GetACP(), 1252u);
    const support::ScratchFolder folder;
    const RememberedFolder remembered(folder.Text());
    EXPECT_EQ(remembered.Write(u"D:\\Caf\u00e9\\\u20ac \u017d"), WriteOutcome::Written);
    EXPECT_EQ(ReadFile(folder / "LastPath"), "D:\\Caf\xe9\\\x80 \x8e\r\n");
    EXPECT_EQ(remembered.Read(), u"D:\\Caf\u00e9\\\u20ac \u017d");
    // A folder the code page cannot name is not remembered, and the last one stays.
    EXPECT_EQ(remembered.Write(u"D:\\\u65e5\u672c"), WriteOutcome::FolderNameUnfit);
    EXPECT_EQ(remembered.Read(), u"D:\\Caf\u00e9\\\u20ac \u017d");
}

TEST(RememberedFolderWindows, AHiddenOrSystemFileIsNotFound) {
    const support::ScratchFolder folder;
    const RememberedFolder remembered(folder.Text());
    WriteFile(folder / "LastPath", "C:\\\r\n");
    for (const DWORD attribute : {FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM}) {
        ASSERT_TRUE(SetFileAttributesW((folder / "LastPath").c_str(), attribute));
        EXPECT_FALSE(remembered.Exists());
    }
    ASSERT_TRUE(SetFileAttributesW((folder / "LastPath").c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(remembered.Exists());
}

}  // namespace
}  // namespace remembered
