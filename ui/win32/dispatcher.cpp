#include "ui/win32/dispatcher.h"

#include <exception>
#include <string>

namespace ui::win32 {

void Dispatcher::Run(const std::function<void()>& action) {
    const HWND hadFocus = GetFocus();
    ++depth_;
    try {
        action();
    } catch (const std::exception& error) {
        // An exception must not cross the system's message loop, which would end the
        // program and lose what the user sees; say what went wrong instead.
        const std::string what = error.what();
        host_.ShowMessage({}, window::Text(what.begin(), what.end()));
    }
    --depth_;
    if (depth_ > 0) return;
    if (hadFocus != nullptr && !IsWindowVisible(hadFocus) && focusHidden_) focusHidden_();
    // Closed after the event that carried the request has been dealt with.
    if (host_.CloseRequested() && window_ != nullptr) PostMessageW(window_, WM_CLOSE, 0, 0);
}

}  // namespace ui::win32
