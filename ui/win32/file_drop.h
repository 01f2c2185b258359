// Files dropped on the window from a file manager, handed to the window's model, which
// decides what a drop means in each stage.
#pragma once

#include <windows.h>

#include "window/form1.h"

namespace ui::win32 {

class MainWindow;

// Lets the window take drops of files from a file manager (WM_DROPFILES).
void AcceptFileDrops(HWND window);

// The files of a drop (WM_DROPFILES' handle, let go here), opened as one reaction while the
// model takes them; a drop at any other time is ignored.
void OpenDroppedFiles(WPARAM drop, MainWindow& window, const window::Form1& form);

}  // namespace ui::win32
