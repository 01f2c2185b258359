// The Trash that Linux desktops share, so that a file given up can be restored from the file
// manager. A trash folder holds files/, with each file under a name of its own, and info/,
// with NAME.trashinfo saying where the file came from and when it was put there. A file on
// the file system of the user's data folder goes to the trash there; a file on another file
// system goes to a trash in that file system's top folder, so that the file is only ever
// renamed, never copied.
#include <fcntl.h>
#include <pwd.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_systems_posix.h"
#include "platform/mount_table_posix.h"
#include "platform/platform.h"
#include "platform/system_parts.h"

namespace platform {

namespace {

constexpr std::size_t kMountTableLimit = 4 * 1024 * 1024;
constexpr std::string_view kInfoSuffix = ".trashinfo";
constexpr std::size_t kLongestName = 255;

struct TrashFolder {
    std::string path;
    // The folder the trash's entries name their origin from; empty: they name it whole.
    std::string origin;
};

enum class Attempt { Moved, CrossesFileSystems, Failed };

std::string ParentOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == 0 || slash == std::string::npos ? "/" : path.substr(0, slash);
}

bool IsBelow(std::string_view path, std::string_view folder) {
    if (folder == "/") return true;
    return path == folder || (path.starts_with(folder) && path[folder.size()] == '/');
}

// Bytes other than letters, digits, "-._~" and the separators written as %XX, as in a URL.
std::string PercentEncoded(std::string_view path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                           (byte >= '0' && byte <= '9') ||
                           std::string_view("-._~/").find(c) != std::string_view::npos;
        if (plain) {
            encoded.push_back(c);
        } else {
            encoded += {'%', kHex[byte >> 4], kHex[byte & 15]};
        }
    }
    return encoded;
}

std::string InfoText(const std::string& origin) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
    return "[Trash Info]\nPath=" + PercentEncoded(origin) + "\nDeletionDate=" + date + "\n";
}

// The name of the file in the trash: its own, cut at a character's start where the info
// file's name would be too long, with ".2", ".3", ... after it for a name already taken.
std::string NameInTrash(const std::string& name, int attempt) {
    std::string number;
    if (attempt > 1) {
        number.push_back('.');
        number += std::to_string(attempt);
    }
    std::size_t length = std::min(name.size(), kLongestName - kInfoSuffix.size() - number.size());
    while (length > 0 && length < name.size() && (name[length] & 0xC0) == 0x80) --length;
    std::string cut = name.substr(0, length);
    cut.append(number);
    return cut;
}

// Makes the folder, and any missing above it, for the user alone.
bool MakeFolders(const std::string& path) {
    if (::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST) return true;
    if (errno != ENOENT || path == "/") return false;
    return MakeFolders(ParentOf(path)) && (::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST);
}

// A folder of the user's own, made if missing, that no other user has put there for them.
bool IsOwnFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid();
}

bool HasFilesAndInfo(const TrashFolder& trash) {
    for (const char* part : {"/files", "/info"}) {
        const std::string folder = trash.path + part;
        struct stat info;
        if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
    }
    return true;
}

// Writes the info file first, under a name no other entry has, then renames the file into
// files/ under the same name; the info file is taken back if the rename fails.
Attempt MoveInto(const TrashFolder& trash, const std::string& path, const std::string& name,
                 const std::string& whole) {
    std::string origin = whole;
    if (!trash.origin.empty())
        origin = whole.substr(trash.origin == "/" ? 1 : trash.origin.size() + 1);
    const std::string text = InfoText(origin);
    for (int attempt = 1; attempt <= 1000; ++attempt) {
        const std::string trashName = NameInTrash(name, attempt);
        const std::string info = trash.path + "/info/" + trashName + std::string(kInfoSuffix);
        const int file =
            ::open(info.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (file < 0 && errno == EEXIST) continue;
        if (file < 0) return Attempt::Failed;
        const bool written =
            ::write(file, text.data(), text.size()) == static_cast<ssize_t>(text.size());
        if (::close(file) != 0 || !written) {
            ::unlink(info.c_str());
            return Attempt::Failed;
        }
        const std::string target = trash.path + "/files/" + trashName;
        int renamed =
            ::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE);
        // File systems that cannot promise not to replace: the info file already holds the
        // name against other programs that follow the layout, so only a stray is left alone.
        if (renamed != 0 && errno == EINVAL) {
            struct stat stray;
            if (::lstat(target.c_str(), &stray) == 0) {
                errno = EEXIST;
            } else {
                renamed = ::rename(path.c_str(), target.c_str());
            }
        }
        if (renamed == 0) return Attempt::Moved;
        const int error = errno;
        ::unlink(info.c_str());
        if (error == EEXIST) continue;
        return error == EXDEV ? Attempt::CrossesFileSystems : Attempt::Failed;
    }
    return Attempt::Failed;
}

