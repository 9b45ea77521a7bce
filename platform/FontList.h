#pragma once

// The typeface list of the font boxes: faces in which a half-width character
// is exactly half as wide as a full-width one, as the text layout assumes.

#include <QStringList>

#include <functional>

namespace ralvo::platform {

// True when every half-width advance is exactly half of every full-width
// advance (within 1/64 px). Empty lists are never "fixed".
bool AreDualWidthAdvances(const QList<qreal> &halfWidth, const QList<qreal> &fullWidth);

// Keeps, in the given order, the names that `isFixed` accepts, then removes
// every name beginning with "@" (vertical-writing variants).
QStringList FilterFixedPitchFaces(const QStringList &families,
                                  const std::function<bool(const QString &)> &isFixed);

// Whether an installed face is fixed pitch: Qt says so (monospaced Latin
// faces), or the face carries Japanese glyphs and is dual-width by its own
// glyph advances (IPAGothic, IPAMincho; Qt never calls those fixed pitch).
bool IsFixedPitchFace(const QString &family);

// The fixed-pitch faces of the screen in the platform's enumeration order,
// without "@" names. Computed once and shared by later calls while the
// installed families stay the same.
QStringList FixedPitchFaceNames();

} // namespace ralvo::platform
