// The field reader and the bitmap header shared by the picture decoders:
// nothing is read past the end of the bytes, and the header is known only
// when the bytes hold it.
#include "pictures/DibHeader.h"
#include "pictures/LittleEndian.h"

#include <QtEndian>

#include <limits>

#include <gtest/gtest.h>

using namespace ralvo::pictures;

namespace {

TEST(LittleEndian, FieldsReadLowByteFirstAndOnlyWithinTheBytes)
{
    const QByteArray bytes("\x01\x02\x03\x84\xFF\x00\x80\x3F", 8);
    const LittleEndian d(bytes);
    EXPECT_EQ(d.U8(3), 0x84);
    EXPECT_EQ(d.U16(0), 0x0201);
    EXPECT_EQ(d.I16(2), qint16(0x8403));
    EXPECT_EQ(d.U32(0), 0x84030201u);
    EXPECT_EQ(d.I32(0), qint32(0x84030201u));
    EXPECT_EQ(d.F32(4), qFromLittleEndian<float>("\xFF\x00\x80\x3F"));

    // A field reaching past the end, or starting before the beginning, is 0.
    EXPECT_EQ(d.U32(5), 0u);
    EXPECT_EQ(d.U16(7), 0);
    EXPECT_EQ(d.U8(8), 0);
    EXPECT_EQ(d.U32(-1), 0u);
    EXPECT_EQ(d.U32(std::numeric_limits<qint64>::max() - 1), 0u);
    EXPECT_TRUE(d.Has(4, 4));
    EXPECT_TRUE(d.Has(8, 0));
    EXPECT_FALSE(d.Has(5, 4));
    EXPECT_FALSE(d.Has(2, -1));
    EXPECT_FALSE(d.Has(1, std::numeric_limits<qint64>::max()));

    // A part is cut to the bytes there are, and reads from its own start.
    const LittleEndian part = d.Part(6, 100);
    EXPECT_EQ(part.Size(), 2);
    EXPECT_EQ(part.U16(0), 0x3F80);
    EXPECT_EQ(part.U32(0), 0u);
    EXPECT_EQ(d.Part(20, 4).Size(), 0);
    EXPECT_EQ(d.Part(-3, 4).Size(), 0);
    EXPECT_EQ(d.Part(2, -1).Size(), 0);
    EXPECT_EQ(LittleEndian().U32(0), 0u);
}

QByteArray InfoHeader(qint32 width, qint32 height, quint16 bits, quint32 compression, quint32 colours,
                      quint32 size = 40)
{
    QByteArray h(int(size), '\0');
    qToLittleEndian<quint32>(size, h.data());
    qToLittleEndian<qint32>(width, h.data() + 4);
    qToLittleEndian<qint32>(height, h.data() + 8);
    qToLittleEndian<quint16>(1, h.data() + 12);
    qToLittleEndian<quint16>(bits, h.data() + 14);
    qToLittleEndian<quint32>(compression, h.data() + 16);
    qToLittleEndian<quint32>(colours, h.data() + 32);
    return h;
}

TEST(DibHeader, InfoHeaderGivesItsFieldsAndWhereThePixelsStart)
{
    const QByteArray indexed = InfoHeader(13, -7, 8, 0, 0);
    const auto h = DibHeader::Read(LittleEndian(indexed));
    ASSERT_TRUE(h);
    EXPECT_EQ(h->kind, DibHeader::Kind::Info);
    EXPECT_EQ(h->width, 13);
    EXPECT_EQ(h->height, 7); // top-down rows count the same
    EXPECT_EQ(h->bitCount, 8);
    EXPECT_EQ(h->Colours(), 256);
    EXPECT_EQ(h->PixelsOffset(), 40 + 256 * 4);
    EXPECT_EQ(h->RowBytes(), 16);

    // Declared colours, and the three masks of bit fields after 40 bytes.
    const auto fields = DibHeader::Read(LittleEndian(InfoHeader(3, 2, 16, 3, 2)));
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->PixelsOffset(), 40 + 2 * 4 + 12);
    EXPECT_EQ(fields->RowBytes(), 8);
    // A longer header carries its masks itself; true colour has no table.
    const auto v5 = DibHeader::Read(LittleEndian(InfoHeader(1, 1, 24, 3, 0, 124)));
    ASSERT_TRUE(v5);
    EXPECT_EQ(v5->PixelsOffset(), 124);
}

TEST(DibHeader, CoreHeaderHasThreeByteColours)
{
    QByteArray core(12, '\0');
    qToLittleEndian<quint32>(12, core.data());
    qToLittleEndian<quint16>(0xFFFF, core.data() + 4); // unsigned in a core header
    qToLittleEndian<quint16>(5, core.data() + 6);
    qToLittleEndian<quint16>(4, core.data() + 10);
    const auto h = DibHeader::Read(LittleEndian(core));
    ASSERT_TRUE(h);
    EXPECT_EQ(h->kind, DibHeader::Kind::Core);
    EXPECT_EQ(h->width, 0xFFFF);
    EXPECT_EQ(h->height, 5);
    EXPECT_EQ(h->compression, 0u);
    EXPECT_EQ(h->PixelsOffset(), 12 + 16 * 3);
}

TEST(DibHeader, ShortOrOddHeadersGiveOnlyWhatTheyHold)
{
    const QByteArray info = InfoHeader(9, 9, 8, 0, 0);
    // Shorter than the core header, or than an odd header's width and height.
    EXPECT_FALSE(DibHeader::Read(LittleEndian(info.left(11))));
    QByteArray odd = info;
    qToLittleEndian<quint32>(20, odd.data());
    EXPECT_FALSE(DibHeader::Read(LittleEndian(odd.left(15))));
    const auto other = DibHeader::Read(LittleEndian(odd.left(16)));
    ASSERT_TRUE(other);
    EXPECT_EQ(other->kind, DibHeader::Kind::Other);
    EXPECT_EQ(other->width, 9);
    EXPECT_EQ(other->bitCount, 0); // not read from an unknown layout
    // An info header cut short is no info header.
    const auto cut = DibHeader::Read(LittleEndian(info.left(39)));
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->kind, DibHeader::Kind::Other);
}

} // namespace
