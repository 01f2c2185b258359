// Paths of any length on Windows: the long form the system is given, and a file 600 units
// deep that is listed, read, written and removed as any other.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/handles_windows.h"
#include "platform/platform.h"
#include "tests/support/deep_folder_windows.h"
#include "tests/support/listings.h"
#include "tests/support/scratch_folder.h"

namespace {

using platform::windows::LongPath;
using platform::windows::SystemPath;

std::u16string WorkingFolder() {
    wchar_t folder[32768];
    const DWORD length = GetCurrentDirectoryW(32768, folder);
    return std::u16string(folder, folder + length);
}

TEST(WindowsLongPaths, TheLongFormIsAbsoluteResolvedAndPrefixedOnce) {
    const struct {
        std::u16string path;
        std::u16string longForm;
    } kCases[] = {
        {u"C:\\a\\b.txt", u"\\\\?\\C:\\a\\b.txt"},
        // The system takes "." and ".." literally after the prefix: they go first.
        {u"C:/a//b/./c/../d", u"\\\\?\\C:\\a\\b\\d"},
        {u"C:\\a\\..\\..\\b", u"\\\\?\\C:\\b"},
        {u"\\\\server\\share\\x\\..\\..\\y", u"\\\\?\\UNC\\server\\share\\y"},
        {u"\\\\server\\share\\folder\\file.bin", u"\\\\?\\UNC\\server\\share\\folder\\file.bin"},
        {u"\\\\?\\C:\\a\\.\\b", u"\\\\?\\C:\\a\\.\\b"},
        {u"\\\\?\\UNC\\server\\share\\a", u"\\\\?\\UNC\\server\\share\\a"},
        {u"\\\\.\\pipe\\name", u"\\\\.\\pipe\\name"},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(LongPath(c.path), c.longForm) << std::string(c.path.begin(), c.path.end());
    }
    // A relative path lies in the working folder.
    const std::u16string here = WorkingFolder();
    EXPECT_EQ(LongPath(u"LastPath"), u"\\\\?\\" + platform::JoinPath(here, u"LastPath"));
}

TEST(WindowsLongPaths, OnlyPathsAsLongAsTheOldLimitTakeTheLongForm) {
    const std::u16string justShort =
        u"C:\\" + std::u16string(platform::windows::SystemPathLimit - 4, u'a');
    EXPECT_EQ(SystemPath(justShort), justShort);
    EXPECT_EQ(SystemPath(u"C:\\a\\..\\b"), u"C:\\a\\..\\b");
    const std::u16string justLong = justShort + u"a";
    EXPECT_EQ(SystemPath(justLong), u"\\\\?\\" + justLong);
    const std::u16string deep = u"C:\\x\\..\\" + std::u16string(600, u'b');
    EXPECT_EQ(SystemPath(deep), u"\\\\?\\C:\\" + std::u16string(600, u'b'));
}

// A scratch folder with a chain of folders in it whose last one has a path of 600 units.
class DeepFolder {
public:
    DeepFolder() : path_(support::MakeDeepFolder(top_.Text(), 600)) {}
    ~DeepFolder() { support::RemoveTree(support::LongForm(top_.Text())); }

    const std::u16string& Path() const { return path_; }
    std::u16string Text(std::u16string_view name) const { return platform::JoinPath(path_, name); }

private:
    support::ScratchFolder top_;
    std::u16string path_;
};

TEST(WindowsLongPaths, AFileSixHundredUnitsDeepIsListedReadWrittenAndRemoved) {
    const DeepFolder deep;
    ASSERT_GE(deep.Path().size(), 600u);
    const std::u16string source = deep.Text(u"source.bin");
    support::WriteDeepFile(source, "deep");

    EXPECT_TRUE(platform::FolderExists(deep.Path()));
    EXPECT_EQ(platform::FolderChain(deep.Path()).back().path, deep.Path());
    const std::u16string parent = deep.Path().substr(0, deep.Path().find_last_of(u'\\'));
    EXPECT_EQ(support::SubfoldersOf(parent), std::vector<std::u16string>{std::u16string(40, u'd')});
    EXPECT_EQ(support::FilesOf(deep.Path()), std::vector<std::u16string>{u"source.bin"});
    EXPECT_EQ(platform::Classify(source), platform::EntryKind::OrdinaryFile);
    EXPECT_EQ(platform::Classify(deep.Text(u"missing")), platform::EntryKind::Missing);
    EXPECT_EQ(platform::Classify(deep.Text(u"*.bin")), platform::EntryKind::Missing);
    EXPECT_EQ(platform::Classify(std::u16string(u"\\\\?\\") + source),
              platform::EntryKind::OrdinaryFile);
    EXPECT_TRUE(platform::IdentityOf(source));

    platform::InputFile input(source);
    std::uint8_t bytes[8];
    EXPECT_EQ(input.Read(bytes), 4u);
    {
        platform::OutputFile output(deep.Text(u"result.bin"), input);
        output.Write(std::span<const std::uint8_t>(bytes, 4));
        output.Commit();
    }
    EXPECT_EQ(support::FilesOf(deep.Path()).size(), 2u);
    EXPECT_TRUE(input.IsSameFileAs(source));
    EXPECT_FALSE(input.IsSameFileAs(deep.Text(u"result.bin")));
    EXPECT_TRUE(
        platform::RemoveFileUnless(deep.Text(u"result.bin"), *platform::IdentityOf(source)));

    platform::WriteWholeFile(deep.Text(u"LastPath"), "C:\\\r\n");
    EXPECT_EQ(platform::ReadFileStart(deep.Text(u"LastPath"), 16), "C:\\\r\n");
    platform::RemoveFile(deep.Text(u"LastPath"));
    EXPECT_EQ(support::FilesOf(deep.Path()), std::vector<std::u16string>{u"source.bin"});
    try {
        platform::RemoveFile(deep.Text(u"LastPath"));
        ADD_FAILURE() << "no error";
    } catch (const platform::FileError& error) {
        // The user is shown the path as the program has it, never the long form.
        EXPECT_EQ(error.Path(), deep.Text(u"LastPath"));
    }
}

}  // namespace
