// A file or folder handed in from outside (the command line, a drop): it must end where the
// user's own browsing would, and anything else must leave the window as it was.
#include "window/open_from_outside.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/support/native_text.h"
#include "tests/window/workflow_fixture.h"
#include "window/design.h"

namespace window {
namespace {

namespace fs = std::filesystem;
using testing::WriteFile;

// Every entry under a folder, links and pipes included, to show that nothing was written.
std::vector<std::string> Entries(const fs::path& folder) {
    std::vector<std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const bool file = entry.symlink_status().type() == fs::file_type::regular;
        entries.push_back(entry.path().string() + " " +
                          std::to_string(file ? fs::file_size(entry.path()) : 0));
    }
    return entries;
}

// What every control shows, the notice line apart: two windows that describe the same are
// the same to the user.
std::map<std::string, std::u16string> Describe(Form1& form) {
    std::map<std::string, std::u16string> shown;
    for (const DesignEntry& entry : Design().controls) {
        if (entry.name == "Label6") continue;
        Control& control = *form.Find(entry.name);
        std::u16string text = control.Visible() ? u"shown " : u"hidden ";
        if (auto* label = dynamic_cast<Label*>(&control)) text += label->Caption();
        if (auto* box = dynamic_cast<TextBox*>(&control)) text += box->GetText();
        if (auto* drives = dynamic_cast<DriveListBox*>(&control)) text += drives->Drive();
        if (auto* folders = dynamic_cast<DirListBox*>(&control)) text += folders->Path();
        if (auto* files = dynamic_cast<FileListBox*>(&control)) {
            text += files->Path() + u" [" + files->FileName() + u"]";
            for (const Text& name : files->Names()) text += u" " + name;
        }
        shown[entry.name] = text;
    }
    return shown;
}

class OpenFromOutsideTest : public testing::WorkflowTest {
protected:
    OpenFromOutsideTest() {
        fs::create_directories(files_ / "inner");
        WriteFile(files_ / "inner" / "deep.txt", "further down");
        WriteFile(files_ / ".secret", "hidden");
    }

