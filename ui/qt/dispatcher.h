// Every user event reaches the window through here, as one of the window's reactions.
#pragma once

#include <QWidget>
#include <functional>

#include "window/form1.h"

namespace ui::qt {

class Dispatcher {
public:
    Dispatcher(window::Form1& form, QWidget& window) : form_(form), window_(window) {}

    // Runs the window's reaction to one user event.
    void Run(const std::function<void()>& action) { form_.React(Focused(), action); }
    // The control whose widget has the keyboard focus, or nullptr.
    const window::Control* Focused() const;

private:
    window::Form1& form_;
    QWidget& window_;
};

}  // namespace ui::qt