std::optional<std::string> DataHome() {
    // Only an absolute path counts; a relative one is ignored, as desktops ignore it.
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data != nullptr && data[0] == '/') return std::string(data);
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
        const passwd* account = ::getpwuid(::getuid());
        home = account != nullptr ? account->pw_dir : nullptr;
    }
    if (home == nullptr || home[0] != '/') return std::nullopt;
    return std::string(home) + "/.local/share";
}

// The device of the folder, or of the nearest folder above it that exists.
std::optional<dev_t> DeviceAt(std::string path) {
    for (;;) {
        struct stat info;
        if (::stat(path.c_str(), &info) == 0) return info.st_dev;
        if (errno != ENOENT || path == "/") return std::nullopt;
        path = ParentOf(path);
    }
}

// The top folder of the file system that holds the folder: the mount point it lies under, or
// the highest folder between the two still on the folder's device where the device changes
// on the way (a file system's own volumes, such as btrfs subvolumes, share a mount but not a
// device).
std::string TopFolderOf(const std::string& folder, dev_t device) {
    std::string mountPoint = "/";
    const auto table = ReadFileStart(u"/proc/self/mountinfo", kMountTableLimit);
    for (const posix::Mount& mount : posix::ParseMountInfo(table.value_or(""))) {
        if (IsBelow(folder, mount.path) && mount.path.size() > mountPoint.size())
            mountPoint = mount.path;
    }
    std::string top = folder;
    while (top != mountPoint && top != "/") {
        const std::string parent = ParentOf(top);
        struct stat info;
        if (::stat(parent.c_str(), &info) != 0 || info.st_dev != device) break;
        top = parent;
    }
    return top;
}

// The shared $top/.Trash (a real folder with the sticky bit, so users cannot remove each
// other's) holding one folder per user, or else the user's own $top/.Trash-UID.
Attempt MoveToTopTrash(const std::string& top, const std::string& path, const std::string& name,
                       const std::string& whole) {
    const std::string base = top == "/" ? "" : top;
    const std::string uid = std::to_string(::getuid());
    struct stat shared;
    const std::string sharedPath = base + "/.Trash";
    if (::lstat(sharedPath.c_str(), &shared) == 0 && S_ISDIR(shared.st_mode) &&
        (shared.st_mode & S_ISVTX)) {
        const TrashFolder trash{sharedPath + "/" + uid, top};
        if (IsOwnFolder(trash.path) && HasFilesAndInfo(trash) &&
            MoveInto(trash, path, name, whole) == Attempt::Moved)
            return Attempt::Moved;
    }
    const TrashFolder own{base + "/.Trash-" + uid, top};
    if (!IsOwnFolder(own.path) || !HasFilesAndInfo(own)) return Attempt::Failed;
    return MoveInto(own, path, name, whole);
}

bool MovedToTrash(const std::string& path, dev_t device) {
    const std::size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::string folderGiven = slash == std::string::npos ? "."
                                    : slash == 0               ? "/"
                                                               : path.substr(0, slash);
    char* resolved = ::realpath(folderGiven.c_str(), nullptr);
    if (resolved == nullptr) return false;
    const std::string folder = resolved;
    std::free(resolved);
    const std::string whole = (folder == "/" ? "" : folder) + "/" + name;

    const std::optional<std::string> data = DataHome();
    if (data && DeviceAt(*data + "/Trash") == device) {
        const TrashFolder home{*data + "/Trash", ""};
        if (!MakeFolders(home.path) || !HasFilesAndInfo(home)) return false;
        // The same device under another mount (a bind mount) cannot be renamed across: such
        // a file goes to its own mount's top folder like any other.
        const Attempt attempt = MoveInto(home, path, name, whole);
        if (attempt != Attempt::CrossesFileSystems) return attempt == Attempt::Moved;
    }
    return MoveToTopTrash(TopFolderOf(folder, device), path, name, whole) == Attempt::Moved;
}

}  // namespace

std::u16string WastebasketName() { return u"Trash"; }

std::optional<Discarded> detail::ToWastebasket(std::u16string_view path,
                                               const std::optional<FileIdentity>& spared) {
    const std::string native = ToNative(path);
    struct stat info;
    if (::lstat(native.c_str(), &info) != 0) {
        throw FileError(SystemReason(errno), u"Cannot delete", path);
    }
    const FileIdentity entry =
        posix::IdentityFrom(info, posix::RulesAt(native), posix::LastComponent(path));
    if (spared && entry == *spared) return Discarded::Spared;
    if (MovedToTrash(native, info.st_dev)) return Discarded::MovedToWastebasket;
    return std::nullopt;
}

}  // namespace platform
