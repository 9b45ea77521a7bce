#include "platform/FontList.h"

#include <QFont>
#include <QFontDatabase>
#include <QRawFont>

#include <cmath>

namespace ralvo::platform {

namespace {

constexpr qreal AdvanceTolerance = 1.0 / 64.0;
constexpr int ProbePixelSize = 64;

// Characters whose advances decide: half-width letters, digits and
// punctuation of very different shapes; full-width kana and kanji.
const QString &HalfWidthProbe()
{
    static const QString probe = QStringLiteral("Mi1.W ");
    return probe;
}

const QString &FullWidthProbe()
{
    static const QString probe = QStringLiteral("あア漢");
    return probe;
}

// The advances of `text` in `font`, or an empty list when the face lacks
// one of its characters (a fallback face would answer in its place).
QList<qreal> AdvancesOf(const QRawFont &font, const QString &text)
{
    const QList<quint32> glyphs = font.glyphIndexesForString(text);
    if (glyphs.size() != text.size() || glyphs.contains(0u))
        return {};
    QList<qreal> widths;
    widths.reserve(glyphs.size());
    for (const QPointF &advance : font.advancesForGlyphIndexes(glyphs))
        widths.append(advance.x());
    return widths;
}

} // namespace

bool AreDualWidthAdvances(const QList<qreal> &halfWidth, const QList<qreal> &fullWidth)
{
    if (halfWidth.isEmpty() || fullWidth.isEmpty())
        return false;
    for (const qreal full : fullWidth) {
        if (full <= 0)
            return false;
        for (const qreal half : halfWidth) {
            if (std::abs(2 * half - full) > AdvanceTolerance)
                return false;
        }
    }
    return true;
}

QStringList FilterFixedPitchFaces(const QStringList &families,
                                  const std::function<bool(const QString &)> &isFixed)
{
    QStringList kept;
    for (const QString &family : families) {
        if (isFixed(family))
            kept.append(family);
    }
    kept.removeIf([](const QString &name) { return name.startsWith(u'@'); });
    return kept;
}

bool IsFixedPitchFace(const QString &family)
{
    if (QFontDatabase::isFixedPitch(family))
        return true;
    // Only a face with Japanese glyphs can be dual-width; asking the
    // database first keeps the expensive glyph look-up to those few faces.
    if (!QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese))
        return false;
    QFont font(family);
    font.setPixelSize(ProbePixelSize);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::NoFontMerging);
    const QRawFont raw = QRawFont::fromFont(font, QFontDatabase::Japanese);
    if (!raw.isValid() || raw.familyName().compare(family, Qt::CaseInsensitive) != 0)
        return false;
    return AreDualWidthAdvances(AdvancesOf(raw, HalfWidthProbe()), AdvancesOf(raw, FullWidthProbe()));
}

QStringList FixedPitchFaceNames()
{
    QStringList families;
    for (const QString &family : QFontDatabase::families()) {
        if (!QFontDatabase::isPrivateFamily(family))
            families.append(family);
    }
    // Testing the faces loads each Japanese one: the answer is kept for as
    // long as the installed families stay the same, so that every font box
    // shares one enumeration.
    static QStringList testedFamilies;
    static QStringList fixedFaces;
    if (families != testedFamilies || fixedFaces.isEmpty()) {
        fixedFaces = FilterFixedPitchFaces(families, &IsFixedPitchFace);
        testedFamilies = families;
    }
    return fixedFaces;
}

} // namespace ralvo::platform
