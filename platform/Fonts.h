#pragma once

#include <QString>

namespace ralvo::platform {

// Maps the Windows face names the settings and windows use ("ＭＳ ゴシック",
// "ＭＳ Ｐゴシック", "ＭＳ 明朝", "ＭＳ Ｐ明朝") to their metric twins among
// the IPA fonts, for every font Qt resolves from then on (screen, printer,
// SVG). The stored face names stay as the user chose them. Idempotent; call
// once after the QGuiApplication exists.
void InstallFontSubstitutions();

// The IPA face a Windows face name is mapped to; empty when it is not one of
// the mapped names.
QString SubstituteFace(const QString &windowsFace);

} // namespace ralvo::platform
