// Tessomar: enciphers or deciphers one file with a password, in one window.
#include <QApplication>
#include <QMessageBox>
#include <exception>

#include "platform/platform.h"
#include "remembered/remembered_folder.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_host.h"
#include "ui/qt/stop_watcher.h"
#include "window/form1.h"

int main(int argc, char* argv[]) {
    // Before any thread starts, so that every thread handles the requests the same way.
    const platform::StopRequests stopRequests;
    QApplication application(argc, argv);
    QApplication::setApplicationName(ui::qt::kApplicationName);

    // "LastPath" lives in the working directory the program was started in, which it never
    // changes; the name is resolved there at each use, so a working directory removed since
    // the start is only a place where no "LastPath" is found.
    const remembered::RememberedFolder rememberedFolder(u".");
    ui::qt::QtHost host;
    window::Form1 form(host, rememberedFolder);
    ui::qt::MainWindow mainWindow(form, host);
    try {
        form.Load();
    } catch (const std::exception& error) {
        // Start-up recovers from a bad remembered folder itself; what reaches here is a
        // machine where not even the default folder can be listed.
        QMessageBox::critical(nullptr, ui::qt::kApplicationName,
                              QString::fromLocal8Bit(error.what()));
        return 1;
    }
    mainWindow.show();
    const ui::qt::StopWatcher stopWatcher;
    return QApplication::exec();
}
