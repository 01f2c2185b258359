// The disks users plug in, as Linux mounts them through FUSE: FAT32 and exFAT, which ignore
// letter case, hand out new file numbers as the kernel forgets entries, and keep coarse times.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <system_error>

#include "cipher/cipher.h"
#include "platform/platform.h"
#include "platform/source_leases_posix.h"
#include "remembered/remembered_folder.h"
#include "tests/disks/plugged_disk.h"
#include "tests/support/expected_bytes.h"
#include "tests/support/native_text.h"
#include "tests/support/whole_files.h"
#include "tests/window/fake_host.h"
#include "window/form1.h"
#include "window/walk.h"

namespace {

namespace fs = std::filesystem;
using support::PluggedDisk;
using Format = PluggedDisk::Format;

std::string FormatName(const testing::TestParamInfo<Format>& format) {
    return format.param == Format::Exfat ? "Exfat" : "Fat32";
}

class DiskTest : public testing::TestWithParam<Format> {
protected:
    DiskTest() : disk_(GetParam()), files_(disk_.Root() / "files") {}

    void SetUp() override {
        SKIP_WITHOUT(disk_);
        fs::create_directory(files_);
        support::WriteFile(files_ / "photo.jpg", "the source");
        support::WriteFile(files_ / "other.dat", "another file");
    }

    // The window opened on the disk's folder, with the source picked.
    void PickPhoto() {
        form_.Load();
        form_.Dir1.SetPath(support::AsText(files_));
        ASSERT_TRUE(window::PickFile(form_, u"photo.jpg"));
    }

