// A folder's listings as whole texts, for tests that look at what a listing gives.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace support {

inline std::vector<std::u16string> SubfoldersOf(std::u16string_view folder) {
    platform::NameList names;
    platform::ListSubfolders(folder, names);
    return names.Texts();
}

inline std::vector<std::u16string> FilesOf(std::u16string_view folder) {
    platform::NameList names;
    platform::ListOrdinaryFiles(folder, names);
    return names.Texts();
}

}  // namespace support
