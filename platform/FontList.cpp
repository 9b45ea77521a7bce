#include "platform/FontList.h"

#include <QFont>
#include <QFontDatabase>
#include <QRawFont>

#include <algorithm>
#include <cmath>
#include <optional>

#include <fontconfig/fontconfig.h>

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

QStringList FilterFixedPitchFaces(const QStringList &families, const std::function<bool(const QString &)> &isFixed)
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

QStringList FixedPitchFamilies(const std::vector<InstalledFace> &faces)
{
    QStringList families;
    for (const InstalledFace &face : faces) {
        const bool fixed = face.spacing == InstalledFace::Spacing::Mono
                           || face.spacing == InstalledFace::Spacing::CharCell
                           || (face.spacing == InstalledFace::Spacing::DualWidth && face.japanese);
        if (fixed)
            families.append(face.families);
    }
    families.removeIf([](const QString &name) { return name.isEmpty() || name.startsWith(u'@'); });
    std::sort(families.begin(), families.end(), [](const QString &a, const QString &b) {
        const int order = a.compare(b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
    families.erase(
        std::unique(families.begin(), families.end(),
                    [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }),
        families.end());
    return families;
}

std::vector<InstalledFace> InstalledFaces()
{
    std::vector<InstalledFace> faces;
    FcPattern *pattern = FcPatternCreate();
    FcObjectSet *objects =
        FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, FC_STYLE, FC_SPACING, FC_LANG, static_cast<char *>(nullptr));
    FcFontSet *set = pattern && objects ? FcFontList(nullptr, pattern, objects) : nullptr;
    const FcChar8 *const japanese = reinterpret_cast<const FcChar8 *>("ja");
    for (int i = 0; set && i < set->nfont; ++i) {
        const FcPattern *font = set->fonts[i];
        const auto text = [font](const char *object, int n) -> std::optional<QString> {
            FcChar8 *value = nullptr;
            if (FcPatternGetString(font, object, n, &value) != FcResultMatch || !value)
                return std::nullopt;
            return QString::fromUtf8(reinterpret_cast<const char *>(value));
        };
        const std::optional<QString> family = text(FC_FAMILY, 0);
        if (!family)
            continue;
        InstalledFace face;
        face.families.append(*family);
        // Further names in the family's own language with a style of their
        // own name a sub-family (Qt offers it as a family); names in other
        // languages are aliases of the first.
        const QString language = text(FC_FAMILYLANG, 0).value_or(QString());
        const QString style = text(FC_STYLE, 0).value_or(QString());
        for (int n = 1; const std::optional<QString> other = text(FC_FAMILY, n); ++n) {
            if (text(FC_FAMILYLANG, n).value_or(language) == language && text(FC_STYLE, n).value_or(style) != style)
                face.families.append(*other);
        }
        int spacing = FC_PROPORTIONAL;
        FcPatternGetInteger(font, FC_SPACING, 0, &spacing);
        face.spacing = spacing >= FC_CHARCELL ? InstalledFace::Spacing::CharCell
                       : spacing >= FC_MONO   ? InstalledFace::Spacing::Mono
                       : spacing >= FC_DUAL   ? InstalledFace::Spacing::DualWidth
                                              : InstalledFace::Spacing::Proportional;
        FcLangSet *languages = nullptr;
        face.japanese = FcPatternGetLangSet(font, FC_LANG, 0, &languages) == FcResultMatch && languages
                        && FcLangSetHasLang(languages, japanese) != FcLangDifferentLang;
        faces.push_back(std::move(face));
    }
    if (set)
        FcFontSetDestroy(set);
    if (objects)
        FcObjectSetDestroy(objects);
    if (pattern)
        FcPatternDestroy(pattern);
    return faces;
}

QStringList FixedPitchFaceNames() { return FixedPitchFamilies(InstalledFaces()); }

} // namespace ralvo::platform
