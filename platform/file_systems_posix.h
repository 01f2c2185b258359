// What a Linux file system keeps of its files, as far as telling one file, or one state of a
// file, from another goes: whether its inode numbers last, and how coarsely it keeps times.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <string_view>

#include "platform/platform.h"

namespace platform::posix {

struct FileSystemRules {
    // False where numbers are handed out anew when the kernel forgets an entry, or one per
    // spelling of a name.
    bool lastingNumbers = true;
    // The step of its modification times, in nanoseconds.
    std::int64_t timeStep = 1;
};

// The rules for the file system of statfs's f_type.
FileSystemRules RulesForType(long type);
// The rules of the file system holding an open file, or the entry at path; the defaults if
// it cannot be asked.
FileSystemRules RulesOfOpenFile(int descriptor);
FileSystemRules RulesAt(const NativeString& path);

// A status's modification time in nanoseconds.
std::int64_t ModifiedOf(const struct stat& status);

// The identity of the file with this status, reached by a name ending in name.
FileIdentity IdentityFrom(const struct stat& status, const FileSystemRules& rules,
                          std::u16string_view name);

// The last component of a path, as it was given.
std::u16string_view LastComponent(std::u16string_view path);

}  // namespace platform::posix
