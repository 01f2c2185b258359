#include "window_run.h"

#include <QApplication>
#include <algorithm>
#include <stdexcept>

#include "measure.h"
#include "platform/platform.h"
#include "remembered/remembered_folder.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_host.h"
#include "window/form1.h"

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
    const auto& names = form.File1.Names();
    const auto found =
        std::find(names.begin(), names.end(), platform::FromNative(source.filename().native()));
    if (found == names.end()) throw std::runtime_error("the window does not list the source");
    form.File1.Select(static_cast<int>(found - names.begin()));
    form.File1.DblClick();
    form.DestFile.SetText(platform::FromNative(destination.filename().native()));
    form.go.Click();
    form.Pwd.SetText(u"bench key 123456");
    form.Pwd2.SetText(u"bench key 123456");
    const double seconds = Seconds([&] { form.Start.Click(); });
    if (form.Label1.Caption() != u"... Done ...") {
        throw std::runtime_error("the run through the window did not finish");
    }
    return seconds;
}

}  // namespace bench
