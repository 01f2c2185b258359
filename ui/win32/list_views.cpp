#include "ui/win32/list_views.h"

#include "ui/win32/wide.h"

namespace ui::win32 {
namespace {

// The folder list's step per level, at 96 dots an inch.
constexpr int kIndentPerLevel = 8;

int CurrentRow(HWND list) { return static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0)); }

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
    CreateList(placement);
    folders_.SetObserver(this);
    ControlChanged(folders_);
}

DirListView::~DirListView() { folders_.SetObserver(nullptr); }

void DirListView::ControlChanged(const window::Control&) {
    ShowRows(folders_.Entries().size(), folders_.ListIndex());
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

std::size_t DirListView::RowCount() const { return folders_.Entries().size(); }

const window::Text& DirListView::RowText(std::size_t row) const {
    return folders_.Entries()[row].name;
}

// Each entry shifted right by its level, so the list reads as a path from the root down.
int DirListView::RowIndent(std::size_t row) const {
    return 2 + folders_.Entries()[row].depth * MulDiv(kIndentPerLevel, dpi_, 96);
}

// ---------------------------------------------------------------------------------------

FileListView::FileListView(window::FileListBox& files, Dispatcher& dispatcher,
                           const Placement& placement)
    : files_(files), dispatcher_(dispatcher) {
    CreateList(placement);
    files_.SetObserver(this);
    ControlChanged(files_);
}

FileListView::~FileListView() { files_.SetObserver(nullptr); }

void FileListView::ControlChanged(const window::Control&) {
    if (shownVersion_ != files_.NamesVersion()) {
        shownVersion_ = files_.NamesVersion();
        ShowRows(files_.Names().size(), files_.ListIndex());
    } else {
        SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(files_.ListIndex()), 0);
    }
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

std::size_t FileListView::RowCount() const { return files_.Names().size(); }

const window::Text& FileListView::RowText(std::size_t row) const { return files_.Names()[row]; }

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
