#include "ui/qt/list_views.h"

#include <QKeyEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

namespace ui::qt {
namespace {

QString ToQString(const window::Text& text) { return QString::fromStdU16String(text); }

bool IsEnter(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

constexpr int kDepthRole = Qt::UserRole;
constexpr int kIndentPerDepth = 8;

// Shifts each entry right by its depth, so the folder list reads as a path from the root.
class IndentDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem indented = option;
        indented.rect.setLeft(option.rect.left() +
                              index.data(kDepthRole).toInt() * kIndentPerDepth);
        QStyledItemDelegate::paint(painter, indented, index);
    }
};

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

DirListView::DirListView(window::DirListBox& folders, Dispatcher& dispatcher, QWidget* parent)
    : QListWidget(parent), folders_(folders), dispatcher_(dispatcher) {
    setItemDelegate(new IndentDelegate(this));
    connect(this, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { Open(row(item)); });
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
        Open(currentRow());
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void DirListView::ControlChanged(const window::Control&) {
    const QSignalBlocker quiet(this);
    clear();
    const int current = folders_.ListIndex();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    int row = 0;
    for (const window::DirListBox::Entry& entry : folders_.Entries()) {
        auto* item = new QListWidgetItem(row <= current ? open : closed, ToQString(entry.name));
        item->setData(kDepthRole, entry.depth);
        addItem(item);
        ++row;
    }
    setCurrentRow(current);
    if (currentItem() != nullptr) scrollToItem(currentItem());
    setVisible(folders_.Visible());
}

FileListView::FileListView(window::FileListBox& files, Dispatcher& dispatcher, QWidget* parent)
    : QListWidget(parent), files_(files), dispatcher_(dispatcher) {
    connect(this, &QListWidget::currentRowChanged, this,
            [this](int row) { dispatcher_.Run([this, row] { files_.Select(row); }); });
    connect(this, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { Pick(row(item)); });
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
        Pick(currentRow());
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void FileListView::ControlChanged(const window::Control&) {
    const QSignalBlocker quiet(this);
    if (shown_ != files_.Names()) {
        shown_ = files_.Names();
        clear();
        for (const window::Text& name : shown_) addItem(ToQString(name));
    }
    setCurrentRow(files_.ListIndex());
    setVisible(files_.Visible());
}

}  // namespace ui::qt
