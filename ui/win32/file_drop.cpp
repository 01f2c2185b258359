#include "ui/win32/file_drop.h"

#include <shellapi.h>

#include <string>
#include <vector>

#include "ui/win32/main_window.h"
#include "ui/win32/wide.h"
#include "window/open_from_outside.h"

namespace ui::win32 {

void AcceptFileDrops(HWND window) { DragAcceptFiles(window, TRUE); }

// Only while browsing: a drop that arrives while a run paints its progress is not a reaction
// the run may be interrupted by.
void OpenDroppedFiles(WPARAM dropped, MainWindow& window, const window::Form1& form) {
    const auto drop = reinterpret_cast<HDROP>(dropped);
    std::vector<window::Text> paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT index = 0; index < count; ++index) {
        std::wstring path(DragQueryFileW(drop, index, nullptr, 0) + 1, L'\0');
        path.resize(DragQueryFileW(drop, index, path.data(), static_cast<UINT>(path.size())));
        paths.push_back(FromWide(path));
    }
    DragFinish(drop);
    if (window::TakesPathsFromOutside(form)) window.OpenFromOutside(paths);
}

}  // namespace ui::win32
