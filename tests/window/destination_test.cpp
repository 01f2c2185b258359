// The Name stage: the proposed name, the refusals on OK, "Kill it !", and acceptance; on
// Windows also hidden and system files, device names, a source in a drive root and a deep one.
#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#endif

#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "platform/platform.h"
#include "tests/support/native_text.h"
#ifdef _WIN32
#include "tests/support/deep_folder_windows.h"
#include "tests/support/shared_vectors.h"
#endif
#include "tests/window/workflow_fixture.h"
#include "window/texts.h"

namespace window {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::WriteFile;

// Every entry under a folder with its contents, to show that nothing on disk changed.
[[maybe_unused]] std::map<std::string, std::string> Snapshot(const fs::path& folder) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string name = fs::relative(entry.path(), folder).string();
        entries[name] = entry.is_regular_file() ? ReadFile(entry.path()) : "<" + name + ">";
    }
    return entries;
}

using DestinationTest = testing::WorkflowTest;

#ifndef _WIN32
// The names in the test's own Trash.
std::set<std::string> Trashed(const support::DataHome& dataHome) {
    std::set<std::string> names;
    std::error_code missing;
    for (const auto& entry : fs::directory_iterator(dataHome.Trash() / "files", missing)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}
#endif

TEST(SuggestedDestinationName, PutsTheMarkerBeforeTheFirstDot) {
    EXPECT_EQ(SuggestedDestinationName(u"report.txt"), u"report_XXX.txt");
    EXPECT_EQ(SuggestedDestinationName(u"a.b.c"), u"a_XXX.b.c");
    EXPECT_EQ(SuggestedDestinationName(u"README"), u"README_XXX");
    EXPECT_EQ(SuggestedDestinationName(u".profile"), u"_XXX.profile");
}

TEST(UpperCase, FoldsLettersBeyondAscii) {
    EXPECT_EQ(UpperCase(u"report_xxx.txt"), u"REPORT_XXX.TXT");
    EXPECT_EQ(UpperCase(u"\u00e9t\u00e9 \u017e\u0142\u00ff"), u"\u00c9T\u00c9 \u017d\u0141\u0178");
    EXPECT_EQ(UpperCase(u"\u0444\u0430\u0439\u043b \u03b1\u03b2"),
              u"\u0424\u0410\u0419\u041b \u0391\u0392");
    EXPECT_EQ(UpperCase(u"1_\u00f7_\u0131"), u"1_\u00f7_\u0131");
}

TEST_F(DestinationTest, DoubleClickProposesANameAndShowsTheNameStage) {
    DoubleClick(u"report.txt");
    EXPECT_EQ(form_.Label1.Caption(), u"Destination File");
    EXPECT_EQ(form_.DestFile.GetText(), u"report_XXX.txt");
    EXPECT_EQ(form_.DFile.GetText(), u"report_XXX.txt");
    EXPECT_EQ(form_.SFile.GetText(), u"report.txt");
    EXPECT_EQ(form_.Path.GetText(), support::AsText(files_));
    EXPECT_EQ(Shown(), kNameStage);
}

TEST_F(DestinationTest, DoubleClickWithoutSelectionDoesNothing) {
    form_.File1.Select(-1);
    const auto before = Shown();
    form_.File1.DblClick();
    EXPECT_EQ(Shown(), before);
    EXPECT_EQ(form_.Label1.Caption(), u"Select Source File");
    EXPECT_TRUE(form_.DestFile.GetText().empty());
}

TEST_F(DestinationTest, ExistingFileIsOfferedForDeletionThenAccepted) {
    DoubleClick(u"report.txt");
    form_.DestFile.SetText(u"other.dat");
    form_.go.Click();
    EXPECT_EQ(form_.Label1.Caption(), u"Destination file exists, choose another name or delete it");
    EXPECT_TRUE(form_.Murder.Visible());
    EXPECT_EQ(Shown(), (std::set<std::string>{"Label1", "Help", "DestFile", "go", "Murder"}));

    form_.Murder.Click();
    EXPECT_FALSE(fs::exists(files_ / "other.dat"));
    EXPECT_FALSE(form_.Murder.Visible());
    EXPECT_EQ(form_.Label1.Caption(), u"Destination file exists, choose another name or delete it");
    EXPECT_EQ(form_.Label6.Caption(),
              u"other.dat was moved to the " + platform::WastebasketName() + u".");
    EXPECT_TRUE(form_.Label6.Visible());
#ifndef _WIN32
    EXPECT_EQ(ReadFile(dataHome_.Trash() / "files" / "other.dat"), "another file");
#endif
    EXPECT_EQ(ReadFile(files_ / "report.txt"), "the source");

    form_.go.Click();
    EXPECT_EQ(form_.Label1.Caption(), u"Enter Password");
    EXPECT_EQ(Shown(), kPasswordStage);
    EXPECT_EQ(form_.Pwd.BackColor(), kRed);
    EXPECT_TRUE(form_.Pwd.GetText().empty());
    EXPECT_EQ(form_.DFile.GetText(), u"other.dat");
}

TEST_F(DestinationTest, TypingWithdrawsTheOfferToDelete) {
    DoubleClick(u"report.txt");
    form_.DestFile.SetText(u"other.dat");
    form_.go.Click();
    ASSERT_TRUE(form_.Murder.Visible());
    form_.DestFile.SetText(u"other.da");
    EXPECT_FALSE(form_.Murder.Visible());
    EXPECT_TRUE(fs::exists(files_ / "other.dat"));
}

TEST_F(DestinationTest, AcceptanceHidesALeftoverDeleteButton) {
    DoubleClick(u"report.txt");
    form_.DestFile.SetText(u"other.dat");
    form_.go.Click();
    fs::remove(files_ / "other.dat");  // gone before OK is pressed again, name unedited
    form_.go.Click();
    EXPECT_EQ(form_.Label1.Caption(), u"Enter Password");
    EXPECT_FALSE(form_.Murder.Visible());
}

TEST_F(DestinationTest, AcceptanceRemembersTheFolder) {
    DoubleClick(u"report.txt");
    form_.go.Click();
    EXPECT_EQ(ReadFile(work_ / "LastPath"), files_.string() + "\r\n");
    EXPECT_FALSE(form_.Label6.Visible());
}

TEST_F(DestinationTest, AFolderThatCannotBeRememberedDoesNotStopAcceptance) {
    fs::create_directory(work_ / "LastPath");
    DoubleClick(u"report.txt");
    form_.go.Click();
    EXPECT_EQ(form_.Label1.Caption(), u"Enter Password");
    EXPECT_TRUE(form_.Label6.Visible());
    EXPECT_NE(form_.Label6.Caption().find(u"could not be remembered"), std::u16string::npos);
}

#ifndef _WIN32  // Linux: symbolic links and names with '/' in them
TEST_F(DestinationTest, RefusalsLeaveTheNameStageAndEveryFileAsItWas) {
    fs::create_directory(files_ / "folder");
    WriteFile(files_ / ".hidden", "hidden");
    fs::create_symlink("report.txt", files_ / "link");
    fs::create_symlink("nowhere", files_ / "dangling");
    WriteFile(root_ / "outside.txt", "outside");
    const struct {
        std::u16string name;
        std::u16string message;
        bool notice = false;  // the notice line explains where the file goes
    } refusals[] = {
        {u"", u"Enter a destination file name"},
        {u"report.txt", u"Source and destination are the same"},
        {u"../outside.txt", u"Not a plain file name", true},
        {u"folder/x", u"Not a plain file name", true},
        {u".", u"Not a plain file name", true},
        {u"..", u"Not a plain file name", true},
        {u"folder", u"A folder has that name, choose another"},
        {u".hidden", u"A hidden file has that name, pick another"},
        {u"link", u"That name is taken, choose another"},
        {u"dangling", u"That name is taken, choose another"},
        {std::u16string(256, u'n'), u"Name too long, choose a shorter one", true},
        {u"tab\tname", u"Name has a control character"},
        {u"p.bin\n", u"Name has a control character"},
        {u"del\x7f", u"Name has a control character"},
        {u"unit\x1f", u"Name has a control character"},
        {u"   ", u"Name cannot be only blanks"},
        {u" ", u"Name cannot be only blanks"},
    };
    const auto before = Snapshot(root_);
    DoubleClick(u"report.txt");
    for (const auto& refusal : refusals) {
        SCOPED_TRACE(platform::ToNative(refusal.name));
        form_.DestFile.SetText(refusal.name);
        form_.go.Click();
        EXPECT_EQ(form_.Label1.Caption(), refusal.message);
        EXPECT_EQ(form_.Label6.Visible(), refusal.notice);
        auto shown = Shown();
        shown.erase("Label6");
        EXPECT_EQ(shown, kNameStage);
    }
    EXPECT_EQ(Snapshot(root_), before);
    EXPECT_FALSE(fs::exists(work_ / "LastPath"));
}
#endif

TEST_F(DestinationTest, EachRefusedNameGetsItsOwnReason) {
    DoubleClick(u"report.txt");
    std::vector<std::u16string> notices;
    for (const std::u16string& name :
         std::vector<std::u16string>{u"folder/x", u".", std::u16string(256, u'n')}) {
        form_.DestFile.SetText(name);
        form_.go.Click();
        notices.push_back(form_.Label6.Caption());
    }
    EXPECT_NE(notices[0], notices[1]);
    EXPECT_NE(notices[1], notices[2]);
    EXPECT_NE(notices[0], notices[2]);
}

#ifndef _WIN32  // Linux: folders nested past PATH_MAX
TEST_F(DestinationTest, APathTooLongForTheSystemIsNotCalledTaken) {
    // Each name fits, but the folders and the name together are more than the system takes.
    fs::path deep = files_;
    const std::string level(200, 'd');
    while (deep.native().size() < 4000) {
        deep /= level;
        fs::create_directory(deep);
    }
    WriteFile(deep / "s", "x");
    form_.Dir1.SetPath(support::AsText(deep));
    DoubleClick(u"s");
    form_.DestFile.SetText(std::u16string(120, u'n'));
    form_.go.Click();
    EXPECT_EQ(form_.Label1.Caption(), u"Name too long, choose a shorter one");
    EXPECT_FALSE(form_.Murder.Visible());
}
#endif

#ifndef _WIN32  // Linux: letter case tells names apart
TEST_F(DestinationTest, LetterCaseMakesAnotherNameWhereTheSystemTellsThemApart) {
    WriteFile(files_ / "REPORT.TXT", "another file");
    DoubleClick(u"report.txt");
    form_.DestFile.SetText(u"REPORT.TXT");
    form_.go.Click();
    EXPECT_EQ(form_.Label1.Caption(), u"Destination file exists, choose another name or delete it");
    form_.Murder.Click();
    EXPECT_TRUE(fs::exists(files_ / "report.txt"));
    EXPECT_FALSE(fs::exists(files_ / "REPORT.TXT"));
    form_.go.Click();
    EXPECT_EQ(form_.Label1.Caption(), u"Enter Password");
}
#else  // Windows: letter case does not
TEST_F(DestinationTest, TheSourceInOtherLetterCaseIsRefusedAsTheSame) {
    DoubleClick(u"report.txt");
    form_.DestFile.SetText(u"REPORT.TXT");
    form_.go.Click();
    EXPECT_EQ(form_.Label1.Caption(), u"Source and destination are the same");
    EXPECT_EQ(Shown(), kNameStage);
}
#endif

#ifndef _WIN32  // Linux: '*' may be part of a name
TEST_F(DestinationTest, WildcardsAreTakenLiterally) {
    DoubleClick(u"report.txt");
    form_.DestFile.SetText(u"*.dat");
    form_.go.Click();
    // No file is literally named "*.dat", so the name is free, whatever matches the pattern.
    EXPECT_EQ(form_.Label1.Caption(), u"Enter Password");
    EXPECT_TRUE(fs::exists(files_ / "other.dat"));
}
#endif

TEST_F(DestinationTest, KillNeverDeletesTheSourceUnderAnotherName) {
    fs::create_hard_link(files_ / "report.txt", files_ / "alias.txt");
    DoubleClick(u"report.txt");
    form_.DestFile.SetText(u"alias.txt");
    form_.go.Click();
    ASSERT_TRUE(form_.Murder.Visible());
    form_.Murder.Click();
    EXPECT_EQ(form_.Label1.Caption(), u"That is the source file, it was not deleted");
    EXPECT_FALSE(form_.Murder.Visible());
    EXPECT_EQ(ReadFile(files_ / "report.txt"), "the source");
    EXPECT_TRUE(fs::exists(files_ / "alias.txt"));
#ifndef _WIN32
    EXPECT_TRUE(Trashed(dataHome_).empty());
#endif
}

// The source picked was replaced after OK, and the name offered for deletion made another
// name of the new one: the file at the source's name is spared all the same.
TEST_F(DestinationTest, KillNeverDeletesTheFileNowAtTheSourcesName) {
    DoubleClick(u"report.txt");
    form_.DestFile.SetText(u"other.dat");
    form_.go.Click();
    ASSERT_TRUE(form_.Murder.Visible());
    fs::remove(files_ / "report.txt");
    WriteFile(files_ / "report.txt", "a new source");
    fs::remove(files_ / "other.dat");
    fs::create_hard_link(files_ / "report.txt", files_ / "other.dat");
    form_.Murder.Click();
    EXPECT_EQ(form_.Label1.Caption(), u"That is the source file, it was not deleted");
    EXPECT_TRUE(fs::exists(files_ / "other.dat"));
}

// Pasted text stops at its first line break, as in the system's single-line boxes; what a
// password box takes is the key, so a pasted line break would make a password no one types.
TEST_F(DestinationTest, BoxesTakeAPastedTextUpToItsFirstLineBreak) {
    DoubleClick(u"report.txt");
    form_.DestFile.Typed(u"p.bin\nsecond line");
    EXPECT_EQ(form_.DestFile.GetText(), u"p.bin");
    form_.DestFile.Typed(u"p.bin\r\n");
    EXPECT_EQ(form_.DestFile.GetText(), u"p.bin");
    form_.go.Click();
    ASSERT_EQ(form_.Label1.Caption(), u"Enter Password");
    form_.Pwd.Typed(u"secret\r\n");
    form_.Pwd2.Typed(u"secret\n");
    EXPECT_EQ(form_.Pwd.GetText(), u"secret");
    EXPECT_EQ(form_.Pwd2.GetText(), u"secret");
    form_.Pwd.Typed(u"tab\tkept");
    EXPECT_EQ(form_.Pwd.GetText(), u"tab\tkept");
}

#ifndef _WIN32  // Linux: as root nothing but a file in its place keeps the Trash from being made
TEST_F(DestinationTest, KillWhereNoTrashCanBeMadeDeletesForGoodAndSaysSo) {
    fs::create_directories(dataHome_.Trash().parent_path());
    WriteFile(dataHome_.Trash(), "not a folder");
    DoubleClick(u"report.txt");
    form_.DestFile.SetText(u"other.dat");
    form_.go.Click();
    form_.Murder.Click();
    EXPECT_FALSE(fs::exists(files_ / "other.dat"));
    EXPECT_EQ(form_.Label6.Caption(), u"other.dat was deleted for good: this disk has no Trash.");
    form_.go.Click();
    EXPECT_EQ(form_.Label1.Caption(), u"Enter Password");
}
#endif

TEST_F(DestinationTest, KillOfAFileThatVanishedSaysSoAndOkGoesOn) {
    DoubleClick(u"report.txt");
    form_.DestFile.SetText(u"other.dat");
    form_.go.Click();
    fs::remove(files_ / "other.dat");
    form_.Murder.Click();
    EXPECT_EQ(form_.Label1.Caption(), u"The file is gone, press OK again");
    EXPECT_FALSE(form_.Murder.Visible());
    form_.go.Click();
    EXPECT_EQ(form_.Label1.Caption(), u"Enter Password");
}

// Tests run as root, where permissions cannot make a delete fail; the window's own remover
// is swapped for one that fails as a file in use would.
TEST_F(DestinationTest, AFailedKillSaysWhy) {
    DoubleClick(u"report.txt");
    form_.DestFile.SetText(u"other.dat");
    form_.go.Click();
    ASSERT_TRUE(form_.Murder.Visible());
    form_.SetFileRemover([](std::u16string_view path, const auto&) -> platform::Discarded {
        throw platform::FileError(std::make_error_code(std::errc::permission_denied),
                                  u"Cannot delete", std::u16string(path));
    });
    form_.Murder.Click();
    EXPECT_EQ(form_.Label1.Caption(), u"Could not delete the file");
    EXPECT_TRUE(form_.Label6.Visible());
    EXPECT_EQ(form_.Label6.Caption(), u"other.dat: Permission denied");
    EXPECT_FALSE(form_.Murder.Visible());
    EXPECT_EQ(ReadFile(files_ / "other.dat"), "another file");
}

TEST_F(DestinationTest, KillNeverDeletesThePickedSourceRenamedOntoTheName) {
    DoubleClick(u"report.txt");
    form_.DestFile.SetText(u"other.dat");
    form_.go.Click();
    ASSERT_TRUE(form_.Murder.Visible());
    // Another program moves the source onto the name about to be deleted.
    fs::rename(files_ / "report.txt", files_ / "other.dat");
    form_.Murder.Click();
    EXPECT_EQ(form_.Label1.Caption(), u"That is the source file, it was not deleted");
    EXPECT_EQ(ReadFile(files_ / "other.dat"), "the source");
    EXPECT_FALSE(form_.Label6.Visible());
#ifndef _WIN32
    EXPECT_TRUE(Trashed(dataHome_).empty());
#endif
}

TEST_F(DestinationTest, LastPathIsRefusedAsAResultNameInTheWorkingFolderOnly) {
    // The working folder, by any path that leads there.
    WriteFile(work_ / "notes.txt", "notes");
    std::vector<fs::path> ways{work_};
#ifndef _WIN32  // Linux: a symbolic link to the working folder
    fs::create_directory_symlink(work_, root_ / "alias");
    ways.push_back(root_ / "alias");
#endif
    for (const fs::path& folder : ways) {
        form_.Dir1.SetPath(support::AsText(folder));
        DoubleClick(u"notes.txt");
        form_.DestFile.SetText(u"LastPath");
        form_.go.Click();
        EXPECT_EQ(form_.Label1.Caption(), u"LastPath is kept for the program here");
        EXPECT_TRUE(form_.Label6.Visible());
        EXPECT_FALSE(form_.Murder.Visible());
        EXPECT_FALSE(fs::exists(work_ / "LastPath"));
    }
#ifndef _WIN32  // Linux: the very file under a name in other letters, as a folder that
                // ignores letter case finds it, stood in for by a hard link
    WriteFile(work_ / "LastPath", "/srv\r\n");
    fs::create_hard_link(work_ / "LastPath", work_ / "lastpath");
    DoubleClick(u"notes.txt");
    form_.DestFile.SetText(u"lastpath");
    form_.go.Click();
    EXPECT_EQ(form_.Label1.Caption(), u"LastPath is kept for the program here");
    EXPECT_FALSE(form_.Murder.Visible());
#endif
    // Anywhere else it is a name like any other.
    form_.Dir1.SetPath(support::AsText(files_));
    AcceptDestination(u"report.txt", u"LastPath");
}

TEST_F(DestinationTest, SomeoneElsesLastPathIsKeptAtStartAndNotWrittenOver) {
    // A result the user once named LastPath here: not a line the program writes.
    const std::string theirs = "/no/such/folder\r\nand the rest of their notes\r\n";
    WriteFile(work_ / "LastPath", theirs);
    testing::FakeHost host;
    Form1 form(host, remembered_);
    form.Load();
    EXPECT_EQ(form.Dir1.Path(), platform::DefaultFolder());
    EXPECT_EQ(ReadFile(work_ / "LastPath"), theirs);

    DoubleClick(u"report.txt");
    form_.go.Click();
    EXPECT_EQ(form_.Label1.Caption(), u"Enter Password");
    EXPECT_NE(form_.Label6.Caption().find(u"not the program's, so it was left as it is"),
              std::u16string::npos);
    EXPECT_EQ(ReadFile(work_ / "LastPath"), theirs);
}

TEST_F(DestinationTest, AFolderWithACommaIsOpenedWholeAtTheNextStart) {
    const fs::path comma = root_ / "Letters, old";
    fs::create_directory(comma);
    WriteFile(comma / "letter.txt", "dear");
    form_.Dir1.SetPath(support::AsText(comma));
    AcceptDestination(u"letter.txt");
    testing::FakeHost host;
    Form1 next(host, remembered_);
    next.Load();
    EXPECT_EQ(next.Dir1.Path(), support::AsText(comma));
}

#ifndef _WIN32  // Linux: a double quote may be part of a folder's name
TEST_F(DestinationTest, AFolderNoLastPathLineCanHoldIsNotRememberedAndTheNoticeSaysWhy) {
    const fs::path quoted = root_ / "say \"hi\"";
    fs::create_directory(quoted);
    WriteFile(quoted / "letter.txt", "dear");
    form_.Dir1.SetPath(support::AsText(quoted));
    AcceptDestination(u"letter.txt");
    EXPECT_NE(form_.Label6.Caption().find(u"a line break, a double quote"), std::u16string::npos);
    EXPECT_FALSE(fs::exists(work_ / "LastPath"));
}
#endif

#ifdef _WIN32  // Windows: hidden files, the Recycle Bin, device names, drive roots, deep folders
TEST_F(DestinationTest, HiddenAndSystemFilesAreNeitherListedNorFoundAsExisting) {
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
TEST_F(DestinationTest, KillPutsTheFileInTheRecycleBin) {
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

TEST_F(DestinationTest, ADeviceNameIsNotAFileName) {
    DoubleClick(u"report.txt");
    form_.DestFile.SetText(u"nul.txt");
    form_.go.Click();
    EXPECT_EQ(form_.Label1.Caption(), u"Not a plain file name");
    EXPECT_TRUE(form_.Label6.Visible());
}

TEST_F(DestinationTest, ARunFromADriveRootWritesBesideTheSourceAndRemembersTheRoot) {
    // The C: of the tests' own wine prefix; the names are this test's alone.
    std::random_device random;
    const std::u16string stem = u"tessomar-" + platform::DecodeLine(std::to_string(random()));
    const fs::path source = fs::path(L"C:\\") / platform::ToNative(stem + u".txt");
    const fs::path destination = fs::path(L"C:\\") / platform::ToNative(stem + u"_XXX.txt");
    support::WriteFile(source, support::kSharedSource);

    form_.Dir1.SetPath(u"C:\\");
    DoubleClick(stem + u".txt");
    EXPECT_EQ(form_.Path.GetText(), u"C:\\");
    form_.go.Click();
    ASSERT_EQ(form_.Label1.Caption(), u"Enter Password");
    EXPECT_EQ(testing::ReadFile(work_ / "LastPath"), "C:\\\r\n");
    form_.Pwd.SetText(support::kSharedPassword);
    form_.Pwd2.SetText(support::kSharedPassword);
    form_.Start.Click();
    const std::string written = support::ReadFile(destination);
    fs::remove(source);
    fs::remove(destination);
    EXPECT_EQ(form_.Label1.Caption(), u"... Done ...");
    EXPECT_EQ(std::vector<std::uint8_t>(written.begin(), written.end()),
              support::kSharedDestination);
}

TEST_F(DestinationTest, AFileSixHundredUnitsDeepIsPickedEncipheredRestoredAndKilled) {
    const std::u16string deep = support::MakeDeepFolder(support::AsText(files_), 600);
    const std::u16string source = platform::JoinPath(deep, u"report.txt");
    support::WriteDeepFile(source, support::kSharedSource);
    // The fixture's folder cannot remove what lies past the old limit.
    struct Removed {
        std::wstring tree;
        ~Removed() { support::RemoveTree(tree); }
    } removed{
        support::LongForm(platform::JoinPath(support::AsText(files_), std::u16string(40, u'd')))};

    form_.Dir1.SetPath(deep);
    EXPECT_EQ(form_.Dir1.Path(), deep);
    EXPECT_EQ(form_.File1.Names(), std::vector<std::u16string>{u"report.txt"});
    AcceptDestination(u"report.txt");
    form_.Pwd.SetText(support::kSharedPassword);
    form_.Pwd2.SetText(support::kSharedPassword);
    form_.Start.Click();
    ASSERT_EQ(form_.Label1.Caption(), u"... Done ...");
    const std::string enciphered =
        support::ReadDeepFile(platform::JoinPath(deep, u"report_XXX.txt"));
    EXPECT_EQ(std::vector<std::uint8_t>(enciphered.begin(), enciphered.end()),
              support::kSharedDestination);

    // The next start opens there, restores the source, and deletes the result on request.
    for (const bool restore : {true, false}) {
        testing::FakeHost host;
        Form1 next(host, remembered_);
        next.Load();
        ASSERT_EQ(next.Dir1.Path(), deep);
        ASSERT_TRUE(PickFile(next, restore ? u"report_XXX.txt" : u"report.txt"));
        next.DestFile.SetText(restore ? u"restored.txt" : u"report_XXX.txt");
        next.go.Click();
        if (restore) {
            next.Pwd.SetText(support::kSharedPassword);
            next.Pwd2.SetText(support::kSharedPassword);
            next.Start.Click();
            EXPECT_EQ(support::ReadDeepFile(platform::JoinPath(deep, u"restored.txt")),
                      support::kSharedSource);
        } else {
            ASSERT_TRUE(next.Murder.Visible());
            next.Murder.Click();
            EXPECT_EQ(platform::Classify(platform::JoinPath(deep, u"report_XXX.txt")),
                      platform::EntryKind::Missing);
        }
    }
}
#endif

}  // namespace
}  // namespace window
