#include "ui/win32/simple_views.h"

#include <algorithm>
#include <cmath>

#include "ui/win32/wide.h"

namespace ui::win32 {
namespace {

constexpr wchar_t kPictureClass[] = L"TessomarPicture";

DWORD AlignmentStyle(window::Alignment alignment) {
    switch (alignment) {
        case window::Alignment::Center:
            return SS_CENTER;
        case window::Alignment::Right:
            return SS_RIGHT;
        case window::Alignment::Left:
            break;
    }
    return SS_LEFT;
}

std::wstring WindowText(HWND handle) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(handle)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(handle, text.data(), static_cast<int>(text.size()))));
    return text;
}

window::Color SchemeColor(int element) {
    const COLORREF color = GetSysColor(element);
    return {GetRValue(color), GetGValue(color), GetBValue(color)};
}

// Sets the colours of a control's text, from the design where it fixes them, else from the
// user's scheme; returns the background's brush.
HBRUSH ApplyColors(HDC dc, const window::FixedColors& fixed, SolidBrush& background, int schemeText,
                   int schemeBackground) {
    SetTextColor(dc, fixed.text ? ToColorRef(*fixed.text) : GetSysColor(schemeText));
    SetBkColor(dc,
               fixed.background ? ToColorRef(*fixed.background) : GetSysColor(schemeBackground));
    return fixed.background ? background.For(*fixed.background)
                            : GetSysColorBrush(schemeBackground);
}

}  // namespace

HWND View::Create(const wchar_t* windowClass, DWORD style, DWORD extendedStyle,
                  const Placement& placement, const window::Text& text) {
    const RECT& r = placement.pixels;
    handle_ = CreateWindowExW(
        extendedStyle, windowClass, Wide(text).c_str(), WS_CHILD | style, r.left, r.top,
        r.right - r.left, r.bottom - r.top, placement.parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(placement.id)),
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(placement.parent, GWLP_HINSTANCE)), this);
    return handle_;
}

