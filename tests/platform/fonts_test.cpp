#include "platform/Fonts.h"

#include "platform/CellFont.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QStringList>

#include <gtest/gtest.h>

using ralvo::platform::InstallFontSubstitutions;
using ralvo::platform::SubstituteFace;
using ralvo::platform::WindowFace;

namespace {

struct FaceCase
{
    const char16_t *windows;
    const char16_t *ipa;
};

class FontSubstitution : public ::testing::TestWithParam<FaceCase>
{};

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

// Text drawn in `font` on white, large enough for the whole line.
QImage Drawn(const QFont &font, const QString &text)
{
    QImage image(900, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(4, 28), text);
    return image;
}

// A window asking for the twin by name draws exactly what the Windows name
// drew through the substitution, characters the twin lacks (Hebrew, a
// symbol, an emoji, which come from fallback faces) included, in the
// variants the windows use: bold, and the text editor's fixed pitch.
TEST_P(FontSubstitution, WindowFaceDrawsWhatTheSubstitutionDraws)
{
    InstallFontSubstitutions();
    const QString windows = QString::fromUtf16(GetParam().windows);
    EXPECT_EQ(WindowFace(windows), QString::fromUtf16(GetParam().ipa));
    const QString text = QStringLiteral("らるぼPro 出産予定日：2024年10月 7日（月） ｱｲｳ ①Ω ш שלום ⛤ \U0001F600");
    for (const bool bold : {false, true}) {
        for (const bool fixedPitch : {false, true}) {
            QFont asked(windows);
            QFont twin(WindowFace(windows));
            for (QFont *font : {&asked, &twin}) {
                font->setPixelSize(fixedPitch ? 16 : 12);
                font->setBold(bold);
                font->setFixedPitch(fixedPitch);
                if (fixedPitch)
                    font->setStyleHint(QFont::TypeWriter);
            }
            EXPECT_EQ(QFontInfo(twin).family(), QFontInfo(asked).family());
            EXPECT_TRUE(Drawn(twin, text) == Drawn(asked, text)) << "bold " << bold << " fixed " << fixedPitch;
        }
    }
}

TEST(FontSubstitutionInstall, IsIdempotentAndLeavesOtherFacesAlone)
{
    InstallFontSubstitutions();
    InstallFontSubstitutions();
    EXPECT_EQ(QFont::substitutes(QStringLiteral("ＭＳ ゴシック")).count(QStringLiteral("ipagothic")), 1);
    // Half-width "MS" is not the stored face name and is not mapped.
    EXPECT_TRUE(SubstituteFace(QStringLiteral("MS ゴシック")).isEmpty());
    EXPECT_TRUE(SubstituteFace(QStringLiteral("IPAGothic")).isEmpty());
    // Names that are not mapped reach the windows unchanged.
    EXPECT_EQ(WindowFace(QStringLiteral("MS ゴシック")), QStringLiteral("MS ゴシック"));
    EXPECT_EQ(WindowFace(QStringLiteral("DejaVu Sans")), QStringLiteral("DejaVu Sans"));
}

// A font sized by its full-width characters has them as wide as asked on a
// screen image and at printer resolution, in fixed and proportional faces;
// sized by its cell instead, an IPA face's full-width character is narrower
// than the cell, whose height includes leading.
TEST(CellFonts, FullWidthCharactersAsWideAsAskedOnEveryDevice)
{
    for (const int dpi : {96, 600}) {
        QImage device(10, 10, QImage::Format_RGB32);
        device.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
        device.setDotsPerMeterY(int(std::lround(dpi / 0.0254)));
        ASSERT_EQ(device.logicalDpiY(), dpi);
        for (const char16_t *face : {u"IPAGothic", u"IPAMincho", u"IPAPGothic"}) {
            const QString name = QString::fromUtf16(face);
            for (const double width : {18.0, 100.0, 133.0}) {
                const QFontMetricsF wide(ralvo::platform::FontForFullWidth(name, width, device), &device);
                EXPECT_NEAR(wide.horizontalAdvance(QChar(0x3000)), width, 0.01 * width)
                    << dpi << " dpi " << name.toStdString() << " " << width;
                EXPECT_NEAR(wide.horizontalAdvance(QStringLiteral("国")), width, 0.01 * width);
                const QFontMetricsF cell(ralvo::platform::FontForCellHeight(name, width, device), &device);
                EXPECT_NEAR(cell.height(), width, 0.5); // metrics in 1/64 units
                EXPECT_LT(cell.horizontalAdvance(QChar(0x3000)), 0.95 * width);
            }
        }
    }
}

} // namespace
