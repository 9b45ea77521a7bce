// Renders an SVG picture at build time, so that the program takes its
// pictures as images instead of rendering the drawings at start-up (the
// icon's gradient Qt's raster engine spreads over worker threads; the
// calculate picture's text costs a font engine of its own).
//   ralvo_svg_to_png PICTURE.svg OUTPUT-FOLDER STEM SIZE...
// writes OUTPUT-FOLDER/STEM-SIZE.png for each square size (for the icon
// theme), and STEM-SIZE.argb: that PNG file's pixels as Qt reads them
// (ARGB32, rows top to bottom, no padding), which the program takes without
// decoding.
//   ralvo_svg_to_png --pixels PICTURE.svg OUTPUT WIDTH HEIGHT
// writes the picture drawn on a transparent WIDTH x HEIGHT image, the pixels
// exactly as drawn (premultiplied ARGB32, rows top to bottom, no padding).

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

namespace {

QImage Drawn(QSvgRenderer &renderer, int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(0, 0, width, height));
    painter.end();
    return image;
}

bool WritePixels(const QImage &image, const QString &path)
{
    QFile raw(path);
    bool written = raw.open(QIODevice::WriteOnly);
    for (int y = 0; written && y < image.height(); ++y) {
        const qint64 rowBytes = qint64(image.width()) * 4;
        written = raw.write(reinterpret_cast<const char *>(image.constScanLine(y)), rowBytes) == rowBytes;
    }
    return written && raw.flush();
}

// --pixels PICTURE.svg OUTPUT WIDTH HEIGHT
int WriteDrawnPixels(int argc, char **argv)
{
    if (argc != 6) {
        std::fputs("usage: ralvo_svg_to_png --pixels PICTURE.svg OUTPUT WIDTH HEIGHT\n", stderr);
        return 2;
    }
    // Text needs the font database: an application on no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication application(qtArgc, argv);
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[2]));
    const int width = QByteArray(argv[4]).toInt();
    const int height = QByteArray(argv[5]).toInt();
    if (!renderer.isValid() || width <= 0 || height <= 0 || width > 1024 || height > 1024) {
        std::fprintf(stderr, "ralvo_svg_to_png: cannot draw %s at %s x %s\n", argv[2], argv[4], argv[5]);
        return 1;
    }
    if (!WritePixels(Drawn(renderer, width, height), QString::fromLocal8Bit(argv[3]))) {
        std::fprintf(stderr, "ralvo_svg_to_png: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && QByteArray(argv[1]) == "--pixels")
        return WriteDrawnPixels(argc, argv);
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
        const QImage image = Drawn(renderer, side, side);
        const QString path = out.filePath(QStringLiteral("%1-%2.png").arg(QString::fromLocal8Bit(argv[3])).arg(side));
        if (!image.save(path, "PNG")) {
            std::fprintf(stderr, "ralvo_svg_to_png: cannot write %s\n", qPrintable(path));
            return 1;
        }
        const QImage read = QImage(path).convertToFormat(QImage::Format_ARGB32);
        const QString rawPath =
            out.filePath(QStringLiteral("%1-%2.argb").arg(QString::fromLocal8Bit(argv[3])).arg(side));
        if (read.size() != image.size() || !WritePixels(read, rawPath)) {
            std::fprintf(stderr, "ralvo_svg_to_png: cannot write %s\n", qPrintable(rawPath));
            return 1;
        }
    }
    return 0;
}
