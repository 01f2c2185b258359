#include "platform/temporary_windows.h"

#include <cstdio>
#include <random>
#include <vector>

#include "platform/system_parts.h"

namespace platform::windows {

using detail::SystemReason;

namespace {

// The destination's folder as written, separator included ("C:\" stays "C:\"), or nothing
// for a bare name, which lies in the working folder.
std::u16string FolderPart(std::u16string_view destination) {
    const std::size_t last = destination.find_last_of(u"\\/:");
    return last == std::u16string_view::npos ? std::u16string()
                                             : std::u16string(destination.substr(0, last + 1));
}

// Hidden, so that a run in progress never shows in the file list.
std::u16string TemporaryNameIn(const std::u16string& folder) {
    std::random_device random;
    const auto number = (std::uint64_t{random()} << 32) | random();
    char name[32];
    std::snprintf(name, sizeof name, "~tessomar-%016llx.tmp",
                  static_cast<unsigned long long>(number));
    return folder + std::u16string(name, name + std::char_traits<char>::length(name));
}

bool MarkForDeletion(HANDLE file, bool marked) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = marked ? TRUE : FALSE;
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition,
                                      sizeof disposition) != 0;
}

// The errors of a file system that does not take a call through a handle, rather than of
// the call itself.
bool IsNotTaken(DWORD error) {
    return error == ERROR_INVALID_PARAMETER || error == ERROR_NOT_SUPPORTED ||
           error == ERROR_INVALID_FUNCTION || error == ERROR_CALL_NOT_IMPLEMENTED;
}

DWORD RenameWithoutReplacing(HANDLE file, const std::u16string& to) {
    // The name follows the structure, which the system reads up to the name's end.
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + (to.size() + 1) * sizeof(wchar_t));
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = FALSE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(to.size() * sizeof(wchar_t));
    std::copy(to.begin(), to.end(), reinterpret_cast<char16_t*>(rename->FileName));
    if (SetFileInformationByHandle(file, FileRenameInfo, rename,
                                   static_cast<DWORD>(buffer.size()))) {
        return ERROR_SUCCESS;
    }
    return GetLastError();
}

}  // namespace

Temporary::Temporary(std::u16string_view destination, Removal wanted)
    : destination_(destination), removal_(wanted) {
    const std::u16string folder = FolderPart(destination);
    const DWORD access = GENERIC_WRITE | (wanted == Removal::BySystem ? DELETE : 0);
    for (int attempt = 0; attempt < 100 && !file_.Valid(); ++attempt) {
        path_ = SystemPath(TemporaryNameIn(folder));
        file_ =
            OwnedHandle(CreateFileW(Wide(path_), access, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        const DWORD error = GetLastError();
        if (!file_.Valid() && error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            throw FileError(SystemReason(error), u"Cannot create", destination);
        }
    }
    if (!file_.Valid())
        throw FileError(SystemReason(ERROR_FILE_EXISTS), u"Cannot create", destination);
    if (removal_ == Removal::BySystem && !MarkForDeletion(file_.Get(), true)) {
        removal_ = Removal::ByName;
    }
}

Temporary::~Temporary() {
    if (file_.Valid()) file_.Close();
    if (!committed_ && removal_ == Removal::ByName) DeleteFileW(Wide(path_));
}

void Temporary::Drop() {
    if (file_.Valid() && removal_ == Removal::BySystem && MarkForDeletion(file_.Get(), true)) {
        return;
    }
    removal_ = Removal::ByName;
}

void Temporary::Commit() {
    if (removal_ == Removal::BySystem) {
        CommitThroughHandle();
    } else {
        CommitByName();
    }
    committed_ = true;
}

// Unmarked, shown and renamed through the one handle, so that until the rename nothing can
// be left behind, and after it the file is the result.
void Temporary::CommitThroughHandle() {
    if (!MarkForDeletion(file_.Get(), false))
        throw FileError(SystemReason(GetLastError()), u"Cannot create", destination_);
    FILE_BASIC_INFO shown{};
    shown.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    if (!SetFileInformationByHandle(file_.Get(), FileBasicInfo, &shown, sizeof shown)) {
        const DWORD error = GetLastError();
        Drop();
        throw FileError(SystemReason(error), u"Cannot create", destination_);
    }
    const DWORD renamed = RenameWithoutReplacing(file_.Get(), SystemPath(destination_));
    if (renamed != ERROR_SUCCESS) {
        if (IsNotTaken(renamed)) {
            removal_ = Removal::ByName;
            CommitByName();
            return;
        }
        Drop();
        throw FileError(SystemReason(renamed), u"Cannot create", destination_);
    }
    const std::optional<FileIdentity> written = IdentityOfHandle(file_.Get());
    // Network file systems may report a failed write only when the file is closed; the
    // result is then taken back, found by its identity, whatever took its name since.
    if (!file_.Close()) {
        const DWORD error = GetLastError();
        const OwnedHandle result(
            CreateFileW(Wide(SystemPath(destination_)), DELETE | FILE_READ_ATTRIBUTES,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (result.Valid() && written && IdentityOfHandle(result.Get()) == written) {
            MarkForDeletion(result.Get(), true);
        }
        throw FileError(SystemReason(error), u"Cannot write", destination_);
    }
}

void Temporary::CommitByName() {
    if (!file_.Close())
        throw FileError(SystemReason(GetLastError()), u"Cannot write", destination_);
    // Shown from now on, like any other file the user makes; still under its own name until
    // the move, which refuses to replace anything that appeared at the destination meanwhile.
    if (!SetFileAttributesW(Wide(path_), FILE_ATTRIBUTE_NORMAL) ||
        !MoveFileExW(Wide(path_), Wide(SystemPath(destination_)), 0)) {
        throw FileError(SystemReason(GetLastError()), u"Cannot create", destination_);
    }
}

}  // namespace platform::windows
