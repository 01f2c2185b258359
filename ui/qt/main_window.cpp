#include "ui/qt/main_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <cmath>

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

}  // namespace

MainWindow::MainWindow(window::Form1& form, QtHost& host)
    : form_(form),
      host_(host),
      dispatcher_(form, *this),
      passwordStyle_(std::make_unique<StarPasswordStyle>()) {
    const window::FormDesign& design = window::Design();
    setWindowTitle(QString::fromStdU16String(design.caption));
    setWindowIcon(AppIcon());
    setFont(ResolveFont(design.defaultFont));
    setFixedSize(Pixels(design.clientWidth), Pixels(design.clientHeight));

    std::map<std::string, QLabel*> labels;
    for (const window::DesignEntry& entry : design.controls) {
        QWidget* widget = MakeWidget(entry, labels);
        widget->setObjectName(QString::fromStdString(entry.name));
        widget->setGeometry(Pixels(entry.left), Pixels(entry.top), Pixels(entry.width),
                            Pixels(entry.height));
        if (entry.font) widget->setFont(ResolveFont(*entry.font));
        if (!entry.tip.empty()) widget->setToolTip(QString::fromStdU16String(entry.tip));
        if (entry.masked) widget->setStyle(passwordStyle_.get());
        // Empty for labels and buttons, which speak their own captions.
        widget->setAccessibleName(QString::fromStdU16String(entry.accessibleName));
        widgets_[entry.name] = widget;
    }
    for (const window::DesignEntry& entry : design.controls) {
        if (!entry.buddy.empty()) labels.at(entry.name)->setBuddy(WidgetFor(entry.buddy));
    }
    const auto& order = window::TabOrder();
    for (std::size_t n = 1; n < order.size(); ++n) {
        setTabOrder(WidgetFor(order[n - 1]->name), WidgetFor(order[n]->name));
    }
    AcceptFileDrops(*this, form_);
    host_.SetWindow(this);
    WidgetFor(order.front()->name)->setFocus();
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

QWidget* MainWindow::MakeWidget(const window::DesignEntry& entry,
                                std::map<std::string, QLabel*>& labels) {
    using namespace window;
    return VisitControl(
        form_, entry,
        Overloaded{
            [&](Label& label) -> QWidget* {
                return labels[entry.name] = new LabelView(label, entry, this);
            },
            [&](TextBox& box) -> QWidget* {
                return new TextBoxView(box, entry, dispatcher_, this);
            },
            [&](CommandButton& button) -> QWidget* {
                return new ButtonView(button, entry, dispatcher_, this);
            },
            [&](DriveListBox& drives) -> QWidget* {
                return new DriveListView(drives, dispatcher_, this);
            },
            [&](DirListBox& folders) -> QWidget* {
                return new DirListView(folders, dispatcher_, this);
            },
            [&](FileListBox& files) -> QWidget* {
                return new FileListView(files, dispatcher_, this);
            },
            [&](PictureBox& picture) -> QWidget* { return new PictureView(picture, this); },
        });
}

// Enter reaches here from every widget that does not take it for itself (the lists do).
void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        form_.PressEnter(dispatcher_.Focused());
        return;
    }
    QWidget::keyPressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) { event->setAccepted(form_.RequestClose()); }

}  // namespace ui::qt
