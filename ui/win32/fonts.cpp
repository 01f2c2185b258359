#include "ui/win32/fonts.h"

#include <cmath>
#include <string>

namespace ui::win32 {

// Asked for by name; where "MS Sans Serif" is missing the system's font substitutes give its
// own plain sans-serif face at the same size and weight.
HFONT CreateDesignFont(const window::Font& font, int dpi) {
    const std::wstring face(font.face.begin(), font.face.end());
    const int height = -static_cast<int>(std::lround(font.points * dpi / 72.0));
    return CreateFontW(height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       VARIABLE_PITCH | FF_SWISS, face.c_str());
}

int LineHeight(HFONT font) {
    const HDC screen = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(screen, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return metrics.tmHeight;
}

}  // namespace ui::win32
