// A stop requested from outside (SIGTERM here) through the real window: a run stops as when
// the window is closed, nothing is written, and then the window closes, which ends the
// program; with no run, the window just closes.
#include "ui/qt/stop_watcher.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QEvent>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/platform.h"
#include "remembered/remembered_folder.h"
#include "tests/support/native_text.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_host.h"
#include "window/form1.h"

namespace ui::qt {
namespace {

namespace fs = std::filesystem;

// Raises the signal when the widget is first shown.
class RaiseOnShow : public QObject {
public:
    explicit RaiseOnShow(int signal) : signal_(signal) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show && !raised_) {
            raised_ = true;
            raise(signal_);
        }
        return false;
    }

private:
    int signal_;
    bool raised_ = false;
};

class StopWatcherTest : public ::testing::Test {
protected:
    StopWatcherTest()
        : root_(fs::temp_directory_path() /
                ("tessomar-stop-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name())),
          remembered_(
              (fs::remove_all(root_), fs::create_directories(root_), support::AsText(root_))),
          form_(host_, remembered_),
          window_(form_, host_) {
        // Small, so that the run is over long before the watcher's next look: the run must
        // stop at the host's own look, at its first repaint.
        std::ofstream(root_ / "source", std::ios::binary) << std::string(100000, 's');
        form_.Load();
        window_.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window_));
    }
    ~StopWatcherTest() override { fs::remove_all(root_); }

    void ReadyToStart() {
        form_.Dir1.SetPath(support::AsText(root_));
        const auto& names = form_.File1.Names();
        form_.File1.Select(
            static_cast<int>(std::find(names.begin(), names.end(), u"source") - names.begin()));
        form_.File1.DblClick();
        form_.go.Click();
        ASSERT_EQ(form_.Label1.Caption(), u"Enter Password");
    }

    fs::path root_;
    remembered::RememberedFolder remembered_;
    platform::StopRequests stopRequests_;
    StopWatcher watcher_;
    QtHost host_;
    window::Form1 form_;
    MainWindow window_;
};

TEST_F(StopWatcherTest, ASignalDuringARunStopsItLikeClosingTheWindowThenClosesIt) {
    ReadyToStart();
    RaiseOnShow raiser(SIGTERM);
    window_.WidgetFor("ProgBar")->installEventFilter(&raiser);
    QTest::mouseClick(window_.WidgetFor("Start"), Qt::LeftButton);
    EXPECT_EQ(form_.Label1.Caption(), u"Stopped, nothing was written");
    EXPECT_FALSE(form_.Progress.Visible());
    // Only the source and the remembered folder: no result, no temporary.
    EXPECT_EQ(std::distance(fs::directory_iterator(root_), fs::directory_iterator()), 2);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !window_.isVisible(); }));
}

TEST_F(StopWatcherTest, ASignalWithNoRunClosesTheWindow) {
    raise(SIGHUP);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !window_.isVisible(); }));
}

}  // namespace
}  // namespace ui::qt
