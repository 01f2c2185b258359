// icon_pixels PNG OUT: the PNG's pixels as the window's icon takes them, premultiplied ARGB32
// in this machine's byte order, row after row, with nothing else in the file. Run at build
// time, so that the window shows its icon without decoding an image at every start.
#include <QFile>
#include <QImage>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s PNG OUT\n", argv[0]);
        return 2;
    }
    const QImage image = QImage(QString::fromLocal8Bit(argv[1]))
                             .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (image.isNull() || image.width() != image.height()) {
        std::fprintf(stderr, "%s: not a square image\n", argv[1]);
        return 1;
    }
    QFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "%s: cannot be written\n", argv[2]);
        return 1;
    }
    for (int row = 0; row < image.height(); ++row) {
        const auto bytes = static_cast<qint64>(image.width()) * 4;
        if (out.write(reinterpret_cast<const char*>(image.constScanLine(row)), bytes) != bytes) {
            std::fprintf(stderr, "%s: cannot be written\n", argv[2]);
            return 1;
        }
    }
    return 0;
}
