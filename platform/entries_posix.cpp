#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <vector>

#include "platform/file_systems_posix.h"
#include "platform/platform.h"
#include "platform/system_parts.h"

namespace platform {

EntryKind Classify(std::u16string_view path) {
    const NativeString native = ToNative(path);
    struct stat info;
    if (lstat(native.c_str(), &info) != 0) {
        // Only a clear "not there" counts as missing: an entry that cannot be looked at may
        // still exist, and callers use Missing as leave to create something at the path.
        if (errno == ENOENT || errno == ENOTDIR) return EntryKind::Missing;
        return errno == ENAMETOOLONG ? EntryKind::PathTooLong : EntryKind::Other;
    }
    if (S_ISDIR(info.st_mode)) return EntryKind::Folder;
    if (!S_ISREG(info.st_mode)) return EntryKind::Other;
    const std::size_t slash = native.rfind('/');
    const std::size_t nameStart = slash == NativeString::npos ? 0 : slash + 1;
    return native.size() > nameStart && native[nameStart] == '.' ? EntryKind::HiddenFile
                                                                 : EntryKind::OrdinaryFile;
}

std::optional<FileIdentity> IdentityOf(std::u16string_view path) {
    const NativeString native = ToNative(path);
    struct stat info;
    if (stat(native.c_str(), &info) != 0) return std::nullopt;
    return posix::IdentityFrom(info, posix::RulesAt(native), posix::LastComponent(path));
}

std::optional<std::u16string> ListedName(std::u16string_view folder, std::u16string_view name) {
    const NativeString entryPath = ToNative(JoinPath(folder, name));
    struct stat entry;
    if (lstat(entryPath.c_str(), &entry) != 0) return std::nullopt;
    const NativeString wanted = ToNative(name);
    const std::u16string wantedKey = UpperCase(std::u16string(name));
    const std::unique_ptr<DIR, int (*)(DIR*)> listing(opendir(ToNative(folder).c_str()), closedir);
    if (!listing) {
        throw FileError(detail::SystemReason(errno), u"Cannot read", folder);
    }
    // The spellings that match by letter case, the rule of every such file system here; a
    // listed name the same to the byte is the entry itself.
    std::vector<std::u16string> alike;
    bool exact = false;
    while (const dirent* listed = readdir(listing.get())) {
        if (wanted == listed->d_name) {
            exact = true;
            break;
        }
        std::u16string spelling = FromNative(listed->d_name);
        if (UpperCase(spelling) == wantedKey) alike.push_back(std::move(spelling));
    }
    if (exact || alike.empty()) return std::u16string(name);
    if (alike.size() == 1) return alike.front();
    // Several spellings that one folder tells apart: the one that is the same entry.
    for (const std::u16string& spelling : alike) {
        struct stat other;
        if (lstat(ToNative(JoinPath(folder, spelling)).c_str(), &other) == 0 &&
            other.st_dev == entry.st_dev && other.st_ino == entry.st_ino) {
            return spelling;
        }
    }
    return std::u16string(name);
}

void RemoveFile(std::u16string_view path) {
    if (unlink(ToNative(path).c_str()) != 0) {
        throw FileError(detail::SystemReason(errno), u"Cannot delete", path);
    }
}

bool RemoveFileUnless(std::u16string_view path, const FileIdentity& spared) {
    // The entry itself, as unlink sees it: a link to the spared file is only a link, and
    // removing it leaves the file alone.
    const NativeString native = ToNative(path);
    struct stat info;
    if (lstat(native.c_str(), &info) != 0) {
        throw FileError(detail::SystemReason(errno), u"Cannot delete", path);
    }
    if (posix::IdentityFrom(info, posix::RulesAt(native), posix::LastComponent(path)) == spared) {
        return false;
    }
    RemoveFile(path);
    return true;
}

}  // namespace platform
