// The window's host on Windows: the message box, and painting while a run holds the thread.
#pragma once

#include <windows.h>

#include "window/host.h"

namespace ui::win32 {

// The title every box of ours carries when the window passes none.
inline constexpr wchar_t kApplicationName[] = L"Tessomar";

class Win32Host : public window::Host {
public:
    // The window message boxes are modal to; may be left unset until it exists.
    void SetWindow(HWND window) { window_ = window; }
    void ShowMessage(const window::Text& title, const window::Text& message) override;
    bool PaintDuringRun() override;
    // A close of the window that arrived while a handler was running; the window closes once
    // the handler has returned, and a run still going is told to stop.
    void RequestClose() { closeRequested_ = true; }
    bool CloseRequested() const { return closeRequested_; }

private:
    HWND window_ = nullptr;
    bool closeRequested_ = false;
};

}  // namespace ui::win32
