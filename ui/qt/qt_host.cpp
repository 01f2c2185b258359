#include "ui/qt/qt_host.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMessageBox>

#include "platform/platform.h"

namespace ui::qt {

void QtHost::ShowMessage(const window::Text& title, const window::Text& message) {
    // The window joins lines with carriage return and line feed; a label shows the return as
    // a stray glyph, so it gets plain line feeds.
    QString text = QString::fromStdU16String(message);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(QMessageBox::NoIcon,
                    title.empty() ? kApplicationName : QString::fromStdU16String(title), text,
                    QMessageBox::Ok, window_);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool QtHost::PaintDuringRun() {
    // Paint and take window-system events such as a close, but leave clicks and keys queued:
    // no handler may run inside a run.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    // A stop requested from outside stops the run at once; the window closes once the run
    // has returned (StopWatcher).
    return !closeRequested_ && !platform::StopRequests::Arrived();
}

}  // namespace ui::qt
