#include "ui/qt/qt_host.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMessageBox>
#include <QStyleHints>
#include <QTimer>

#include "platform/platform.h"

namespace ui::qt {

void QtHost::ShowMessage(const window::Text& title, const window::Text& message) {
    // The window joins lines with carriage return and line feed; a label shows the return as
    // a stray glyph, so it gets plain line feeds.
    QString text = QString::fromStdU16String(message);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdU16String(title), text, QMessageBox::Ok,
                    window_);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void QtHost::PaintDuringRun() {
    // Paint and take window-system events such as a close, but leave clicks and keys queued.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    // A stop requested from outside closes the window at once, as the stop watcher would at
    // its next look: the run stops at this paint.
    if (platform::StopRequests::Arrived()) QApplication::closeAllWindows();
}

// Each control's widget carries the control's name.
void QtHost::SetFocus(const window::Control& control) {
    const QString name = QString::fromStdString(control.Name());
    auto* widget =
        window_ ? window_->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly) : nullptr;
    if (widget != nullptr) widget->setFocus();
}

std::chrono::milliseconds QtHost::DoubleClickTime() const {
    return std::chrono::milliseconds(QGuiApplication::styleHints()->mouseDoubleClickInterval());
}

// Closed after the event that carried the request has been dealt with.
void QtHost::CloseWindow() {
    if (window_ != nullptr) QTimer::singleShot(0, window_, [window = window_] { window->close(); });
}

}  // namespace ui::qt
