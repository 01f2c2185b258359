// Volumes on Linux. There are no drive letters: the drive list offers the
// root, the user's home folder and every mounted file system that holds the user's files.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <system_error>

#include "platform/mount_table_posix.h"
#include "platform/platform.h"

namespace platform {
namespace posix {

namespace {

// The fields of a mountinfo line are separated by single blanks; blanks, tabs, newlines
// and backslashes inside a field are written as three octal digits after a backslash.
std::string UnescapeOctal(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        const auto isOctal = [&](std::size_t k) {
            return k < field.size() && field[k] >= '0' && field[k] <= '7';
        };
        if (field[i] == '\\' && isOctal(i + 1) && isOctal(i + 2) && isOctal(i + 3)) {
            const int value =
                (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
            out.push_back(static_cast<char>(value));
            i += 3;
        } else {
            out.push_back(field[i]);
        }
    }
    return out;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (start <= line.size()) {
        const std::size_t end = std::min(line.find(' ', start), line.size());
        if (end > start) fields.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    return fields;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool StartsWithFolder(std::string_view path, std::string_view folder) {
    return path == folder || (path.starts_with(folder) && path[folder.size()] == '/');
}

}  // namespace

std::vector<Mount> ParseMountInfo(std::string_view text) {
    std::vector<Mount> mounts;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::vector<std::string_view> fields = SplitFields(text.substr(start, end - start));
        start = end + 1;
        // id, parent, device, root, mount point, options, optional fields..., "-", type, source
        const auto separator = std::find(fields.begin(), fields.end(), "-");
        if (fields.size() < 5 || separator - fields.begin() < 6 || fields.end() - separator < 3)
            continue;
        mounts.push_back(
            {UnescapeOctal(fields[4]), UnescapeOctal(separator[1]), UnescapeOctal(separator[2])});
    }
    return mounts;
}

bool IsPseudoFileSystem(std::string_view fileSystem) {
    static constexpr std::string_view kPseudo[] = {
        "autofs",      "binfmt_misc",     "bpf",        "cgroup",     "cgroup2",
        "configfs",    "debugfs",         "devpts",     "devtmpfs",   "efivarfs",
        "fusectl",     "hugetlbfs",       "mqueue",     "nsfs",       "overlay",
        "proc",        "pstore",          "ramfs",      "rpc_pipefs", "securityfs",
        "selinuxfs",   "squashfs",        "sysfs",      "tmpfs",      "tracefs",
        "fuse.portal", "fuse.gvfsd-fuse", "fuse.lxcfs",
    };
    return std::find(std::begin(kPseudo), std::end(kPseudo), fileSystem) != std::end(kPseudo);
}

bool IsUserVolume(const Mount& mount) {
    // The kernel's own trees never hold user files, whatever is mounted inside them.
    for (std::string_view system : {"/proc", "/sys", "/dev"}) {
        if (StartsWithFolder(mount.path, system)) return false;
    }
    return mount.path != "/" && !mount.path.empty() && mount.path.front() == '/' &&
           !IsPseudoFileSystem(mount.fileSystem);
}

std::string UnescapeLabel(std::string_view name) {
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' &&
            HexDigit(name[i + 2]) >= 0 && HexDigit(name[i + 3]) >= 0) {
            out.push_back(static_cast<char>(HexDigit(name[i + 2]) * 16 + HexDigit(name[i + 3])));
            i += 3;
        } else {
            out.push_back(name[i]);
        }
    }
    return out;
}

}  // namespace posix

namespace {

constexpr char16_t kRoot[] = u"/";
constexpr std::size_t kMountTableLimit = 4 * 1024 * 1024;

std::string ResolvedDevice(const std::string& path) {
    std::error_code ignored;
    const std::filesystem::path resolved = std::filesystem::canonical(path, ignored);
    return ignored ? path : resolved.string();
}

// Labels come from udev's /dev/disk/by-label links; systems without udev simply show none.
std::vector<std::pair<std::string, std::string>> DeviceLabels() {
    std::vector<std::pair<std::string, std::string>> labels;
    std::error_code error;
    std::filesystem::directory_iterator entries("/dev/disk/by-label", error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        labels.emplace_back(ResolvedDevice(entries->path().string()),
                            posix::UnescapeLabel(entries->path().filename().string()));
    }
    return labels;
}

std::u16string LabelOf(const std::string& source,
                       const std::vector<std::pair<std::string, std::string>>& labels) {
    if (source.empty() || source.front() != '/') return {};
    const std::string device = ResolvedDevice(source);
    for (const auto& [labelled, label] : labels) {
        if (labelled == device) return FromNative(label);
    }
    return {};
}

// Without drive letters a volume is shown by where it is opened, and its label if it has one.
Volume Described(std::u16string path, std::u16string label) {
    std::u16string text = label.empty() ? path : path + u" [" + label + u"]";
    return {std::move(path), std::move(label), std::move(text)};
}

std::u16string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') {
        const passwd* account = getpwuid(getuid());
        home = account != nullptr ? account->pw_dir : nullptr;
    }
    if (home == nullptr) return {};
    const std::vector<FolderStep> chain = FolderChain(FromNative(home));
    return chain.empty() ? std::u16string{} : chain.back().path;
}

}  // namespace

std::vector<Volume> ListVolumes() {
    const auto labels = DeviceLabels();
    const std::vector<posix::Mount> mounts = posix::ParseMountInfo(
        ReadFileStart(u"/proc/self/mountinfo", kMountTableLimit).value_or(""));
    const auto labelAt = [&](const std::u16string& path) {
        std::u16string label;
        for (const posix::Mount& mount : mounts) {
            if (FromNative(mount.path) == path) label = LabelOf(mount.source, labels);
        }
        return label;  // the last mount on a path is the one that shows
    };

    std::vector<Volume> volumes{Described(kRoot, labelAt(kRoot))};
    const std::u16string home = HomeFolder();
    if (!home.empty() && home != kRoot && FolderExists(home))
        volumes.push_back(Described(home, labelAt(home)));

    std::set<std::u16string> mountPoints;
    for (const posix::Mount& mount : mounts) {
        if (!posix::IsUserVolume(mount)) continue;
        const std::u16string path = FromNative(mount.path);
        if (path != home && FolderExists(path)) mountPoints.insert(path);
    }
    for (const std::u16string& path : mountPoints)
        volumes.push_back(Described(path, labelAt(path)));
    return volumes;
}

std::u16string DefaultFolder() { return kRoot; }

bool FolderExists(std::u16string_view path) {
    if (path.empty()) return false;
    struct stat status {};
    return stat(ToNative(path).c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace platform
