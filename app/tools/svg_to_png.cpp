// Renders an SVG picture into PNG files of the given square sizes, at build
// time, so that the program loads its icon as images instead of rendering
// the drawing (whose gradient Qt's raster engine spreads over worker
// threads) at start-up.
//   ralvo_svg_to_png PICTURE.svg OUTPUT-FOLDER STEM SIZE...
// writes OUTPUT-FOLDER/STEM-SIZE.png for each size (for the icon theme), and
// STEM-SIZE.argb: that PNG file's pixels as Qt reads them (ARGB32, rows top
// to bottom, no padding), which the program takes without decoding.

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc < 5) {
        std::fputs("usage: ralvo_svg_to_png PICTURE.svg OUTPUT-FOLDER STEM SIZE...\n", stderr);
        return 2;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "ralvo_svg_to_png: cannot read %s\n", argv[1]);
        return 1;
    }
    const QDir out(QString::fromLocal8Bit(argv[2]));
    QDir().mkpath(out.path());
    for (int i = 4; i < argc; ++i) {
        const int side = QByteArray(argv[i]).toInt();
        if (side <= 0 || side > 1024) {
            std::fprintf(stderr, "ralvo_svg_to_png: bad size %s\n", argv[i]);
            return 2;
        }
        QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter, QRectF(0, 0, side, side));
        painter.end();
        const QString path = out.filePath(QStringLiteral("%1-%2.png").arg(QString::fromLocal8Bit(argv[3])).arg(side));
        if (!image.save(path, "PNG")) {
            std::fprintf(stderr, "ralvo_svg_to_png: cannot write %s\n", qPrintable(path));
            return 1;
        }
        const QImage read = QImage(path).convertToFormat(QImage::Format_ARGB32);
        const QString rawPath =
            out.filePath(QStringLiteral("%1-%2.argb").arg(QString::fromLocal8Bit(argv[3])).arg(side));
        QFile raw(rawPath);
        bool written = read.size() == image.size() && raw.open(QIODevice::WriteOnly);
        for (int y = 0; written && y < read.height(); ++y) {
            const qint64 rowBytes = qint64(read.width()) * 4;
            written = raw.write(reinterpret_cast<const char *>(read.constScanLine(y)), rowBytes) == rowBytes;
        }
        if (!written || !raw.flush()) {
            std::fprintf(stderr, "ralvo_svg_to_png: cannot write %s\n", qPrintable(rawPath));
            return 1;
        }
    }
    return 0;
}
