// Tessomar: enciphers or deciphers one file with a password, in one window. main() reads the
// command line, which needs no toolkit (so --help works without a display), then picks the
// front-end this build has and runs it.
#include <cstdio>

#include "app/command_line.h"
#include "platform/platform.h"
#include "ui/qt/application.h"

int main(int argc, char* argv[]) {
    const app::CommandLine commandLine = app::ReadCommandLine({argv + 1, argv + argc});
    if (commandLine.exitAtOnce) {
        std::fputs(platform::ToNative(commandLine.standardOutput).c_str(), stdout);
        std::fputs(platform::ToNative(commandLine.standardError).c_str(), stderr);
        return commandLine.exitStatus;
    }
    // Before any thread starts, so that every thread handles the requests the same way.
    const platform::StopRequests stopRequests;
    return ui::qt::RunQtApplication(argc, argv, commandLine.paths);
}
