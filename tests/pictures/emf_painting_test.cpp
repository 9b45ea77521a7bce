// Enhanced metafiles: what their records paint, counted before the
// conversion (mapping, states, objects, paths, text, bitmaps), and the
// conversion to SVG with the drawing of its result.
#include "pictures/PictureCost.h"
#include "pictures/Pictures.h"

#include "support/MetafileSamples.h"
#include "support/PictureProbes.h"

#include <QPainter>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace ralvo;
using pictures::EmfPaintedPictures;
using test::Colour;

namespace {

using EmfPainting = test::TemporaryFolderTest;

// Where the first record of `type` starts; -1 when none.
qsizetype FindRecord(const QByteArray &emf, quint32 type)
{
    for (qsizetype at = 0; at + 8 <= emf.size();) {
        if (qFromLittleEndian<quint32>(emf.constData() + at) == type)
            return at;
        const quint32 size = qFromLittleEndian<quint32>(emf.constData() + at + 4);
        if (size < 8)
            return -1;
        at += size;
    }
    return -1;
}

TEST_F(EmfPainting, CountsTheAreaItsRecordsPaintInWholePictures)
{
    // Three squares the world transform blows up to cover the picture: one
    // whole picture each, however far beyond it they reach.
    const auto squares = EmfPaintedPictures(test::WriteScaledSquaresEmf(Path(QStringLiteral("s.emf")), 3, 1000));
    ASSERT_TRUE(squares);
    EXPECT_DOUBLE_EQ(*squares, 3);
    // The sample: half the picture red, a quarter of bitmap, two characters
    // of 150 units.
    const auto sample = EmfPaintedPictures(test::WriteSampleEmf(Path(QStringLiteral("sample.emf"))));
    ASSERT_TRUE(sample);
    const double area = 999.0 * 499;
    EXPECT_NEAR(*sample, (500.0 * 500 + 500.0 * 250 + 2 * 150.0 * 150) / area, 1e-9);
    // A stroke as wide as the picture costs it whole, its fill a hundredth.
    const auto pens = EmfPaintedPictures(test::WriteWidePenEmf(Path(QStringLiteral("p.emf")), 3));
    ASSERT_TRUE(pens);
    EXPECT_NEAR(*pens, 3 * 1.01, 1e-9);
    // Every family of records at once stays well within the bound.
    const auto tour = EmfPaintedPictures(test::WriteRecordTourEmf(Path(QStringLiteral("tour.emf"))));
    ASSERT_TRUE(tour);
    EXPECT_GT(*tour, 0.5);
    EXPECT_LT(*tour, 2);
}

TEST_F(EmfPainting, StatesPathsAndNullObjectsCountAsTheyDraw)
{
    test::EmfSampleWriter emf(Path(QStringLiteral("states.emf")), 1000, 1000);
    emf.SelectBrushAndPen(colorref3_set(255, 0, 0), 0, colorref3_set(0, 0, 0));
    // A transform undone by restoring the state: the square stays tiny.
    emf.Add(U_EMRSAVEDC_set());
    emf.Add(U_EMRSETWORLDTRANSFORM_set(xform_set(1000, 0, 0, 1000, 0, 0)));
    emf.Add(U_EMRRESTOREDC_set(-1));
    emf.Rectangle(0, 0, 1, 1);
    // A quarter of the picture gathered in a path: counted when filled.
    emf.Add(U_EMRBEGINPATH_set());
    emf.Rectangle(0, 0, 500, 500);
    emf.Add(U_EMRENDPATH_set());
    emf.Add(U_EMRFILLPATH_set(rectl_set(point32_set(0, 0), point32_set(500, 500))));
    // The null brush and the null pen paint nothing.
    emf.Add(U_EMRSELECTOBJECT_set(U_NULL_BRUSH));
    emf.Rectangle(0, 0, 1000, 1000);
    const auto cost = EmfPaintedPictures(emf.Finish());
    ASSERT_TRUE(cost);
    EXPECT_NEAR(*cost, 0.25 + 1e-6, 1e-9);
}

TEST_F(EmfPainting, RecordsShortOfWhatTheyDeclareAreRefused)
{
    const QByteArray tour = test::WriteRecordTourEmf(Path(QStringLiteral("tour.emf")));
    ASSERT_TRUE(EmfPaintedPictures(tour));
    // No end-of-file record, or a record size off the four-byte grid.
    EXPECT_FALSE(EmfPaintedPictures(tour.left(FindRecord(tour, U_EMR_EOF))));
    QByteArray grid = tour;
    const qsizetype rectangle = FindRecord(tour, U_EMR_RECTANGLE);
    ASSERT_GT(rectangle, 0);
    qToLittleEndian<quint32>(26, grid.data() + rectangle + 4);
    EXPECT_FALSE(EmfPaintedPictures(grid));
    // More points than the record holds.
    QByteArray points = tour;
    const qsizetype polygon = FindRecord(tour, U_EMR_POLYGON16);
    ASSERT_GT(polygon, 0);
    qToLittleEndian<quint32>(1000, points.data() + polygon + 24);
    EXPECT_FALSE(EmfPaintedPictures(points));
    // A bitmap of more pixels than all bitmaps of a file may have.
    QByteArray pixels = tour;
    const qsizetype bitmap = FindRecord(tour, U_EMR_STRETCHDIBITS);
    ASSERT_GT(bitmap, 0);
    const qint64 header = bitmap + qFromLittleEndian<quint32>(tour.constData() + bitmap + 48);
    qToLittleEndian<qint32>(70000, pixels.data() + header + 4);
    qToLittleEndian<qint32>(-70000, pixels.data() + header + 8);
    EXPECT_FALSE(EmfPaintedPictures(pixels));
    EXPECT_FALSE(pictures::Picture::FromData(pixels, pictures::Picture::Format::Emf));
}

TEST_F(EmfPainting, ConvertedOnlyWhenWholeAndWithoutGlyphIndexText)
{
    const QByteArray sample = test::WriteSampleEmf(Path(QStringLiteral("sample.emf")));
    const auto svg = pictures::EmfToSvg(sample);
    ASSERT_TRUE(svg);
    EXPECT_TRUE(svg->contains("<svg"));
    EXPECT_TRUE(svg->contains(QStringLiteral("病院").toUtf8()));

    // Text given as glyph indexes is left blank, the rest converted.
    QByteArray glyphs = sample;
    const qsizetype text = FindRecord(sample, U_EMR_EXTTEXTOUTW);
    ASSERT_GT(text, 0);
    glyphs[text + 52] = char(glyphs[text + 52] | 0x10); // its text's options
    const auto blanked = pictures::EmfToSvg(glyphs);
    ASSERT_TRUE(blanked);
    EXPECT_FALSE(blanked->contains(QStringLiteral("病院").toUtf8()));
    EXPECT_TRUE(blanked->contains("<svg"));

    EXPECT_FALSE(pictures::EmfToSvg(sample.left(sample.size() - 4)));
    EXPECT_FALSE(pictures::EmfToSvg(QByteArray("not an enhanced metafile")));
}

TEST_F(EmfPainting, ConvertedPictureDrawsInsideItsTarget)
{
    using pictures::Picture;
    const auto picture =
        Picture::FromData(test::WriteSampleEmf(Path(QStringLiteral("sample.emf"))), Picture::Format::Emf);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Size(), QSizeF(999, 499));
    QImage image = test::WhiteImage({700, 450});
    QPainter painter(&image);
    picture->Draw(painter, QRectF(100, 100, 500, 250));
    painter.end();
    EXPECT_EQ(test::ColourAt(image, {150, 200}), Colour::Red);   // the left half
    EXPECT_EQ(test::ColourAt(image, {450, 150}), Colour::Green); // the bitmap
    EXPECT_EQ(test::ColourAt(image, {450, 300}), Colour::White);
    EXPECT_TRUE(test::InkOnlyInside(image, QRect(100, 100, 500, 250)));

    // A record tour converts as well, and stays inside its target.
    const auto tour =
        Picture::FromData(test::WriteRecordTourEmf(Path(QStringLiteral("tour.emf"))), Picture::Format::Emf);
    ASSERT_TRUE(tour);
    EXPECT_EQ(tour->Size(), QSizeF(400, 200));
    image = test::WhiteImage({600, 400});
    painter.begin(&image);
    tour->Draw(painter, QRectF(100, 100, 400, 200));
    painter.end();
    EXPECT_TRUE(test::InkOnlyInside(image, QRect(100, 100, 400, 200)));
}

} // namespace
