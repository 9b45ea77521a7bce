#pragma once

class QFileDialog;

namespace ralvo::platform {

// Adds a preview of the selected picture to the right of a (non-native)
// file dialog: the file is read with the block's picture loader and shown
// scaled into a fixed box, with its size below; nothing for other files.
void AddPicturePreview(QFileDialog &dialog);

} // namespace ralvo::platform
