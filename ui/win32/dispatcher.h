// Every user event reaches the window through here, as one of the window's reactions.
#pragma once

#include <windows.h>

#include <functional>

#include "window/form1.h"

namespace ui::win32 {

class Dispatcher {
public:
    // controlOf tells which control a window of the system shows, or nullptr.
    Dispatcher(window::Form1& form, std::function<const window::Control*(HWND)> controlOf)
        : form_(form), controlOf_(std::move(controlOf)) {}
    // Runs the window's reaction to one user event.
    void Run(const std::function<void()>& action) { form_.React(Focused(), action); }
    // The control whose window has the keyboard focus, or nullptr.
    const window::Control* Focused() const { return controlOf_(GetFocus()); }

private:
    window::Form1& form_;
    std::function<const window::Control*(HWND)> controlOf_;
};

}  // namespace ui::win32
