#include "app/command_line.h"

#include <system_error>

#include "platform/platform.h"

namespace app {
namespace {

constexpr const char16_t* kUsage =
    u"Usage: tessomar [FILE | FOLDER]\n"
    "Enciphers or deciphers one file with a password, in one window.\n"
    "\n"
    "  FILE        open the window in FILE's folder with FILE as the source,\n"
    "              ready to name the result\n"
    "  FOLDER      open the window in FOLDER, to pick the source there\n"
    "  --help      show this help and exit\n"
    "  --version   show the version and exit\n"
    "\n"
    "Without FILE or FOLDER the window opens at the folder used last.\n";

CommandLine ExitAtOnce(int status, std::u16string output, std::u16string errors) {
    CommandLine line;
    line.exitAtOnce = true;
    line.exitStatus = status;
    line.standardOutput = std::move(output);
    line.standardError = std::move(errors);
    return line;
}

// An option's name in the system's own form of a text.
platform::NativeString Native(std::string_view ascii) {
    return platform::NativeString(ascii.begin(), ascii.end());
}

bool IsHelpOption(const platform::NativeString& argument) {
    if (argument == Native("--help") || argument == Native("-h")) return true;
#ifdef _WIN32
    // What Windows programs answer with their help; no file on Windows can be named "/?".
    if (argument == Native("/?")) return true;
#endif
    return false;
}

}  // namespace

CommandLine ReadCommandLine(const std::vector<platform::NativeString>& arguments,
                            const std::filesystem::path& workingFolder) {
    CommandLine line;
    bool optionsEnded = false;
    for (const platform::NativeString& argument : arguments) {
        if (!optionsEnded && argument == Native("--")) {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && IsHelpOption(argument)) {
            return ExitAtOnce(0, kUsage, {});
        }
        if (!optionsEnded && argument == Native("--version")) {
            return ExitAtOnce(0, u"tessomar " TESSOMAR_VERSION "\n", {});
        }
        // A lone "-" is a file of that name: the program never reads standard input.
        if (!optionsEnded && argument.size() > 1 && argument.front() == '-') {
            return ExitAtOnce(2, {},
                              u"tessomar: unknown option '" + platform::FromNative(argument) +
                                  u"'\nTry 'tessomar --help' for more information.\n");
        }
        const std::filesystem::path path(argument);
        line.paths.push_back(platform::FromNative(
            (path.is_absolute() || workingFolder.empty() ? path : workingFolder / path).native()));
    }
    return line;
}

CommandLine ReadCommandLine(const std::vector<platform::NativeString>& arguments) {
    std::error_code error;
    const std::filesystem::path workingFolder = std::filesystem::current_path(error);
    return ReadCommandLine(arguments, error ? std::filesystem::path() : workingFolder);
}

}  // namespace app
