// The window's host on Windows: the message box, painting while a run holds the thread, the
// focus and the close, each when the window asks for it.
#pragma once

#include <windows.h>

#include <functional>

#include "window/host.h"

namespace ui::win32 {

class Win32Host : public window::Host {
public:
    // The window this host serves, and how to find a control's own window; may be left unset
    // until they exist.
    void SetWindow(HWND window, std::function<HWND(const window::Control&)> controlWindow) {
        window_ = window;
        controlWindow_ = std::move(controlWindow);
    }
    void ShowMessage(const window::Text& title, const window::Text& message) override;
    void PaintDuringRun() override;
    void SetFocus(const window::Control& control) override;
    void CloseWindow() override;
    std::chrono::milliseconds DoubleClickTime() const override;

private:
    HWND window_ = nullptr;
    std::function<HWND(const window::Control&)> controlWindow_;
};

}  // namespace ui::win32
