// The Browse stage: start-up at the remembered folder, its recovery, and the drive, folder
// and file lists kept in step, over a scratch folder that also plays a mounted volume.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "platform/platform.h"
#include "remembered/remembered_folder.h"
#include "tests/support/native_text.h"
#include "tests/support/scratch_folder.h"
#include "tests/window/fake_host.h"
#include "window/design.h"

namespace window {
namespace {

namespace fs = std::filesystem;

class Recorder : public ControlObserver {
public:
    void ControlChanged(const Control& control) override {
        if (changes.empty() || changes.back() != control.Name()) changes.push_back(control.Name());
    }
    std::vector<std::string> changes;
};

class BrowseTest : public ::testing::Test {
protected:
    BrowseTest()
        : root_(scratch_.Path()),
          work_((fs::create_directories(root_ / "work"), root_ / "work")),
          stick_(root_ / "stick"),
          remembered_(support::AsText(work_)),
          form_(host_, remembered_) {
        for (const char* folder : {"beta", "Alpha", "gamma", ".cache", "beta/inner"}) {
            fs::create_directories(stick_ / folder);
        }
        for (const char* file :
             {"b.TXT", "a.txt", "README", "notes.md", ".hidden", "beta/inner.txt"}) {
            std::ofstream(stick_ / file) << "x";
        }
        form_.Drive1.SetVolumeSource([this] { return volumes_; });
    }

    std::u16string Stick(const std::u16string& below = u"") const {
        return below.empty() ? support::AsText(stick_)
                             : platform::JoinPath(support::AsText(stick_), below);
    }
    std::u16string StickEntry() const { return Stick() + u" [STICK]"; }
    fs::path LastPath() const { return work_ / "LastPath"; }
    void Remember(const std::string& bytes) const {
        std::ofstream(LastPath(), std::ios::binary) << bytes;
    }

    std::size_t DriveIndex(const std::u16string& text) const {
        const auto& entries = form_.Drive1.Entries();
        return static_cast<std::size_t>(std::find(entries.begin(), entries.end(), text) -
                                        entries.begin());
    }
    std::size_t FolderIndex(const std::u16string& name) const {
        const auto& entries = form_.Dir1.Entries();
        for (std::size_t k = 0; k < entries.size(); ++k) {
            if (entries[k].name == name) return k;
        }
        return entries.size();
    }
    std::set<std::string> Shown() {
        std::set<std::string> shown;
        for (const auto& entry : Design().controls) {
            if (form_.Find(entry.name)->Visible()) shown.insert(entry.name);
        }
        return shown;
    }
    void ExpectOpenAtRoot() {
        EXPECT_EQ(form_.Drive1.Drive(), u"/");
        EXPECT_EQ(form_.Dir1.Path(), u"/");
        EXPECT_EQ(form_.File1.Path(), u"/");
        EXPECT_TRUE(host_.messages.empty());
    }

