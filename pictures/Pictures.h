#pragma once

// Pictures of the institution block, read from their files at every drawing:
// ".bmp" and ".ico" through Qt's image readers, ".emf" through libemf2svg and
// Qt's SVG renderer, ".wmf" through our own metafile player, and ".png",
// ".jpg"/".jpeg" as well. The format follows the extension, letter case
// ignored. SVG files are not pictures of the block (they could pull other
// files in). Any bytes at all give either a picture or nothing: never a
// crash, a hang, unbounded memory or pixels the file does not hold; a file
// cut short is nothing.

#include "pictures/WmfPicture.h"

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <memory>
#include <optional>
#include <variant>

class QPainter;
class QSvgRenderer;

namespace ralvo::pictures {

class Picture
{
public:
    enum class Format { Bitmap, Icon, Emf, Wmf, Png, Jpeg };

    // Largest picture file read; bigger files count as unreadable.
    static constexpr qint64 MaxFileBytes = 64 * 1024 * 1024;

    // The format named by the file's extension; empty for any other.
    static std::optional<Format> FormatOfPath(const QString &path);

    // Reads the file; empty when it is missing, unreadable, of another
    // format or damaged.
    static std::optional<Picture> Load(const QString &path);
    static std::optional<Picture> FromData(const QByteArray &data, Format format);

    // The picture's own width and height (pixels for images, the bounds of
    // a metafile in its own units). Either may be 0 for an empty metafile.
    QSizeF Size() const { return m_size; }

    // Draws the whole picture scaled into `target`.
    void Draw(QPainter &painter, const QRectF &target) const;

private:
    using Content = std::variant<QImage, std::shared_ptr<QSvgRenderer>, WmfPicture>;
    Picture(Content content, QSizeF size) : m_content(std::move(content)), m_size(size) {}

    Content m_content;
    QSizeF m_size;
};

// EMF bytes to SVG text through libemf2svg; empty when the bytes are not an
// enhanced metafile or the conversion fails.
std::optional<QByteArray> EmfToSvg(const QByteArray &emf);

} // namespace ralvo::pictures
