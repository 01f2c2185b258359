#include "ui/win32/list_views.h"

#include <functional>

#include "ui/win32/wide.h"

namespace ui::win32 {
namespace {

// The folder list's step per level, at 96 dots an inch.
constexpr int kIndentPerLevel = 8;

int CurrentRow(HWND list) { return static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0)); }

const wchar_t* WideText(const window::Text& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());  // both are UTF-16 units
}

// Puts count texts into a LISTBOX in place of what it held, with storage for all of them
// taken at once and the control drawn once at the end rather than after each; the caller
// turns drawing back on (WM_SETREDRAW) once it has also set the selection.
void Refill(HWND list, std::size_t count,
            const std::function<const window::Text&(std::size_t)>& textAt) {
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    std::size_t units = 0;
    for (std::size_t k = 0; k < count; ++k) units += textAt(k).size() + 1;
    SendMessageW(list, LB_INITSTORAGE, count, static_cast<LPARAM>(units * sizeof(wchar_t)));
    for (std::size_t k = 0; k < count; ++k) {
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideText(textAt(k))));
    }
}

void DrawAgain(HWND list) {
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

}  // namespace

// The design gives the closed height; the list that drops down needs room of its own.
DriveListView::DriveListView(window::DriveListBox& drives, Dispatcher& dispatcher,
                             Placement placement)
    : drives_(drives), dispatcher_(dispatcher) {
    placement.pixels.bottom =
        placement.pixels.top + 10 * (placement.pixels.bottom - placement.pixels.top);
    Create(L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, placement);
    drives_.SetObserver(this);
    ControlChanged(drives_);
}

DriveListView::~DriveListView() { drives_.SetObserver(nullptr); }

void DriveListView::ControlChanged(const window::Control&) {
    if (shown_ != drives_.Entries()) {
        shown_ = drives_.Entries();
        SendMessageW(Handle(), CB_RESETCONTENT, 0, 0);
        for (const window::Text& entry : shown_) {
            SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(entry).c_str()));
        }
    }
    SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(drives_.ListIndex()), 0);
    ShowAs(drives_.Visible());
}

void DriveListView::Command(WORD code) {
    if (code == CBN_DROPDOWN) {
        // Drives come and go (a stick put in): the list is read again each time it opens.
        dispatcher_.Run([this] { drives_.Refresh(); });
    } else if (code == CBN_SELENDOK) {
        const auto index = SendMessageW(Handle(), CB_GETCURSEL, 0, 0);
        if (index < 0) return;
        dispatcher_.Run([this, index] { drives_.Choose(static_cast<std::size_t>(index)); });
        // A drive that could not be opened leaves the list where it was.
        ControlChanged(drives_);
    }
}

// ---------------------------------------------------------------------------------------

DirListView::DirListView(window::DirListBox& folders, Dispatcher& dispatcher,
                         const Placement& placement, const int& dpi)
    : folders_(folders), dispatcher_(dispatcher), dpi_(dpi) {
    Create(L"LISTBOX",
           WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
               LBS_NOINTEGRALHEIGHT,
           WS_EX_CLIENTEDGE, placement);
    folders_.SetObserver(this);
    ControlChanged(folders_);
}

DirListView::~DirListView() { folders_.SetObserver(nullptr); }

void DirListView::ControlChanged(const window::Control&) {
    const auto& entries = folders_.Entries();
    Refill(Handle(), entries.size(),
           [&](std::size_t k) -> const window::Text& { return entries[k].name; });
    SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(folders_.ListIndex()), 0);
    DrawAgain(Handle());
    ShowAs(folders_.Visible());
}

void DirListView::Command(WORD code) {
    if (code == LBN_DBLCLK) Open(CurrentRow(Handle()));
}

bool DirListView::Enter() {
    Open(CurrentRow(Handle()));
    return true;
}

void DirListView::Open(int row) {
    if (row < 0) return;
    dispatcher_.Run([this, row] { folders_.OpenEntry(static_cast<std::size_t>(row)); });
}

// Each entry shifted right by its level, so the list reads as a path from the root down.
void DirListView::DrawItem(const DRAWITEMSTRUCT& item) {
    const auto& entries = folders_.Entries();
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (item.itemID < entries.size()) {
        const window::DirListBox::Entry& entry = entries[item.itemID];
        RECT text = item.rcItem;
        text.left += 2 + entry.depth * MulDiv(kIndentPerLevel, dpi_, 96);
        SetBkMode(item.hDC, TRANSPARENT);
        SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        const std::wstring name = Wide(entry.name);
        DrawTextW(item.hDC, name.c_str(), static_cast<int>(name.size()), &text,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
}

// ---------------------------------------------------------------------------------------

FileListView::FileListView(window::FileListBox& files, Dispatcher& dispatcher,
                           const Placement& placement)
    : files_(files), dispatcher_(dispatcher) {
    Create(L"LISTBOX", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
           WS_EX_CLIENTEDGE, placement);
    files_.SetObserver(this);
    ControlChanged(files_);
}

FileListView::~FileListView() { files_.SetObserver(nullptr); }

void FileListView::ControlChanged(const window::Control&) {
    const bool refill = shownVersion_ != files_.NamesVersion();
    if (refill) {
        shownVersion_ = files_.NamesVersion();
        const auto& names = files_.Names();
        Refill(Handle(), names.size(),
               [&](std::size_t k) -> const window::Text& { return names[k]; });
    }
    SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(files_.ListIndex()), 0);
    if (refill) DrawAgain(Handle());
    ShowAs(files_.Visible());
}

void FileListView::Command(WORD code) {
    if (code == LBN_SELCHANGE) {
        const int row = CurrentRow(Handle());
        dispatcher_.Run([this, row] { files_.Select(row); });
    } else if (code == LBN_DBLCLK) {
        Pick(CurrentRow(Handle()));
    }
}

bool FileListView::Enter() {
    Pick(CurrentRow(Handle()));
    return true;
}

void FileListView::Pick(int row) {
    if (row < 0) return;
    dispatcher_.Run([this, row] {
        files_.Select(row);
        files_.DblClick();
    });
}

}  // namespace ui::win32
