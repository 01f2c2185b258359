#include <windows.h>

#include "platform/handles_windows.h"
#include "platform/platform.h"
#include "platform/system_parts.h"

namespace platform {

using windows::OwnedHandle;

namespace windows {

std::optional<FileIdentity> IdentityOfHandle(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(file, &information)) return std::nullopt;
    FileIdentity identity;
    identity.volume = information.dwVolumeSerialNumber;
    identity.index = (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow;
    return identity;
}

}  // namespace windows

namespace {

// The reparse tag of the entry itself, without following it; 0 if it cannot be read.
DWORD ReparseTag(const std::u16string& path) {
    const OwnedHandle entry(
        CreateFileW(Wide(path), FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    FILE_ATTRIBUTE_TAG_INFO information{};
    if (!entry.Valid() || !GetFileInformationByHandleEx(entry.Get(), FileAttributeTagInfo,
                                                        &information, sizeof information)) {
        return 0;
    }
    return information.ReparseTag;
}

}  // namespace

EntryKind Classify(std::u16string_view pathText) {
    const std::u16string path = windows::SystemPath(pathText);
    if (windows::HasWildcard(path)) return EntryKind::Missing;
    const DWORD attributes = GetFileAttributesW(Wide(path));
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        // Only a clear "not there" counts as missing: an entry that cannot be looked at may
        // still exist, and callers use Missing as leave to create something at the path.
        switch (GetLastError()) {
            case ERROR_FILE_NOT_FOUND:
            case ERROR_PATH_NOT_FOUND:
            case ERROR_INVALID_NAME:
                return EntryKind::Missing;
            case ERROR_FILENAME_EXCED_RANGE:
                return EntryKind::PathTooLong;
            default:
                return EntryKind::Other;
        }
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) && windows::IsLinkTag(ReparseTag(path))) {
        return EntryKind::Other;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return EntryKind::Folder;
    if (attributes & FILE_ATTRIBUTE_DEVICE) return EntryKind::Other;
    if (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) return EntryKind::HiddenFile;
    return EntryKind::OrdinaryFile;
}

std::optional<FileIdentity> IdentityOf(std::u16string_view path) {
    // No access asked for: the identity can be read even while another program holds the
    // file open without sharing.
    const OwnedHandle entry(CreateFileW(
        Wide(windows::SystemPath(path)), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!entry.Valid()) return std::nullopt;
    return windows::IdentityOfHandle(entry.Get());
}

bool RemoveFileUnless(std::u16string_view path, const FileIdentity& spared) {
    // One handle for the look and the removal: no other program can put another file under
    // the name in between. The entry itself is opened, a link not followed.
    const std::u16string name(path);
    const OwnedHandle entry(
        CreateFileW(Wide(windows::SystemPath(name)), DELETE | FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!entry.Valid()) {
        throw FileError(detail::SystemReason(GetLastError()), u"Cannot delete", name);
    }
    // A file whose identity cannot be read might be the spared one: it is not removed.
    const std::optional<FileIdentity> identity = windows::IdentityOfHandle(entry.Get());
    if (!identity) throw FileError(detail::SystemReason(GetLastError()), u"Cannot delete", name);
    if (*identity == spared) return false;
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    if (!SetFileInformationByHandle(entry.Get(), FileDispositionInfo, &disposition,
                                    sizeof disposition)) {
        throw FileError(detail::SystemReason(GetLastError()), u"Cannot delete", name);
    }
    return true;
}

void RemoveFile(std::u16string_view path) {
    if (!DeleteFileW(Wide(windows::SystemPath(path)))) {
        throw FileError(detail::SystemReason(GetLastError()), u"Cannot delete", path);
    }
}

}  // namespace platform
