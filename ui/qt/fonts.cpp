#include "ui/qt/fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace ui::qt {
namespace {

// Faces drawn to Arial's widths come first: the captions were fitted to a narrow face, and
// a wider one wraps "Retype Password" into a second line that its label cuts off.
const QStringList kPlainSansFaces{
    QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),     QStringLiteral("Arial"),
    QStringLiteral("Nimbus Sans"),     QStringLiteral("Helvetica"), QStringLiteral("DejaVu Sans"),
};

QString InstalledFace(const QString& designed) {
    if (QFontDatabase::hasFamily(designed)) return designed;
    for (const QString& face : kPlainSansFaces) {
        if (QFontDatabase::hasFamily(face)) return face;
    }
    return {};
}

}  // namespace

QFont ResolveFont(const window::Font& font) {
    QFont resolved;
    const QString face = InstalledFace(QString::fromStdString(font.face));
    if (face.isEmpty()) {
        resolved.setStyleHint(QFont::SansSerif);
    } else {
        resolved.setFamily(face);
    }
    resolved.setPointSizeF(font.points);
    resolved.setBold(font.bold);
    return resolved;
}

}  // namespace ui::qt
