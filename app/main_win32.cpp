// Tessomar for Windows: enciphers or deciphers one file with a password, in one window.
#include <windows.h>

#include <exception>
#include <string>

#include "remembered/remembered_folder.h"
#include "ui/win32/main_window.h"
#include "ui/win32/win32_host.h"
#include "window/form1.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
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
        MessageBoxW(nullptr, std::wstring(what.begin(), what.end()).c_str(),
                    std::wstring(window::kApplicationName.begin(), window::kApplicationName.end()).c_str(),
                    MB_OK | MB_ICONERROR);
        return 1;
    }
    mainWindow.Show(show);
    return mainWindow.RunMessageLoop();
}
