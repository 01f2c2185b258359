// Widgets for the drive, folder and file lists. The folder and file lists are views over the
// model's own entries, so that filling or filtering a list of any length draws only the rows
// in sight.
#pragma once

#include <QAbstractListModel>
#include <QComboBox>
#include <QIcon>
#include <QListView>
#include <cstddef>
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

// The folder list's entries as rows: the name, an open or a closed folder, the depth.
class FolderEntriesModel : public QAbstractListModel {
public:
    static constexpr int kDepthRole = Qt::UserRole;

    FolderEntriesModel(const window::DirListBox& folders, QIcon open, QIcon closed,
                       QObject* parent);
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // The entries were replaced: every row is read again.
    void Reload();

private:
    const window::DirListBox& folders_;
    QIcon open_;
    QIcon closed_;
};

// The file list's names as rows.
class FileNamesModel : public QAbstractListModel {
public:
    FileNamesModel(const window::FileListBox& files, QObject* parent);
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // Reads the names again if they changed since the last time.
    void Reload();

private:
    const window::FileListBox& files_;
    std::size_t version_;
};

// The current folder's ancestors and the folder itself show an open folder, its subfolders a
// closed one, each indented by its depth. A double-click or Enter opens an entry; a single
// click only moves the highlight.
class DirListView : public QListView, public window::ControlObserver {
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
    FolderEntriesModel* entries_;
};

// A single click selects; a double-click or Enter on the selection picks the file.
class FileListView : public QListView, public window::ControlObserver {
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
    FileNamesModel* names_;
    // Set while the view follows the model, whose own changes are not the user's picks.
    bool following_ = false;
};

}  // namespace ui::qt
