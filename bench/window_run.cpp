#include "window_run.h"

#include <QApplication>
#include <stdexcept>

#include "measure.h"
#include "platform/platform.h"
#include "remembered/remembered_folder.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_host.h"
#include "window/form1.h"
#include "window/walk.h"

namespace bench {

double SecondsThroughWindow(const std::filesystem::path& source,
                            const std::filesystem::path& destination) {
    // The window writes "LastPath" on acceptance; keep it beside the bench's own files.
    const remembered::RememberedFolder rememberedFolder(
        platform::FromNative(source.parent_path().native()));
    ui::qt::QtHost host;
    window::Form1 form(host, rememberedFolder);
    ui::qt::MainWindow mainWindow(form, host);
    form.Load();
    mainWindow.show();
    QApplication::processEvents();

    form.Dir1.SetPath(platform::FromNative(source.parent_path().native()));
    if (!window::WalkToPassword(form, platform::FromNative(source.filename().native()),
                                platform::FromNative(destination.filename().native()))) {
        throw std::runtime_error("the window did not take the source and destination");
    }
    form.Pwd.SetText(u"bench key 123456");
    form.Pwd2.SetText(u"bench key 123456");
    const double seconds = Seconds([&] { form.Start.Click(); });
    if (form.Label1.Caption() != u"... Done ...") {
        throw std::runtime_error("the run through the window did not finish");
    }
    return seconds;
}

}  // namespace bench
