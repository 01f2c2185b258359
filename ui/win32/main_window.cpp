#include "ui/win32/main_window.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/win32/fonts.h"
#include "ui/win32/list_views.h"
#include "ui/win32/wide.h"
#include "window/open_from_outside.h"

namespace ui::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"TessomarWindow";
constexpr int kFirstControlId = 100;
constexpr int kIconResource = 1;
constexpr int kTwipsPerInch = 1440;
// The folder list's step per level, at 96 DPI.
constexpr int kIndentPerLevel = 8;

int ScreenDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

void RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconResource));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource),
                                                        IMAGE_ICON, 16, 16, 0));
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
    return found == controls.end() ? 0 : kFirstControlId + static_cast<int>(found - controls.begin());
}

MainWindow::MainWindow(HINSTANCE instance, window::Form1& form, Win32Host& host)
    : form_(form),
      host_(host),
      dispatcher_(form, [this](HWND control) { return ControlOf(control); }),
      dpi_(ScreenDpi()) {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    RegisterWindowClass(instance, Procedure);
    PictureView::RegisterClass(instance);

    const window::FormDesign& design = window::Design();
    const auto pixels = [this](int twips) { return MulDiv(twips, dpi_, kTwipsPerInch); };
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT frame{0, 0, pixels(design.clientWidth), pixels(design.clientHeight)};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    handle_ = CreateWindowExW(0, kWindowClass, Wide(design.caption).c_str(), style,
                              pixels(design.left), pixels(design.top), frame.right - frame.left,
                              frame.bottom - frame.top, nullptr, nullptr, instance, this);

    const HFONT defaultFont = CreateDesignFont(design.defaultFont, dpi_);
    fonts_.push_back(defaultFont);
    // The system moves the focus with Tab in the order the controls were made, skipping
    // labels and hidden controls; screen readers name a box by the label made just before it.
    for (const window::DesignEntry* entry : CreationOrder(design)) {
        const int id = ControlId(entry->name);
        const Placement placement{handle_, id,
                                  RECT{pixels(entry->left), pixels(entry->top),
                                       pixels(entry->left + entry->width),
                                       pixels(entry->top + entry->height)}};
        std::unique_ptr<View> view = MakeView(*entry, placement);
        HFONT font = defaultFont;
        if (entry->font) {
            font = CreateDesignFont(*entry->font, dpi_);
            fonts_.push_back(font);
        }
        SendMessageW(view->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        views_[entry->name] = std::move(view);
    }
    AddTips();
    screenReaderNames_ = std::make_unique<ScreenReaderNames>(
        [this](const std::string& name) { return ControlFor(name); });
    DragAcceptFiles(handle_, TRUE);
    host_.SetWindow(handle_, [this](const window::Control& control) {
        return ControlFor(control.Name());
    });
}

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
    window::Control& control = *form_.Find(entry.name);
    using Kind = window::ControlKind;
    switch (entry.kind) {
        case Kind::Label:
            return std::make_unique<LabelView>(static_cast<window::Label&>(control), entry, placement);
        case Kind::TextBox:
            return std::make_unique<TextBoxView>(static_cast<window::TextBox&>(control), entry,
                                                 dispatcher_, placement);
        case Kind::CommandButton:
            return std::make_unique<ButtonView>(static_cast<window::CommandButton&>(control), entry,
                                                dispatcher_, placement);
        case Kind::DriveListBox:
            return std::make_unique<DriveListView>(static_cast<window::DriveListBox&>(control),
                                                   dispatcher_, placement);
        case Kind::DirListBox:
            return std::make_unique<DirListView>(static_cast<window::DirListBox&>(control),
                                                 dispatcher_, placement,
                                                 MulDiv(kIndentPerLevel, dpi_, 96));
        case Kind::FileListBox:
            return std::make_unique<FileListView>(static_cast<window::FileListBox&>(control),
                                                  dispatcher_, placement);
        case Kind::PictureBox:
            return std::make_unique<PictureView>(static_cast<window::PictureBox&>(control), placement);
    }
    return nullptr;
}

void MainWindow::AddTips() {
    const HWND tips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                      handle_, nullptr, nullptr, nullptr);
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
    SetFocus(ControlFor("Dir1"));
}

bool MainWindow::PreTranslate(MSG& message) {
    return IsDialogMessageW(handle_, &message) != FALSE;
}

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

// Files dropped from a file manager. Only while browsing: a drop that arrives while a run
// paints its progress is not a reaction the run may be interrupted by.
void MainWindow::OnDrop(HDROP drop) {
    std::vector<window::Text> paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT index = 0; index < count; ++index) {
        std::wstring path(DragQueryFileW(drop, index, nullptr, 0) + 1, L'\0');
        path.resize(DragQueryFileW(drop, index, path.data(), static_cast<UINT>(path.size())));
        paths.push_back(FromWide(path));
    }
    DragFinish(drop);
    if (window::TakesPathsFromOutside(form_)) OpenFromOutside(paths);
}

// Enter: a list opens its entry; anywhere else the window decides what it does.
void MainWindow::OnEnter() {
    if (View* focused = ViewFor(GetFocus()); focused != nullptr && focused->Enter()) return;
    form_.PressEnter(dispatcher_.Focused());
}

LRESULT CALLBACK MainWindow::Procedure(HWND handle, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(l);
        SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
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
            item->itemHeight = static_cast<UINT>(MulDiv(16, dpi_, 96));
            return TRUE;
        }
        case WM_DROPFILES:
            OnDrop(reinterpret_cast<HDROP>(w));
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
