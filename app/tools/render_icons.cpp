// Renders the scalable application icon as PNG files of the sizes a desktop
// icon theme looks for, when the program is built:
//   render_icons ICON.svg OUTDIR SIZE...   writes OUTDIR/SIZExSIZE/ralvo.png

#include "platform/FileWriter.h"

#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc < 4) {
        std::fputs("usage: render_icons ICON.svg OUTDIR SIZE...\n", stderr);
        return 64;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static char programName[] = "render_icons";
    static char *qtArgv[] = {programName, nullptr};
    static int qtArgc = 1;
    QGuiApplication app(qtArgc, qtArgv);

    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "render_icons: cannot read %s\n", argv[1]);
        return 1;
    }
    const QDir outDir(QString::fromLocal8Bit(argv[2]));
    for (int i = 3; i < argc; ++i) {
        bool ok = false;
        const int size = QByteArray(argv[i]).toInt(&ok);
        if (!ok || size <= 0 || size > 1024) {
            std::fprintf(stderr, "render_icons: not a size: %s\n", argv[i]);
            return 64;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            renderer.render(&painter, QRectF(0, 0, size, size));
        }
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        const QString folder = QStringLiteral("%1x%1").arg(size);
        if (!image.save(&buffer, "PNG") || !outDir.mkpath(folder)
            || !ralvo::platform::WriteFileAtomically(outDir.filePath(folder + QStringLiteral("/ralvo.png")), png)) {
            std::fprintf(stderr, "render_icons: cannot write the %d px icon\n", size);
            return 1;
        }
    }
    return 0;
}
