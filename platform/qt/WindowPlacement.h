#pragma once

class QWidget;

namespace ralvo::platform {

// Fixed dialog border without a close box: a caption only.
void MakeFixedDialog(QWidget &window, int clientWidth, int clientHeight);

// The dialogs' font: 12-pixel "ＭＳ Ｐゴシック".
void UseDialogFont(QWidget &window);

// Moves a top-level window to the centre of the screen it is on.
void CentreOnScreen(QWidget &window);

} // namespace ralvo::platform
