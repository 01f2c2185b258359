// Ends the program when the system asks it to stop (platform::StopRequests): a run going on
// stops as it does when the window is closed, leaving nothing written, and then every window
// closes, which ends the program.
#pragma once

#include <QObject>
#include <QTimer>

namespace ui::qt {

class StopWatcher : public QObject {
public:
    StopWatcher();

private:
    void Look();

    QTimer timer_;
};

}  // namespace ui::qt
