// Tessomar for Windows: enciphers or deciphers one file with a password, in one window.
// tessomar.exe [FILE | FOLDER] opens the window at that file or folder, as the Linux program
// does; --help and --version show their text in a message box, for a program of the desktop
// has no console to print on.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "remembered/remembered_folder.h"
#include "ui/win32/main_window.h"
#include "ui/win32/wide.h"
#include "ui/win32/win32_host.h"
#include "window/form1.h"

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

// Titled with the program's name, as every message box of the window is.
void ShowText(const std::u16string& text, UINT icon) {
    const std::wstring title(window::kApplicationName.begin(), window::kApplicationName.end());
    MessageBoxW(nullptr, ui::win32::Wide(text).c_str(), title.c_str(), MB_OK | icon);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    const app::CommandLine commandLine = app::ReadCommandLine(ProgramArguments());
    if (commandLine.exitAtOnce) {
        if (commandLine.exitStatus == 0) {
            ShowText(commandLine.standardOutput, MB_ICONINFORMATION);
        } else {
            ShowText(commandLine.standardError, MB_ICONERROR);
        }
        return commandLine.exitStatus;
    }
    // "LastPath" lives in the working directory the program was started in, which it never
    // changes; the name is resolved there at each use.
    const remembered::RememberedFolder rememberedFolder(u".");
    ui::win32::Win32Host host;
    window::Form1 form(host, rememberedFolder);
    ui::win32::MainWindow mainWindow(instance, form, host);
    try {
        form.Load();
    } catch (const std::exception& error) {
        // Start-up recovers from a bad remembered folder itself; what reaches here is a
        // machine where not even the default folder can be listed.
        const std::string what = error.what();
        ShowText(std::u16string(what.begin(), what.end()), MB_ICONERROR);
        return 1;
    }
    mainWindow.Show(show);
    // Once shown, so that the focus goes where the stage it opens at wants it.
    if (!commandLine.paths.empty()) mainWindow.OpenFromOutside(commandLine.paths);
    return mainWindow.RunMessageLoop();
}
