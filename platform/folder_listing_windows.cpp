// Folder listing on Windows: the system's hidden and system files are hidden, and links to
// files are no ordinary files.
#include <windows.h>

#include <memory>

#include "platform/handles_windows.h"
#include "platform/platform.h"
#include "platform/system_parts.h"

namespace platform {

// Entries that are neither hidden nor system files, nor links to files, nor "." or "..",
// nor names that paths cannot reach.
void detail::ListVisible(std::u16string_view folder, NameList* subfolders, NameList* files) {
    const std::u16string pattern = windows::SystemPath(JoinPath(folder, u"*"));
    WIN32_FIND_DATAW entry;
    const HANDLE first =
        FindFirstFileExW(Wide(pattern), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr,
                         FIND_FIRST_EX_LARGE_FETCH);
    if (first == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) return;  // a drive root with nothing in it
        throw FileError(SystemReason(error), u"Cannot list folder", folder);
    }
    // Closed however the listing ends, a name that could not be kept included.
    const std::unique_ptr<void, BOOL(WINAPI*)(HANDLE)> search(first, FindClose);
    do {
        const std::u16string_view name(reinterpret_cast<const char16_t*>(entry.cFileName));
        const DWORD attributes = entry.dwFileAttributes;
        if (name == u"." || name == u"..") continue;
        // Other systems can make names that end in a dot or a blank, but a path drops them:
        // listed, "report." would be opened, enciphered and reported as "report".
        if (name.back() == u'.' || name.back() == u' ') continue;
        if (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) continue;
        if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) && windows::IsLinkTag(entry.dwReserved0) &&
            !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            continue;  // a link to a file: not an ordinary file, as Classify says
        }
        NameList* const names = (attributes & FILE_ATTRIBUTE_DIRECTORY) ? subfolders
                                : (attributes & FILE_ATTRIBUTE_DEVICE)  ? nullptr
                                                                        : files;
        if (names != nullptr) names->Add(name);
    } while (FindNextFileW(search.get(), &entry));
    const DWORD error = GetLastError();
    if (error != ERROR_NO_MORE_FILES)
        throw FileError(SystemReason(error), u"Cannot list folder", folder);
}

}  // namespace platform
