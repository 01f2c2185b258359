// Paths past the old limit of 260 units: every call to the system goes through SystemPath,
// so that a folder and file as deep as the file system holds are listed, read and written.
#include <windows.h>

#include <string>

#include "platform/handles_windows.h"

namespace platform::windows {

std::u16string LongPath(std::u16string_view pathText) {
    const std::u16string path(pathText);
    if (path.starts_with(u"\\\\?\\") || path.starts_with(u"\\\\.\\") ||
        path.starts_with(u"\\??\\")) {
        return path;
    }
    // Resolved as the system resolves a short path: against the working folder, or the
    // drive's, for one that is not absolute.
    std::u16string full(std::max<DWORD>(GetFullPathNameW(Wide(path), 0, nullptr, nullptr), 1),
                        u'\0');
    const DWORD length = GetFullPathNameW(Wide(path), static_cast<DWORD>(full.size()),
                                          reinterpret_cast<wchar_t*>(full.data()), nullptr);
    if (length == 0 || length >= full.size()) return path;
    full.resize(length);
    if (full.starts_with(u"\\\\")) return u"\\\\?\\UNC\\" + full.substr(2);
    if (full.size() >= 2 && full[1] == u':') return u"\\\\?\\" + full;
    return full;
}

std::u16string SystemPath(std::u16string_view path) {
    return path.size() < SystemPathLimit ? std::u16string(path) : LongPath(path);
}

}  // namespace platform::windows
