#pragma once

// Small pieces shared by the fixed-size dialogs.

#include "platform/Colour.h"

class QFont;
class QLabel;
class QString;
class QWidget;

namespace ralvo::platform {

// Fixed dialog border without a close box: a caption only.
void MakeFixedDialog(QWidget &window, int clientWidth, int clientHeight);

// The windows' font: 12-pixel "ＭＳ Ｐゴシック".
QFont DialogFont();

// Gives the window DialogFont().
void UseDialogFont(QWidget &window);

// Moves a top-level window to the centre of the screen it is on.
void CentreOnScreen(QWidget &window);

// A label in its own text colour (set through the palette: cheap, unlike a
// style sheet, and followed by every style).
QLabel *ColouredLabel(const QString &text, Colour colour, QWidget *parent);

} // namespace ralvo::platform
