#include "platform/FontList.h"
#include "platform/SharedColorChooser.h"
#include "support/FakePlatform.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace ralvo;
using namespace ralvo::platform;

TEST(DualWidthAdvances, HalfWidthExactlyHalfOfFullWidth)
{
    EXPECT_TRUE(AreDualWidthAdvances({6.5, 6.5}, {13.0, 13.0}));
    EXPECT_TRUE(AreDualWidthAdvances({6.5}, {13.0 + 1.0 / 128}));
    EXPECT_FALSE(AreDualWidthAdvances({6.5, 3.0}, {13.0}));  // proportional 'i'
    EXPECT_FALSE(AreDualWidthAdvances({7.0}, {13.0}));       // rounded, not half
    EXPECT_FALSE(AreDualWidthAdvances({6.5}, {13.0, 12.0})); // uneven full width
    EXPECT_FALSE(AreDualWidthAdvances({}, {13.0}));          // glyphs missing
    EXPECT_FALSE(AreDualWidthAdvances({0.0}, {0.0}));
}

TEST(FilterFixedPitchFaces, KeepsOrderDropsProportionalAndVerticalNames)
{
    const QStringList families{QStringLiteral("B Mono"), QStringLiteral("@B Mono"), QStringLiteral("@A Mono"),
                               QStringLiteral("A Sans"), QStringLiteral("A Mono"),  QStringLiteral("Mono@")};
    const auto mono = [](const QString &name) { return name.contains(QStringLiteral("Mono")); };
    EXPECT_EQ(FilterFixedPitchFaces(families, mono),
              (QStringList{QStringLiteral("B Mono"), QStringLiteral("A Mono"), QStringLiteral("Mono@")}));
    EXPECT_TRUE(FilterFixedPitchFaces({}, mono).isEmpty());
    EXPECT_TRUE(FilterFixedPitchFaces(families, [](const QString &) { return false; }).isEmpty());
}

TEST(FixedPitchFaces, OffersDualWidthJapaneseFacesNotProportionalOnes)
{
    EXPECT_TRUE(IsFixedPitchFace(QStringLiteral("IPAGothic")));
    EXPECT_TRUE(IsFixedPitchFace(QStringLiteral("IPAMincho")));
    EXPECT_FALSE(IsFixedPitchFace(QStringLiteral("IPAPGothic")));
    EXPECT_FALSE(IsFixedPitchFace(QStringLiteral("IPAPMincho")));
    EXPECT_FALSE(IsFixedPitchFace(QStringLiteral("DejaVu Sans")));
    EXPECT_FALSE(IsFixedPitchFace(QStringLiteral("No Such Face Anywhere")));

    const QStringList faces = FixedPitchFaceNames();
    EXPECT_TRUE(faces.contains(QStringLiteral("IPAGothic")));
    EXPECT_TRUE(faces.contains(QStringLiteral("IPAMincho")));
    EXPECT_FALSE(faces.contains(QStringLiteral("IPAPGothic")));
    EXPECT_FALSE(faces.contains(QStringLiteral("DejaVu Sans")));
    if (QFontDatabase::families().contains(QStringLiteral("DejaVu Sans Mono"))) {
        EXPECT_TRUE(faces.contains(QStringLiteral("DejaVu Sans Mono")));
    }
    // The platform's order (letter case ignored).
    for (qsizetype i = 1; i < faces.size(); ++i)
        EXPECT_LT(faces[i - 1].compare(faces[i], Qt::CaseInsensitive), 0);
}

TEST(FixedPitchFamilies, MonoCellAndJapaneseDualWidthFacesOnceInQtOrder)
{
    using Spacing = InstalledFace::Spacing;
    const auto face = [](QStringList families, Spacing spacing, bool japanese = false) {
        return InstalledFace{std::move(families), spacing, japanese};
    };
    const std::vector<InstalledFace> faces{
        face({QStringLiteral("nimbus Mono")}, Spacing::Mono),
        face({QStringLiteral("B Gothic")}, Spacing::DualWidth, true),
        face({QStringLiteral("Latin Dual")}, Spacing::DualWidth),         // dual but not Japanese
        face({QStringLiteral("B PGothic")}, Spacing::Proportional, true), // proportional
        face({QStringLiteral("Nimbus Mono")}, Spacing::Mono),             // a second foundry
        face({QStringLiteral("@B Gothic")}, Spacing::DualWidth, true),
        face({QStringLiteral("Cell"), QStringLiteral("Cell Narrow")}, Spacing::CharCell),
        face({QStringLiteral("B Gothic")}, Spacing::DualWidth, true), // its bold face
    };
    EXPECT_EQ(FixedPitchFamilies(faces), (QStringList{QStringLiteral("B Gothic"), QStringLiteral("Cell"),
                                                      QStringLiteral("Cell Narrow"), QStringLiteral("Nimbus Mono")}));
    EXPECT_TRUE(FixedPitchFamilies({}).isEmpty());
}

// The faces the lists offered when every face was loaded and measured, as
// names of faces: without a foundry suffix ("Nimbus Mono PS [urw]") and
// without names that resolve to another family ("Monospace").
// The family a font of `name` resolves to, without the foundry Qt adds
// where two foundries ship the family.
QString ResolvedFamily(const QString &name)
{
    static const QRegularExpression foundry(QStringLiteral(" \\[[^]]*\\]$"));
    QFont font(name);
    font.setStyleStrategy(QFont::NoFontMerging);
    return QFontInfo(font).family().remove(foundry);
}

QStringList FacesByLoadingEach()
{
    QStringList families;
    for (const QString &family : QFontDatabase::families()) {
        if (!QFontDatabase::isPrivateFamily(family))
            families.append(family);
    }
    QStringList faces;
    for (const QString &family : FilterFixedPitchFaces(families, &IsFixedPitchFace)) {
        const QString face = ResolvedFamily(family);
        if (family.startsWith(face) && !faces.contains(face))
            faces.append(face);
    }
    return faces;
}

TEST(FixedPitchFaces, SameFacesAsMeasuringEachInstalledFace)
{
    EXPECT_EQ(FixedPitchFaceNames().join(u'|').toStdString(), FacesByLoadingEach().join(u'|').toStdString());
}

TEST(FixedPitchFaces, EachFaceOnceAndNoAliases)
{
    const QStringList faces = FixedPitchFaceNames();
    EXPECT_FALSE(faces.isEmpty());
    EXPECT_FALSE(faces.contains(QStringLiteral("Monospace")));
    for (const QString &name : faces) {
        EXPECT_EQ(faces.count(name), 1) << name.toStdString();
        EXPECT_EQ(ResolvedFamily(name).toStdString(), name.toStdString()) << "not a face of its own";
    }
}

TEST(SharedColorChooser, OpensWithTheColourLastConfirmedAnywhere)
{
    test::FakeColorChooser fake;
    SharedColorChooser chooser(fake);
    fake.answers = {0x123456, std::nullopt, 0x00FF00};
    EXPECT_EQ(chooser.Choose(), std::optional<Colour>(0x123456));
    EXPECT_EQ(chooser.Choose(), std::nullopt); // cancel keeps the remembered colour
    EXPECT_EQ(chooser.Choose(), std::optional<Colour>(0x00FF00));
    EXPECT_EQ(fake.initials, (std::vector<Colour>{0x000000, 0x123456, 0x123456}));
    EXPECT_EQ(chooser.LastConfirmed(), 0x00FF00u);
}
