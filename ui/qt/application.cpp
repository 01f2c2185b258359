#include "ui/qt/application.h"

#include <QApplication>
#include <QMessageBox>
#include <exception>

#include "remembered/remembered_folder.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_host.h"
#include "ui/qt/stop_watcher.h"
#include "window/form1.h"
#include "window/open_from_outside.h"
#include "window/texts.h"

namespace ui::qt {

int RunQtApplication(int argc, char* argv[], const std::vector<window::Text>& paths) {
    // QApplication keeps a reference to argc; the parameter outlives it, as both end here.
    QApplication application(argc, argv);
    QApplication::setApplicationName(kApplicationName);
    // Lets the desktop match the window to its menu entry and icon.
    QApplication::setDesktopFileName(QStringLiteral(TESSOMAR_APP_ID));

    // "LastPath" lives in the working directory the program was started in, which it never
    // changes; the name is resolved there at each use, so a working directory removed since
    // the start is only a place where no "LastPath" is found.
    const remembered::RememberedFolder rememberedFolder(u".");
    QtHost host;
    window::Form1 form(host, rememberedFolder);
    MainWindow mainWindow(form, host);
    try {
        form.Load();
    } catch (const std::exception& error) {
        // Start-up recovers from a bad remembered folder itself; what reaches here is a
        // machine where not even the default folder can be listed.
        QMessageBox::critical(nullptr, kApplicationName,
                              QString::fromStdU16String(window::ErrorText(error)));
        return 1;
    }
    if (!paths.empty()) mainWindow.Dispatch([&] { window::OpenFromOutside(form, paths); });
    mainWindow.show();
    const StopWatcher stopWatcher;
    return QApplication::exec();
}

}  // namespace ui::qt
