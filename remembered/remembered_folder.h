// The "LastPath" file: the folder in which the user last accepted a source and destination,
// carried from one start of the program to the next.
#pragma once

#include <filesystem>
#include <string>

namespace remembered {

inline constexpr const char* kFileName = "LastPath";

class RememberedFolder {
public:
    // workingFolder: where "LastPath" lives (the process's working directory in the program).
    explicit RememberedFolder(std::filesystem::path workingFolder);

    // True if an ordinary, visible file named "LastPath" is there.
    bool Exists() const;
    // The first field of the file's first line. Throws std::system_error if the file cannot
    // be opened or yields no field.
    std::u16string Read() const;
    // Replaces the file with the folder followed by carriage return and line feed.
    // Throws std::system_error naming the file and the reason.
    void Write(const std::u16string& folder) const;
    // Removes the file. Throws std::system_error naming the file and the reason.
    void Delete() const;

private:
    std::filesystem::path file_;
};

}  // namespace remembered
