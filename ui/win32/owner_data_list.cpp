#include "ui/win32/owner_data_list.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/win32/wide.h"

namespace ui::win32 {
namespace {

constexpr UINT_PTR kRowsSubclass = 1;

}  // namespace

OwnerDataList::~OwnerDataList() { RemoveWindowSubclass(Handle(), Answer, kRowsSubclass); }

void OwnerDataList::CreateList(const Placement& placement) {
    Create(L"LISTBOX",
           WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NODATA | LBS_OWNERDRAWFIXED |
               LBS_NOINTEGRALHEIGHT,
           WS_EX_CLIENTEDGE, placement);
    SetWindowSubclass(Handle(), Answer, kRowsSubclass, reinterpret_cast<DWORD_PTR>(this));
}

// From the top again, as a list that was emptied and filled anew; drawn once, at the end.
void OwnerDataList::ShowRows(std::size_t count, int selected) {
    SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
    SendMessageW(Handle(), LB_RESETCONTENT, 0, 0);
    SendMessageW(Handle(), LB_SETCOUNT, count, 0);
    SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(Handle(), nullptr, TRUE);
}

// As a list of strings draws its text: a pixel in.
int OwnerDataList::RowIndent(std::size_t) const { return 1; }

void OwnerDataList::DrawItem(const DRAWITEMSTRUCT& item) {
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (item.itemID < RowCount()) {
        const window::Text& name = RowText(item.itemID);
        RECT text = item.rcItem;
        text.left += RowIndent(item.itemID);
        SetBkMode(item.hDC, TRANSPARENT);
        SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        DrawTextW(item.hDC, platform::Wide(name), static_cast<int>(name.size()), &text,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
}

LRESULT OwnerDataList::FindRow(WPARAM start, std::wstring_view text, bool whole) const {
    const std::size_t count = RowCount();
    const std::size_t first = start < count ? start + 1 : 0;
    for (std::size_t n = 0; n < count; ++n) {
        const std::size_t row = (first + n) % count;
        const window::Text& name = RowText(row);
        if (whole ? name.size() != text.size() : name.size() < text.size()) continue;
        const int units = static_cast<int>(text.size());
        if (CompareStringOrdinal(platform::Wide(name), units, text.data(), units, TRUE) ==
            CSTR_EQUAL) {
            return static_cast<LRESULT>(row);
        }
    }
    return LB_ERR;
}

// From the row after the one with the focus, as the list of strings does it; the parent is
// told of the new selection as of one made with the mouse or the arrow keys.
void OwnerDataList::SelectByTyping(wchar_t typed) {
    const auto focused = SendMessageW(Handle(), LB_GETCARETINDEX, 0, 0);
    const LRESULT row = FindRow(static_cast<WPARAM>(focused), std::wstring_view(&typed, 1), false);
    if (row == LB_ERR) return;
    SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    SendMessageW(GetParent(Handle()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Handle()), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(Handle()));
}

LRESULT OwnerDataList::AnswerForText(UINT message, WPARAM row, LPARAM l) const {
    switch (message) {
        case LB_GETTEXTLEN:
            return row < RowCount() ? static_cast<LRESULT>(RowText(row).size()) : LB_ERR;
        case LB_GETTEXT: {
            if (row >= RowCount() || l == 0) return LB_ERR;
            const window::Text& text = RowText(row);
            *std::copy(text.begin(), text.end(), reinterpret_cast<wchar_t*>(l)) = L'\0';
            return static_cast<LRESULT>(text.size());
        }
        default:  // LB_FINDSTRING, LB_FINDSTRINGEXACT: from the row after this one
            if (l == 0) return LB_ERR;
            return FindRow(row, reinterpret_cast<const wchar_t*>(l), message == LB_FINDSTRINGEXACT);
    }
}

// The texts are told only to this thread, screen readers' objects included (they are made
// here: screen_reader_names.h). From another thread the system hands these messages on as for
// a list of data rather than strings, with room for a row's data where a text would overrun
// it: those get the system's own answer.
LRESULT CALLBACK OwnerDataList::Answer(HWND list, UINT message, WPARAM w, LPARAM l, UINT_PTR,
                                       DWORD_PTR self) {
    auto& rows = *reinterpret_cast<OwnerDataList*>(self);
    switch (message) {
        case LB_GETTEXTLEN:
        case LB_GETTEXT:
        case LB_FINDSTRING:
        case LB_FINDSTRINGEXACT:
            if (!InSendMessage()) return rows.AnswerForText(message, w, l);
            break;
        case WM_CHAR:
            rows.SelectByTyping(static_cast<wchar_t>(w));
            return 0;
        default:
            break;
    }
    return DefSubclassProc(list, message, w, l);
}

}  // namespace ui::win32
