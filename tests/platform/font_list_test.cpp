#include "platform/FontList.h"
#include "platform/SharedColorChooser.h"
#include "support/FakePlatform.h"

#include <QFontDatabase>

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
    const QStringList families{QStringLiteral("B Mono"), QStringLiteral("@B Mono"),
                               QStringLiteral("@A Mono"), QStringLiteral("A Sans"),
                               QStringLiteral("A Mono"), QStringLiteral("Mono@")};
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
    // The platform's order, not sorted anew.
    const QStringList all = QFontDatabase::families();
    for (qsizetype i = 1; i < faces.size(); ++i)
        EXPECT_LT(all.indexOf(faces[i - 1]), all.indexOf(faces[i]));
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
