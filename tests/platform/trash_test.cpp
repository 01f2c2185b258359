// The Trash that Linux desktops share: the file renamed into files/, its origin and date in
// info/NAME.trashinfo; a trash in the top folder of another file system; and a delete for
// good, said as such, where no trash can be had.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <regex>
#include <set>
#include <string>

#include "platform/platform.h"
#include "tests/support/data_home.h"
#include "tests/support/native_text.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/whole_files.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using support::AsText;
using support::ReadFile;
using support::WriteFile;

// A file system of its own at a scratch mount point, for as long as the object lives; only
// where the machine lets this process mount (as root, as CI runs).
class Mounted {
public:
    explicit Mounted(const fs::path& at) : at_(at) {
        fs::create_directories(at);
        mounted_ = ::mount("tessomar-test", at.c_str(), "tmpfs", 0, "mode=0755") == 0;
    }
    ~Mounted() {
        for (auto it = binds_.rbegin(); it != binds_.rend(); ++it)
            ::umount2(it->c_str(), MNT_DETACH);
        if (mounted_) ::umount2(at_.c_str(), MNT_DETACH);
    }
    Mounted(const Mounted&) = delete;
    Mounted& operator=(const Mounted&) = delete;

    bool Done() const { return mounted_; }
    // The folder shown at another place too, as a mount of its own of the same file system.
    bool Bind(const fs::path& folder, const fs::path& at) {
        if (::mount(folder.c_str(), at.c_str(), nullptr, MS_BIND, nullptr) != 0) return false;
        binds_.push_back(at);
        return true;
    }
    // The folder shown read-only where it is.
    bool MakeReadOnly(const fs::path& folder) {
        return Bind(folder, folder) && ::mount(nullptr, folder.c_str(), nullptr,
                                               MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
    }

private:
    fs::path at_;
    bool mounted_ = false;
    std::vector<fs::path> binds_;
};

#define SKIP_UNLESS_MOUNTED(mounted)                                                       \
    if (!(mounted).Done())                                                                 \
    GTEST_SKIP() << "this process may not mount a file system (run as root to test trash " \
                    "folders on another file system)"

// The lines of an info file, with its date checked against the clock and taken out.
std::string InfoWithoutDate(const fs::path& info) {
    const std::string text = ReadFile(info);
    std::smatch date;
    static const std::regex kDate("DeletionDate=(\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d)\n");
    if (!std::regex_search(text, date, kDate)) return text;
    std::tm local{};
    strptime(date[1].str().c_str(), "%Y-%m-%dT%H:%M:%S", &local);
    local.tm_isdst = -1;
    const auto written = std::chrono::system_clock::from_time_t(std::mktime(&local));
    EXPECT_LT(std::chrono::abs(std::chrono::system_clock::now() - written), std::chrono::minutes(1))
        << date[1];
    return text.substr(0, date.position(0));
}

std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    std::error_code missing;
    for (const auto& entry : fs::directory_iterator(folder, missing))
        names.insert(entry.path().filename().string());
    return names;
}

class TrashTest : public ::testing::Test {
protected:
    support::ScratchFolder scratch_{"trash"};
    support::DataHome dataHome_{scratch_ / "data"};
};