    PluggedDisk disk_;
    fs::path files_;
    support::ScratchFolder work_{"disk-work"};
    window::testing::FakeHost host_;
    remembered::RememberedFolder remembered_{support::AsText(work_.Path())};
    window::Form1 form_{host_, remembered_};
};

// The disk answers for "PHOTO.JPG" with photo.jpg, under a file number of its own.
TEST_P(DiskTest, TheSourceSpeltOtherwiseIsTheSourceAndNeverDeleted) {
    PickPhoto();
    form_.DestFile.SetText(u"PHOTO.JPG");
    form_.go.Click();
    EXPECT_EQ(form_.Label1.Caption(), u"Source and destination are the same");
    EXPECT_FALSE(form_.Murder.Visible());
    // The delete itself spares it under any spelling too.
    const auto source = platform::IdentityOf(support::AsText(files_ / "photo.jpg"));
    ASSERT_TRUE(source);
    EXPECT_FALSE(platform::RemoveFileUnless(support::AsText(files_ / "Photo.Jpg"), *source));
    EXPECT_EQ(support::ReadFile(files_ / "photo.jpg"), "the source");

    // Another file spelt otherwise is that file: offered for deletion, and deleted.
    form_.DestFile.SetText(u"OTHER.DAT");
    form_.go.Click();
    ASSERT_TRUE(form_.Murder.Visible());
    form_.Murder.Click();
    EXPECT_EQ(form_.Label1.Caption(), u"Destination file exists, choose another name or delete it");
    // Under the name the disk lists it by, in the Trash of the disk's own top folder.
    EXPECT_EQ(form_.Label6.Caption(), u"other.dat was moved to the Trash.");
    EXPECT_FALSE(fs::exists(files_ / "other.dat"));
    EXPECT_EQ(support::ReadFile(disk_.Root() / (".Trash-" + std::to_string(geteuid())) / "files" /
                                "other.dat"),
              "another file");
    EXPECT_EQ(support::ReadFile(files_ / "photo.jpg"), "the source");
}

// The kernel forgets the disk's entries between OK and Start (memory pressure does it too):
// the file numbers change, the file does not.
TEST_P(DiskTest, ASourceWhoseFileNumberChangedIsNotCalledReplaced) {
    PickPhoto();
    form_.go.Click();
    ASSERT_EQ(form_.Label1.Caption(), u"Enter Password");
    sync();
    std::ofstream("/proc/sys/vm/drop_caches") << "2\n";
    form_.Start.Click();
    EXPECT_EQ(form_.Label1.Caption(), u"... Done ...");
    EXPECT_EQ(support::ReadFile(files_ / "photo_XXX.jpg").size(), 10u);
}

// Another file put under the source's name after OK is not run, though file numbers tell
// nothing on this disk: here its time is the source's too, and only its size tells.
TEST_P(DiskTest, ASourceReplacedAfterOkIsNotRun) {
    PickPhoto();
    form_.go.Click();
    ASSERT_EQ(form_.Label1.Caption(), u"Enter Password");
    fs::rename(files_ / "photo.jpg", files_ / "kept.jpg");
    support::WriteFile(files_ / "photo.jpg", "a replacement");
    fs::last_write_time(files_ / "photo.jpg", fs::last_write_time(files_ / "kept.jpg"));
    form_.Start.Click();
    EXPECT_EQ(form_.Label1.Caption(), u"Failed: Source file was replaced");
    EXPECT_FALSE(fs::exists(files_ / "photo_XXX.jpg"));
}

struct Sink : cipher::ProgressSink {
    std::function<void(std::int64_t)> meanwhile;
    void Begin(std::int64_t) override {}
    void Update(std::int64_t count) override {
        if (meanwhile) meanwhile(count);
    }
};

// The reason a run with no password failed with; none if it was done.
std::error_code FailureOf(const fs::path& source, const fs::path& destination, Sink& sink) {
    cipher::CipherState state;
    cipher::KeySchedule(state, cipher::BuildKey(u"").bytes);
    try {
        cipher::TransformFile(support::AsText(source), support::AsText(destination), state, sink);
    } catch (const std::system_error& error) {
        return error.code();
    }
    return {};
}

// Without unnamed files the run writes a hidden temporary: the folder renamed during the
// run leaves the result complete where the folder is now, and a stopped run leaves nothing.
TEST_P(DiskTest, ARunOnTheDiskSurvivesItsFolderRenamedAndAStopLeavesNothing) {
    if (GetParam() == Format::Fat32) {
        GTEST_SKIP() << "the FAT daemon reads an open file by its path, so it loses the file "
                        "when the folder is renamed: the run fails, saying so";
    }
    const auto source = support::PatternBytes(3 << 20);
    support::WriteBytes(files_ / "big.bin", source);
    cipher::CipherState state;
    cipher::KeySchedule(state, cipher::BuildKey(u"stick").bytes);
    Sink sink;
    sink.meanwhile = [&](std::int64_t count) {
        if (count == 20000) fs::rename(files_, disk_.Root() / "moved");
    };
    cipher::TransformFile(support::AsText(files_ / "big.bin"),
                          support::AsText(files_ / "big_XXX.bin"), state, sink);
    EXPECT_TRUE(support::ReadBytes(disk_.Root() / "moved" / "big_XXX.bin") ==
                support::Expected(source, u"stick"));

    sink.meanwhile = [](std::int64_t count) {
        if (count == 30000) throw std::runtime_error("stopped");
    };
    EXPECT_THROW(
        cipher::TransformFile(support::AsText(disk_.Root() / "moved" / "big.bin"),
                              support::AsText(disk_.Root() / "moved" / "again.bin"), state, sink),
        std::runtime_error);
    EXPECT_FALSE(fs::exists(disk_.Root() / "moved" / "again.bin"));
    for (const auto& entry : fs::directory_iterator(disk_.Root() / "moved")) {
        EXPECT_NE(entry.path().filename().string().rfind(".tessomar-", 0), 0u) << entry.path();
    }
}

// Where no lease can be had, a write within the time step of the source's last one keeps
// its time: such a source is read only once a change would show, so this one is caught.
TEST_P(DiskTest, AChangeInTheTimeStepOfTheLastWriteIsCaughtWithoutALease) {
    if (GetParam() == Format::Fat32) {
        GTEST_SKIP() << "the FAT daemon gives a file no new time when it is written: without a "
                        "lease, a write that keeps the size cannot be seen";
    }
    const platform::posix::WithoutSourceLeases noLeases;
    const auto bytes = support::PatternBytes(300000);
    support::WriteBytes(files_ / "fresh.bin", bytes);
    Sink sink;
    sink.meanwhile = [&](std::int64_t count) {
        if (count != 10000) return;
        const int file = open((files_ / "fresh.bin").c_str(), O_WRONLY);
        const char other[100] = {};
        EXPECT_EQ(pwrite(file, other, sizeof other, 5), 100);
        close(file);
    };
    EXPECT_EQ(FailureOf(files_ / "fresh.bin", files_ / "fresh_XXX.bin", sink),
              cipher::SourceChanged());
    EXPECT_FALSE(fs::exists(files_ / "fresh_XXX.bin"));
}

// The lease works through FUSE as on any disk: a program holding the source open for
// writing stops the run before anything is written.
TEST_P(DiskTest, ASourceHeldForWritingIsRefused) {
    const int held = open((files_ / "photo.jpg").c_str(), O_WRONLY);
    ASSERT_GE(held, 0);
    const pid_t holder = fork();
    if (holder == 0) {
        pause();
        _exit(0);
    }
    close(held);
    Sink sink;
    EXPECT_EQ(FailureOf(files_ / "photo.jpg", files_ / "photo_XXX.jpg", sink),
              platform::BeingWritten());
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    EXPECT_FALSE(fs::exists(files_ / "photo_XXX.jpg"));
}

INSTANTIATE_TEST_SUITE_P(PluggedDisks, DiskTest, testing::Values(Format::Exfat, Format::Fat32),
                         FormatName);

}  // namespace
