#include "ui/win32/application.h"

#include <exception>

#include "remembered/remembered_folder.h"
#include "ui/win32/main_window.h"
#include "ui/win32/wide.h"
#include "ui/win32/win32_host.h"
#include "window/form1.h"
#include "window/host.h"
#include "window/texts.h"

namespace ui::win32 {

void ShowProgramMessage(const window::Text& text, UINT icon) {
    MessageBoxW(nullptr, Wide(text).c_str(), Wide(window::Text(window::kApplicationName)).c_str(),
                MB_OK | icon);
}

int RunWin32Application(HINSTANCE instance, int show, const std::vector<window::Text>& paths) {
    // "LastPath" lives in the working directory the program was started in, which it never
    // changes; the name is resolved there at each use.
    const remembered::RememberedFolder rememberedFolder(u".");
    Win32Host host;
    window::Form1 form(host, rememberedFolder);
    MainWindow mainWindow(instance, form, host);
    try {
        form.Load();
    } catch (const std::exception& error) {
        // Start-up recovers from a bad remembered folder itself; what reaches here is a
        // machine where not even the default folder can be listed.
        ShowProgramMessage(window::ErrorText(error), MB_ICONERROR);
        return 1;
    }
    mainWindow.Show(show);
    // Once shown, so that the focus goes where the stage it opens at wants it.
    if (!paths.empty()) mainWindow.OpenFromOutside(paths);
    return mainWindow.RunMessageLoop();
}

}  // namespace ui::win32
