// What the program is asked on its command line: a file or folder to open the window at, or
// only a text to show (--help, --version, a mistaken option). Read before any window system
// is reached, so that on Linux the texts print on a console without a display. The Linux and
// the Windows program read it alike; only how they show the texts differs.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace app {

struct CommandLine {
    // True when the program shows a text and ends without opening its window.
    bool exitAtOnce = false;
    int exitStatus = 0;
    std::u16string standardOutput;
    std::u16string standardError;
    // What the window opens from outside once it has loaded, as full paths; none for the
    // usual start at the folder used last.
    std::vector<std::u16string> paths;
};

// The arguments after the program's name, in the system's own form (on Linux the bytes, on
// Windows wide strings), so any name reaches the window as it is on disk. Relative paths are
// taken from workingFolder; with an empty one (the working folder is gone) they stay
// relative, and the window cannot find them.
CommandLine ReadCommandLine(const std::vector<platform::NativeString>& arguments,
                            const std::filesystem::path& workingFolder);

// The same, from the process's working folder.
CommandLine ReadCommandLine(const std::vector<platform::NativeString>& arguments);

}  // namespace app
