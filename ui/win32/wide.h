// The window's texts are UTF-16, as Windows' wide strings are: only the type differs.
#pragma once

#include <windows.h>

#include <string>

#include "window/controls.h"

namespace ui::win32 {

inline std::wstring Wide(const window::Text& text) { return std::wstring(text.begin(), text.end()); }
inline window::Text FromWide(const std::wstring& text) { return window::Text(text.begin(), text.end()); }

inline COLORREF ToColorRef(window::Color color) { return RGB(color.red, color.green, color.blue); }

}  // namespace ui::win32
