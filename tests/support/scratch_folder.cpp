#include "tests/support/scratch_folder.h"

#include <random>
#include <stdexcept>
#include <system_error>

namespace support {

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder(std::string_view label, const fs::path& parent) {
    std::random_device entropy;
    // create_directory reports whether it made the folder, so a name another process took a
    // moment earlier is never shared, only skipped.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate =
            parent / ("tessomar-" + std::string(label) + "-" + std::to_string(entropy()));
        if (fs::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("no free scratch folder name in " + parent.string());
}

ScratchFolder::~ScratchFolder() {
    // A test may have left a read-only entry behind; cleaning up must not end the run.
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::set<std::string> ScratchFolder::Names() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

}  // namespace support
