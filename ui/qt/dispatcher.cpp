#include "ui/qt/dispatcher.h"

#include <QWidget>

namespace ui::qt {

// Each control's widget carries the control's name. The window's own focus counts, which it
// keeps before it is first shown too: a file named on the command line moves on to the Name
// stage before then.
const window::Control* Dispatcher::Focused() const {
    const QWidget* widget = window_.focusWidget();
    return widget == nullptr ? nullptr : form_.Find(widget->objectName().toStdString());
}

}  // namespace ui::qt
