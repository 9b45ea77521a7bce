#pragma once

#include <QIcon>

namespace ralvo::textout {

// The editor tool bar's image list, indexed as its buttons use it:
// 0 save as, 1 print, 2 cut, 3 copy, 4 paste, 5 open.
enum class EditorImage { SaveAs = 0, Print = 1, Cut = 2, Copy = 3, Paste = 4, Open = 5 };
inline constexpr int kEditorImageCount = 6;

// The desktop icon theme's icon for `image`, or a built-in drawing when the
// theme has none (a bare machine has no theme).
QIcon EditorIcon(EditorImage image);
// The built-in drawing alone.
QIcon BuiltInEditorIcon(EditorImage image);
// The window icon: a sheet of text.
QIcon EditorWindowIcon();

} // namespace ralvo::textout
