// Drives and folder listing on Windows.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/platform.h"
#include "tests/support/listings.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/whole_files.h"

namespace {

using Texts = std::vector<std::u16string>;

TEST(WindowsVolumes, DrivesInLetterOrderShownWithTheirLabels) {
    // scripts/wine-run gives the tests' wine prefix a drive T: labelled "TESSDATA".
    const std::vector<platform::Volume> volumes = platform::ListVolumes();

    ASSERT_GE(volumes.size(), 3u);  // C:, T: and wine's Z:
    EXPECT_TRUE(std::is_sorted(volumes.begin(), volumes.end(),
                               [](const auto& a, const auto& b) { return a.path < b.path; }));
    const auto t = std::find_if(volumes.begin(), volumes.end(),
                                [](const auto& volume) { return volume.path == u"T:\\"; });
    ASSERT_NE(t, volumes.end());
    EXPECT_EQ(t->label, u"TESSDATA");
    EXPECT_EQ(t->text, u"t: [TESSDATA]");
    for (const auto& volume : volumes) {
        EXPECT_EQ(volume.path.size(), 3u);
        const std::u16string letter = {char16_t(volume.path[0] + 0x20), u':'};
        EXPECT_EQ(volume.text.substr(0, 2), letter);
    }
    EXPECT_EQ(platform::DefaultFolder(), u"C:\\");
    EXPECT_TRUE(platform::FolderExists(u"C:\\"));
    EXPECT_TRUE(platform::FolderExists(u"c:"));
}

TEST(WindowsVolumes, HiddenAndSystemEntriesAreNotListed) {
    const support::ScratchFolder folder;
    for (const char* name : {"plain.txt", "hidden.txt", "system.txt", ".dotted"}) {
        support::WriteFile(folder / name, name);
    }
    std::filesystem::create_directories(folder / "Sub");
    std::filesystem::create_directories(folder / "HiddenSub");
    ASSERT_TRUE(SetFileAttributesW((folder / "hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(SetFileAttributesW((folder / "system.txt").c_str(), FILE_ATTRIBUTE_SYSTEM));
    ASSERT_TRUE(SetFileAttributesW((folder / "HiddenSub").c_str(),
                                   FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN));

    Texts files = support::FilesOf(folder.Text());
    std::sort(files.begin(), files.end());
    // Wine hides names that begin with a dot, as the Linux build does.
    EXPECT_EQ(files, Texts{u"plain.txt"});
    EXPECT_EQ(support::SubfoldersOf(folder.Text()), Texts{u"Sub"});
    EXPECT_THROW(support::FilesOf(folder.Text("missing")), platform::FileError);
}

TEST(WindowsVolumes, NamesEndingInADotOrABlankAreNotListed) {
    // Other systems make them; here only paths taken as they are reach them, and they are
    // removed the same way (the folder's own removal would never end on them).
    const support::ScratchFolder folder;
    struct MadeAsTheyAre {
        std::wstring prefix;
        ~MadeAsTheyAre() {
            DeleteFileW((prefix + L"report.").c_str());
            DeleteFileW((prefix + L"a.txt ").c_str());
            RemoveDirectoryW((prefix + L"dir.").c_str());
        }
    } made{L"\\\\?\\" + folder.Path().wstring() + L"\\"};
    support::WriteFile(folder / "report", "plain");
    for (const wchar_t* name : {L"report.", L"a.txt "}) {
        const HANDLE file = CreateFileW((made.prefix + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << GetLastError();
        CloseHandle(file);
    }
    ASSERT_TRUE(CreateDirectoryW((made.prefix + L"dir.").c_str(), nullptr));
    // Opened by its listed name, "report." would read "report".
    EXPECT_EQ(support::FilesOf(folder.Text()), Texts{u"report"});
    EXPECT_EQ(support::SubfoldersOf(folder.Text()), Texts{});
}

}  // namespace
