// The views of the three lists: a drop-down COMBOBOX for the drives, and lists of the model's
// rows (owner_data_list.h) for the folders, each drawn at its level, and for the files. The
// file list is shown from the top again only when its names changed.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "ui/win32/owner_data_list.h"
#include "ui/win32/simple_views.h"
#include "window/lists.h"

namespace ui::win32 {

class DriveListView : public View {
public:
    DriveListView(window::DriveListBox& drives, Dispatcher& dispatcher, Placement placement);
    ~DriveListView() override;
    void ControlChanged(const window::Control&) override;
    void Command(WORD code) override;

private:
    window::DriveListBox& drives_;
    Dispatcher& dispatcher_;
    std::vector<window::Text> shown_;
};

class DirListView : public OwnerDataList {
public:
    // dpi is the window's scale, read at each drawing: it changes when the window moves to
    // a screen of another scale.
    DirListView(window::DirListBox& folders, Dispatcher& dispatcher, const Placement& placement,
                const int& dpi);
    ~DirListView() override;
    void ControlChanged(const window::Control&) override;
    void Command(WORD code) override;
    bool Enter() override;

private:
    std::size_t RowCount() const override;
    const window::Text& RowText(std::size_t row) const override;
    int RowIndent(std::size_t row) const override;
    void Open(int row);

    window::DirListBox& folders_;
    Dispatcher& dispatcher_;
    const int& dpi_;
};

class FileListView : public OwnerDataList {
public:
    FileListView(window::FileListBox& files, Dispatcher& dispatcher, const Placement& placement);
    ~FileListView() override;
    void ControlChanged(const window::Control&) override;
    void Command(WORD code) override;
    bool Enter() override;

private:
    std::size_t RowCount() const override;
    const window::Text& RowText(std::size_t row) const override;
    void Pick(int row);

    window::FileListBox& files_;
    Dispatcher& dispatcher_;
    std::optional<std::size_t> shownVersion_;  // the NamesVersion of the names shown, if any
};

}  // namespace ui::win32
