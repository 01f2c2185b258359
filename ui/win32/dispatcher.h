// Every user event reaches the window through here, one at a time.
#pragma once

#include <windows.h>

#include <functional>

#include "ui/win32/win32_host.h"

namespace ui::win32 {

class Dispatcher {
public:
    explicit Dispatcher(Win32Host& host) : host_(host) {}
    void SetWindow(HWND window) { window_ = window; }
    // Runs the window's reaction to one user event.
    void Run(const std::function<void()>& action);
    // Called after a reaction that hid the control the user was on.
    void OnFocusHidden(std::function<void()> handler) { focusHidden_ = std::move(handler); }
    // True while a reaction runs, including a run painting the window meanwhile.
    bool Busy() const { return depth_ > 0; }

private:
    Win32Host& host_;
    HWND window_ = nullptr;
    int depth_ = 0;
    std::function<void()> focusHidden_;
};

}  // namespace ui::win32
