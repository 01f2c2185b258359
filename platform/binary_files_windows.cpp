#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>

#include "platform/handles_windows.h"
#include "platform/platform.h"

namespace platform {

using windows::Fail;
using windows::LastError;
using windows::OwnedHandle;
using windows::Wide;

namespace {

constexpr DWORD kMostPerCall = 1u << 30;

// The destination's folder as written, separator included ("C:\" stays "C:\"), or nothing
// for a bare name, which lies in the working folder.
std::u16string FolderPart(std::u16string_view destination) {
    const std::size_t last = destination.find_last_of(u"\\/:");
    return last == std::u16string_view::npos ? std::u16string()
                                             : std::u16string(destination.substr(0, last + 1));
}

// A short name, so that a destination name near the length limit still leaves room for it;
// the file is made hidden, so that a run in progress never shows in the file list.
std::u16string TemporaryNameIn(const std::u16string& folder) {
    std::random_device random;
    const auto number = (std::uint64_t{random()} << 32) | random();
    char name[32];
    std::snprintf(name, sizeof name, "~tessomar-%016llx.tmp",
                  static_cast<unsigned long long>(number));
    return folder + std::u16string(name, name + std::char_traits<char>::length(name));
}

}  // namespace

struct InputFile::Handle {
    OwnedHandle file;
};

struct OutputFile::Handle {
    OwnedHandle file;
    std::u16string temporary;
    ~Handle() {
        if (file.Valid()) file.Close();
        if (!temporary.empty()) DeleteFileW(Wide(temporary));
    }
};

InputFile::InputFile(std::u16string_view path) : path_(path), handle_(std::make_unique<Handle>()) {
    // Other programs may go on reading the source, but none may change it during the run.
    handle_->file = OwnedHandle(CreateFileW(Wide(path_), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!handle_->file.Valid()) Fail(LastError(), u"Cannot open", path);
    BY_HANDLE_FILE_INFORMATION information;
    const bool disk = GetFileType(handle_->file.Get()) == FILE_TYPE_DISK;
    if (!disk || !GetFileInformationByHandle(handle_->file.Get(), &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        Fail(std::make_error_code(std::errc::invalid_argument), u"Not an ordinary file:", path);
    }
}

InputFile::~InputFile() = default;

std::int64_t InputFile::Size() const {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(handle_->file.Get(), &size)) Fail(LastError(), u"Cannot read", path_);
    return size.QuadPart;
}

std::size_t InputFile::Read(std::span<std::uint8_t> buffer) {
    std::size_t filled = 0;
    while (filled < buffer.size()) {
        const DWORD wanted =
            static_cast<DWORD>(std::min<std::size_t>(buffer.size() - filled, kMostPerCall));
        DWORD got = 0;
        if (!ReadFile(handle_->file.Get(), buffer.data() + filled, wanted, &got, nullptr)) {
            Fail(LastError(), u"Cannot read", path_);
        }
        if (got == 0) break;
        filled += got;
    }
    return filled;
}

FileVersion InputFile::Version() const {
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(handle_->file.Get(), &information)) {
        Fail(LastError(), u"Cannot read", path_);
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
    : destination_(destination), handle_(std::make_unique<Handle>()) {
    const std::u16string folder = FolderPart(destination);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::u16string candidate = TemporaryNameIn(folder);
        // The temporary's name is longer than many a result's: past the length the system
        // takes, it would fail as a folder not found.
        if (candidate.size() >= MAX_PATH) {
            Fail(std::error_code(ERROR_FILENAME_EXCED_RANGE, std::system_category()),
                 u"Cannot create", destination);
        }
        HANDLE file = CreateFileW(Wide(candidate), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            handle_->file = OwnedHandle(file);
            handle_->temporary = std::move(candidate);
            return;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            Fail(std::error_code(static_cast<int>(error), std::system_category()), u"Cannot create",
                 destination);
        }
    }
    Fail(std::error_code(ERROR_FILE_EXISTS, std::system_category()), u"Cannot create", destination);
}

OutputFile::~OutputFile() = default;

void OutputFile::Write(std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), kMostPerCall));
        DWORD put = 0;
        if (!WriteFile(handle_->file.Get(), bytes.data(), wanted, &put, nullptr)) {
            Fail(LastError(), u"Cannot write", destination_);
        }
        bytes = bytes.subspan(put);
    }
}

void OutputFile::Commit() {
    // Network file systems may report a failed write only when the file is closed.
    if (!handle_->file.Close()) Fail(LastError(), u"Cannot write", destination_);
    // Shown from now on, like any other file the user makes; still under its own name until
    // the move, which refuses to replace anything that appeared at the destination meanwhile.
    if (!SetFileAttributesW(Wide(handle_->temporary), FILE_ATTRIBUTE_NORMAL) ||
        !MoveFileExW(Wide(handle_->temporary), Wide(destination_), 0)) {
        Fail(LastError(), u"Cannot create", destination_);
    }
    handle_->temporary.clear();
}

}  // namespace platform
