#include "ui/qt/dispatcher.h"

#include <QApplication>
#include <QWidget>

namespace ui::qt {

// Each control's widget carries the control's name.
const window::Control* Dispatcher::Focused() const {
    const QWidget* widget = QApplication::focusWidget();
    return widget == nullptr ? nullptr : form_.Find(widget->objectName().toStdString());
}

}  // namespace ui::qt
