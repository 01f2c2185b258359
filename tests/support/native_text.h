// Tests make their files with std::filesystem and hand the paths to the program as its own
// texts, converted exactly as the program converts every name it lists.
#pragma once

#include <filesystem>
#include <string>

#include "platform/platform.h"

namespace support {

inline std::u16string AsText(const std::filesystem::path& path) {
    return platform::FromNative(path.native());
}

}  // namespace support
