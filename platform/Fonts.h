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

// The face a window's own font asks for in place of `face`: the installed
// IPA twin of a mapped Windows face name, otherwise `face` itself. It draws
// the same glyphs as the substitution would, but Qt finds the twin at once;
// asked for the Windows name, it first searches fontconfig for fallbacks to
// a family it does not know, for every script a window's text has, which
// is much of the start-up's font work. Fonts named by the user's settings
// keep their names and go through the substitution.
QString WindowFace(const QString &face);

} // namespace ralvo::platform
