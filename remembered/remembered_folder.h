// The "LastPath" file: the folder in which the user last accepted a source and destination,
// carried from one start of the program to the next.
#pragma once

#include <string>
#include <string_view>

namespace remembered {

inline constexpr std::u16string_view kFileName = u"LastPath";

class RememberedFolder {
public:
    // workingFolder: where "LastPath" lives. The program gives ".", so the system resolves the
    // name against the working directory at each use, and a working directory that was
    // removed behind the program's back is simply a place where no "LastPath" is found.
    explicit RememberedFolder(std::u16string workingFolder);

    // True if an ordinary, visible file named "LastPath" is there.
    bool Exists() const;
    // The first field of the file's first line. Throws std::system_error if the file cannot
    // be opened or yields no field.
    std::u16string Read() const;
    // Replaces the file with the folder followed by carriage return and line feed.
    // Throws platform::FileError naming the file and the reason, also for a folder that no
    // "LastPath" line can hold.
    void Write(const std::u16string& folder) const;
    // Removes the file. Throws platform::FileError naming the file and the reason.
    void Delete() const;

private:
    std::u16string file_;
};

}  // namespace remembered
