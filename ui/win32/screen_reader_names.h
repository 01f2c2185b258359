// The names a screen reader says for the window's controls. A box without a caption of its
// own is named by the label just before it among the window's children; a control whose
// name in the design is not its label's words gets that name set through the system's
// accessibility properties instead.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <functional>
#include <string>
#include <vector>

#include "window/design.h"

namespace ui::win32 {

// The order to make the controls in, which is also their order among the window's children:
// the design's tab order, each label just before the control it names. Labels take no focus,
// so the tab order stays the design's. Labels that name nothing come last, so that no control
// takes its name from one of them.
std::vector<const window::DesignEntry*> CreationOrder(const window::FormDesign& design);

class ScreenReaderNames {
public:
    // Sets the names the labels do not give; controlWindow finds a control's own window.
    explicit ScreenReaderNames(const std::function<HWND(const std::string&)>& controlWindow);
    // Takes the names back, while the controls still exist.
    ~ScreenReaderNames();
    ScreenReaderNames(const ScreenReaderNames&) = delete;
    ScreenReaderNames& operator=(const ScreenReaderNames&) = delete;

private:
    bool comStarted_ = false;
    IAccPropServices* services_ = nullptr;
    std::vector<HWND> named_;
};

}  // namespace ui::win32
