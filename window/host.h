// What only a front-end can do for the window: a modal message box, and keeping the window
// painted while a long run holds its thread. Tests implement it too.
#pragma once

#include "window/controls.h"

namespace window {

class Host {
public:
    virtual ~Host() = default;
    // A modal message box with an OK button only; returns when the user closes it.
    virtual void ShowMessage(const Text& title, const Text& message) = 0;
    // Called during a run, every few tens of milliseconds: paint pending changes without
    // taking user input. Returns false if the user asked to close the window meanwhile.
    virtual bool PaintDuringRun() = 0;
};

}  // namespace window
