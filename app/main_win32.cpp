// Tessomar for Windows: enciphers or deciphers one file with a password, in one window.
// tessomar.exe [FILE | FOLDER] opens the window at that file or folder, as the Linux program
// does; --help and --version show their text in a message box, for a program of the desktop
// has no console to print on.
#include <windows.h>
// After windows.h, which it is written against.
#include <shellapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "ui/win32/application.h"

namespace {

// The arguments after the program's name, split by the system's own rules (quotes,
// backslashes), from the wide command line, so that any name arrives whole.
std::vector<std::wstring> ProgramArguments() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr) return {};
    std::vector<std::wstring> taken(arguments + std::min(count, 1), arguments + count);
    LocalFree(arguments);
    // No name holds a double quote: one at the end was a backslash and the closing quote of
    // "C:\folder\", as consoles complete folder names, which the rules read as a quote.
    for (std::wstring& argument : taken) {
        if (!argument.empty() && argument.back() == L'"') argument.back() = L'\\';
    }
    return taken;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    const app::CommandLine commandLine = app::ReadCommandLine(ProgramArguments());
    if (commandLine.exitAtOnce) {
        if (commandLine.exitStatus == 0) {
            ui::win32::ShowProgramMessage(commandLine.standardOutput, MB_ICONINFORMATION);
        } else {
            ui::win32::ShowProgramMessage(commandLine.standardError, MB_ICONERROR);
        }
        return commandLine.exitStatus;
    }
    return ui::win32::RunWin32Application(instance, show, commandLine.paths);
}
