// The drive, folder and file lists. Their contents come from the file system through
// platform/; what a front-end calls on them is the same as what the handlers call.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "window/controls.h"

namespace window {

class DriveListBox : public Control {
public:
    using Control::Control;

    // The texts of the volumes the list shows, and which one is current (-1: none).
    const std::vector<Text>& Entries() const { return entries_; }
    int ListIndex() const { return listIndex_; }

    // Reads back as the current entry's text.
    const Text& Drive() const;
    // Makes the volume that the text names current and runs the Change handler at once.
    // Throws (std::system_error) on an empty text or a volume that is not available.
    void SetDrive(const Text& drive);
    // The user picks entry index; a volume that has vanished leaves the list as it was.
    void Choose(std::size_t index);
    void OnChange(std::function<void()> handler) { change_ = std::move(handler); }

private:
    std::vector<Text> entries_;
    int listIndex_ = -1;
    std::function<void()> change_;
};

class DirListBox : public Control {
public:
    using Control::Control;

    struct Entry {
        Text name;   // as shown
        Text path;   // the folder it opens
        int depth;   // indentation: 0 for the root
    };
    // The current folder's ancestors from the root down, the folder itself, then its
    // subfolders; ListIndex is the current folder's entry.
    const std::vector<Entry>& Entries() const { return entries_; }
    int ListIndex() const { return listIndex_; }

    const Text& Path() const { return path_; }
    // Opens the folder and runs the Change handler at once. Throws (std::system_error) if
    // the folder does not exist or cannot be read.
    void SetPath(const Text& path);
    // The user opens entry index (double-click or Enter); a folder that cannot be shown
    // leaves the list on the last folder that could.
    void OpenEntry(std::size_t index);
    void OnChange(std::function<void()> handler) { change_ = std::move(handler); }

private:
    std::vector<Entry> entries_;
    int listIndex_ = -1;
    Text path_;
    std::function<void()> change_;
};

class FileListBox : public Control {
public:
    using Control::Control;

    const Text& Path() const { return path_; }
    void SetPath(const Text& path);
    // Get: the selected file's name without its folder (empty when none is selected).
    Text FileName() const;
    // Set: the text becomes the list's pattern ("*" and "?", several separated by ";").
    void SetFileName(const Text& pattern);
    const Text& Pattern() const { return pattern_; }

    // The names shown, sorted, and the selection (-1: none).
    const std::vector<Text>& Names() const { return names_; }
    int ListIndex() const { return listIndex_; }
    // A single click: selects only.
    void Select(int index);
    // A double-click or Enter on the selection.
    void DblClick();
    void OnDblClick(std::function<void()> handler) { dblClick_ = std::move(handler); }

private:
    Text path_;
    Text pattern_ = u"*.*";
    std::vector<Text> names_;
    int listIndex_ = -1;
    std::function<void()> dblClick_;
};

}  // namespace window
