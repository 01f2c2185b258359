// The views of the three lists: a drop-down COMBOBOX for the drives, an owner-drawn LISTBOX
// for the folders (each entry drawn at its level) and a LISTBOX for the files. The two lists
// are filled in one go, and the file list again only when its names changed.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

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

class DirListView : public View {
public:
    // dpi is the window's scale, read at each drawing: it changes when the window moves to
    // a screen of another scale.
    DirListView(window::DirListBox& folders, Dispatcher& dispatcher, const Placement& placement,
                const int& dpi);
    ~DirListView() override;
    void ControlChanged(const window::Control&) override;
    void Command(WORD code) override;
    void DrawItem(const DRAWITEMSTRUCT& item) override;
    bool Enter() override;

private:
    void Open(int row);

    window::DirListBox& folders_;
    Dispatcher& dispatcher_;
    const int& dpi_;
};

class FileListView : public View {
public:
    FileListView(window::FileListBox& files, Dispatcher& dispatcher, const Placement& placement);
    ~FileListView() override;
    void ControlChanged(const window::Control&) override;
    void Command(WORD code) override;
    bool Enter() override;

private:
    void Pick(int row);

    window::FileListBox& files_;
    Dispatcher& dispatcher_;
    std::optional<std::size_t> shownVersion_;  // the NamesVersion of the names shown, if any
};

}  // namespace ui::win32
