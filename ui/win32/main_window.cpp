#include "ui/win32/main_window.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/win32/file_drop.h"
#include "ui/win32/fonts.h"
#include "ui/win32/icon.h"
#include "ui/win32/list_views.h"
#include "ui/win32/wide.h"
#include "window/open_from_outside.h"

namespace ui::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"TessomarWindow";
constexpr int kFirstControlId = 100;
constexpr int kTwipsPerInch = 1440;

constexpr DWORD kWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

void RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = AppIcon(instance);
    windowClass.hIconSm = SmallAppIcon(instance);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);
}

}  // namespace

int ControlId(const std::string& name) {
    const std::vector<window::DesignEntry>& controls = window::Design().controls;
    const auto found = std::find_if(controls.begin(), controls.end(),
                                    [&](const auto& entry) { return entry.name == name; });
    return found == controls.end() ? 0
                                   : kFirstControlId + static_cast<int>(found - controls.begin());
}

MainWindow::MainWindow(HINSTANCE instance, window::Form1& form, Win32Host& host)
    : form_(form),
      host_(host),
      dispatcher_(form, [this](HWND control) { return ControlOf(control); }),
      dpi_(static_cast<int>(GetDpiForSystem())) {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    RegisterWindowClass(instance, Procedure);
    PictureView::RegisterClass(instance);

    const window::FormDesign& design = window::Design();
    handle_ = CreateWindowExW(0, kWindowClass, Wide(design.caption).c_str(), kWindowStyle,
                              CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance, this);
    // The screen the window opens on may have a scale of its own.
    if (const UINT windowDpi = GetDpiForWindow(handle_)) dpi_ = static_cast<int>(windowDpi);

    // The system moves the focus with Tab in the order the controls were made, skipping
    // labels and hidden controls; screen readers name a box by the label made just before it.
    for (const window::DesignEntry* entry : CreationOrder(design)) {
        const Placement placement{handle_, ControlId(entry->name), PixelsOf(*entry)};
        views_[entry->name] = MakeView(*entry, placement);
    }
    const RECT frame = FrameAt(Pixels(design.left), Pixels(design.top));
    LayOut(frame);
    AddTips();
    screenReaderNames_ = std::make_unique<ScreenReaderNames>(
        [this](const std::string& name) { return ControlFor(name); });
    AcceptFileDrops(handle_);
    host_.SetWindow(handle_,
                    [this](const window::Control& control) { return ControlFor(control.Name()); });
}

int MainWindow::Pixels(int twips) const { return MulDiv(twips, dpi_, kTwipsPerInch); }

RECT MainWindow::PixelsOf(const window::DesignEntry& entry) const {
    return RECT{Pixels(entry.left), Pixels(entry.top), Pixels(entry.left + entry.width),
                Pixels(entry.top + entry.height)};
}

// The window's frame around the design's client area at the current scale, with its top
// left corner as near that point as the work area of its screen allows: all of it on the
// screen, clear of the task bar.
RECT MainWindow::FrameAt(int left, int top) const {
    const window::FormDesign& design = window::Design();
    RECT frame{0, 0, Pixels(design.clientWidth), Pixels(design.clientHeight)};
    AdjustWindowRectExForDpi(&frame, kWindowStyle, FALSE, 0, static_cast<UINT>(dpi_));
    OffsetRect(&frame, left - frame.left, top - frame.top);
    MONITORINFO screen{};
    screen.cbSize = sizeof screen;
    GetMonitorInfoW(MonitorFromRect(&frame, MONITOR_DEFAULTTONEAREST), &screen);
    const RECT& work = screen.rcWork;
    OffsetRect(&frame, std::min(0L, work.right - frame.right),
               std::min(0L, work.bottom - frame.bottom));
    OffsetRect(&frame, std::max(0L, work.left - frame.left), std::max(0L, work.top - frame.top));
    return frame;
}

