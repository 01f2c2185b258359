// What the Windows sources of this folder share: wide texts, the system's error codes, file
// handles that close themselves, and a file's identity.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/platform.h"

namespace platform::windows {

// Only for texts kept alive by the caller: the result ends where the text ends only if the
// text is a std::u16string (which always ends with a zero unit).
inline const wchar_t* Wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

inline std::error_code LastError() {
    return std::error_code(static_cast<int>(GetLastError()), std::system_category());
}

[[noreturn]] inline void Fail(std::error_code reason, std::u16string doing,
                              std::u16string_view path) {
    throw FileError(reason, std::move(doing), std::u16string(path));
}

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

}  // namespace platform::windows
