#include "platform/Fonts.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QStringList>

#include <gtest/gtest.h>

using ralvo::platform::InstallFontSubstitutions;
using ralvo::platform::SubstituteFace;

namespace {

struct FaceCase
{
    const char16_t *windows;
    const char16_t *ipa;
};

class FontSubstitution : public ::testing::TestWithParam<FaceCase>
{
};

TEST_P(FontSubstitution, ResolvesToItsIpaTwin)
{
    InstallFontSubstitutions();
    const QString windows = QString::fromUtf16(GetParam().windows);
    const QString ipa = QString::fromUtf16(GetParam().ipa);
    EXPECT_EQ(SubstituteFace(windows), ipa);
    QFont font(windows);
    font.setPixelSize(12);
    EXPECT_EQ(QFontInfo(font).family(), ipa);
    // Every glyph comes from the IPA face: a kana has the width it has there.
    QFont twin(ipa);
    twin.setPixelSize(12);
    EXPECT_DOUBLE_EQ(QFontMetricsF(font).horizontalAdvance(QStringLiteral("あM")),
                     QFontMetricsF(twin).horizontalAdvance(QStringLiteral("あM")));
}

INSTANTIATE_TEST_SUITE_P(WindowsFaces, FontSubstitution,
                         ::testing::Values(FaceCase{u"ＭＳ ゴシック", u"IPAGothic"},
                                           FaceCase{u"ＭＳ Ｐゴシック", u"IPAPGothic"},
                                           FaceCase{u"ＭＳ 明朝", u"IPAMincho"},
                                           FaceCase{u"ＭＳ Ｐ明朝", u"IPAPMincho"}),
                         [](const auto &face) { return QString::fromUtf16(face.param.ipa).toStdString(); });

TEST(FontSubstitutionInstall, IsIdempotentAndLeavesOtherFacesAlone)
{
    InstallFontSubstitutions();
    InstallFontSubstitutions();
    EXPECT_EQ(QFont::substitutes(QStringLiteral("ＭＳ ゴシック")).count(QStringLiteral("ipagothic")), 1);
    // Half-width "MS" is not the stored face name and is not mapped.
    EXPECT_TRUE(SubstituteFace(QStringLiteral("MS ゴシック")).isEmpty());
    EXPECT_TRUE(SubstituteFace(QStringLiteral("IPAGothic")).isEmpty());
}

} // namespace