TEST_F(TrashTest, AFileGoesToTheTrashOfTheDataFolderWithWhereItCameFrom) {
    fs::create_directory(scratch_ / "files");
    const fs::path file = scratch_ / "files" / "a b%\xc3\xa9.txt";
    WriteFile(file, "first");
    EXPECT_EQ(Discard(AsText(file), std::nullopt), Discarded::MovedToWastebasket);
    EXPECT_FALSE(fs::exists(file));
    const fs::path trash = dataHome_.Trash();
    EXPECT_EQ(ReadFile(trash / "files" / file.filename()), "first");
    const std::string info =
        "[Trash Info]\nPath=" + scratch_.Path().string() + "/files/a%20b%25%C3%A9.txt\n";
    EXPECT_EQ(InfoWithoutDate(trash / "info" / "a b%\xc3\xa9.txt.trashinfo"), info);
    EXPECT_EQ(fs::status(trash).permissions(), fs::perms::owner_all);

    // A second file of that name, from a path through a link: a name of its own in the
    // trash, and the folder's real path.
    WriteFile(file, "second");
    fs::create_directory_symlink(scratch_ / "files", scratch_ / "link");
    EXPECT_EQ(Discard(AsText(scratch_ / "link" / file.filename()), std::nullopt),
              Discarded::MovedToWastebasket);
    EXPECT_EQ(ReadFile(trash / "files" / "a b%\xc3\xa9.txt.2"), "second");
    EXPECT_EQ(InfoWithoutDate(trash / "info" / "a b%\xc3\xa9.txt.2.trashinfo"), info);
    EXPECT_EQ(ReadFile(trash / "files" / file.filename()), "first");
    EXPECT_EQ(InfoWithoutDate(trash / "info" / "a b%\xc3\xa9.txt.trashinfo"), info);
}

TEST_F(TrashTest, ANameTooLongForItsInfoFileIsCutAtACharacter) {
    // 254 bytes: two-byte characters after two letters; the info file's name would have 264.
    std::string name = "nn";
    while (name.size() < 254) name += "\xc3\xa9";
    WriteFile(scratch_ / name, "long");
    EXPECT_EQ(Discard(AsText(scratch_ / name), std::nullopt), Discarded::MovedToWastebasket);
    const std::string kept = name.substr(0, 244);  // 245 would split a character
    EXPECT_EQ(ReadFile(dataHome_.Trash() / "files" / kept), "long");
    EXPECT_TRUE(fs::exists(dataHome_.Trash() / "info" / (kept + ".trashinfo")));
}

TEST_F(TrashTest, TheFileSparedStaysWhereItIs) {
    WriteFile(scratch_ / "source", "the source");
    fs::create_hard_link(scratch_ / "source", scratch_ / "alias");
    const auto source = IdentityOf(AsText(scratch_ / "source"));
    ASSERT_TRUE(source);
    EXPECT_EQ(Discard(AsText(scratch_ / "alias"), source), Discarded::Spared);
    EXPECT_TRUE(fs::exists(scratch_ / "alias"));
    EXPECT_TRUE(Names(dataHome_.Trash() / "files").empty());
    EXPECT_TRUE(Names(dataHome_.Trash() / "info").empty());
}

