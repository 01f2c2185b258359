// A list of the model's rows as a LISTBOX that holds none of them (LBS_NODATA): the system
// keeps only how many there are and which is selected, and the view draws each row in sight
// from the model, so that a folder of 100,000 files is shown as soon as it is read. What a
// list of strings does with its strings the view does from the model's texts: it tells them
// to the window's own thread (LB_GETTEXT, of which the rows' names for screen readers are
// made), finds them (LB_FINDSTRING, LB_FINDSTRINGEXACT), and a typed character selects the
// next row that begins with it, as a click on that row would.
#pragma once

#include <cstddef>
#include <string_view>

#include "ui/win32/simple_views.h"

namespace ui::win32 {

class OwnerDataList : public View {
public:
    ~OwnerDataList() override;
    // A row in the selection's colours or the window's, its text RowIndent pixels in.
    void DrawItem(const DRAWITEMSTRUCT& item) override;

protected:
    OwnerDataList() = default;
    void CreateList(const Placement& placement);
    // Shows count rows from the top, with that one selected (-1: none).
    void ShowRows(std::size_t count, int selected);

private:
    virtual std::size_t RowCount() const = 0;
    virtual const window::Text& RowText(std::size_t row) const = 0;
    virtual int RowIndent(std::size_t row) const;

    static LRESULT CALLBACK Answer(HWND list, UINT message, WPARAM w, LPARAM l, UINT_PTR,
                                   DWORD_PTR self);
    // The first row after start (from the top if start is no row), round to the top again,
    // whose text is text (or, unless whole, begins with it), letter case aside; or LB_ERR.
    LRESULT FindRow(WPARAM start, std::wstring_view text, bool whole) const;
    // LB_GETTEXTLEN, LB_GETTEXT, LB_FINDSTRING or LB_FINDSTRINGEXACT, from the model.
    LRESULT AnswerForText(UINT message, WPARAM row, LPARAM l) const;
    void SelectByTyping(wchar_t typed);
};

}  // namespace ui::win32
