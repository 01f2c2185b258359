// What the Windows sources of this folder share: file handles that close themselves, a file's
// identity, and the paths the system's calls take.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace platform::windows {

class OwnedHandle {
public:
    explicit OwnedHandle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
    ~OwnedHandle() {
        if (Valid()) CloseHandle(handle_);
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    OwnedHandle& operator=(OwnedHandle&& other) noexcept {
        if (this != &other) {
            if (Valid()) CloseHandle(handle_);
            handle_ = other.handle_;
            other.handle_ = INVALID_HANDLE_VALUE;
        }
        return *this;
    }

    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE Get() const { return handle_; }
    // Closes now, so that a failure to close (data not written) can be reported.
    bool Close() {
        const bool closed = CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

// Reparse points that lead elsewhere; others (files kept in the cloud, deduplicated ones)
// are the user's files in their own place.
inline bool IsLinkTag(DWORD tag) {
    return tag == IO_REPARSE_TAG_SYMLINK || tag == IO_REPARSE_TAG_MOUNT_POINT;
}

std::optional<FileIdentity> IdentityOfHandle(HANDLE file);

// The path as the system's calls take it, whatever its length: short paths as they are, and
// from SystemPathLimit units on the long form. The user is only ever shown the path given.
std::u16string SystemPath(std::u16string_view path);
// Paths this long or longer take the long form: the most with which a folder can be created
// without it (MAX_PATH less room for an 8.3 name).
inline constexpr std::size_t SystemPathLimit = MAX_PATH - 12;
// The long form, which the system takes up to 32,767 units: the absolute path with its "."
// and ".." components, its '/' and doubled separators resolved (the system leaves them as
// they stand after the prefix), behind "\\?\" ("\\?\UNC\server\share\..." for a network
// path). A path in that form already is given as it is.
std::u16string LongPath(std::u16string_view path);

// True if the path holds a wildcard, which is no part of any name: looking one up would
// match other files. The '?' of the long form's prefix is none.
inline bool HasWildcard(std::u16string_view path) {
    const std::size_t from = path.starts_with(u"\\\\?\\") ? 4 : 0;
    return path.find_first_of(u"*?", from) != std::u16string_view::npos;
}

}  // namespace platform::windows