// By the control's own flag: IsWindowVisible also says false for every control while the
// window itself is not shown yet.
void View::ShowAs(bool visible) const {
    const bool shown = (GetWindowLongW(handle_, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown == visible) return;
    ShowWindow(handle_, visible ? SW_SHOWNA : SW_HIDE);
    SendMessageW(GetParent(handle_), kShownOrHidden, 0, 0);
}

SolidBrush::~SolidBrush() {
    if (brush_ != nullptr) DeleteObject(brush_);
}

HBRUSH SolidBrush::For(window::Color color) {
    if (brush_ == nullptr || !(color == color_)) {
        if (brush_ != nullptr) DeleteObject(brush_);
        brush_ = CreateSolidBrush(ToColorRef(color));
        color_ = color;
    }
    return brush_;
}

// ---------------------------------------------------------------------------------------

// A static control wraps its caption at word boundaries and cuts off what does not fit.
LabelView::LabelView(window::Label& label, const window::DesignEntry& design,
                     const Placement& placement)
    : label_(label), design_(design) {
    Create(L"STATIC", SS_NOPREFIX | AlignmentStyle(design.alignment), 0, placement);
    label_.SetObserver(this);
    ControlChanged(label_);
}

LabelView::~LabelView() { label_.SetObserver(nullptr); }

void LabelView::ControlChanged(const window::Control&) {
    const std::wstring caption = Wide(label_.Caption());
    if (WindowText(Handle()) != caption) SetWindowTextW(Handle(), caption.c_str());
    ShowAs(label_.Visible());
}

HBRUSH LabelView::Colors(HDC dc) {
    return ApplyColors(dc, window::FixedColorsOf(design_, label_, SchemeColor(COLOR_BTNFACE)),
                       background_, COLOR_BTNTEXT, COLOR_BTNFACE);
}

// ---------------------------------------------------------------------------------------

TextBoxView::TextBoxView(window::TextBox& box, const window::DesignEntry& design,
                         Dispatcher& dispatcher, const Placement& placement)
    : box_(box), design_(design), dispatcher_(dispatcher), readOnly_(design.readOnly) {
    DWORD style = WS_TABSTOP | ES_AUTOHSCROLL;
    if (design.masked) style |= ES_PASSWORD;
    if (design.readOnly) style |= ES_READONLY;
    Create(L"EDIT", style, WS_EX_CLIENTEDGE, placement);
    // The current common controls would show a dot; the design shows a star.
    if (design.masked) SendMessageW(Handle(), EM_SETPASSWORDCHAR, L'*', 0);
    box_.SetObserver(this);
    ControlChanged(box_);
}

TextBoxView::~TextBoxView() { box_.SetObserver(nullptr); }

void TextBoxView::ControlChanged(const window::Control&) {
    // The user's own typing comes back here; setting the same text again would move the
    // caret to the start.
    const std::wstring text = Wide(box_.GetText());
    if (WindowText(Handle()) != text) {
        settingText_ = true;
        SetWindowTextW(Handle(), text.c_str());
        settingText_ = false;
    }
    InvalidateRect(Handle(), nullptr, TRUE);
    ShowAs(box_.Visible());
}

void TextBoxView::Command(WORD code) {
    if (code != EN_CHANGE || settingText_) return;
    const window::Text typed = FromWide(WindowText(Handle()));
    dispatcher_.Run([this, &typed] { box_.Typed(typed); });
}

HBRUSH TextBoxView::Colors(HDC dc) {
    return ApplyColors(dc, window::FixedColorsOf(design_, box_, SchemeColor(COLOR_BTNFACE)),
                       background_, COLOR_WINDOWTEXT, COLOR_WINDOW);
}

// ---------------------------------------------------------------------------------------

ButtonView::ButtonView(window::CommandButton& button, const window::DesignEntry& design,
                       Dispatcher& dispatcher, const Placement& placement)
    : button_(button), dispatcher_(dispatcher) {
    Create(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0, placement, design.content);
    button_.SetObserver(this);
    ControlChanged(button_);
}

ButtonView::~ButtonView() { button_.SetObserver(nullptr); }

void ButtonView::ControlChanged(const window::Control&) { ShowAs(button_.Visible()); }

void ButtonView::Command(WORD code) {
    if (code == BN_CLICKED) dispatcher_.Run([this] { button_.Click(); });
}

// ---------------------------------------------------------------------------------------

PictureView::PictureView(window::PictureBox& picture, const Placement& placement)
    : picture_(picture) {
    Create(kPictureClass, 0, WS_EX_STATICEDGE, placement);
    picture_.SetObserver(this);
    ControlChanged(picture_);
}

PictureView::~PictureView() { picture_.SetObserver(nullptr); }

void PictureView::RegisterClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kPictureClass;
    RegisterClassExW(&windowClass);
}

void PictureView::ControlChanged(const window::Control&) {
    ShowAs(picture_.Visible());
    if (!repaintAsked_) {
        repaintAsked_ = true;
        InvalidateRect(Handle(), nullptr, TRUE);
    }
}

LRESULT CALLBACK PictureView::Procedure(HWND handle, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(l);
        SetWindowLongPtrW(handle, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(handle, &paint);
        auto* view = reinterpret_cast<PictureView*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
        if (view != nullptr) {
            view->repaintAsked_ = false;
            view->Paint(dc);
        }
        EndPaint(handle, &paint);
        return 0;
    }
    return DefWindowProcW(handle, message, w, l);
}

// The boxes in the picture's own scale, ScaleWidth across and ScaleHeight down; anything
// past an edge is cut off.
void PictureView::Paint(HDC dc) const {
    RECT area;
    GetClientRect(Handle(), &area);
    const auto pixel = [](double position, double scale, LONG extent) {
        return static_cast<LONG>(std::lround(std::clamp(position / scale, 0.0, 1.0) * extent));
    };
    const double across = picture_.ScaleWidth();
    const double down = picture_.ScaleHeight();
    for (const window::Box& box : picture_.Boxes()) {
        const RECT filled{pixel(box.left, across, area.right), pixel(box.top, down, area.bottom),
                          pixel(box.right, across, area.right),
                          pixel(box.bottom, down, area.bottom)};
        const HBRUSH brush = CreateSolidBrush(ToColorRef(box.color));
        FillRect(dc, &filled, brush);
        DeleteObject(brush);
    }
}

}  // namespace ui::win32
