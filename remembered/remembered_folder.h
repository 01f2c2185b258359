// The "LastPath" file: the folder in which the user last accepted a source and destination,
// carried from one start of the program to the next.
#pragma once

#include <string>
#include <string_view>

namespace remembered {

inline constexpr std::u16string_view kFileName = u"LastPath";

// What became of a folder to remember.
enum class WriteOutcome {
    Written,
    // Its name holds what no "LastPath" line can hold (a line break, a double quote, or a
    // character the line's encoding lacks): nothing was written.
    FolderNameUnfit,
    // A "LastPath" file is there that the program could not have written: it is someone
    // else's, and stays as it is.
    ForeignFile,
};

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
    // Replaces the file with the folder's line (quoted if it holds a comma) followed by
    // carriage return and line feed, unless the outcome says why not. Throws
    // platform::FileError naming the file and the reason when the system fails it.
    WriteOutcome Write(const std::u16string& folder) const;
    // Removes the file if the program could have written it (a short single line of text);
    // any other file of that name is someone else's and stays. Returns true if removed.
    // Throws platform::FileError naming the file and the reason.
    bool Delete() const;

    // True if name in folder is the very file the program keeps its folder in: a result
    // of that name there would be read, or deleted, as the remembered folder.
    bool IsItsFile(std::u16string_view folder, std::u16string_view name) const;

private:
    // True if the file is there and is not one the program could have written.
    bool HoldsForeignFile() const;

    std::u16string workingFolder_;
    std::u16string file_;
};

}  // namespace remembered
