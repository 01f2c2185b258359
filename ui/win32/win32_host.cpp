#include "ui/win32/win32_host.h"

#include "ui/win32/wide.h"

namespace ui::win32 {

void Win32Host::ShowMessage(const window::Text& title, const window::Text& message) {
    MessageBoxW(window_, Wide(message).c_str(), Wide(title).c_str(), MB_OK);
}

void Win32Host::PaintDuringRun() {
    // Paint, and take what the system sends and posts (a close among them), and clicks on
    // the window's frame (its close button); keys and clicks inside the window stay queued:
    // no handler may run inside a run.
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0,
                        PM_REMOVE | PM_QS_PAINT | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE)) {
        DispatchMessageW(&message);
    }
    while (window_ != nullptr &&
           PeekMessageW(&message, window_, WM_NCMOUSEMOVE, WM_NCMBUTTONDBLCLK, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
    // Alt+F4 is the keyboard's close button. The other system keys of a run are dropped:
    // Alt alone, or with another key, would open the system menu, whose own loop would take
    // the clicks a run must not.
    while (window_ != nullptr &&
           PeekMessageW(&message, nullptr, WM_SYSKEYDOWN, WM_SYSKEYDOWN, PM_REMOVE)) {
        if (message.wParam == VK_F4) DispatchMessageW(&message);
    }
}

void Win32Host::SetFocus(const window::Control& control) {
    if (controlWindow_) {
        if (const HWND handle = controlWindow_(control)) ::SetFocus(handle);
    }
}

std::chrono::milliseconds Win32Host::DoubleClickTime() const {
    return std::chrono::milliseconds(GetDoubleClickTime());
}

// Closed after the event that carried the request has been dealt with.
void Win32Host::CloseWindow() {
    if (window_ != nullptr) PostMessageW(window_, WM_CLOSE, 0, 0);
}

}  // namespace ui::win32
