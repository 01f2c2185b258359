// On a screen that doubles every pixel (run with QT_SCALE_FACTOR=2) the window is drawn at
// twice the size, not blown up from a small picture.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QIcon>
#include <QPixmap>
#include <filesystem>
#include <string>

#include "remembered/remembered_folder.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_host.h"
#include "window/form1.h"

namespace ui::qt {
namespace {

TEST(HighDpi, AtScaleTwoTheWindowAndItsIconAreDrawnAtTwiceTheSize) {
    ASSERT_EQ(qEnvironmentVariable("QT_SCALE_FACTOR"), "2");
    const std::filesystem::path work = std::filesystem::temp_directory_path() /
                                       ("tessomar-high-dpi-" + std::to_string(::getpid()));
    std::filesystem::create_directories(work);
    const remembered::RememberedFolder remembered(platform::FromNative(work.native()));
    QtHost host;
    window::Form1 form(host, remembered);
    MainWindow window(form, host);
    form.Load();
    window.show();

    // The design's 415 by 288 pixels, each drawn as four.
    const QPixmap shot = window.grab();
    EXPECT_EQ(shot.size(), QSize(830, 576));
    EXPECT_EQ(shot.devicePixelRatio(), 2.0);

    // The title bar's icon has a drawing of its own at the doubled size.
    const QPixmap icon = window.windowIcon().pixmap(QSize(32, 32), 2.0);
    EXPECT_EQ(icon.size(), QSize(64, 64));
    std::filesystem::remove_all(work);
}

}  // namespace
}  // namespace ui::qt
