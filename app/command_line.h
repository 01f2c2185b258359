// What the program is asked on its command line: a file or folder to open the window at, or
// only a text to print (--help, --version, a mistaken option). Read before any window system
// is reached, so that the texts print on a console without a display.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace app {

struct CommandLine {
    // True when the program prints and ends without opening its window.
    bool exitAtOnce = false;
    int exitStatus = 0;
    std::string standardOutput;
    std::string standardError;
    // What the window opens from outside once it has loaded, as full paths; none for the
    // usual start at the folder used last.
    std::vector<std::u16string> paths;
};

// The arguments after the program's name. Relative paths are taken from workingFolder; with
// an empty one (the working folder is gone) they stay relative, and the window cannot find
// them.
CommandLine ReadCommandLine(const std::vector<std::string>& arguments,
                            const std::filesystem::path& workingFolder);

// As main() receives them, from the process's working folder.
CommandLine ReadCommandLine(int argc, const char* const argv[]);

}  // namespace app
