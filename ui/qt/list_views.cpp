#include "ui/qt/list_views.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>

namespace ui::qt {
namespace {

QString ToQString(const window::Text& text) { return QString::fromStdU16String(text); }

bool IsEnter(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

constexpr int kIndentPerDepth = 8;

// Shifts each entry right by its depth, so the folder list reads as a path from the root.
class IndentDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem indented = option;
        indented.rect.setLeft(option.rect.left() +
                              index.data(FolderEntriesModel::kDepthRole).toInt() * kIndentPerDepth);
        QStyledItemDelegate::paint(painter, indented, index);
    }
};

// The row of a list's entry index (-1: none) as the view's current index.
void MakeCurrent(QListView& view, int row) {
    view.selectionModel()->setCurrentIndex(view.model()->index(row, 0),
                                           QItemSelectionModel::ClearAndSelect);
}

}  // namespace

DriveListView::DriveListView(window::DriveListBox& drives, Dispatcher& dispatcher, QWidget* parent)
    : QComboBox(parent), drives_(drives), dispatcher_(dispatcher) {
    connect(this, &QComboBox::activated, this, [this, &dispatcher](int index) {
        if (index < 0) return;
        dispatcher.Run([this, index] { drives_.Choose(static_cast<std::size_t>(index)); });
        // A drive that could not be opened leaves the list where it was.
        ControlChanged(drives_);
    });
    drives_.SetObserver(this);
    ControlChanged(drives_);
}

DriveListView::~DriveListView() { drives_.SetObserver(nullptr); }

void DriveListView::showPopup() {
    dispatcher_.Run([this] { drives_.Refresh(); });
    QComboBox::showPopup();
}

void DriveListView::ControlChanged(const window::Control&) {
    const QSignalBlocker quiet(this);
    if (shown_ != drives_.Entries()) {
        shown_ = drives_.Entries();
        clear();
        for (const window::Text& entry : shown_) addItem(ToQString(entry));
    }
    setCurrentIndex(drives_.ListIndex());
    setVisible(drives_.Visible());
}

FolderEntriesModel::FolderEntriesModel(const window::DirListBox& folders, QIcon open, QIcon closed,
                                       QObject* parent)
    : QAbstractListModel(parent),
      folders_(folders),
      open_(std::move(open)),
      closed_(std::move(closed)) {}

int FolderEntriesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(folders_.Entries().size());
}

QVariant FolderEntriesModel::data(const QModelIndex& index, int role) const {
    const auto& entries = folders_.Entries();
    if (!index.isValid() || index.row() >= static_cast<int>(entries.size())) return {};
    const window::DirListBox::Entry& entry = entries[static_cast<std::size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
            return ToQString(entry.name);
        case Qt::DecorationRole:
            return index.row() <= folders_.ListIndex() ? open_ : closed_;
        case kDepthRole:
            return entry.depth;
        default:
            return {};
    }
}

void FolderEntriesModel::Reload() {
    beginResetModel();
    endResetModel();
}

FileNamesModel::FileNamesModel(const window::FileListBox& files, QObject* parent)
    : QAbstractListModel(parent), files_(files), version_(files.NamesVersion()) {}

int FileNamesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(files_.Names().size());
}

QVariant FileNamesModel::data(const QModelIndex& index, int role) const {
    const auto& names = files_.Names();
    if (role != Qt::DisplayRole || !index.isValid() ||
        index.row() >= static_cast<int>(names.size())) {
        return {};
    }
    return ToQString(names[static_cast<std::size_t>(index.row())]);
}

void FileNamesModel::Reload() {
    if (version_ == files_.NamesVersion()) return;
    version_ = files_.NamesVersion();
    beginResetModel();
    endResetModel();
}

DirListView::DirListView(window::DirListBox& folders, Dispatcher& dispatcher, QWidget* parent)
    : QListView(parent),
      folders_(folders),
      dispatcher_(dispatcher),
      entries_(new FolderEntriesModel(folders, style()->standardIcon(QStyle::SP_DirOpenIcon),
                                      style()->standardIcon(QStyle::SP_DirClosedIcon), this)) {
    setModel(entries_);
    setUniformItemSizes(true);
    setItemDelegate(new IndentDelegate(this));
    connect(this, &QListView::doubleClicked, this,
            [this](const QModelIndex& index) { Open(index.row()); });
    folders_.SetObserver(this);
    ControlChanged(folders_);
}

DirListView::~DirListView() { folders_.SetObserver(nullptr); }

void DirListView::Open(int row) {
    if (row < 0) return;
    dispatcher_.Run([this, row] { folders_.OpenEntry(static_cast<std::size_t>(row)); });
}

void DirListView::keyPressEvent(QKeyEvent* event) {
    // Taken here, so that Enter does not also reach the window and press a button.
    if (IsEnter(event)) {
        Open(currentIndex().row());
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

void DirListView::ControlChanged(const window::Control&) {
    entries_->Reload();
    MakeCurrent(*this, folders_.ListIndex());
    if (currentIndex().isValid()) scrollTo(currentIndex());
    setVisible(folders_.Visible());
}

FileListView::FileListView(window::FileListBox& files, Dispatcher& dispatcher, QWidget* parent)
    : QListView(parent),
      files_(files),
      dispatcher_(dispatcher),
      names_(new FileNamesModel(files, this)) {
    setModel(names_);
    setUniformItemSizes(true);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (following_) return;
                const int row = current.row();
                dispatcher_.Run([this, row] { files_.Select(row); });
            });
    connect(this, &QListView::doubleClicked, this,
            [this](const QModelIndex& index) { Pick(index.row()); });
    files_.SetObserver(this);
    ControlChanged(files_);
}

FileListView::~FileListView() { files_.SetObserver(nullptr); }

void FileListView::Pick(int row) {
    if (row < 0) return;
    dispatcher_.Run([this, row] {
        files_.Select(row);
        files_.DblClick();
    });
}

void FileListView::keyPressEvent(QKeyEvent* event) {
    if (IsEnter(event)) {
        Pick(currentIndex().row());
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

void FileListView::ControlChanged(const window::Control&) {
    following_ = true;
    names_->Reload();
    MakeCurrent(*this, files_.ListIndex());
    following_ = false;
    setVisible(files_.Visible());
}

}  // namespace ui::qt
