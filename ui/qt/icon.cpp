#include "ui/qt/icon.h"

#include <QPixmap>

namespace ui::qt {
namespace {

// The pictures are kept as XPM text, so they can be edited with any text editor or painter.
#include "ui/qt/icon16.xpm"
#include "ui/qt/icon32.xpm"

}  // namespace

QIcon AppIcon() {
    QIcon icon;
    icon.addPixmap(QPixmap(kIcon16));
    icon.addPixmap(QPixmap(kIcon32));
    return icon;
}

}  // namespace ui::qt
