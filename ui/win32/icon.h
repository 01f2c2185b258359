// The window's icon: the program's drawing of a page and a padlock, at the sizes the system
// shows it in, so that it stays sharp on screens of any scale.
#pragma once

#include <windows.h>

namespace ui::win32 {

// The icon for the title bar and the task switcher, at the system's own sizes.
HICON AppIcon(HINSTANCE instance);
HICON SmallAppIcon(HINSTANCE instance);

}  // namespace ui::win32
