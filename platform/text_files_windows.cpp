// Small text files, read and written as raw bytes; the encoding is EncodeLine's business.
#include <windows.h>

#include <string>

#include "platform/handles_windows.h"
#include "platform/platform.h"
#include "platform/system_parts.h"

namespace platform {

using windows::OwnedHandle;

std::optional<std::string> ReadFileStart(std::u16string_view pathText, std::size_t maxBytes) {
    const std::u16string path(pathText);
    const OwnedHandle file(CreateFileW(Wide(windows::SystemPath(path)), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid() || GetFileType(file.Get()) != FILE_TYPE_DISK) return std::nullopt;
    std::string bytes(maxBytes, '\0');
    std::size_t filled = 0;
    while (filled < maxBytes) {
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(maxBytes - filled, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(file.Get(), bytes.data() + filled, wanted, &got, nullptr))
            return std::nullopt;
        if (got == 0) break;
        filled += got;
    }
    bytes.resize(filled);
    return bytes;
}

// Written beside the target and moved over it in one step, so that a failure half way never
// leaves the target cut short.
void WriteWholeFile(std::u16string_view pathText, std::string_view bytes) {
    const std::u16string path(pathText);
    std::u16string temporary;
    OwnedHandle file;
    for (int attempt = 0; attempt < 100 && !file.Valid(); ++attempt) {
        const std::string suffix =
            ".new-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(attempt);
        temporary = windows::SystemPath(path + std::u16string(suffix.begin(), suffix.end()));
        file = OwnedHandle(CreateFileW(Wide(temporary), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid() && GetLastError() != ERROR_FILE_EXISTS)
            throw FileError(detail::SystemReason(GetLastError()), u"Cannot write", path);
    }
    if (!file.Valid())
        throw FileError(detail::SystemReason(ERROR_FILE_EXISTS), u"Cannot write", path);

    DWORD error = ERROR_SUCCESS;
    DWORD put = 0;
    if (!bytes.empty() &&
        (!WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) ||
         put != bytes.size())) {
        error = GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_WRITE_FAULT;
    }
    if (error == ERROR_SUCCESS && !FlushFileBuffers(file.Get())) error = GetLastError();
    if (!file.Close() && error == ERROR_SUCCESS) error = GetLastError();
    if (error == ERROR_SUCCESS &&
        !MoveFileExW(Wide(temporary), Wide(windows::SystemPath(path)),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = GetLastError();
    }
    if (error != ERROR_SUCCESS) {
        DeleteFileW(Wide(temporary));
        throw FileError(detail::SystemReason(error), u"Cannot write", path);
    }
}

}  // namespace platform
