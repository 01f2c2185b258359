#include "ui/qt/dispatcher.h"

#include <QPointer>
#include <QTimer>
#include <exception>

namespace ui::qt {

void Dispatcher::Run(const std::function<void()>& action) {
    // The window's own focus, which it keeps before it is first shown too: a file named on the
    // command line moves on to the Name stage before then.
    const QPointer<QWidget> hadFocus = window_.focusWidget();
    ++depth_;
    try {
        action();
    } catch (const std::exception& error) {
        // An exception must not cross Qt's event loop, which would end the program and lose
        // what the user sees; say what went wrong instead.
        host_.ShowMessage({}, QString::fromLocal8Bit(error.what()).toStdU16String());
    }
    --depth_;
    if (depth_ > 0) return;
    if (hadFocus != nullptr && hadFocus->isHidden() && focusHidden_) focusHidden_();
    if (host_.CloseRequested()) {
        // Closed after the event that carried the request has been dealt with.
        QTimer::singleShot(0, &window_, [this] { window_.close(); });
    }
}

}  // namespace ui::qt
