#pragma once

// The header at the start of a packed device-independent bitmap (header,
// colour table, pixels), as bitmap files, icons and both kinds of metafile
// carry it: the 12-byte core header or the info header of 40 bytes and more.

#include "pictures/LittleEndian.h"

#include <QImage>

#include <optional>

namespace ralvo::pictures {

struct DibHeader
{
    enum class Kind {
        Core,  // 12 bytes: 16-bit width and height, no compression
        Info,  // 40 bytes or more, all of them within the data
        Other, // any other size: only the width and height are known
    };

    // Empty when the data is too short for a header of its declared kind
    // (12 bytes for the core header, 16 for the width and height of another).
    static std::optional<DibHeader> Read(const LittleEndian &dib);

    Kind kind = Kind::Core;
    quint32 headerBytes = 0;
    qint64 width = 0;  // as stored: may be negative in an info header
    qint64 height = 0; // rows, whether they run up or down
    quint16 bitCount = 0;
    quint32 compression = 0; // BI_RGB, BI_RLE8, ... (0 for a core header)
    quint32 coloursUsed = 0;

    // Entries of the colour table: as declared, or all a palette bitmap's
    // pixels can name.
    qint64 Colours() const;
    // Where the pixels start: after the header, the colour table and, for a
    // 40-byte header with bit fields, the three masks.
    qint64 PixelsOffset() const;
    // One row of pixels, padded to 32 bits.
    qint64 RowBytes() const { return (width * bitCount + 31) / 32 * 4; }
};

// Whether every pixel of a decoded image names a colour its table holds
// (true for images without a table). Qt's bitmap reader keeps the table as
// short as the file declares it, and drawing a pixel past its end reads
// memory the file never held.
bool ColoursWithinTable(const QImage &image);

} // namespace ralvo::pictures
