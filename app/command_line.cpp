#include "app/command_line.h"

#include <system_error>

#include "platform/platform.h"

namespace app {
namespace {

constexpr const char* kUsage =
    "Usage: tessomar [FILE | FOLDER]\n"
    "Enciphers or deciphers one file with a password, in one window.\n"
    "\n"
    "  FILE        open the window in FILE's folder with FILE as the source,\n"
    "              ready to name the result\n"
    "  FOLDER      open the window in FOLDER, to pick the source there\n"
    "  --help      show this help and exit\n"
    "  --version   show the version and exit\n"
    "\n"
    "Without FILE or FOLDER the window opens at the folder used last.\n";

CommandLine ExitAtOnce(int status, std::string output, std::string errors) {
    CommandLine line;
    line.exitAtOnce = true;
    line.exitStatus = status;
    line.standardOutput = std::move(output);
    line.standardError = std::move(errors);
    return line;
}

}  // namespace

CommandLine ReadCommandLine(const std::vector<std::string>& arguments,
                            const std::filesystem::path& workingFolder) {
    CommandLine line;
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && (argument == "--help" || argument == "-h")) {
            return ExitAtOnce(0, kUsage, {});
        }
        if (!optionsEnded && argument == "--version") {
            return ExitAtOnce(0, "tessomar " TESSOMAR_VERSION "\n", {});
        }
        // A lone "-" is a file of that name: the program never reads standard input.
        if (!optionsEnded && argument.size() > 1 && argument.front() == '-') {
            return ExitAtOnce(2, {},
                              "tessomar: unknown option '" + argument +
                                  "'\nTry 'tessomar --help' for more information.\n");
        }
        const std::filesystem::path path(argument);
        line.paths.push_back(platform::FromNative(
            (path.is_absolute() || workingFolder.empty() ? path : workingFolder / path).native()));
    }
    return line;
}

CommandLine ReadCommandLine(int argc, const char* const argv[]) {
    std::error_code error;
    const std::filesystem::path workingFolder = std::filesystem::current_path(error);
    return ReadCommandLine(std::vector<std::string>(argv + 1, argv + argc),
                           error ? std::filesystem::path() : workingFolder);
}

}  // namespace app
