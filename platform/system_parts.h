// What each system's sources define for the other sources of this folder: the pieces by which
// the logic written once for every system (paths.cpp, folder_listing.cpp, trash.cpp) differs
// between them. Not part of platform.h.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "platform/platform.h"

namespace platform::detail {

// The reason for one of the system's error numbers (errno on Linux, GetLastError() on
// Windows), in the category that ReasonText words.
std::error_code SystemReason(int number);

// True for a unit that separates the folders of a path: '/' on Linux, '\\' and '/' on Windows.
bool IsSeparator(char16_t unit);

// The root an absolute path begins with, as the folder list shows it ("/", "C:\"), and how
// many units of the path it takes.
struct PathRoot {
    std::u16string path;
    std::size_t length = 0;
};
// Nothing if the path is not absolute.
std::optional<PathRoot> RootOf(std::u16string_view path);

// Adds the names of the folder's visible subfolders to subfolders and of its visible ordinary
// files to files, as ListFolder gives them; either may be null, for names not wanted. Throws
// FileError if the folder cannot be read.
void ListVisible(std::u16string_view folder, NameList* subfolders, NameList* files);

// Puts the file at path in its disk's wastebasket unless it is the file spared, as Discard
// says: what became of it, or nothing where no wastebasket took it and the file is still
// there, to be deleted for good. Throws FileError if the entry cannot be looked at.
std::optional<Discarded> ToWastebasket(std::u16string_view path,
                                       const std::optional<FileIdentity>& spared);

}  // namespace platform::detail
