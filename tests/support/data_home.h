// The user's data folder ($XDG_DATA_HOME), where the Trash of "Kill it !" lies, set to a
// folder of the test's own for as long as the object lives, so that no test ever puts a file
// in the Trash of whoever runs it.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>

namespace support {

class DataHome {
public:
    explicit DataHome(std::filesystem::path folder) : folder_(std::move(folder)) {
        if (const char* before = getenv("XDG_DATA_HOME")) before_ = before;
        setenv("XDG_DATA_HOME", folder_.c_str(), 1);
    }
    ~DataHome() {
        if (before_) {
            setenv("XDG_DATA_HOME", before_->c_str(), 1);
        } else {
            unsetenv("XDG_DATA_HOME");
        }
    }
    DataHome(const DataHome&) = delete;
    DataHome& operator=(const DataHome&) = delete;

    std::filesystem::path Trash() const { return folder_ / "Trash"; }

private:
    std::filesystem::path folder_;
    std::optional<std::string> before_;
};

}  // namespace support
