#include "ui/qt/application.h"

#include <QApplication>
#include <QMessageBox>
#include <exception>
#include <filesystem>

#include "remembered/remembered_folder.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_host.h"
#include "window/form1.h"

namespace ui::qt {

int RunQtApplication(int argc, char* argv[]) {
    // QApplication keeps a reference to argc; the parameter outlives it, as both end here.
    QApplication application(argc, argv);
    QApplication::setApplicationName(kApplicationName);

    // "LastPath" lives in the working directory the program was started in, which it never
    // changes.
    const remembered::RememberedFolder rememberedFolder(std::filesystem::current_path());
    QtHost host;
    window::Form1 form(host, rememberedFolder);
    MainWindow mainWindow(form, host);
    try {
        form.Load();
    } catch (const std::exception& error) {
        // Start-up recovers from a bad remembered folder itself; what reaches here is a
        // machine where not even the default folder can be listed.
        QMessageBox::critical(nullptr, kApplicationName, QString::fromLocal8Bit(error.what()));
        return 1;
    }
    mainWindow.show();
    return QApplication::exec();
}

}  // namespace ui::qt
