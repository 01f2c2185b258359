#include "ui/qt/icon.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <QResource>

namespace ui::qt {

// The renderings are the installed desktop icon's, built into the program as their raw
// pixels (premultiplied ARGB32, square, named after their size), so the window and the menu
// show the same picture.
QIcon AppIcon() {
    QIcon icon;
    QDirIterator rendering(QStringLiteral(":/icon"), {QStringLiteral("*.argb")}, QDir::Files);
    while (rendering.hasNext()) {
        const QString path = rendering.next();
        const int size = QFileInfo(path).baseName().toInt();
        const QByteArray pixels = QResource(path).uncompressedData();
        if (size <= 0 || pixels.size() != qsizetype{size} * size * 4) continue;
        const QImage image(reinterpret_cast<const uchar*>(pixels.constData()), size, size, size * 4,
                           QImage::Format_ARGB32_Premultiplied);
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

}  // namespace ui::qt
