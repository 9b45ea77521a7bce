#pragma once

// An image whose memory is taken from the system only where it is written
// to, and can be given back row by row: a large sheet drawn and written out
// band by band needs the memory of about one band, while every band is
// drawn on the same surface in the same coordinates.

#include <QImage>
#include <QSize>

namespace ralvo::platform {

// An image of `size` in `format` (32 bits per pixel at most) whose pixels
// are undefined, not yet backed by memory; null when the address space
// cannot be reserved.
QImage LazyImage(QSize size, QImage::Format format);

// Gives the memory of the rows from `top` back to the system (their content
// is lost); the image stays usable, and rows written again take memory
// again. Only whole memory pages lying within those rows are given back.
void DiscardRows(QImage &image, int top, int rows);

// The fewest rows, `rows` at least, that fill a whole number of memory pages.
int WholePageRows(const QImage &image, int rows);

// Moves the memory behind the `rows` rows from `from` so that it backs the
// rows from `to` instead, without copying: the next band of a sheet drawn
// band by band is drawn in memory already taken. The moved rows keep
// whatever they held; the rows left behind are given back, and rows that
// no whole memory page covers in both places take memory anew. When `to`
// lies outside the image or the two places are not a whole number of
// memory pages apart, this is DiscardRows(image, from, rows).
void MoveRows(QImage &image, int from, int to, int rows);

} // namespace ralvo::platform