TEST_F(TrashTest, WhereNoTrashCanBeHadTheFileIsDeletedForGood) {
    // Everything on one file system of the test's own, so that a trash it cannot use is
    // never looked for elsewhere on the machine.
    Mounted disk(scratch_ / "disk");
    SKIP_UNLESS_MOUNTED(disk);
    const fs::path data = scratch_ / "disk" / "data";
    const struct {
        const char* what;
        void (*arrange)(const fs::path& trash, Mounted& disk);
    } cases[] = {
        {"a file where the trash folder goes",
         [](const fs::path& trash, Mounted&) { WriteFile(trash, "not a folder"); }},
        {"a trash folder that cannot be written",
         [](const fs::path& trash, Mounted& disk) {
             fs::create_directories(trash / "files");
             fs::create_directories(trash / "info");
             ASSERT_TRUE(disk.MakeReadOnly(trash));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path trash = data / c.what / "Trash";
        fs::create_directories(trash.parent_path());
        const support::DataHome here(trash.parent_path());
        c.arrange(trash, disk);
        const fs::path file = scratch_ / "disk" / "file.txt";
        WriteFile(file, "gone");
        EXPECT_EQ(Discard(AsText(file), std::nullopt), Discarded::DeletedForGood);
        EXPECT_FALSE(fs::exists(file));
        EXPECT_TRUE(Names(trash / "files").empty());
        EXPECT_EQ(Names(scratch_ / "disk"), (std::set<std::string>{"data"}));
    }
}

TEST_F(TrashTest, AFileOnAnotherFileSystemGoesToATrashInItsTopFolder) {
    const std::string uid = std::to_string(::getuid());
    const struct {
        const char* what;
        void (*arrange)(const fs::path& top);
        std::string trash;  // below the top folder
    } cases[] = {
        {"none yet", [](const fs::path&) {}, ".Trash-" + uid},
        {"a shared .Trash with the sticky bit",
         [](const fs::path& top) {
             fs::create_directory(top / ".Trash");
             fs::permissions(top / ".Trash", static_cast<fs::perms>(01777));
         },
         ".Trash/" + uid},
        {"a shared .Trash without it",
         [](const fs::path& top) {
             fs::create_directory(top / ".Trash");
             fs::permissions(top / ".Trash", static_cast<fs::perms>(0777));
         },
         ".Trash-" + uid},
        {"a shared .Trash whose folder for the user is another's",
         [](const fs::path& top) {
             fs::create_directories(top / ".Trash" / std::to_string(::getuid()));
             fs::permissions(top / ".Trash", static_cast<fs::perms>(01777));
             ASSERT_EQ(::chown((top / ".Trash" / std::to_string(::getuid())).c_str(),
                               ::getuid() + 1, ::getgid()),
                       0);
         },
         ".Trash-" + uid},
        {"a .Trash that is a link to a folder with it",
         [](const fs::path& top) {
             fs::create_directory(top / "elsewhere");
             fs::permissions(top / "elsewhere", static_cast<fs::perms>(01777));
             fs::create_directory_symlink("elsewhere", top / ".Trash");
         },
         ".Trash-" + uid},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path top = scratch_ / c.what;
        Mounted disk(top);
        SKIP_UNLESS_MOUNTED(disk);
        c.arrange(top);
        fs::create_directory(top / "photos");
        WriteFile(top / "photos" / "x y.jpg", "picture");
        EXPECT_EQ(Discard(AsText(top / "photos" / "x y.jpg"), std::nullopt),
                  Discarded::MovedToWastebasket);
        EXPECT_EQ(ReadFile(top / c.trash / "files" / "x y.jpg"), "picture");
        EXPECT_EQ(InfoWithoutDate(top / c.trash / "info" / "x y.jpg.trashinfo"),
                  "[Trash Info]\nPath=photos/x%20y.jpg\n");
        EXPECT_EQ(fs::status(top / c.trash).permissions(), fs::perms::owner_all);
        EXPECT_TRUE(Names(dataHome_.Trash()).empty());
    }
}

TEST_F(TrashTest, TheDataFoldersFileSystemMountedElsewhereHasATrashOfItsOwnThere) {
    // One device, two mounts: a rename from one to the other is refused as crossing file
    // systems, so the file goes to the top folder of the mount it was found in.
    Mounted disk(scratch_ / "disk");
    SKIP_UNLESS_MOUNTED(disk);
    const support::DataHome onTheDisk(scratch_ / "disk" / "data");
    fs::create_directories(scratch_ / "disk" / "shared");
    fs::create_directory(scratch_ / "elsewhere");
    ASSERT_TRUE(disk.Bind(scratch_ / "disk" / "shared", scratch_ / "elsewhere"));
    WriteFile(scratch_ / "elsewhere" / "x.txt", "bound");
    EXPECT_EQ(Discard(AsText(scratch_ / "elsewhere" / "x.txt"), std::nullopt),
              Discarded::MovedToWastebasket);
    const fs::path trash = scratch_ / "elsewhere" / (".Trash-" + std::to_string(::getuid()));
    EXPECT_EQ(ReadFile(trash / "files" / "x.txt"), "bound");
    EXPECT_EQ(InfoWithoutDate(trash / "info" / "x.txt.trashinfo"), "[Trash Info]\nPath=x.txt\n");
}

}  // namespace
}  // namespace platform
