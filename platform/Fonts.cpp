#include "platform/Fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

#include <array>
#include <utility>

namespace ralvo::platform {

namespace {

// "ＭＳ" is full-width, the blank between is an ordinary half-width space.
const std::array<std::pair<const char16_t *, const char16_t *>, 4> kFaces{{
    {u"ＭＳ ゴシック", u"IPAGothic"},
    {u"ＭＳ Ｐゴシック", u"IPAPGothic"},
    {u"ＭＳ 明朝", u"IPAMincho"},
    {u"ＭＳ Ｐ明朝", u"IPAPMincho"},
}};

} // namespace

QString SubstituteFace(const QString &windowsFace)
{
    for (const auto &[windows, ipa] : kFaces) {
        if (windowsFace == QString::fromUtf16(windows))
            return QString::fromUtf16(ipa);
    }
    return {};
}

QString WindowFace(const QString &face)
{
    QString twin = SubstituteFace(face);
    if (twin.isEmpty() || !QFontDatabase::families().contains(twin, Qt::CaseInsensitive))
        return face;
    return twin;
}

void InstallFontSubstitutions()
{
    for (const auto &[windows, ipa] : kFaces) {
        const QString from = QString::fromUtf16(windows);
        const QString to = QString::fromUtf16(ipa);
        // Qt keeps substitutes in lower case.
        if (!QFont::substitutes(from).contains(to, Qt::CaseInsensitive))
            QFont::insertSubstitution(from, to);
    }
}

} // namespace ralvo::platform
