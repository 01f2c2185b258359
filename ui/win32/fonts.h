// The design's fonts as the system's fonts, at the screen's DPI.
#pragma once

#include <windows.h>

#include "window/design.h"

namespace ui::win32 {

// The caller deletes the font (DeleteObject) once no control uses it.
HFONT CreateDesignFont(const window::Font& font, int dpi);

// The height of a line of the font's text, which is how high a list of strings makes its rows.
int LineHeight(HFONT font);

}  // namespace ui::win32
