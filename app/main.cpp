// Tessomar: enciphers or deciphers one file with a password, in one window.
#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <exception>

#include "app/command_line.h"
#include "remembered/remembered_folder.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_host.h"
#include "window/form1.h"
#include "window/open_from_outside.h"

int main(int argc, char* argv[]) {
    const app::CommandLine commandLine = app::ReadCommandLine(argc, argv);
    if (commandLine.exitAtOnce) {
        std::fputs(commandLine.standardOutput.c_str(), stdout);
        std::fputs(commandLine.standardError.c_str(), stderr);
        return commandLine.exitStatus;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(ui::qt::kApplicationName);
    // Lets the desktop match the window to its menu entry and icon.
    QApplication::setDesktopFileName(QStringLiteral(TESSOMAR_APP_ID));

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
    if (!commandLine.paths.empty()) {
        mainWindow.Dispatch([&] { window::OpenFromOutside(form, commandLine.paths); });
    }
    mainWindow.show();
    return QApplication::exec();
}
