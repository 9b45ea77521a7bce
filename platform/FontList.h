#pragma once

// The typeface list of the font boxes: faces in which a half-width character
// is exactly half as wide as a full-width one, as the text layout assumes.

#include <QStringList>

#include <functional>
#include <vector>

namespace ralvo::platform {

// True when every half-width advance is exactly half of every full-width
// advance (within 1/64 px). Empty lists are never "fixed".
bool AreDualWidthAdvances(const QList<qreal> &halfWidth, const QList<qreal> &fullWidth);

// Keeps, in the given order, the names that `isFixed` accepts, then removes
// every name beginning with "@" (vertical-writing variants).
QStringList FilterFixedPitchFaces(const QStringList &families, const std::function<bool(const QString &)> &isFixed);

// Whether an installed face is fixed pitch, judged by loading it: Qt says so
// (monospaced Latin faces), or the face carries Japanese glyphs and is
// dual-width by its own glyph advances (IPAGothic, IPAMincho; Qt never calls
// those fixed pitch). Slow (it loads each Japanese face): the lists use
// what the font configuration says of the faces instead.
bool IsFixedPitchFace(const QString &family);

// One installed face as the font configuration describes it, without
// loading it.
struct InstalledFace
{
    enum class Spacing { Proportional, DualWidth, Mono, CharCell };

    // The family names under which the face is offered, the first one
    // first (a face of a sub-family, such as a condensed width, is offered
    // under both).
    QStringList families;
    Spacing spacing = Spacing::Proportional;
    bool japanese = false; // the face covers the Japanese language
};

// The family names of the fixed-pitch faces among `faces`: monospaced and
// character-cell faces, and dual-width faces that cover Japanese. Each name
// once, sorted as Qt sorts its families (letter case ignored), without
// "@" names.
QStringList FixedPitchFamilies(const std::vector<InstalledFace> &faces);

// The installed faces, each with its spacing and languages, as fontconfig
// lists them (no face is opened).
std::vector<InstalledFace> InstalledFaces();

// The fixed-pitch faces installed: FixedPitchFamilies(InstalledFaces()).
// Aliases ("Monospace") are not faces and are not offered; a family that
// two foundries ship is offered once.
QStringList FixedPitchFaceNames();

} // namespace ralvo::platform
