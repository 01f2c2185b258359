// A new, empty folder for one test, in the system's temporary folder or another given one (on
// another drive, say), removed with everything in it when the test is done. Each has a name of
// its own, so tests running side by side (ctest -j) never share one.
#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <string_view>

#include "tests/support/native_text.h"

namespace support {

class ScratchFolder {
public:
    // The label only helps to tell whose folder a leftover is.
    explicit ScratchFolder(
        std::string_view label = "test",
        const std::filesystem::path& parent = std::filesystem::temp_directory_path());
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& below) const {
        return path_ / below;
    }
    // The path of the folder, or of an entry in it, as the program's own text.
    std::u16string Text(const std::filesystem::path& below = {}) const {
        return AsText(below.empty() ? path_ : path_ / below);
    }
    // The names directly inside, hidden ones included.
    std::set<std::string> Names() const;

private:
    std::filesystem::path path_;
};

}  // namespace support
