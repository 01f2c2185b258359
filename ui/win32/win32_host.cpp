#include "ui/win32/win32_host.h"

#include "ui/win32/wide.h"

namespace ui::win32 {

void Win32Host::ShowMessage(const window::Text& title, const window::Text& message) {
    const std::wstring caption = title.empty() ? std::wstring(kApplicationName) : Wide(title);
    MessageBoxW(window_, Wide(message).c_str(), caption.c_str(), MB_OK);
}

bool Win32Host::PaintDuringRun() {
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
    return !closeRequested_;
}

}  // namespace ui::win32
