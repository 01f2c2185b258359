// The Name stage and a whole run on Windows: letter case, hidden and system files, device
// names, and a source in a drive root.
#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <cstdlib>
#include <random>
#include <string>

#include "tests/support/deep_folder_windows.h"
#include "tests/support/scratch_text_folder.h"
#include "tests/support/shared_vectors.h"
#include "tests/window/workflow_fixture.h"

namespace window {
namespace {

namespace fs = std::filesystem;
using DestinationWindowsTest = testing::WorkflowTest;

TEST_F(DestinationWindowsTest, TheSourceInOtherLetterCaseIsRefusedAsTheSame) {
    DoubleClick(u"report.txt");
    form_.DestFile.SetText(u"REPORT.TXT");
    form_.go.Click();
    EXPECT_EQ(form_.Label1.Caption(), u"Source and destination are the same");
    EXPECT_EQ(Shown(), kNameStage);
}

TEST_F(DestinationWindowsTest, HiddenAndSystemFilesAreNeitherListedNorFoundAsExisting) {
    testing::WriteFile(files_ / "hidden.txt", "h");
    testing::WriteFile(files_ / "system.txt", "s");
    ASSERT_TRUE(SetFileAttributesW((files_ / "hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(SetFileAttributesW((files_ / "system.txt").c_str(), FILE_ATTRIBUTE_SYSTEM));
    form_.Dir1.SetPath(support::AsText(files_));
    EXPECT_EQ(form_.File1.Names(), (std::vector<std::u16string>{u"other.dat", u"report.txt"}));
    DoubleClick(u"report.txt");
    for (const char16_t* name : {u"hidden.txt", u"SYSTEM.TXT"}) {
        form_.DestFile.SetText(name);
        form_.go.Click();
        EXPECT_EQ(form_.Label1.Caption(), u"A hidden file has that name, pick another");
        EXPECT_FALSE(form_.Murder.Visible());
    }
}

// Under wine the Recycle Bin is the Trash of the Unix side, in its data folder (scripts/wine-run
// gives it the build's own), which the Unix side's root shows as drive Z:.
TEST_F(DestinationWindowsTest, KillPutsTheFileInTheRecycleBin) {
    std::random_device random;
    const std::u16string name = u"killed-" + platform::DecodeLine(std::to_string(random()));
    testing::WriteFile(files_ / platform::ToNative(name), "to be restored");
    form_.Dir1.SetPath(support::AsText(files_));
    DoubleClick(u"report.txt");
    form_.DestFile.SetText(name);
    form_.go.Click();
    ASSERT_TRUE(form_.Murder.Visible());
    form_.Murder.Click();
    EXPECT_FALSE(fs::exists(files_ / platform::ToNative(name)));
    EXPECT_EQ(form_.Label6.Caption(), name + u" was moved to the Recycle Bin.");

    const wchar_t* data = _wgetenv(L"XDG_DATA_HOME");
    if (data == nullptr) GTEST_SKIP() << "not under wine: the Recycle Bin is not looked into";
    const fs::path trash = fs::path(L"Z:" + std::wstring(data)) / L"Trash";
    const fs::path file = trash / L"files" / platform::ToNative(name);
    const fs::path info = trash / L"info" / (platform::ToNative(name) + L".trashinfo");
    const std::string restored = testing::ReadFile(file);
    const std::string origin = testing::ReadFile(info);
    fs::remove(file);
    fs::remove(info);
    EXPECT_EQ(restored, "to be restored");
    const std::string narrow = platform::EncodeLine(name).value_or("");
    EXPECT_EQ(origin.rfind("[Trash Info]\nPath=", 0), 0u) << origin;
    EXPECT_NE(origin.find("/" + narrow + "\n"), std::string::npos) << origin;
}

TEST_F(DestinationWindowsTest, ADeviceNameIsNotAFileName) {
    DoubleClick(u"report.txt");
    form_.DestFile.SetText(u"nul.txt");
    form_.go.Click();
    EXPECT_EQ(form_.Label1.Caption(), u"Not a plain file name");
    EXPECT_TRUE(form_.Label6.Visible());
}

TEST_F(DestinationWindowsTest, ARunFromADriveRootWritesBesideTheSourceAndRemembersTheRoot) {
    // The C: of the tests' own wine prefix; the names are this test's alone.
    std::random_device random;
    const std::u16string stem = u"tessomar-" + platform::DecodeLine(std::to_string(random()));
    const fs::path source = fs::path(L"C:\\") / platform::ToNative(stem + u".txt");
    const fs::path destination = fs::path(L"C:\\") / platform::ToNative(stem + u"_XXX.txt");
    testing_support::WriteBytes(source, testing_support::kSharedSource);

    form_.Dir1.SetPath(u"C:\\");
    DoubleClick(stem + u".txt");
    EXPECT_EQ(form_.Path.GetText(), u"C:\\");
    form_.go.Click();
    ASSERT_EQ(form_.Label1.Caption(), u"Enter Password");
    EXPECT_EQ(testing::ReadFile(work_ / "LastPath"), "C:\\\r\n");
    form_.Pwd.SetText(testing_support::kSharedPassword);
    form_.Pwd2.SetText(testing_support::kSharedPassword);
    form_.Start.Click();
    const std::string written = testing_support::ReadBytes(destination);
    fs::remove(source);
    fs::remove(destination);
    EXPECT_EQ(form_.Label1.Caption(), u"... Done ...");
    EXPECT_EQ(std::vector<std::uint8_t>(written.begin(), written.end()),
              testing_support::kSharedDestination);
}

TEST_F(DestinationWindowsTest, AFileSixHundredUnitsDeepIsPickedEncipheredRestoredAndKilled) {
    const std::u16string deep = support::MakeDeepFolder(support::AsText(files_), 600);
    const std::u16string source = platform::JoinPath(deep, u"report.txt");
    support::WriteDeepFile(source, testing_support::kSharedSource);
    // The fixture's folder cannot remove what lies past the old limit.
    struct Removed {
        std::wstring tree;
        ~Removed() { support::RemoveTree(tree); }
    } removed{support::LongForm(platform::JoinPath(support::AsText(files_), std::u16string(40, u'd')))};

    form_.Dir1.SetPath(deep);
    EXPECT_EQ(form_.Dir1.Path(), deep);
    EXPECT_EQ(form_.File1.Names(), std::vector<std::u16string>{u"report.txt"});
    AcceptDestination(u"report.txt");
    form_.Pwd.SetText(testing_support::kSharedPassword);
    form_.Pwd2.SetText(testing_support::kSharedPassword);
    form_.Start.Click();
    ASSERT_EQ(form_.Label1.Caption(), u"... Done ...");
    const std::string enciphered = support::ReadDeepFile(platform::JoinPath(deep, u"report_XXX.txt"));
    EXPECT_EQ(std::vector<std::uint8_t>(enciphered.begin(), enciphered.end()),
              testing_support::kSharedDestination);

    // The next start opens there, restores the source, and deletes the result on request.
    for (const bool restore : {true, false}) {
        testing::FakeHost host;
        Form1 next(host, remembered_);
        next.Load();
        ASSERT_EQ(next.Dir1.Path(), deep);
        const auto& names = next.File1.Names();
        const std::u16string picked = restore ? u"report_XXX.txt" : u"report.txt";
        next.File1.Select(static_cast<int>(std::find(names.begin(), names.end(), picked) - names.begin()));
        next.File1.DblClick();
        next.DestFile.SetText(restore ? u"restored.txt" : u"report_XXX.txt");
        next.go.Click();
        if (restore) {
            next.Pwd.SetText(testing_support::kSharedPassword);
            next.Pwd2.SetText(testing_support::kSharedPassword);
            next.Start.Click();
            EXPECT_EQ(support::ReadDeepFile(platform::JoinPath(deep, u"restored.txt")),
                      testing_support::kSharedSource);
        } else {
            ASSERT_TRUE(next.Murder.Visible());
            next.Murder.Click();
            EXPECT_EQ(platform::Classify(platform::JoinPath(deep, u"report_XXX.txt")),
                      platform::EntryKind::Missing);
        }
    }
}

}  // namespace
}  // namespace window
