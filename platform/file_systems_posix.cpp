#include "platform/file_systems_posix.h"

#include <sys/statfs.h>

namespace platform::posix {
namespace {

// statfs's f_type of the file systems whose rules are not the defaults.
constexpr long kMsdos = 0x4d44;      // FAT, the kernel's vfat and msdos
constexpr long kExfat = 0x2011BAB0;  // the kernel's exFAT
constexpr long kFuse = 0x65735546;   // FUSE: exFAT, FAT and NTFS through a daemon
constexpr long kCifs = 0xFF534D42;   // network shares
constexpr long kSmb2 = 0xFE534D42;
constexpr std::int64_t kSecond = 1'000'000'000;

}  // namespace

FileSystemRules RulesForType(long type) {
    switch (type) {
        case kMsdos:
            return {false, 2 * kSecond};
        case kExfat:
            return {false, 10'000'000};
        // What lies behind FUSE is not told, and the daemons for FAT and exFAT keep times to
        // 2 s: the coarsest step is assumed. A share's server may be such a disk too.
        case kFuse:
        case kCifs:
        case kSmb2:
            return {false, 2 * kSecond};
        default:
            return {};
    }
}

FileSystemRules RulesOfOpenFile(int descriptor) {
    struct statfs info;
    if (::fstatfs(descriptor, &info) != 0) return {};
    return RulesForType(static_cast<long>(info.f_type));
}

FileSystemRules RulesAt(const NativeString& path) {
    struct statfs info;
    if (::statfs(path.c_str(), &info) != 0) return {};
    return RulesForType(static_cast<long>(info.f_type));
}

std::int64_t ModifiedOf(const struct stat& status) {
    return std::int64_t{status.st_mtim.tv_sec} * kSecond + status.st_mtim.tv_nsec;
}

FileIdentity IdentityFrom(const struct stat& status, const FileSystemRules& rules,
                          std::u16string_view name) {
    FileIdentity identity{static_cast<std::uint64_t>(status.st_dev), 0, {}, 0, 0};
    if (rules.lastingNumbers) {
        identity.index = static_cast<std::uint64_t>(status.st_ino);
    } else {
        identity.matchedName = UpperCase(std::u16string(name));
        identity.size = status.st_size;
        identity.modified = ModifiedOf(status);
    }
    return identity;
}

std::u16string_view LastComponent(std::u16string_view path) {
    while (path.size() > 1 && path.back() == u'/') path.remove_suffix(1);
    const std::size_t slash = path.rfind(u'/');
    return slash == std::u16string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace platform::posix
