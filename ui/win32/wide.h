// The window's texts are UTF-16, as Windows' wide strings are: platform::Wide and
// platform::FromWide change only the type. Wide here gives the front-end a std::wstring of
// the text's own.
#pragma once

#include <windows.h>

#include <string>

#include "platform/platform.h"
#include "window/controls.h"

namespace ui::win32 {

inline std::wstring Wide(const window::Text& text) { return {platform::Wide(text), text.size()}; }
inline window::Text FromWide(const std::wstring& text) { return platform::FromWide(text); }

inline COLORREF ToColorRef(window::Color color) { return RGB(color.red, color.green, color.blue); }

}  // namespace ui::win32
