#include "ui/qt/icon.h"

#include <QDirIterator>

namespace ui::qt {

// The renderings are the installed desktop icon's, built into the program as resources, so
// the window and the menu show the same picture.
QIcon AppIcon() {
    QIcon icon;
    QDirIterator rendering(QStringLiteral(":/icon"), {QStringLiteral("*.png")}, QDir::Files,
                           QDirIterator::Subdirectories);
    while (rendering.hasNext()) icon.addFile(rendering.next());
    return icon;
}

}  // namespace ui::qt
