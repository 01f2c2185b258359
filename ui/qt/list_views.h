// Widgets for the drive, folder and file lists.
#pragma once

#include <QComboBox>
#include <QListWidget>
#include <vector>

#include "ui/qt/dispatcher.h"
#include "window/lists.h"

namespace ui::qt {

class DriveListView : public QComboBox, public window::ControlObserver {
public:
    DriveListView(window::DriveListBox& drives, Dispatcher& dispatcher, QWidget* parent);
    ~DriveListView() override;
    void ControlChanged(const window::Control& control) override;

protected:
    // Volumes come and go while the program runs; the list is read again as it opens.
    void showPopup() override;

private:
    window::DriveListBox& drives_;
    Dispatcher& dispatcher_;
    std::vector<window::Text> shown_;
};

// The current folder's ancestors and the folder itself show an open folder, its subfolders a
// closed one, each indented by its depth. A double-click or Enter opens an entry; a single
// click only moves the highlight.
class DirListView : public QListWidget, public window::ControlObserver {
public:
    DirListView(window::DirListBox& folders, Dispatcher& dispatcher, QWidget* parent);
    ~DirListView() override;
    void ControlChanged(const window::Control& control) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Open(int row);

    window::DirListBox& folders_;
    Dispatcher& dispatcher_;
};

// A single click selects; a double-click or Enter on the selection picks the file.
class FileListView : public QListWidget, public window::ControlObserver {
public:
    FileListView(window::FileListBox& files, Dispatcher& dispatcher, QWidget* parent);
    ~FileListView() override;
    void ControlChanged(const window::Control& control) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Pick(int row);

    window::FileListBox& files_;
    Dispatcher& dispatcher_;
    std::vector<window::Text> shown_;
};

}  // namespace ui::qt
