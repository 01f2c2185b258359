#include <windows.h>

#include "platform/handles_windows.h"
#include "platform/platform.h"
#include "platform/system_parts.h"

namespace platform {

std::optional<std::u16string> ListedName(std::u16string_view folder, std::u16string_view name) {
    // The system's search by a name without wildcards answers with the entry's own spelling.
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileExW(Wide(JoinPath(folder, name)), FindExInfoBasic, &found,
                                           FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
        throw FileError(detail::SystemReason(error), u"Cannot read", folder);
    }
    FindClose(search);
    return FromWide(found.cFileName);
}

}  // namespace platform
