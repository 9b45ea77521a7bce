// Any bytes as a picture: the first byte chooses the format (BMP, ICO, EMF,
// WMF), the rest is the file. What loads is drawn into a small image and
// into one of page size, so the metafile player and the SVG renderer run too
// and a drawing that costs too much is found as a timeout.
#include "pictures/Pictures.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <cstdlib>

namespace {

QGuiApplication *application = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    application = new QGuiApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using ralvo::pictures::Picture;
    if (size < 1)
        return 0;
    static const Picture::Format formats[] = {Picture::Format::Bitmap, Picture::Format::Icon, Picture::Format::Emf,
                                              Picture::Format::Wmf};
    const Picture::Format format = formats[data[0] % 4];
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const auto picture = Picture::FromData(bytes, format);
    if (!picture)
        return 0;
    QImage image(48, 32, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    picture->Draw(painter, QRectF(1, 1, 46, 30));
    painter.end();
    // At the size of a page as well (JIS B5 at 150 dpi), where a drawing's
    // cost shows: the picture's bounds must keep it within the time limit.
    QImage page(1075, 1518, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter pagePainter(&page);
    picture->Draw(pagePainter, QRectF(0, 0, page.width(), page.height()));
    return 0;
}