// Everything from the design at the current scale: the window in frame, each control at its
// place, the fonts at their size.
void MainWindow::LayOut(const RECT& frame) {
    const window::FormDesign& design = window::Design();
    std::vector<HFONT> previousFonts = std::move(fonts_);
    fonts_.clear();
    const HFONT defaultFont = CreateDesignFont(design.defaultFont, dpi_);
    fonts_.push_back(defaultFont);
    for (const window::DesignEntry& entry : design.controls) {
        const HWND control = ControlFor(entry.name);
        const RECT place = PixelsOf(entry);
        SetWindowPos(control, nullptr, place.left, place.top, place.right - place.left,
                     place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
        HFONT font = defaultFont;
        if (entry.font) {
            font = CreateDesignFont(*entry.font, dpi_);
            fonts_.push_back(font);
        }
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        // The lists draw their own rows, and are told how high.
        if (entry.kind == window::ControlKind::DirListBox) {
            SendMessageW(control, LB_SETITEMHEIGHT, 0, FolderRowHeight());
        } else if (entry.kind == window::ControlKind::FileListBox) {
            SendMessageW(control, LB_SETITEMHEIGHT, 0, LineHeight(font));
        }
    }
    for (HFONT font : previousFonts) DeleteObject(font);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(handle_, nullptr, frame.left, frame.top, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // A frame drawn at another scale than the one reckoned with (the system's, where it does
    // not scale frames) leaves the client area off by its difference: made up here.
    RECT client;
    GetClientRect(handle_, &client);
    const int missingWidth = Pixels(design.clientWidth) - client.right;
    const int missingHeight = Pixels(design.clientHeight) - client.bottom;
    if (missingWidth != 0 || missingHeight != 0) {
        SetWindowPos(handle_, nullptr, 0, 0, width + missingWidth, height + missingHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ClipOverlaps();
}

namespace {

// Which of two overlapping controls is drawn on top: what takes input over what only shows,
// a box or a list over a button.
int DrawnAbove(window::ControlKind kind) {
    using Kind = window::ControlKind;
    switch (kind) {
        case Kind::TextBox:
        case Kind::DriveListBox:
        case Kind::DirListBox:
        case Kind::FileListBox:
            return 2;
        case Kind::CommandButton:
            return 1;
        case Kind::Label:
        case Kind::PictureBox:
            break;
    }
    return 0;
}

bool IsShown(HWND control) { return (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0; }

RECT PlaceInParent(HWND control) {
    RECT place;
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

}  // namespace

// The design's places overlap by a pixel here and there (the status line over the drive
// list's top border and the left edge of Help, Start's bottom under the folder box): each
// shown control cuts its place out of those it is drawn above, so that its border is seen
// whole, whichever of the two the system paints last.
void MainWindow::ClipOverlaps() {
    const std::vector<window::DesignEntry>& controls = window::Design().controls;
    for (const window::DesignEntry& lower : controls) {
        const HWND control = ControlFor(lower.name);
        if (control == nullptr) continue;
        const RECT place = PlaceInParent(control);
        std::vector<RECT> covered;
        for (const window::DesignEntry& upper : controls) {
            const HWND above = ControlFor(upper.name);
            RECT overlap;
            if (above == nullptr || DrawnAbove(upper.kind) <= DrawnAbove(lower.kind) ||
                !IsShown(above)) {
                continue;
            }
            const RECT abovePlace = PlaceInParent(above);
            if (IntersectRect(&overlap, &place, &abovePlace)) {
                OffsetRect(&overlap, -place.left, -place.top);
                covered.push_back(overlap);
            }
        }
        std::vector<RECT>& clipped = clipped_[control];
        const auto same = [](const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; };
        if (std::equal(covered.begin(), covered.end(), clipped.begin(), clipped.end(), same))
            continue;
        clipped = covered;
        HRGN shape = nullptr;
        if (!covered.empty()) {
            shape = CreateRectRgn(0, 0, place.right - place.left, place.bottom - place.top);
            for (const RECT& cut : covered) {
                const HRGN piece = CreateRectRgnIndirect(&cut);
                CombineRgn(shape, shape, piece, RGN_DIFF);
                DeleteObject(piece);
            }
        }
        // The system owns the shape from here on.
        SetWindowRgn(control, shape, TRUE);
    }
}

int MainWindow::FolderRowHeight() const { return MulDiv(16, dpi_, 96); }

MainWindow::~MainWindow() {
    host_.SetWindow(nullptr, nullptr);
    screenReaderNames_.reset();
    if (handle_ != nullptr) {
        SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
        DestroyWindow(handle_);
    }
    views_.clear();
    for (HFONT font : fonts_) DeleteObject(font);
}

std::unique_ptr<View> MainWindow::MakeView(const window::DesignEntry& entry,
                                           const Placement& placement) {
    using namespace window;
    return VisitControl(
        form_, entry,
        Overloaded{
            [&](Label& label) -> std::unique_ptr<View> {
                return std::make_unique<LabelView>(label, entry, placement);
            },
            [&](TextBox& box) -> std::unique_ptr<View> {
                return std::make_unique<TextBoxView>(box, entry, dispatcher_, placement);
            },
            [&](CommandButton& button) -> std::unique_ptr<View> {
                return std::make_unique<ButtonView>(button, entry, dispatcher_, placement);
            },
            [&](DriveListBox& drives) -> std::unique_ptr<View> {
                return std::make_unique<DriveListView>(drives, dispatcher_, placement);
            },
            [&](DirListBox& folders) -> std::unique_ptr<View> {
                return std::make_unique<DirListView>(folders, dispatcher_, placement, dpi_);
            },
            [&](FileListBox& files) -> std::unique_ptr<View> {
                return std::make_unique<FileListView>(files, dispatcher_, placement);
            },
            [&](PictureBox& picture) -> std::unique_ptr<View> {
                return std::make_unique<PictureView>(picture, placement);
            },
        });
}

void MainWindow::AddTips() {
    const HWND tips = CreateWindowExW(
        WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, handle_, nullptr, nullptr, nullptr);
    for (const window::DesignEntry& entry : window::Design().controls) {
        if (entry.tip.empty()) continue;
        std::wstring tip = Wide(entry.tip);
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = handle_;
        tool.uId = reinterpret_cast<UINT_PTR>(ControlFor(entry.name));
        tool.lpszText = tip.data();
        SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

HWND MainWindow::ControlFor(const std::string& name) const {
    const auto found = views_.find(name);
    return found == views_.end() ? nullptr : found->second->Handle();
}

const window::Control* MainWindow::ControlOf(HWND control) const {
    for (const auto& [name, view] : views_) {
        if (view->Handle() == control) return form_.Find(name);
    }
    return nullptr;
}

View* MainWindow::ViewFor(HWND control) const {
    for (const auto& [name, view] : views_) {
        if (view->Handle() == control) return view.get();
    }
    return nullptr;
}

void MainWindow::Show(int how) {
    ShowWindow(handle_, how);
    UpdateWindow(handle_);
    SetFocus(ControlFor(window::TabOrder().front()->name));
}

bool MainWindow::PreTranslate(MSG& message) { return IsDialogMessageW(handle_, &message) != FALSE; }

int MainWindow::RunMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (PreTranslate(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

void MainWindow::OpenFromOutside(const std::vector<window::Text>& paths) {
    dispatcher_.Run([&] { window::OpenFromOutside(form_, paths); });
}

// Enter: a list opens its entry; anywhere else the window decides what it does.
void MainWindow::OnEnter() {
    if (View* focused = ViewFor(GetFocus()); focused != nullptr && focused->Enter()) return;
    form_.PressEnter(dispatcher_.Focused());
}

LRESULT CALLBACK MainWindow::Procedure(HWND handle, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(l);
        SetWindowLongPtrW(handle, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
    if (self == nullptr || self->handle_ == nullptr) return DefWindowProcW(handle, message, w, l);
    return self->Handle(message, w, l);
}

LRESULT MainWindow::Handle(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(w) == IDOK && l == 0) {
                OnEnter();
            } else if (View* view = ViewFor(reinterpret_cast<HWND>(l))) {
                // Enter on a focused button comes as its own click.
                view->Command(HIWORD(w));
            }
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
            if (View* view = ViewFor(reinterpret_cast<HWND>(l))) {
                if (const HBRUSH brush = view->Colors(reinterpret_cast<HDC>(w))) {
                    return reinterpret_cast<LRESULT>(brush);
                }
            }
            break;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(l);
            if (View* view = ViewFor(item->hwndItem)) view->DrawItem(*item);
            return TRUE;
        }
        case WM_MEASUREITEM: {
            auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
            item->itemHeight = static_cast<UINT>(FolderRowHeight());
            return TRUE;
        }
        case WM_DPICHANGED: {
            // Moved to a screen of another scale, or the scale changed: the system proposes
            // where the window goes, and the design says how large it is there.
            dpi_ = LOWORD(w);
            const auto* proposed = reinterpret_cast<const RECT*>(l);
            LayOut(FrameAt(proposed->left, proposed->top));
            return 0;
        }
        case kShownOrHidden:
            ClipOverlaps();
            return 0;
        case WM_DROPFILES:
            OpenDroppedFiles(w, *this, form_);
            return 0;
        case WM_CLOSE:
            // During a reaction the window closes only once the reaction has returned.
            if (form_.RequestClose()) DestroyWindow(handle_);
            return 0;
        case WM_QUERYENDSESSION:
            // The user logs off or shuts down: a run stops as on a close, so that it has
            // removed its hidden result before the system ends the program, and the window
            // closes after it. Outside a run this asks for nothing, and the session may end.
            form_.RequestClose();
            return TRUE;
        case WM_DESTROY:
            // The controls still exist here, and their names are taken back from them.
            screenReaderNames_.reset();
            handle_ = nullptr;
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(handle_, message, w, l);
}

}  // namespace ui::win32
