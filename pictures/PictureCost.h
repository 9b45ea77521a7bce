#pragma once

// What drawing a metafile may cost. A metafile is drawn again at every
// paint, at up to page size; its cost is the area its fills, pens, texts and
// bitmaps paint over, counted in whole pictures (drawn at the size of a
// page, each picture's worth is about a page of pixels). Past the bound the
// metafile is unreadable.

#include <QByteArray>

#include <optional>

namespace ralvo::pictures {

inline constexpr double MaxPaintedPictures = 32;

// Limits of one enhanced metafile, far beyond any logo.
inline constexpr qint64 MaxEmfRecords = 200000;
inline constexpr qint64 MaxEmfPoints = 4 * 1024 * 1024;          // all points of all records
inline constexpr qint64 MaxEmfBitmapPixels = 64LL * 1024 * 1024; // all bitmaps of all records

// How many pictures' worth an enhanced metafile's records paint, its picture
// being the header's bounds, mapped as the converter maps them (mapping mode,
// window and viewport extents, world transform; saved and restored states).
// Every shape counts at most one whole picture, wherever it lies: the
// drawing is clipped to the picture. Empty when the records do not chain up
// to an end-of-file record, a record is too short for what it declares, or a
// limit above is passed.
std::optional<double> EmfPaintedPictures(const QByteArray &emf);

} // namespace ralvo::pictures
