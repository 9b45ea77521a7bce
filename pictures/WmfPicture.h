#pragma once

// A Windows metafile (WMF) read into a list of drawing steps that can be
// played on any QPainter, scaled into a rectangle. The records are read with
// libuemf's bounds-checked readers, with our own checks wherever a record
// carries counts or lengths; anything inconsistent makes the whole file
// unreadable rather than half drawn.

#include <QByteArray>
#include <QRectF>
#include <QSizeF>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QPainter;

namespace ralvo::pictures {

class WmfPicture
{
public:
    // Empty when the bytes are not a complete, consistent metafile.
    static std::optional<WmfPicture> FromData(const QByteArray &data);

    // The picture's own size in its logical units (the placeable header's
    // bounds, or the window extent).
    QSizeF Size() const { return m_size; }

    // Plays the metafile with its picture frame mapped onto `target`.
    void Draw(QPainter &painter, const QRectF &target) const;

private:
    using Step = std::function<void(QPainter &)>;
    QSizeF m_size;
    std::shared_ptr<const std::vector<Step>> m_steps;

    friend class WmfReader;
};

} // namespace ralvo::pictures
