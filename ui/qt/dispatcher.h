// Every user event reaches the window through here, one at a time.
#pragma once

#include <QWidget>
#include <functional>

#include "ui/qt/qt_host.h"

namespace ui::qt {

class Dispatcher {
public:
    Dispatcher(QtHost& host, QWidget& window) : host_(host), window_(window) {}

    // Runs the window's reaction to one user event.
    void Run(const std::function<void()>& action);
    // Called after a reaction that hid the control the user was on.
    void OnFocusHidden(std::function<void()> handler) { focusHidden_ = std::move(handler); }
    // True while a reaction runs, including a run painting the window meanwhile.
    bool Busy() const { return depth_ > 0; }

private:
    QtHost& host_;
    QWidget& window_;
    int depth_ = 0;
    std::function<void()> focusHidden_;
};

}  // namespace ui::qt
