// What only a front-end can do for the window: a modal message box, keeping the window
// painted while a long run holds its thread, moving the keyboard focus, closing the window,
// and the system's double-click time. The window decides when; the front-end only carries it
// out. Tests implement it too.
#pragma once

#include <chrono>
#include <string_view>

#include "window/controls.h"

namespace window {

// The title of every message box the window shows.
inline constexpr std::u16string_view kApplicationName = u"Tessomar";

class Host {
public:
    virtual ~Host() = default;
    // A modal message box with an OK button only; returns when the user closes it.
    virtual void ShowMessage(const Text& title, const Text& message) = 0;
    // Called during a run, every few tens of milliseconds: paint pending changes and take
    // the window system's own events (a request to close the window among them, which
    // reaches Form1::RequestClose), but no clicks or keys: no handler may run inside a run.
    virtual void PaintDuringRun() = 0;
    // Gives the keyboard focus to the control's widget.
    virtual void SetFocus(const Control& control) = 0;
    // Closes the window for good, once a close asked for during a reaction can be done.
    virtual void CloseWindow() = 0;
    // The longest time between the two clicks of a double click, as the user has set it.
    virtual std::chrono::milliseconds DoubleClickTime() const = 0;
};

}  // namespace window
