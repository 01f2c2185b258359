// Start-up and browsing over the real drives of Windows (under wine: C: is the prefix's own
// drive, Z: the Linux root, where the test binaries lie).
#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/platform.h"
#include "remembered/remembered_folder.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/whole_files.h"
#include "tests/window/fake_host.h"
#include "window/form1.h"
#include "window/open_from_outside.h"

namespace window {
namespace {

namespace fs = std::filesystem;
using support::ScratchFolder;
using support::WriteFile;

// The folder of this test binary, on another drive than C:.
fs::path ProgramFolder() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path();
}

class BrowseWindowsTest : public ::testing::Test {
protected:
    std::size_t DriveIndex(char16_t letter) const {
        const auto& entries = form_.Drive1.Entries();
        for (std::size_t k = 0; k < entries.size(); ++k) {
            if (entries[k][0] == letter) return k;
        }
        return entries.size();
    }

    ScratchFolder work_;
    testing::FakeHost host_;
    remembered::RememberedFolder remembered_{work_.Text()};
    Form1 form_{host_, remembered_};
};

TEST_F(BrowseWindowsTest, WithoutRememberedFolderTheListsOpenAtTheRootOfC) {
    form_.Load();
    EXPECT_EQ(form_.Drive1.Drive().substr(0, 2), u"c:");
    EXPECT_EQ(form_.Dir1.Path(), u"C:\\");
    EXPECT_EQ(form_.File1.Path(), u"C:\\");
    EXPECT_EQ(form_.Dir1.Entries().front().name, u"C:\\");
}

TEST_F(BrowseWindowsTest, AFileOpenedFromOutsideIsFoundWhateverTheLetterCaseOfItsName) {
    const ScratchFolder there("browse", ProgramFolder());
    WriteFile(there / "Upper.TXT", "x");
    form_.Load();
    OpenFromOutside(form_, {there.Text("upper.txt")});
    EXPECT_EQ(form_.SFile.GetText(), u"Upper.TXT");
    EXPECT_EQ(form_.DestFile.GetText(), u"Upper_XXX.TXT");
    EXPECT_FALSE(form_.Label6.Visible());
}

TEST_F(BrowseWindowsTest, ARememberedFolderOnAnotherDriveOpensThatDriveAndFolder) {
    const ScratchFolder there("browse", ProgramFolder());
    ASSERT_EQ(there.Text().substr(0, 3), u"Z:\\");
    WriteFile(there / "found.txt", "x");
    WriteFile(work_ / "LastPath", *platform::EncodeLine(there.Text()) + "\r\n");
    form_.Load();
    EXPECT_EQ(form_.Drive1.Drive().substr(0, 2), u"z:");
    EXPECT_EQ(form_.Dir1.Path(), there.Text());
    EXPECT_EQ(form_.File1.Names(), std::vector<std::u16string>{u"found.txt"});
    EXPECT_TRUE(fs::exists(work_ / "LastPath"));
    EXPECT_TRUE(host_.messages.empty());
}

TEST_F(BrowseWindowsTest, ADriveRootRememberedAsFiveBytesOpensThere) {
    WriteFile(work_ / "LastPath", "Z:\\\r\n");
    form_.Load();
    EXPECT_EQ(form_.Drive1.Drive().substr(0, 2), u"z:");
    EXPECT_EQ(form_.Dir1.Path(), u"Z:\\");
}

TEST_F(BrowseWindowsTest, EachDriveReopensTheFolderLastShownOnIt) {
    const ScratchFolder there("browse", ProgramFolder());
    form_.Load();
    form_.Dir1.SetPath(work_.Text());
    form_.Drive1.Choose(DriveIndex(u'z'));
    EXPECT_EQ(form_.Dir1.Path(), u"Z:\\");
    form_.Dir1.SetPath(there.Text());
    form_.Drive1.Choose(DriveIndex(u'c'));
    EXPECT_EQ(form_.Dir1.Path(), work_.Text());
    form_.Drive1.Choose(DriveIndex(u'z'));
    EXPECT_EQ(form_.Dir1.Path(), there.Text());
    // Setting a drive takes the letter with or without its separator, in either case.
    form_.Drive1.SetDrive(u"c:");
    EXPECT_EQ(form_.Dir1.Path(), work_.Text());
    EXPECT_THROW(form_.Drive1.SetDrive(u""), std::system_error);
    EXPECT_EQ(form_.Dir1.Path(), work_.Text());
}

TEST_F(BrowseWindowsTest, ABadRememberedFolderIsDeletedAndTheListsOpenAtTheRootOfC) {
    const std::string gone = *platform::EncodeLine(work_.Text(u"gone")) + "\r\n";
    for (const std::string& bytes : {gone, std::string(), std::string("\r\n")}) {
        WriteFile(work_ / "LastPath", bytes);
        Form1 form(host_, remembered_);
        form.Load();
        EXPECT_EQ(form.Dir1.Path(), u"C:\\");
        EXPECT_EQ(form.File1.Path(), u"C:\\");
        EXPECT_FALSE(fs::exists(work_ / "LastPath")) << bytes;
    }
    // A folder of that name is someone else's: not read, and kept.
    fs::create_directory(work_ / "LastPath");
    Form1 form(host_, remembered_);
    form.Load();
    EXPECT_EQ(form.Dir1.Path(), u"C:\\");
    EXPECT_TRUE(fs::is_directory(work_ / "LastPath"));
    EXPECT_TRUE(host_.messages.empty());
}

}  // namespace
}  // namespace window
