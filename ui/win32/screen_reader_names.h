// The names and roles a screen reader says for the window's controls. A box is named by the
// label just before it among the window's children and a button by its caption, as the
// system does it; and every control answers the system's question for its accessible object
// (WM_GETOBJECT) with the system's own object for it, told the model's name and the role of
// its kind, so that a box with neither label nor caption has its name too, and a system that
// knows no role for a control class still says what the control is. A list's rows are named
// by the texts the list gives for them (LB_GETTEXT).
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "window/design.h"

namespace ui::win32 {

// The order to make the controls in, which is also their order among the window's children:
// the design's tab order (window::TabOrder), each label just before the control it names.
// Labels take no focus, so the tab order stays the design's. What takes no focus and names
// nothing, the progress bar and the labels that name no control, comes last, so that no
// control takes its name from one of them.
std::vector<const window::DesignEntry*> CreationOrder(const window::FormDesign& design);

// What a screen reader is told a control is: its name (empty: the control's own text, as
// for labels, whose captions change) and its role (ROLE_SYSTEM_...).
struct ScreenReaderIdentity {
    std::wstring name;
    long role;
};
ScreenReaderIdentity IdentityFor(const window::DesignEntry& entry);

class ScreenReaderNames {
public:
    // Makes every control answer with its identity; controlWindow finds a control's window.
    explicit ScreenReaderNames(const std::function<HWND(const std::string&)>& controlWindow);
    // Takes the answers back, while the controls still exist.
    ~ScreenReaderNames();
    ScreenReaderNames(const ScreenReaderNames&) = delete;
    ScreenReaderNames& operator=(const ScreenReaderNames&) = delete;

private:
    static LRESULT CALLBACK Answer(HWND control, UINT message, WPARAM w, LPARAM l, UINT_PTR,
                                   DWORD_PTR answering);
    struct Answering {
        HWND control;
        ScreenReaderIdentity identity;
    };
    bool comStarted_ = false;
    std::vector<std::unique_ptr<Answering>> answering_;
};

}  // namespace ui::win32
