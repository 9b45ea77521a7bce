#pragma once

#include <QIcon>
#include <QPixmap>

namespace ralvo {

// The pictures of our own, drawn from the SVG files in app/resources at
// build time.

// 67 × 58: the calculate picture, released and pressed.
QPixmap CalculatePicture();
QPixmap CalculatePressedPicture();
// 184 × 160: the About box picture.
QPixmap AboutPicture();
// The window and desktop icon.
QIcon ApplicationIcon();

} // namespace ralvo
