#include "ui/qt/main_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <cmath>
#include <vector>

#include "ui/qt/file_drop.h"
#include "ui/qt/fonts.h"
#include "ui/qt/icon.h"
#include "ui/qt/list_views.h"
#include "ui/qt/simple_views.h"

namespace ui::qt {
namespace {

constexpr double kTwipsPerPixel = 15;

int Pixels(int twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }

class StarPasswordStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter) return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

bool IsEnter(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

}  // namespace

MainWindow::MainWindow(window::Form1& form, QtHost& host)
    : form_(form),
      host_(host),
      dispatcher_(host, *this),
      passwordStyle_(std::make_unique<StarPasswordStyle>()) {
    const window::FormDesign& design = window::Design();
    setWindowTitle(QString::fromStdU16String(design.caption));
    setWindowIcon(AppIcon());
    setFont(ResolveFont(design.defaultFont));
    setFixedSize(Pixels(design.clientWidth), Pixels(design.clientHeight));

    for (const window::DesignEntry& entry : design.controls) {
        QWidget* widget = MakeWidget(entry);
        widget->setObjectName(QString::fromStdString(entry.name));
        widget->setGeometry(Pixels(entry.left), Pixels(entry.top), Pixels(entry.width),
                            Pixels(entry.height));
        if (entry.font) widget->setFont(ResolveFont(*entry.font));
        if (!entry.tip.empty()) widget->setToolTip(QString::fromStdU16String(entry.tip));
        if (entry.masked) widget->setStyle(passwordStyle_.get());
        widgets_[entry.name] = widget;
    }
    SetTabOrder();
    NameForScreenReaders();
    AcceptFileDrops(*this, form_);
    host_.SetWindow(this);
    dispatcher_.OnFocusHidden([this] { FocusFirstInput(); });
    WidgetFor("Dir1")->setFocus();
}

MainWindow::~MainWindow() {
    host_.SetWindow(nullptr);
    // The password boxes draw with passwordStyle_, which goes before the base class would
    // delete them.
    for (QWidget* widget : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) delete widget;
}

QWidget* MainWindow::WidgetFor(const std::string& name) const {
    const auto found = widgets_.find(name);
    return found == widgets_.end() ? nullptr : found->second;
}

QWidget* MainWindow::MakeWidget(const window::DesignEntry& entry) {
    window::Control& control = *form_.Find(entry.name);
    using Kind = window::ControlKind;
    switch (entry.kind) {
        case Kind::Label:
            return new LabelView(static_cast<window::Label&>(control), entry, this);
        case Kind::TextBox:
            return new TextBoxView(static_cast<window::TextBox&>(control), entry, dispatcher_,
                                   this);
        case Kind::CommandButton:
            return new ButtonView(static_cast<window::CommandButton&>(control), entry, dispatcher_,
                                  this);
        case Kind::DriveListBox:
            return new DriveListView(static_cast<window::DriveListBox&>(control), dispatcher_,
                                     this);
        case Kind::DirListBox:
            return new DirListView(static_cast<window::DirListBox&>(control), dispatcher_, this);
        case Kind::FileListBox:
            return new FileListView(static_cast<window::FileListBox&>(control), dispatcher_, this);
        case Kind::PictureBox:
            return new PictureView(static_cast<window::PictureBox&>(control), this);
    }
    return nullptr;
}

// Labels hold a place in the design's order but never take the focus; neither does the
// progress bar, which only shows.
void MainWindow::SetTabOrder() {
    std::vector<const window::DesignEntry*> order;
    for (const window::DesignEntry& entry : window::Design().controls) {
        const bool takesFocus = entry.kind != window::ControlKind::Label &&
                                entry.kind != window::ControlKind::PictureBox;
        if (takesFocus) order.push_back(&entry);
    }
    std::sort(order.begin(), order.end(),
              [](const auto* a, const auto* b) { return a->tabIndex < b->tabIndex; });
    for (const window::DesignEntry* entry : order) tabOrder_.push_back(WidgetFor(entry->name));
    for (std::size_t n = 1; n < tabOrder_.size(); ++n) setTabOrder(tabOrder_[n - 1], tabOrder_[n]);
}

// A box is named by the label level with it on its left, otherwise by its tip. Buttons and
// labels announce their captions by themselves.
void MainWindow::NameForScreenReaders() {
    const auto& controls = window::Design().controls;
    for (const window::DesignEntry& entry : controls) {
        const auto kind = entry.kind;
        if (kind == window::ControlKind::Label || kind == window::ControlKind::CommandButton) {
            continue;
        }
        QString name = QString::fromStdU16String(entry.tip);
        for (const window::DesignEntry& label : controls) {
            const bool namesIt = label.kind == window::ControlKind::Label &&
                                 label.top == entry.top && label.left + label.width <= entry.left;
            if (!namesIt) continue;
            name = QString::fromStdU16String(label.content);
            static_cast<QLabel*>(WidgetFor(label.name))->setBuddy(WidgetFor(entry.name));
        }
        // The two controls without label or tip.
        if (name.isEmpty() && entry.name == "Progress") name = QStringLiteral("Bytes processed");
        if (name.isEmpty() && entry.name == "ProgBar") name = QStringLiteral("Progress");
        WidgetFor(entry.name)->setAccessibleName(name);
    }
}

// When a stage hides the control the user was on, the next stage's box to type in takes the
// focus (the destination name, then the password) rather than whatever follows in the order.
void MainWindow::FocusFirstInput() {
    for (QWidget* widget : tabOrder_) {
        auto* box = dynamic_cast<QLineEdit*>(widget);
        if (box != nullptr && !box->isHidden() && !box->isReadOnly()) {
            box->setFocus();
            return;
        }
    }
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (!IsEnter(event)) {
        QWidget::keyPressEvent(event);
        return;
    }
    // Enter in the first password box goes on to the retype box while it is shown.
    if (focusWidget() == WidgetFor("Pwd") && form_.Pwd2.Visible()) {
        WidgetFor("Pwd2")->setFocus();
        return;
    }
    if (form_.go.Visible()) {
        dispatcher_.Run([this] { form_.go.Click(); });
    } else if (form_.Start.Visible()) {
        dispatcher_.Run([this] { form_.Start.Click(); });
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // A close that arrives while a run paints the window would pull the controls away from
    // under it: the run is told to stop, and the window closes once the run has returned.
    if (dispatcher_.Busy()) {
        host_.RequestClose();
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace ui::qt
