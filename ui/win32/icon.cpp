#include "ui/win32/icon.h"

namespace ui::win32 {
namespace {

// The program's first resource (share/windows/tessomar.rc.in): the desktop icon's renderings
// in one icon file, so the window, the Start menu and Explorer show the same picture.
constexpr int kIconResource = 1;

}  // namespace

HICON AppIcon(HINSTANCE instance) { return LoadIconW(instance, MAKEINTRESOURCEW(kIconResource)); }

HICON SmallAppIcon(HINSTANCE instance) {
    return static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON, 16, 16, 0));
}

}  // namespace ui::win32
