// The PNG written row by row: whatever the rows hold and however they are
// handed over, the file decodes (its checksums hold) to exactly those pixels.

#include "print/PngStream.h"

#include <QImage>
#include <QImageReader>
#include <QRandomGenerator>
#include <QtEndian>

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>

using namespace ralvo;

namespace {

// The zlib stream of the IDAT chunks, inflated; empty when it does not
// inflate to exactly `expected` bytes with a matching Adler-32.
QByteArray Inflate(const QByteArray &png, qsizetype expected)
{
    QByteArray stream;
    for (qsizetype at = 8; at + 12 <= png.size();) {
        const auto length = qsizetype(qFromBigEndian<quint32>(png.constData() + at));
        if (png.mid(at + 4, 4) == "IDAT")
            stream += png.mid(at + 8, length);
        at += 12 + length;
    }
    QByteArray out(expected + 1, '\0');
    auto size = uLongf(out.size());
    if (uncompress(reinterpret_cast<Bytef *>(out.data()), &size, reinterpret_cast<const Bytef *>(stream.constData()),
                   uLong(stream.size()))
            != Z_OK
        || qsizetype(size) != expected)
        return {};
    out.resize(expected);
    return out;
}

// `image` written through the stream in bands of `band` rows; each band's
// rows are spoilt once handed over, as the sheet's are.
QByteArray Encode(QImage image, int band)
{
    QByteArray bytes;
    PngStream png(bytes, image.size(), 300);
    for (int top = 0; top < image.height(); top += band) {
        const int rows = std::min(band, image.height() - top);
        png.Rows(image.constScanLine(top), image.bytesPerLine(), rows);
        for (int y = top; y < top + rows; ++y)
            std::memset(image.scanLine(y), 0x5A, std::size_t(image.bytesPerLine()));
    }
    EXPECT_TRUE(png.Finish());
    return bytes;
}

void ExpectSamePixels(const QImage &expected, const QByteArray &png)
{
    const qsizetype rowBytes = 1 + 3 * qsizetype(expected.width());
    EXPECT_EQ(Inflate(png, rowBytes * expected.height()).size(), rowBytes * expected.height())
        << "the zlib stream or its checksum is wrong";
    const QImage decoded = QImage::fromData(png, "PNG");
    ASSERT_EQ(decoded.size(), expected.size());
    const QImage rgb = decoded.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            ASSERT_EQ(rgb.pixel(x, y) & 0xFFFFFF, expected.pixel(x, y) & 0xFFFFFF) << "at " << x << ", " << y;
        }
    }
}

// Rows as a page has them: white, runs of colours, rows repeating the one
// above, stretches of noise (antialiased edges), and xRGB top bytes that are
// not 0xFF.
QImage Sample(QSize size, quint32 seed)
{
    QRandomGenerator random(seed);
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto *row = reinterpret_cast<quint32 *>(image.scanLine(y));
        const int kind = int(random.bounded(5));
        if (y > 0 && kind == 0) {
            std::memcpy(row, image.constScanLine(y - 1), std::size_t(image.bytesPerLine()));
            continue;
        }
        for (int x = 0; x < size.width(); ++x) {
            const quint32 top = quint32(random.bounded(256)) << 24;
            switch (kind) {
            case 1:
                row[x] = top | 0xFFFFFF;
                break;
            case 2:
                row[x] = top | ((x / 7) % 2 ? 0x102030u : 0xFFFFFFu);
                break;
            case 3:
                row[x] = top | (random.generate() & 0xFFFFFF);
                break;
            default:
                row[x] = top | (x % 13 < 5 ? 0x808000u : 0xFFFFFFu - quint32(x % 3));
                break;
            }
        }
    }
    return image;
}

} // namespace

TEST(PngStream, DecodesToTheRowsWhateverTheirWidthAndBands)
{
    QImageReader::setAllocationLimit(0);
    // Widths of 1 to 5 pixels, and rows longer than deflate's 32 KiB window.
    for (const QSize size : {QSize(1, 9), QSize(2, 7), QSize(3, 5), QSize(5, 40), QSize(64, 64), QSize(11000, 3)}) {
        for (const int band : {1, 3, 1024}) {
            const QImage image = Sample(size, quint32(size.width() * 31 + band));
            SCOPED_TRACE(testing::Message() << size.width() << " x " << size.height() << " in bands of " << band);
            ExpectSamePixels(image, Encode(image, band));
        }
    }
}

TEST(PngStream, NoiseAndLongRunsFillManyBlocks)
{
    // Noise gives a token a byte: several Huffman blocks, each with its own
    // codes; a white sheet gives nothing but runs.
    QImage noise(700, 300, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < noise.height(); ++y) {
        auto *row = reinterpret_cast<quint32 *>(noise.scanLine(y));
        for (int x = 0; x < noise.width(); ++x)
            row[x] = random.generate() | 0xFF000000u;
    }
    ExpectSamePixels(noise, Encode(noise, 100));

    QImage white(3000, 2000, QImage::Format_RGB32);
    white.fill(Qt::white);
    const QByteArray png = Encode(white, 512);
    ExpectSamePixels(white, png);
    EXPECT_LT(png.size(), 40000) << "runs are coded in a few bits";
}

TEST(PngStream, TellsAPictureLeftShort)
{
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    QByteArray bytes;
    PngStream png(bytes, image.size(), 300);
    png.Rows(image.constScanLine(0), image.bytesPerLine(), 9);
    EXPECT_FALSE(png.Finish());
}
