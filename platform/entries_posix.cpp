#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "platform/platform.h"

namespace platform {

EntryKind Classify(const std::filesystem::path& path) {
    struct stat info;
    if (lstat(path.c_str(), &info) != 0) {
        // Only a clear "not there" counts as missing: an entry that cannot be looked at may
        // still exist, and callers use Missing as leave to create something at the path.
        return errno == ENOENT || errno == ENOTDIR ? EntryKind::Missing : EntryKind::Other;
    }
    if (S_ISDIR(info.st_mode)) {
        return EntryKind::Folder;
    }
    if (!S_ISREG(info.st_mode)) {
        return EntryKind::Other;
    }
    const std::string name = path.filename().native();
    return !name.empty() && name.front() == '.' ? EntryKind::HiddenFile : EntryKind::OrdinaryFile;
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    struct stat first;
    struct stat second;
    if (stat(a.c_str(), &first) != 0 || stat(b.c_str(), &second) != 0) {
        return false;
    }
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

void DeleteFile(const std::filesystem::path& path) {
    if (unlink(path.c_str()) != 0) {
        throw std::system_error(errno, std::generic_category(),
                                "Cannot delete \"" + path.string() + "\"");
    }
}

}  // namespace platform
