// Drives and folder listing on Windows: the drive list is the system's drive letters, each
// shown with its volume label, and a folder path begins with its drive ("C:\").
#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/handles_windows.h"
#include "platform/platform.h"
#include "platform/system_parts.h"

namespace platform {

namespace {

bool IsSeparator(char16_t unit) { return unit == u'\\' || unit == u'/'; }

bool IsDriveLetter(char16_t unit) {
    return (unit >= u'A' && unit <= u'Z') || (unit >= u'a' && unit <= u'z');
}

char16_t Upper(char16_t letter) { return letter >= u'a' ? letter - (u'a' - u'A') : letter; }
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

// Calls visit(name, attributes) for each entry of the folder that is neither hidden nor a
// system file, nor a link to elsewhere, nor "." or "..", nor a name that paths cannot reach.
template <typename Visit>
void ForEachVisibleEntry(std::u16string_view folder, Visit visit) {
    const std::u16string pattern = windows::SystemPath(JoinPath(folder, u"*"));
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileExW(Wide(pattern), FindExInfoBasic, &entry, FindExSearchNameMatch,
                                     nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) return;  // a drive root with nothing in it
        throw FileError(detail::SystemReason(error), u"Cannot list folder", folder);
    }
    do {
        const std::u16string name = FromWide(entry.cFileName);
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
        visit(name, attributes);
    } while (FindNextFileW(search, &entry));
    const DWORD error = GetLastError();
    FindClose(search);
    if (error != ERROR_NO_MORE_FILES)
        throw FileError(detail::SystemReason(error), u"Cannot list folder", folder);
}

}  // namespace

std::vector<Volume> ListVolumes() {
    const QuietDriveErrors quiet;
    std::vector<wchar_t> roots(GetLogicalDriveStringsW(0, nullptr) + 1, L'\0');
    GetLogicalDriveStringsW(static_cast<DWORD>(roots.size()), roots.data());
    std::vector<Volume> volumes;
    for (const wchar_t* root = roots.data(); *root != L'\0'; root += wcslen(root) + 1) {
        std::u16string path = FromWide(root);
        if (path.size() < 2 || !IsDriveLetter(path[0]) || path[1] != u':') continue;
        path = {Upper(path[0]), u':', u'\\'};
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

// Only paths that begin with a drive letter, a colon and a separator are absolute here ("C:"
// alone is taken as the drive's root, which is how the drive list names it).
std::vector<FolderStep> FolderChain(std::u16string_view folder) {
    if (folder.size() < 2 || !IsDriveLetter(folder[0]) || folder[1] != u':' ||
        (folder.size() > 2 && !IsSeparator(folder[2]))) {
        return {};
    }
    const std::u16string root = {Upper(folder[0]), u':', u'\\'};
    std::vector<FolderStep> chain{{root, root}};
    std::size_t start = 2;
    while (start < folder.size()) {
        std::size_t end = start;
        while (end < folder.size() && !IsSeparator(folder[end])) ++end;
        const std::u16string_view name = folder.substr(start, end - start);
        start = end + 1;
        if (name.empty() || name == u".") continue;
        if (name == u"..") {
            if (chain.size() > 1) chain.pop_back();
            continue;
        }
        chain.push_back({JoinPath(chain.back().path, name), std::u16string(name)});
    }
    return chain;
}

bool VolumeHolds(std::u16string_view volumePath, std::u16string_view folder) {
    const std::vector<FolderStep> volume = FolderChain(volumePath);
    const std::vector<FolderStep> inside = FolderChain(folder);
    return !volume.empty() && volume.size() <= inside.size() &&
           SameName(inside[volume.size() - 1].path, volume.back().path);
}

std::vector<std::u16string> ListSubfolders(std::u16string_view folder) {
    std::vector<std::u16string> names;
    ForEachVisibleEntry(folder, [&](std::u16string name, DWORD attributes) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) names.push_back(std::move(name));
    });
    return names;
}

std::vector<std::u16string> ListOrdinaryFiles(std::u16string_view folder) {
    std::vector<std::u16string> names;
    ForEachVisibleEntry(folder, [&](std::u16string name, DWORD attributes) {
        if (!(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE))) {
            names.push_back(std::move(name));
        }
    });
    return names;
}

}  // namespace platform