    support::ScratchFolder scratch_{"browse"};
    fs::path root_;
    fs::path work_;
    fs::path stick_;
    std::vector<platform::Volume> volumes_{{u"/", u"", u"/"},
                                           {support::AsText(root_ / "stick"), u"STICK",
                                            support::AsText(root_ / "stick") + u" [STICK]"}};
    testing::FakeHost host_;
    remembered::RememberedFolder remembered_;
    Form1 form_;
};

TEST_F(BrowseTest, WithoutRememberedFolderTheListsOpenAtTheRoot) {
    form_.Load();
    ExpectOpenAtRoot();
    EXPECT_FALSE(fs::exists(LastPath()));
    EXPECT_EQ(Shown(),
              (std::set<std::string>{"Label1", "Help", "Drive1", "Dir1", "File1", "filemask"}));
}

TEST_F(BrowseTest, ARememberedFolderOpensOnTheVolumeThatHoldsIt) {
    Remember(platform::ToNative(Stick(u"beta")) + "\r\n");
    form_.Load();
    EXPECT_EQ(form_.Drive1.Drive(), StickEntry());
    EXPECT_EQ(form_.Dir1.Path(), Stick(u"beta"));
    EXPECT_EQ(form_.File1.Path(), Stick(u"beta"));
    EXPECT_EQ(form_.File1.Names(), std::vector<std::u16string>{u"inner.txt"});
    EXPECT_TRUE(fs::exists(LastPath()));
}

TEST_F(BrowseTest, AWorkingDirectoryRemovedBeforeTheStartOpensAtTheDefaultFolder) {
    const fs::path gone = root_ / "gone";
    fs::create_directory(gone);
    const fs::path before = fs::current_path();
    ASSERT_EQ(::chdir(gone.c_str()), 0);
    fs::remove(gone);
    {
        const remembered::RememberedFolder here(u".");
        Form1 form(host_, here);
        form.Drive1.SetVolumeSource([this] { return volumes_; });
        form.Load();
        EXPECT_EQ(form.Dir1.Path(), u"/");
    }
    ASSERT_EQ(::chdir(before.c_str()), 0);
}

TEST_F(BrowseTest, ABadRememberedFolderIsDeletedSilently) {
    for (const std::string& bytes :
         {platform::ToNative(Stick(u"gone")) + "\r\n", std::string(), std::string("\r\n"),
          std::string("stick/beta\r\n"), std::string(1000, '\xff')}) {
        Remember(bytes);
        Form1 form(host_, remembered_);
        form.Drive1.SetVolumeSource([this] { return volumes_; });
        form.Load();
        EXPECT_EQ(form.Drive1.Drive(), u"/");
        EXPECT_EQ(form.Dir1.Path(), u"/");
        EXPECT_EQ(form.File1.Path(), u"/");
        EXPECT_FALSE(form.go.Visible());
        EXPECT_FALSE(fs::exists(LastPath())) << bytes.substr(0, 40);
    }
    EXPECT_TRUE(host_.messages.empty());
}

TEST_F(BrowseTest, TheFolderListShowsAncestorsThenSortedVisibleSubfolders) {
    form_.Load();
    form_.Dir1.SetPath(Stick());
    const auto& entries = form_.Dir1.Entries();
    const std::vector<platform::FolderStep> chain = platform::FolderChain(Stick());
    ASSERT_EQ(entries.size(), chain.size() + 3);
    for (std::size_t k = 0; k < chain.size(); ++k) {
        EXPECT_EQ(entries[k].path, chain[k].path);
        EXPECT_EQ(entries[k].depth, static_cast<int>(k));
    }
    EXPECT_EQ(form_.Dir1.ListIndex(), static_cast<int>(chain.size() - 1));
    EXPECT_EQ(entries[chain.size()].name, u"Alpha");
    EXPECT_EQ(entries[chain.size() + 1].name, u"beta");
    EXPECT_EQ(entries[chain.size() + 2].name, u"gamma");
    EXPECT_EQ(entries.back().path, Stick(u"gamma"));
    EXPECT_EQ(entries.back().depth, static_cast<int>(chain.size()));

    form_.Dir1.OpenEntry(FolderIndex(u"beta"));
    EXPECT_EQ(form_.File1.Path(), Stick(u"beta"));
    form_.Dir1.OpenEntry(0);
    EXPECT_EQ(form_.Dir1.Path(), u"/");
}

TEST_F(BrowseTest, TheFileListShowsVisibleFilesSortedAndFilteredByTheMask) {
    form_.Load();
    form_.Dir1.SetPath(Stick());
    EXPECT_EQ(form_.File1.Names(),
              (std::vector<std::u16string>{u"a.txt", u"b.TXT", u"notes.md", u"README"}));
    form_.File1.Select(1);
    form_.File1.Select(9);
    EXPECT_EQ(form_.File1.FileName(), u"b.TXT");
    form_.filemask.SetText(u"*.txt");
    EXPECT_EQ(form_.File1.Names(), (std::vector<std::u16string>{u"a.txt", u"b.TXT"}));
    EXPECT_EQ(form_.File1.FileName(), u"b.TXT");
    form_.filemask.SetText(u"zzz*");
    EXPECT_TRUE(form_.File1.Names().empty());
    EXPECT_EQ(form_.File1.FileName(), u"");
    form_.filemask.SetText(u"");
    EXPECT_EQ(form_.File1.Names().size(), 4u);
    // Files that come and go between two keystrokes show at their places at the next one.
    form_.File1.Select(1);
    std::ofstream(stick_ / "B.txt") << "x";
    fs::remove(stick_ / "README");
    form_.filemask.SetText(u"*.*");
    EXPECT_EQ(form_.File1.Names(),
              (std::vector<std::u16string>{u"a.txt", u"B.txt", u"b.TXT", u"notes.md"}));
    EXPECT_EQ(form_.File1.FileName(), u"b.TXT");
    // The files the folder list read with the folder serve its Change alone: the folder set
    // again later is read again.
    std::ofstream(stick_ / "c.txt") << "x";
    form_.File1.SetPath(Stick());
    EXPECT_EQ(form_.File1.Names(),
              (std::vector<std::u16string>{u"a.txt", u"B.txt", u"b.TXT", u"c.txt", u"notes.md"}));
    // A folder that vanished under the list leaves its last listing to filter.
    fs::remove_all(stick_);
    form_.filemask.SetText(u"*.md");
    EXPECT_EQ(form_.File1.Names(), std::vector<std::u16string>{u"notes.md"});
}

TEST_F(BrowseTest, PickingADriveRefreshesTheFolderListThenTheFileList) {
    form_.Load();
    Recorder recorder;
    form_.Drive1.SetObserver(&recorder);
    form_.Dir1.SetObserver(&recorder);
    form_.File1.SetObserver(&recorder);
    form_.Drive1.Choose(DriveIndex(StickEntry()));
    EXPECT_EQ(recorder.changes, (std::vector<std::string>{"Drive1", "Dir1", "File1"}));
    EXPECT_EQ(form_.Drive1.Drive(), StickEntry());
    EXPECT_EQ(form_.Dir1.Path(), Stick());
    EXPECT_EQ(form_.File1.Path(), Stick());
}

TEST_F(BrowseTest, ADriveReopensTheFolderLastShownOnIt) {
    form_.Load();
    form_.Drive1.Choose(DriveIndex(StickEntry()));
    form_.Dir1.OpenEntry(FolderIndex(u"beta"));
    form_.Drive1.Choose(DriveIndex(u"/"));
    EXPECT_EQ(form_.Dir1.Path(), u"/");
    form_.Drive1.Choose(DriveIndex(StickEntry()));
    EXPECT_EQ(form_.Dir1.Path(), Stick(u"beta"));
    // Gone since: the volume itself opens.
    form_.Drive1.Choose(DriveIndex(u"/"));
    fs::remove_all(stick_ / "beta");
    form_.Drive1.Choose(DriveIndex(StickEntry()));
    EXPECT_EQ(form_.Dir1.Path(), Stick());
}

TEST_F(BrowseTest, FailedPicksLeaveTheListsOnTheLastFolderShown) {
    form_.Load();
    form_.Dir1.SetPath(Stick());
    const auto entriesBefore = form_.Dir1.Entries().size();
    fs::remove_all(stick_ / "gamma");
    form_.Dir1.OpenEntry(FolderIndex(u"gamma"));
    EXPECT_EQ(form_.Dir1.Path(), Stick());
    EXPECT_EQ(form_.Dir1.Entries().size(), entriesBefore);
    EXPECT_EQ(form_.File1.Path(), Stick());

    // The volume vanishes while it is still offered.
    form_.Drive1.Choose(DriveIndex(u"/"));
    const std::size_t stick = DriveIndex(StickEntry());
    fs::remove_all(stick_);
    form_.Drive1.Choose(stick);
    EXPECT_EQ(form_.Drive1.Drive(), u"/");
    EXPECT_EQ(form_.Dir1.Path(), u"/");
    EXPECT_EQ(form_.File1.Path(), u"/");
    // Handlers are told instead.
    EXPECT_THROW(form_.Drive1.SetDrive(StickEntry()), std::system_error);
    EXPECT_THROW(form_.Drive1.SetDrive(u""), std::system_error);
    EXPECT_THROW(form_.Dir1.SetPath(u"relative"), std::system_error);
}

TEST_F(BrowseTest, AChangeThatFailsFurtherDownPutsTheListBack) {
    form_.Load();
    const auto fail = [] { throw std::system_error(std::make_error_code(std::errc::io_error)); };
    DriveListBox drives("drives");
    DirListBox folders("folders");
    drives.SetVolumeSource([this] { return volumes_; });
    folders.FollowDrives(drives);
    drives.OnChange([&] { folders.SetPath(drives.Drive()); });
    drives.SetDrive(u"/");
    folders.OnChange(fail);
    drives.Choose(DriveIndex(StickEntry()));
    EXPECT_EQ(drives.Drive(), u"/");
    EXPECT_EQ(folders.Path(), u"/");
    EXPECT_THROW(folders.SetPath(Stick()), std::system_error);
    EXPECT_EQ(folders.Path(), u"/");
    EXPECT_EQ(folders.Entries().front().path, u"/");
}

// A selection left from the folder before would let Enter or a double-click open a file of
// that name, or no file at all, in the folder now shown.
TEST_F(BrowseTest, TheFileSelectionGoesWithItsFolder) {
    form_.Load();
    form_.Dir1.SetPath(Stick());
    form_.File1.Select(0);
    ASSERT_EQ(form_.File1.FileName(), u"a.txt");
    form_.Dir1.OpenEntry(FolderIndex(u"beta"));
    EXPECT_EQ(form_.File1.ListIndex(), -1);
    EXPECT_EQ(form_.File1.FileName(), u"");
    form_.File1.DblClick();
    EXPECT_FALSE(form_.go.Visible());
    EXPECT_EQ(form_.Label1.Caption(), u"Select Source File");

    form_.File1.Select(0);
    form_.File1.Select(static_cast<int>(form_.File1.Names().size()));  // one past the end
    ASSERT_EQ(form_.File1.ListIndex(), 0);
    EXPECT_EQ(form_.File1.FileName(), u"inner.txt");
}

TEST_F(BrowseTest, RefreshingTheDriveListKeepsTheCurrentDrive) {
    form_.Load();
    form_.Drive1.Choose(DriveIndex(StickEntry()));
    // A volume mounted meanwhile comes before it in the list.
    volumes_.insert(volumes_.begin() + 1, {Stick(u"beta"), u"NEW", Stick(u"beta") + u" [NEW]"});
    form_.Drive1.Refresh();
    EXPECT_EQ(form_.Drive1.Entries().size(), 3u);
    EXPECT_EQ(form_.Drive1.ListIndex(), 2);
    EXPECT_EQ(form_.Drive1.Drive(), StickEntry());
}

TEST_F(BrowseTest, WithoutTheDefaultFolderTheWindowStillOpens) {
    volumes_ = {{Stick(), u"STICK", StickEntry()}};  // the default folder's volume is not available
    form_.Load();
    EXPECT_EQ(form_.Drive1.Drive(), u"");
    EXPECT_EQ(form_.Dir1.Path(), u"");
    EXPECT_EQ(Shown(),
              (std::set<std::string>{"Label1", "Help", "Drive1", "Dir1", "File1", "filemask"}));
    EXPECT_TRUE(host_.messages.empty());
    // The drive list still reaches the volumes that are there.
    form_.Drive1.Choose(DriveIndex(StickEntry()));
    EXPECT_EQ(form_.File1.Path(), Stick());
}

TEST(FileMask, PatternsMatchLikeTheFileDialogs) {
    EXPECT_TRUE(MatchesMask(u"Report.TXT", u"*.txt"));
    EXPECT_FALSE(MatchesMask(u"report.txt.bak", u"*.txt"));
    EXPECT_FALSE(MatchesMask(u"ac.doc", u"a?c.*"));
    EXPECT_TRUE(MatchesMask(u"README", u"*.*"));
    EXPECT_TRUE(MatchesMask(u"README", u"READ*.*"));
    EXPECT_FALSE(MatchesMask(u"README", u"*.txt"));
    EXPECT_TRUE(MatchesMask(u"notes.md", u"*.txt; *.md"));
    EXPECT_TRUE(MatchesMask(u"anything", u" ; "));
    EXPECT_TRUE(MatchesMask(u"report", u"report*"));
    EXPECT_TRUE(MatchesMask(u"a.txt", u"*.txt ;*.md"));
    EXPECT_FALSE(MatchesMask(u"report.txt", u"*.txt.*"));
    EXPECT_TRUE(MatchesMask(u"\u00c9t\u00c9.txt", u"\u00e9t\u00e9*"));
    EXPECT_TRUE(MatchesMask(u"\u0414\u043e\u043c", u"\u0434\u041e\u041c"));
    EXPECT_TRUE(MatchesMask(u"IMG_0001 copy.jpg", u"img_*?1*co?y*.JPG"));
    EXPECT_FALSE(MatchesMask(u"acb", u"a*b*c"));
    EXPECT_FALSE(MatchesMask(u"ab", u"ab*b"));  // the start and the end may not overlap
    // Many stars must not make a long name take exponential time.
    EXPECT_FALSE(MatchesMask(std::u16string(200, u'a'), u"*a*a*a*a*a*a*a*a*a*a*a*b"));
}

}  // namespace
}  // namespace window
