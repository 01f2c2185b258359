// The program with the Win32 front-end: the window over the model, and the message loop until
// the window closes.
#pragma once

#include <windows.h>

#include <vector>

#include "window/controls.h"

namespace ui::win32 {

// A message box of the program's own, with no window behind it, titled with the program's
// name as every message box of the window is. icon: MB_ICONINFORMATION or MB_ICONERROR.
void ShowProgramMessage(const window::Text& text, UINT icon);

// show: how the window is first shown (WinMain's). paths: files or folders named on the
// command line, opened as if dropped on the window. Returns the program's exit status.
int RunWin32Application(HINSTANCE instance, int show, const std::vector<window::Text>& paths);

}  // namespace ui::win32
