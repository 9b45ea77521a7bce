#pragma once

// A PNG of 8-bit RGB rows written as they come: the picture never has to
// exist whole. Each row is stored with PNG's "up" filter (its difference
// from the row above) and compressed with runs of the same byte or the same
// pixel, coded in Huffman blocks made for their own rows. A page of text
// and rules on white compresses about as well as with zlib's fastest level,
// several times faster.

#include <QByteArray>
#include <QSize>

#include <vector>

namespace ralvo {

class PngStream
{
public:
    // Writes the signature and the header of a `size` picture at `dpi` to `out`.
    PngStream(QByteArray &out, QSize size, int dpi);

    // The next `rows` rows of the picture, the first at `first` and each
    // `bytesPerLine` after the one before, in 32-bit xRGB pixels
    // (QImage::Format_RGB32; the top byte is ignored).
    void Rows(const uchar *first, qsizetype bytesPerLine, int rows);

    // Ends the picture; false when not every row was given.
    bool Finish();

private:
    void Row(const uchar *pixels, const uchar *above);
    void Match(const uchar *data, qsizetype length);
    void Block(bool last);
    void Bits(quint32 value, int count);
    void Chunk(const char (&type)[5], const QByteArray &data);
    void FlushData(bool all);

    QByteArray &m_out;
    int m_width;
    int m_height;
    int m_rowsDone = 0;
    qint64 m_written = 0;          // bytes of filtered rows so far
    quint32 m_adler = 1;           // Adler-32 of the filtered rows
    std::vector<uchar> m_above;    // the last row given, as given (zeros above the first)
    std::vector<uchar> m_filtered; // 3 bytes of what came before, then filter byte and row
    std::vector<quint32> m_tokens; // literals and runs of the block being gathered
    quint64 m_bitBuffer = 0;
    int m_bitCount = 0;
    QByteArray m_data; // compressed bytes not yet put in a chunk
};

} // namespace ralvo
