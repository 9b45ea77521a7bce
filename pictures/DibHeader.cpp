#include "pictures/DibHeader.h"

#include <algorithm>
#include <cstdlib>

namespace ralvo::pictures {

namespace {

constexpr quint32 kCoreHeaderBytes = 12;
constexpr quint32 kInfoHeaderBytes = 40;
constexpr quint32 kBitFields = 3;

} // namespace

std::optional<DibHeader> DibHeader::Read(const LittleEndian &dib)
{
    if (dib.Size() < kCoreHeaderBytes)
        return std::nullopt;
    DibHeader h;
    h.headerBytes = dib.U32(0);
    if (h.headerBytes == kCoreHeaderBytes) {
        h.kind = Kind::Core;
        h.width = dib.U16(4);
        h.height = dib.U16(6);
        h.bitCount = dib.U16(10);
        return h;
    }
    if (h.headerBytes >= kInfoHeaderBytes && h.headerBytes <= dib.Size())
        h.kind = Kind::Info;
    else if (dib.Size() >= 16)
        h.kind = Kind::Other;
    else
        return std::nullopt;
    h.width = dib.I32(4);
    h.height = std::abs(qint64(dib.I32(8)));
    if (h.kind == Kind::Info) {
        h.bitCount = dib.U16(14);
        h.compression = dib.U32(16);
        h.coloursUsed = dib.U32(32);
    }
    return h;
}

qint64 DibHeader::Colours() const
{
    if (coloursUsed != 0)
        return coloursUsed;
    return bitCount <= 8 ? qint64(1) << bitCount : 0;
}

qint64 DibHeader::PixelsOffset() const
{
    const qint64 entryBytes = kind == Kind::Core ? 3 : 4;
    const qint64 masks = compression == kBitFields && headerBytes == kInfoHeaderBytes ? 12 : 0;
    return qint64(headerBytes) + Colours() * entryBytes + masks;
}

bool ColoursWithinTable(const QImage &image)
{
    const int colours = image.colorCount();
    switch (image.format()) {
    case QImage::Format_Indexed8:
        if (colours >= 256)
            return true;
        for (int y = 0; y < image.height(); ++y) {
            const uchar *row = image.constScanLine(y);
            if (std::any_of(row, row + image.width(), [colours](uchar index) { return index >= colours; }))
                return false;
        }
        return true;
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        if (colours >= 2)
            return true;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelIndex(x, y) >= colours)
                    return false;
        return true;
    default:
        return true;
    }
}

} // namespace ralvo::pictures
