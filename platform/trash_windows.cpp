// The shell's Recycle Bin, so that a file given up can be restored from Explorer.
#include <windows.h>
// After windows.h, whose types it uses.
#include <shellapi.h>

#include "platform/handles_windows.h"
#include "platform/platform.h"
#include "platform/system_parts.h"

namespace platform {

namespace {

using windows::OwnedHandle;

std::optional<std::int64_t> ItemsInRecycleBin(const std::u16string& path) {
    SHQUERYRBINFO bin{};
    bin.cbSize = sizeof bin;
    if (FAILED(SHQueryRecycleBinW(Wide(path), &bin))) return std::nullopt;
    return bin.i64NumItems;
}

// The shell recycles what it can and, asked for no dialog, deletes for good what it cannot
// (a disk without a Recycle Bin, a file too large for it) without saying which it did; the
// Recycle Bin of the file's disk holding one item more tells. Nothing if the shell did not
// delete the file.
std::optional<Discarded> DeleteThroughTheShell(const std::u16string& path) {
    // The shell would expand wildcards into other files, and takes no path in the long form:
    // a file that deep is deleted for good.
    if (path.find_first_of(u"*?") != std::u16string::npos || path.size() >= MAX_PATH) {
        return std::nullopt;
    }
    const std::optional<std::int64_t> before = ItemsInRecycleBin(path);
    // A list of names, each ending with a zero, and one more zero at its end.
    const std::u16string names = path + u'\0';
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = Wide(names);
    operation.fFlags = FOF_ALLOWUNDO | FOF_NO_UI;
    if (SHFileOperationW(&operation) != 0 || operation.fAnyOperationsAborted ||
        GetFileAttributesW(Wide(path)) != INVALID_FILE_ATTRIBUTES) {
        return std::nullopt;
    }
    const std::optional<std::int64_t> after = ItemsInRecycleBin(path);
    return before && after && *after > *before ? Discarded::MovedToWastebasket
                                               : Discarded::DeletedForGood;
}

}  // namespace

std::u16string WastebasketName() { return u"Recycle Bin"; }

std::optional<Discarded> detail::ToWastebasket(std::u16string_view pathText,
                                               const std::optional<FileIdentity>& spared) {
    const std::u16string path(pathText);
    if (spared) {
        // The entry itself, a link not followed; one whose identity cannot be read might be
        // the spared file, and is left alone. The shell takes the path microseconds later.
        const OwnedHandle entry(CreateFileW(Wide(windows::SystemPath(path)), FILE_READ_ATTRIBUTES,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT,
                                            nullptr));
        const std::optional<FileIdentity> identity =
            entry.Valid() ? windows::IdentityOfHandle(entry.Get()) : std::nullopt;
        if (!identity) throw FileError(SystemReason(GetLastError()), u"Cannot delete", path);
        if (*identity == *spared) return Discarded::Spared;
    }
    // What the shell could not do is tried once more by Discard, and the system's reason shown.
    return DeleteThroughTheShell(path);
}

}  // namespace platform
