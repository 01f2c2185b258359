#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/platform.h"

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
    struct stat info;
    if (stat(ToNative(path).c_str(), &info) != 0) return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino)};
}

bool SameFile(std::u16string_view a, std::u16string_view b) {
    const std::optional<FileIdentity> first = IdentityOf(a);
    const std::optional<FileIdentity> second = IdentityOf(b);
    return first && second && *first == *second;
}

void RemoveFile(std::u16string_view path) {
    if (unlink(ToNative(path).c_str()) != 0) {
        throw FileError(std::error_code(errno, std::generic_category()), u"Cannot delete",
                        std::u16string(path));
    }
}

bool RemoveFileUnless(std::u16string_view path, const FileIdentity& spared) {
    // The entry itself, as unlink sees it: a link to the spared file is only a link, and
    // removing it leaves the file alone.
    struct stat info;
    if (lstat(ToNative(path).c_str(), &info) != 0) {
        throw FileError(std::error_code(errno, std::generic_category()), u"Cannot delete",
                        std::u16string(path));
    }
    const FileIdentity entry{static_cast<std::uint64_t>(info.st_dev),
                             static_cast<std::uint64_t>(info.st_ino)};
    if (entry == spared) return false;
    RemoveFile(path);
    return true;
}

}  // namespace platform
