// Pictures read from their bytes: a picture cut short, or one whose drawing
// would cost too much, is nothing, whatever its format.
#include "pictures/Pictures.h"
#include "pictures/WmfPicture.h"

#include "support/MetafileSamples.h"

#include <QBuffer>
#include <QImage>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace ralvo;
using pictures::Picture;

namespace {

using PictureDecoding = test::TemporaryFolderTest;

QByteArray Encode(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A picture cut at any length short of its whole is unreadable: never a
// decode with rows the file does not hold.
TEST_F(PictureDecoding, PicturesCutAtEveryLengthAreUnreadable)
{
    QImage rgb(13, 7, QImage::Format_RGB32);
    rgb.fill(Qt::red);
    QImage indexed = rgb.convertToFormat(QImage::Format_Indexed8);
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(Qt::blue);
    // An icon holding a PNG image.
    const QByteArray png = Encode(icon, "PNG");
    QByteArray pngIcon("\0\0\1\0\1\0", 6);
    char entry[16] = {16, 16, 0, 0, 1, 0, 32, 0};
    qToLittleEndian<quint32>(quint32(png.size()), entry + 8);
    qToLittleEndian<quint32>(22, entry + 12);
    pngIcon.append(entry, 16).append(png);

    const std::vector<std::pair<QByteArray, Picture::Format>> samples{
        {Encode(rgb, "BMP"), Picture::Format::Bitmap},
        {Encode(indexed, "BMP"), Picture::Format::Bitmap},
        {Encode(icon, "ICO"), Picture::Format::Icon},
        {pngIcon, Picture::Format::Icon},
        {png, Picture::Format::Png},
        {test::WriteSampleWmf(Path(QStringLiteral("cut.wmf"))), Picture::Format::Wmf},
        {test::WriteShapesWmf(Path(QStringLiteral("shapes.wmf"))), Picture::Format::Wmf},
        {test::WriteRecordTourWmf(Path(QStringLiteral("tour.wmf"))), Picture::Format::Wmf},
        {test::WriteSampleEmf(Path(QStringLiteral("cut.emf"))), Picture::Format::Emf},
        {test::WriteRecordTourEmf(Path(QStringLiteral("tour.emf"))), Picture::Format::Emf},
    };
    for (std::size_t k = 0; k < samples.size(); ++k) {
        const auto &[bytes, format] = samples[k];
        ASSERT_TRUE(Picture::FromData(bytes, format)) << "sample " << k;
        for (qsizetype length = 0; length < bytes.size(); ++length)
            ASSERT_FALSE(Picture::FromData(bytes.left(length), format)) << "sample " << k << " cut at " << length;
    }
}

// The bound of what a metafile's drawing may cost holds for enhanced
// metafiles too, counted from their records before they are converted: wide
// pens, and fills a world transform blows up.
TEST_F(PictureDecoding, CostlyEnhancedMetafileIsUnreadable)
{
    EXPECT_FALSE(
        Picture::FromData(test::WriteWidePenEmf(Path(QStringLiteral("pens.emf")), 2000), Picture::Format::Emf));
    EXPECT_FALSE(Picture::FromData(test::WriteScaledSquaresEmf(Path(QStringLiteral("big.emf")), 100, 1000),
                                   Picture::Format::Emf));
    // A hundred squares of a millionth of the picture each cost nothing.
    EXPECT_TRUE(Picture::FromData(test::WriteScaledSquaresEmf(Path(QStringLiteral("small.emf")), 100, 1),
                                  Picture::Format::Emf));
}

// An 8-bit bitmap of 2 × 1 pixels with a table of two colours (black and
// red) whose second pixel names colour `second`.
QByteArray TwoColourBitmap(quint8 second)
{
    QByteArray bmp(14 + 40 + 8 + 4, '\0');
    char *d = bmp.data();
    d[0] = 'B';
    d[1] = 'M';
    qToLittleEndian<quint32>(quint32(bmp.size()), d + 2);
    qToLittleEndian<quint32>(14 + 40 + 8, d + 10);
    qToLittleEndian<quint32>(40, d + 14);
    qToLittleEndian<qint32>(2, d + 18);
    qToLittleEndian<qint32>(1, d + 22);
    qToLittleEndian<quint16>(1, d + 26);
    qToLittleEndian<quint16>(8, d + 28);
    qToLittleEndian<quint32>(2, d + 46); // colours used
    d[54 + 4 + 2] = char(0xFF);          // the second colour: red
    d[62] = 1;
    d[63] = char(second);
    return bmp;
}

// A pixel naming a colour past its bitmap's table would be drawn from
// memory the file never held: such a bitmap is unreadable, alone or inside
// a metafile.
TEST_F(PictureDecoding, PaletteIndexesPastTheTableAreUnreadable)
{
    EXPECT_TRUE(Picture::FromData(TwoColourBitmap(1), Picture::Format::Bitmap));
    EXPECT_FALSE(Picture::FromData(TwoColourBitmap(200), Picture::Format::Bitmap));
    EXPECT_FALSE(Picture::FromData(TwoColourBitmap(2), Picture::Format::Bitmap));

    auto metafile = [this](quint8 second) {
        test::WmfSampleWriter wmf(Path(QStringLiteral("palette.wmf")));
        wmf.Add(U_WMRSETWINDOWEXT_set(point16_set(2, 1)));
        const QByteArray dib = TwoColourBitmap(second).mid(14);
        wmf.Add(U_WMRSTRETCHDIB_set(point16_set(0, 0), point16_set(2, 1), point16_set(0, 0), point16_set(2, 1),
                                    U_DIB_RGB_COLORS, U_SRCCOPY,
                                    reinterpret_cast<const U_BITMAPINFO *>(dib.constData()), 4, dib.constData() + 48));
        return wmf.Finish();
    };
    EXPECT_TRUE(pictures::WmfPicture::FromData(metafile(1)));
    EXPECT_FALSE(pictures::WmfPicture::FromData(metafile(200)));
}

} // namespace
