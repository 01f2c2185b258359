// Volumes, the mount table and folder listing on Linux.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "platform/mount_table_posix.h"
#include "platform/platform.h"
#include "tests/support/listings.h"
#include "tests/support/scratch_folder.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::u16string>;

Texts Sorted(Texts names) {
    std::sort(names.begin(), names.end());
    return names;
}

TEST(MountTable, ParsesFieldsAndUndoesEscapes) {
    const std::vector<posix::Mount> mounts = posix::ParseMountInfo(
        "26 1 254:0 / / rw,relatime shared:1 - ext4 /dev/vda rw\n"
        "61 26 8:17 / /media/ann/My\\040Stick rw master:3 propagate_from:2 - vfat /dev/sdb1 rw\n"
        "62 26 8:18 / /mnt/back\\134slash rw - ext4 /dev/sdb2 rw\n"
        "malformed line\n"
        "63 26 0:5 / /short - \n");
    ASSERT_EQ(mounts.size(), 3u);
    EXPECT_EQ(mounts[2].path, "/mnt/back\\slash");
    EXPECT_EQ(mounts[0].path, "/");
    EXPECT_EQ(mounts[1].path, "/media/ann/My Stick");
    EXPECT_EQ(mounts[1].fileSystem, "vfat");
    EXPECT_EQ(mounts[1].source, "/dev/sdb1");
    EXPECT_EQ(posix::UnescapeLabel("My\\x20Stick\\x2"), "My Stick\\x2");
}

TEST(MountTable, OffersOnlyFileSystemsThatHoldTheUsersFiles) {
    EXPECT_TRUE(posix::IsUserVolume({"/run/media/ann/disk", "ext4", "/dev/sdc1"}));
    EXPECT_TRUE(posix::IsUserVolume({"/mnt/share", "nfs4", "server:/export"}));
    EXPECT_TRUE(posix::IsUserVolume({"/devices", "ext4", "/dev/sdd1"}));
    EXPECT_FALSE(posix::IsUserVolume({"/", "ext4", "/dev/vda"}));  // listed first anyway
    EXPECT_FALSE(posix::IsUserVolume({"/sys/firmware/efi/efivars", "ext4", "/dev/x"}));
    EXPECT_FALSE(posix::IsUserVolume({"/dev/termination-log", "ext4", "/dev/vda1"}));
    for (const char* pseudo : {"proc", "sysfs", "cgroup2", "tmpfs", "overlay", "squashfs"}) {
        EXPECT_FALSE(posix::IsUserVolume({"/somewhere", pseudo, pseudo})) << pseudo;
    }
}

TEST(Volumes, TheRootComesFirstAndEveryVolumeIsAFolderOnce) {
    const std::vector<Volume> volumes = ListVolumes();
    ASSERT_FALSE(volumes.empty());
    EXPECT_EQ(volumes.front().path, u"/");
    EXPECT_EQ(DefaultFolder(), u"/");
    EXPECT_EQ(volumes.front().text.substr(0, 1), u"/");
    for (const Volume& volume : volumes) {
        EXPECT_TRUE(FolderExists(volume.path)) << ToNative(volume.path);
        EXPECT_EQ(std::count_if(volumes.begin(), volumes.end(),
                                [&](const Volume& other) { return other.path == volume.path; }),
                  1);
    }
}

class ListingTest : public ::testing::Test {
protected:
    ListingTest() : folder_(scratch_.Path()) {
        fs::create_directories(folder_ / "Sub");
        fs::create_directories(folder_ / ".hidden-folder");
        std::ofstream(folder_ / "notes.txt") << "x";
        std::ofstream(folder_ / ".profile") << "x";
        std::ofstream(folder_ / "caf\xe9.bin") << "x";  // not UTF-8
        fs::create_symlink(folder_ / "notes.txt", folder_ / "link-to-file");
        fs::create_symlink(folder_ / "Sub", folder_ / "link-to-folder");
        fs::create_symlink(folder_ / "nowhere", folder_ / "dangling");
        ::mkfifo((folder_ / "pipe").c_str(), 0600);
    }
    std::u16string Folder(const std::u16string& below = u"") const {
        return FromNative(folder_.native()) + below;
    }

    support::ScratchFolder scratch_{"listing"};
    fs::path folder_;
};

TEST_F(ListingTest, ListsVisibleEntriesFollowingLinks) {
    EXPECT_EQ(Sorted(support::SubfoldersOf(Folder())), (Texts{u"Sub", u"link-to-folder"}));
    EXPECT_EQ(Sorted(support::FilesOf(Folder())),
              (Texts{u"caf\xdce9.bin", u"link-to-file", u"notes.txt"}));
    EXPECT_THROW(support::SubfoldersOf(Folder(u"/missing")), std::system_error);
    EXPECT_THROW(support::FilesOf(Folder(u"/notes.txt")), std::system_error);
    // A list read again holds the new listing alone, and none after a folder that fails.
    NameList names;
    ListOrdinaryFiles(Folder(), names);
    ListSubfolders(Folder(), names);
    EXPECT_EQ(Sorted(names.Texts()), (Texts{u"Sub", u"link-to-folder"}));
    EXPECT_THROW(ListSubfolders(Folder(u"/missing"), names), std::system_error);
    EXPECT_TRUE(names.empty());
    EXPECT_TRUE(FolderExists(Folder(u"/link-to-folder")));
    EXPECT_FALSE(FolderExists(Folder(u"/notes.txt")));
    EXPECT_FALSE(FolderExists(u""));
}

}  // namespace
}  // namespace platform
