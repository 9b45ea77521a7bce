// The Windows metafile player on its own: each family of records (window
// and states, objects, shapes, text, bitmaps) lands where its records say,
// and a record inconsistent with its data makes the whole file unreadable.
#include "pictures/WmfPicture.h"

#include "support/MetafileSamples.h"
#include "support/PictureProbes.h"

#include <QPainter>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace ralvo;
using pictures::WmfPicture;
using test::Colour;

namespace {

class WmfPlayer : public test::TemporaryFolderTest
{
protected:
    static QImage Played(const WmfPicture &picture, QSize size, const QRectF &target)
    {
        QImage image = test::WhiteImage(size);
        QPainter painter(&image);
        picture.Draw(painter, target);
        return image;
    }
};

// Where a record of `kind` starts, after the headers; -1 when none.
qsizetype FindRecord(const QByteArray &wmf, quint8 kind)
{
    const bool placeable = qFromLittleEndian<quint32>(wmf.constData()) == 0x9AC6CDD7u;
    for (qsizetype at = U_SIZE_WMRHEADER + (placeable ? U_SIZE_WMRPLACEABLE : 0); at + 6 <= wmf.size();) {
        if (quint8(wmf[at + 4]) == kind)
            return at;
        const qsizetype words = qFromLittleEndian<quint32>(wmf.constData() + at);
        if (words < 3)
            return -1;
        at += 2 * words;
    }
    return -1;
}

TEST_F(WmfPlayer, EveryRecordFamilyLandsWhereItsRecordsSay)
{
    const auto picture = WmfPicture::FromData(test::WriteRecordTourWmf(Path(QStringLiteral("tour.wmf"))));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Size(), QSizeF(400, 200));
    const QImage image = Played(*picture, {400, 200}, QRectF(0, 0, 400, 200));

    struct Probe
    {
        QPoint at;
        Colour colour;
        const char *what;
    };
    const Probe probes[] = {
        {{50, 50}, Colour::Red, "rounded rectangle"},
        {{2, 2}, Colour::White, "its cut corner"},
        {{170, 30}, Colour::Green, "pie, upper right"},
        {{130, 30}, Colour::White, "pie, upper left"},
        {{170, 70}, Colour::White, "pie, lower right"},
        {{250, 25}, Colour::Green, "chord, upper half"},
        {{250, 75}, Colour::White, "chord, lower half"},
        {{325, 25}, Colour::Blue, "first square"},
        {{375, 75}, Colour::Blue, "second square"},
        {{375, 25}, Colour::White, "between the squares"},
        {{25, 125}, Colour::Blue, "fill with the brush of the restored state"},
        {{75, 125}, Colour::Black, "black fill"},
        {{125, 125}, Colour::Magenta, "bitmap"},
        {{295, 145}, Colour::Yellow, "opaque box of the text"},
        {{350, 190}, Colour::Black, "line"},
        {{350, 180}, Colour::White, "above the line"},
    };
    for (const Probe &probe : probes)
        EXPECT_EQ(test::ColourAt(image, probe.at), probe.colour) << probe.what;
    // The text itself, in black inside its box.
    EXPECT_FALSE(test::InkBounds(image, QRect(205, 105, 40, 40), test::IsBlack).isEmpty());
}

TEST_F(WmfPlayer, PlayedScaledIntoItsTargetAndNowhereElse)
{
    const auto picture = WmfPicture::FromData(test::WriteRecordTourWmf(Path(QStringLiteral("tour.wmf"))));
    ASSERT_TRUE(picture);
    const QImage image = Played(*picture, {300, 200}, QRectF(20, 40, 200, 100));
    EXPECT_EQ(test::ColourAt(image, {45, 65}), Colour::Red);
    EXPECT_EQ(test::ColourAt(image, {32, 102}), Colour::Blue);
    EXPECT_EQ(test::ColourAt(image, {82, 102}), Colour::Magenta);
    EXPECT_TRUE(test::InkOnlyInside(image, QRect(20, 40, 200, 100)));
}

TEST_F(WmfPlayer, InconsistentRecordsMakeTheWholeFileUnreadable)
{
    const QByteArray tour = test::WriteRecordTourWmf(Path(QStringLiteral("tour.wmf")));
    ASSERT_TRUE(WmfPicture::FromData(tour));

    // A polygon count beyond its record.
    QByteArray counts = tour;
    const qsizetype polyPolygon = FindRecord(tour, U_WMR_POLYPOLYGON);
    ASSERT_GT(polyPolygon, 0);
    qToLittleEndian<quint16>(0x7FFF, counts.data() + polyPolygon + 8);
    EXPECT_FALSE(WmfPicture::FromData(counts));

    // A bitmap whose rows are more than its record holds.
    QByteArray rows = tour;
    const qsizetype bitmap = FindRecord(tour, U_WMR_DIBSTRETCHBLT);
    ASSERT_GT(bitmap, 0);
    const qsizetype header = bitmap + 6 + 4 + 2 * 8; // raster operation, then eight coordinates
    ASSERT_EQ(qFromLittleEndian<quint32>(rows.constData() + header), 40u);
    qToLittleEndian<qint32>(2000, rows.data() + header + 8);
    EXPECT_FALSE(WmfPicture::FromData(rows));

    // A text longer than its record.
    QByteArray text = tour;
    const qsizetype extTextOut = FindRecord(tour, U_WMR_EXTTEXTOUT);
    ASSERT_GT(extTextOut, 0);
    qToLittleEndian<qint16>(500, text.data() + extTextOut + 6 + 4);
    EXPECT_FALSE(WmfPicture::FromData(text));

    // Drawing before any window says where.
    test::WmfSampleWriter early(Path(QStringLiteral("early.wmf")));
    early.Add(U_WMRRECTANGLE_set(U_RECT16{0, 0, 10, 10}));
    early.Add(U_WMRSETWINDOWEXT_set(point16_set(10, 10)));
    EXPECT_FALSE(WmfPicture::FromData(early.Finish()));
}

} // namespace
