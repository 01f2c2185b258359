#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/handles_windows.h"
#include "platform/platform.h"
#include "platform/system_parts.h"
#include "platform/temporary_windows.h"

namespace platform {

using detail::SystemReason;
using windows::OwnedHandle;

namespace {

constexpr DWORD kMostPerCall = 1u << 30;

}  // namespace

struct InputFile::Handle {
    OwnedHandle file;
};

struct OutputFile::Handle {
    explicit Handle(std::u16string_view destination)
        : temporary(destination, windows::Removal::BySystem) {}
    windows::Temporary temporary;
};

InputFile::InputFile(std::u16string_view path) : path_(path), handle_(std::make_unique<Handle>()) {
    // Other programs may go on reading the source, but none may change it during the run.
    handle_->file =
        OwnedHandle(CreateFileW(Wide(windows::SystemPath(path_)), GENERIC_READ, FILE_SHARE_READ,
                                nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!handle_->file.Valid()) throw FileError(SystemReason(GetLastError()), u"Cannot open", path);
    BY_HANDLE_FILE_INFORMATION information;
    const bool disk = GetFileType(handle_->file.Get()) == FILE_TYPE_DISK;
    if (!disk || !GetFileInformationByHandle(handle_->file.Get(), &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        throw FileError(std::make_error_code(std::errc::invalid_argument), u"Not an ordinary file:",
                        path);
    }
}

InputFile::~InputFile() = default;

std::size_t InputFile::Read(std::span<std::uint8_t> buffer) {
    std::size_t filled = 0;
    while (filled < buffer.size()) {
        const DWORD wanted =
            static_cast<DWORD>(std::min<std::size_t>(buffer.size() - filled, kMostPerCall));
        DWORD got = 0;
        if (!ReadFile(handle_->file.Get(), buffer.data() + filled, wanted, &got, nullptr)) {
            throw FileError(SystemReason(GetLastError()), u"Cannot read", path_);
        }
        if (got == 0) break;
        filled += got;
    }
    return filled;
}

FileVersion InputFile::Version() const {
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(handle_->file.Get(), &information)) {
        throw FileError(SystemReason(GetLastError()), u"Cannot read", path_);
    }
    FileVersion version;
    version.size = static_cast<std::int64_t>((std::uint64_t{information.nFileSizeHigh} << 32) |
                                             information.nFileSizeLow);
    version.modified = static_cast<std::int64_t>(
        (std::uint64_t{information.ftLastWriteTime.dwHighDateTime} << 32) |
        information.ftLastWriteTime.dwLowDateTime);
    version.identity.volume = information.dwVolumeSerialNumber;
    version.identity.index =
        (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow;
    return version;
}

// The source is open without write sharing: no other program can write it while it is read,
// and none could open it for writing while another held it so.
FileVersion InputFile::SettledVersion() { return Version(); }

void InputFile::CheckUnwritten() const {}

bool InputFile::IsSameFileAs(std::u16string_view path) const {
    const std::optional<FileIdentity> mine = windows::IdentityOfHandle(handle_->file.Get());
    const std::optional<FileIdentity> other = IdentityOf(path);
    return mine && other && *mine == *other;
}

// A new file takes the access its folder passes on to new files, as a copy made there would;
// the source's own access list is not carried over, so nothing of accessOf is needed here.
OutputFile::OutputFile(std::u16string_view destination, const InputFile&)
    : destination_(destination), handle_(std::make_unique<Handle>(destination)) {}

OutputFile::~OutputFile() = default;

void OutputFile::Write(std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), kMostPerCall));
        DWORD put = 0;
        if (!WriteFile(handle_->temporary.Get(), bytes.data(), wanted, &put, nullptr)) {
            throw FileError(SystemReason(GetLastError()), u"Cannot write", destination_);
        }
        bytes = bytes.subspan(put);
    }
}

void OutputFile::Commit() { handle_->temporary.Commit(); }

}  // namespace platform
