#include "ui/qt/stop_watcher.h"

#include <QApplication>

#include "platform/platform.h"

namespace ui::qt {
namespace {

// A request is a flag set by a signal handler, which may not call into Qt; looking at it a
// few times a second is quick enough for a shutdown and costs nothing. During a run the
// host looks at every repaint as well.
constexpr int kLookIntervalMs = 100;

}  // namespace

StopWatcher::StopWatcher() {
    connect(&timer_, &QTimer::timeout, this, [this] { Look(); });
    timer_.start(kLookIntervalMs);
}

void StopWatcher::Look() {
    if (!platform::StopRequests::Arrived()) return;
    timer_.stop();
    // A window closed during a run waits for the run to stop, then closes (the dispatcher
    // sees to it); a message box open at the time closes as if OK were pressed.
    QApplication::closeAllWindows();
}

}  // namespace ui::qt