    std::u16string InFiles(const std::string& below) const {
        return support::AsText(files_ / below);
    }
    void Open(const std::vector<std::u16string>& paths) { OpenFromOutside(form_, paths); }
};

TEST_F(OpenFromOutsideTest, AFileEndsWhereADoubleClickOnItInItsFolderEnds) {
    const auto before = Entries(root_);
    Open({InFiles("inner/deep.txt")});

    EXPECT_EQ(Shown(), kNameStage);
    EXPECT_EQ(form_.DestFile.GetText(), u"deep_XXX.txt");
    EXPECT_EQ(form_.SFile.GetText(), u"deep.txt");
    EXPECT_EQ(form_.Path.GetText(), InFiles("inner"));
    EXPECT_EQ(form_.Dir1.Path(), InFiles("inner"));

    // The same window, browsed there by hand: the drive that holds the folder, the folder,
    // then a double-click on the file.
    Form1 byHand(host_, remembered_);
    byHand.Load();
    byHand.Drive1.SetDrive(byHand.Drive1.DriveOf(InFiles("inner")));
    byHand.Dir1.SetPath(InFiles("inner"));
    byHand.File1.Select(0);
    byHand.File1.DblClick();
    EXPECT_EQ(Describe(form_), Describe(byHand));

    EXPECT_EQ(Entries(root_), before);
    EXPECT_TRUE(host_.messages.empty());
}

TEST_F(OpenFromOutsideTest, AFileTheMaskHidesOrALinkToAFileIsTakenAsTheListShowsIt) {
    form_.filemask.SetText(u"*.dat");
    Open({InFiles("report.txt")});
    EXPECT_EQ(Shown(), kNameStage);
    EXPECT_EQ(form_.SFile.GetText(), u"report.txt");

    fs::create_symlink(files_ / "inner" / "deep.txt", files_ / "shortcut.txt");
    Form1 again(host_, remembered_);
    again.Load();
    OpenFromOutside(again, {InFiles("shortcut.txt")});
    EXPECT_EQ(again.SFile.GetText(), u"shortcut.txt");
    EXPECT_EQ(again.Path.GetText(), support::AsText(files_));
}

TEST_F(OpenFromOutsideTest, AFolderOpensInTheListsAndStaysInTheBrowseStage) {
    const auto browse = Shown();
    Open({InFiles("inner/../inner/")});
    EXPECT_EQ(Shown(), browse);
    EXPECT_EQ(form_.Dir1.Path(), InFiles("inner"));
    EXPECT_EQ(form_.File1.Path(), InFiles("inner"));
    EXPECT_EQ(form_.File1.Names(), std::vector<std::u16string>{u"deep.txt"});
    EXPECT_EQ(form_.Label1.Caption(), u"Select Source File");
    EXPECT_FALSE(fs::exists(work_ / "LastPath"));
}

TEST_F(OpenFromOutsideTest, WhatIsNotAFileTheListWouldOfferIsRefusedWithItsReason) {
    ASSERT_EQ(::mkfifo((files_ / "pipe").c_str(), 0600), 0);
    fs::create_symlink(files_ / "nowhere", files_ / "dangling");
    const std::u16string notOrdinary =
        u": not an ordinary file (a device, a pipe, a socket or a broken link)";
    const std::vector<std::pair<std::u16string, std::u16string>> cases = {
        {InFiles("missing.txt"), u"missing.txt: there is no such file or folder"},
        {InFiles("gone/report.txt"), u"report.txt: there is no such file or folder"},
        // A file where a folder is needed on the way.
        {InFiles("report.txt/inner.txt"), u"inner.txt: there is no such file or folder"},
        {InFiles("pipe"), u"pipe" + notOrdinary},
        {u"/dev/null", u"null" + notOrdinary},
        {InFiles("dangling"), u"dangling" + notOrdinary},
        {InFiles(".secret"), u".secret: a hidden file, which the file list does not offer"},
        {u"relative.txt", u"relative.txt: there is no such file or folder"},
    };
    const auto before = Describe(form_);
    const auto onDisk = Entries(root_);
    for (const auto& [path, notice] : cases) {
        Open({path});
        EXPECT_EQ(Describe(form_), before) << platform::ToNative(path);
        EXPECT_TRUE(form_.Label6.Visible());
        EXPECT_EQ(form_.Label6.Caption(), notice);
    }
    EXPECT_EQ(Entries(root_), onDisk);

    // The notice goes with the next way in that works, or the user's own double-click.
    Open({InFiles("report.txt")});
    EXPECT_FALSE(form_.Label6.Visible());
    Form1 byHand(host_, remembered_);
    byHand.Load();
    byHand.Dir1.SetPath(support::AsText(files_));
    OpenFromOutside(byHand, {InFiles("missing.txt")});
    byHand.File1.Select(0);
    byHand.File1.DblClick();
    EXPECT_FALSE(byHand.Label6.Visible());
}

TEST_F(OpenFromOutsideTest, SeveralPathsAreRefusedAsOneFileAtATime) {
    const auto before = Describe(form_);
    Open({InFiles("report.txt"), InFiles("other.dat")});
    EXPECT_EQ(Describe(form_), before);
    EXPECT_TRUE(form_.Label6.Visible());
    EXPECT_EQ(form_.Label6.Caption(), u"Tessomar takes one file at a time: open a single file.");
}

TEST_F(OpenFromOutsideTest, OnlyTheBrowseStageTakesPaths) {
    const std::vector<std::vector<std::u16string>> drops = {
        {InFiles("other.dat")},
        {InFiles("inner")},
        {InFiles("missing.txt")},
        {InFiles("report.txt"), InFiles("other.dat")}};
    EXPECT_TRUE(TakesPathsFromOutside(form_));

    DoubleClick(u"report.txt");
    EXPECT_FALSE(TakesPathsFromOutside(form_));
    const auto naming = Describe(form_);
    for (const auto& paths : drops) Open(paths);
    EXPECT_EQ(Describe(form_), naming);
    EXPECT_FALSE(form_.Label6.Visible());

    form_.go.Click();
    EXPECT_FALSE(TakesPathsFromOutside(form_));
    const auto password = Describe(form_);
    for (const auto& paths : drops) Open(paths);
    EXPECT_EQ(Describe(form_), password);
    EXPECT_FALSE(form_.Label6.Visible());
}

}  // namespace
}  // namespace window
