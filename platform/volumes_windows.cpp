// Drives on Windows: the drive list is the system's drive letters, each shown with its volume
// label, and a folder path begins with its drive ("C:\").
#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/handles_windows.h"
#include "platform/platform.h"
#include "platform/system_parts.h"

namespace platform {

namespace {

char16_t Lower(char16_t letter) { return letter < u'a' ? letter + (u'a' - u'A') : letter; }

// An empty drive (a card reader, an optical drive) must not make the system ask the user to
// insert a disk while the list is being filled.
class QuietDriveErrors {
public:
    QuietDriveErrors() { SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previous_); }
    ~QuietDriveErrors() { SetThreadErrorMode(previous_, nullptr); }
    QuietDriveErrors(const QuietDriveErrors&) = delete;
    QuietDriveErrors& operator=(const QuietDriveErrors&) = delete;

private:
    DWORD previous_ = 0;
};

std::u16string LabelOf(const std::u16string& root) {
    wchar_t label[MAX_PATH + 1] = {};
    if (!GetVolumeInformationW(Wide(root), label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr,
                               0)) {
        return {};
    }
    return FromWide(label);
}

}  // namespace

std::vector<Volume> ListVolumes() {
    const QuietDriveErrors quiet;
    std::vector<wchar_t> roots(GetLogicalDriveStringsW(0, nullptr) + 1, L'\0');
    GetLogicalDriveStringsW(static_cast<DWORD>(roots.size()), roots.data());
    std::vector<Volume> volumes;
    for (const wchar_t* root = roots.data(); *root != L'\0'; root += wcslen(root) + 1) {
        const std::optional<detail::PathRoot> drive = detail::RootOf(FromWide(root));
        if (!drive) continue;
        std::u16string path = drive->path;
        std::u16string label = LabelOf(path);
        std::u16string text = {Lower(path[0]), u':'};
        if (!label.empty()) text += u" [" + label + u"]";
        volumes.push_back({std::move(path), std::move(label), std::move(text)});
    }
    std::sort(volumes.begin(), volumes.end(),
              [](const Volume& a, const Volume& b) { return a.path < b.path; });
    return volumes;
}

std::u16string DefaultFolder() { return u"C:\\"; }

bool FolderExists(std::u16string_view path) {
    if (path.empty() || windows::HasWildcard(path)) return false;
    const QuietDriveErrors quiet;
    const DWORD attributes = GetFileAttributesW(Wide(windows::SystemPath(path)));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace platform
