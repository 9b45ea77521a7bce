#include "platform/qt/PicturePreview.h"

#include "pictures/Pictures.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace ralvo::platform {

using pictures::Picture;

namespace {

constexpr int PreviewSide = 160;

QPixmap PreviewOf(const Picture &picture)
{
    QPixmap pixmap(PreviewSide, PreviewSide);
    pixmap.fill(Qt::white);
    const QSizeF size = picture.Size();
    if (size.width() <= 0 || size.height() <= 0)
        return pixmap;
    const QSizeF fitted = size.scaled(QSizeF(PreviewSide - 4, PreviewSide - 4), Qt::KeepAspectRatio);
    QRectF target(QPointF(), fitted);
    target.moveCenter(QPointF(PreviewSide / 2.0, PreviewSide / 2.0));
    QPainter painter(&pixmap);
    picture.Draw(painter, target);
    return pixmap;
}

} // namespace

void AddPicturePreview(QFileDialog &dialog)
{
    auto *grid = qobject_cast<QGridLayout *>(dialog.layout());
    if (!grid)
        return; // a native dialog: it has its own preview, or none
    auto *box = new QWidget(&dialog);
    box->setObjectName(QStringLiteral("PicturePreview"));
    auto *column = new QVBoxLayout(box);
    auto *image = new QLabel(box);
    image->setFixedSize(PreviewSide, PreviewSide);
    image->setFrameShape(QFrame::StyledPanel);
    image->setAlignment(Qt::AlignCenter);
    auto *caption = new QLabel(box);
    caption->setAlignment(Qt::AlignCenter);
    column->addWidget(image);
    column->addWidget(caption);
    column->addStretch();
    grid->addWidget(box, 0, grid->columnCount(), grid->rowCount(), 1);

    QObject::connect(&dialog, &QFileDialog::currentChanged, box, [image, caption](const QString &path) {
        const std::optional<Picture> picture = Picture::FormatOfPath(path) ? Picture::Load(path) : std::nullopt;
        if (!picture) {
            image->clear();
            caption->clear();
            return;
        }
        image->setPixmap(PreviewOf(*picture));
        caption->setText(
            QStringLiteral("%1 × %2").arg(qRound(picture->Size().width())).arg(qRound(picture->Size().height())));
    });
}

} // namespace ralvo::platform
