#include "print/PngStream.h"

#include <QtEndian>

#include <zlib.h>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <queue>

namespace ralvo {

namespace {

// Deflate's length codes 257–285: the shortest length of each, and its extra
// bits; four codes to a row, as deflate's own table gives them.
struct LengthCode
{
    int base;
    int extraBits;
};
// clang-format off
constexpr std::array<LengthCode, 29> kLengthCodes = {{
    {3, 0},   {4, 0},   {5, 0},   {6, 0},   // 257–260
    {7, 0},   {8, 0},   {9, 0},   {10, 0},  // 261–264
    {11, 1},  {13, 1},  {15, 1},  {17, 1},  // 265–268
    {19, 2},  {23, 2},  {27, 2},  {31, 2},  // 269–272
    {35, 3},  {43, 3},  {51, 3},  {59, 3},  // 273–276
    {67, 4},  {83, 4},  {99, 4},  {115, 4}, // 277–280
    {131, 5}, {163, 5}, {195, 5}, {227, 5}, // 281–284
    {258, 0},                               // 285
}};
// clang-format on
constexpr int kLongestRun = 258;

// The order in which a dynamic block gives the lengths of its code-length code.
constexpr std::array<int, 19> kCodeLengthOrder = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

// Tokens: a literal byte as it is; a run as kRun | length, with kRunOfPixels
// when it repeats the pixel before (distance 3) rather than the byte before.
constexpr quint32 kRun = 0x10000;
constexpr quint32 kRunOfPixels = 0x8000;

// A block is closed after this many tokens, so that its codes fit its rows.
constexpr std::size_t kBlockTokens = 1 << 17;

// Compressed bytes gathered before they are written as a chunk.
constexpr qsizetype kChunkBytes = 1 << 18;

const std::array<quint8, kLongestRun + 1> &LengthCodes()
{
    static const auto codes = [] {
        std::array<quint8, kLongestRun + 1> table{};
        for (int length = 3; length <= kLongestRun; ++length) {
            int code = 0;
            while (code + 1 < int(kLengthCodes.size()) && kLengthCodes[std::size_t(code) + 1].base <= length)
                ++code;
            table[std::size_t(length)] = quint8(code);
        }
        return table;
    }();
    return codes;
}

// How many bytes from `a` equal those from `b`, at most `most`.
int SameBytes(const uchar *a, const uchar *b, int most)
{
    int n = 0;
    if constexpr (std::endian::native == std::endian::little) {
        while (n + 8 <= most) {
            quint64 x = 0;
            quint64 y = 0;
            std::memcpy(&x, a + n, 8);
            std::memcpy(&y, b + n, 8);
            if (x != y)
                return n + std::countr_zero(x ^ y) / 8;
            n += 8;
        }
    }
    while (n < most && a[n] == b[n])
        ++n;
    return n;
}

// The "up" filter of a row of 32-bit xRGB pixels, written as RGB bytes:
// each byte less the one above it. `out` has room for 16 bytes more than
// the row.
void FilterRowPortable(const uchar *pixels, const uchar *above, uchar *out, int from, int width)
{
    const auto load = [](const uchar *at) {
        quint32 value = 0;
        std::memcpy(&value, at, 4);
        return value;
    };
    for (int x = from; x < width; ++x) {
        // Bytewise a − b, with no borrow from one byte into the next.
        constexpr quint32 high = 0x80808080u;
        const quint32 a = load(pixels + 4 * x);
        const quint32 b = load(above + 4 * x);
        const quint32 d = ((a | high) - (b & ~high)) ^ ((a ^ ~b) & high);
        out[3 * x] = uchar(d >> 16);
        out[3 * x + 1] = uchar(d >> 8);
        out[3 * x + 2] = uchar(d);
    }
}

#if defined(__x86_64__) || defined(__i386__)
// Four pixels at a time; the rest is left to the portable loop.
__attribute__((target("ssse3"))) int FilterRowSsse3(const uchar *pixels, const uchar *above, uchar *out, int width)
{
    // Each pixel's bytes B, G, R, x in memory become R, G, B.
    const __m128i order = _mm_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1);
    int x = 0;
    for (; x + 4 <= width; x += 4) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(pixels + 4 * x));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(above + 4 * x));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + 3 * x), _mm_shuffle_epi8(_mm_sub_epi8(a, b), order));
    }
    return x;
}
#endif

void FilterRow(const uchar *pixels, const uchar *above, uchar *out, int width)
{
    int done = 0;
#if defined(__x86_64__) || defined(__i386__)
    static const bool ssse3 = __builtin_cpu_supports("ssse3");
    if (ssse3)
        done = FilterRowSsse3(pixels, above, out, width);
#endif
    FilterRowPortable(pixels, above, out, done, width);
}

// Huffman code lengths for `frequencies`, none longer than `limit`; symbols
// of frequency 0 get none. At least two symbols must occur.
std::vector<int> CodeLengths(std::vector<quint64> frequencies, int limit)
{
    const std::size_t symbols = frequencies.size();
    for (;;) {
        // Nodes 0 … symbols−1 are the leaves; each merge adds a parent.
        std::vector<int> parent(symbols, -1);
        using Node = std::pair<quint64, int>;
        std::priority_queue<Node, std::vector<Node>, std::greater<>> queue;
        for (std::size_t s = 0; s < symbols; ++s) {
            if (frequencies[s] > 0)
                queue.emplace(frequencies[s], int(s));
        }
        while (queue.size() > 1) {
            const Node a = queue.top();
            queue.pop();
            const Node b = queue.top();
            queue.pop();
            const int merged = int(parent.size());
            parent.push_back(-1);
            parent[std::size_t(a.second)] = merged;
            parent[std::size_t(b.second)] = merged;
            queue.emplace(a.first + b.first, merged);
        }
        std::vector<int> lengths(symbols, 0);
        int longest = 0;
        for (std::size_t s = 0; s < symbols; ++s) {
            if (frequencies[s] == 0)
                continue;
            int depth = 0;
            for (int node = parent[s]; node >= 0; node = parent[std::size_t(node)])
                ++depth;
            lengths[s] = depth;
            longest = std::max(longest, depth);
        }
        if (longest <= limit)
            return lengths;
        // Too deep: flatten the frequencies and build again.
        for (quint64 &f : frequencies) {
            if (f > 0)
                f = (f + 1) / 2;
        }
    }
}

// Canonical codes for `lengths`, bit-reversed as deflate sends them.
std::vector<quint32> Codes(const std::vector<int> &lengths)
{
    std::array<int, 16> count{};
    for (int length : lengths)
        ++count[std::size_t(length)];
    count[0] = 0;
    std::array<quint32, 16> next{};
    quint32 code = 0;
    for (std::size_t bits = 1; bits < 16; ++bits) {
        code = (code + quint32(count[bits - 1])) << 1;
        next[bits] = code;
    }
    std::vector<quint32> codes(lengths.size(), 0);
    for (std::size_t s = 0; s < lengths.size(); ++s) {
        const int length = lengths[s];
        if (length == 0)
            continue;
        const quint32 value = next[std::size_t(length)]++;
        quint32 reversed = 0;
        for (int b = 0; b < length; ++b)
            reversed |= ((value >> b) & 1u) << (length - 1 - b);
        codes[s] = reversed;
    }
    return codes;
}

} // namespace

PngStream::PngStream(QByteArray &out, QSize size, int dpi) : m_out(out), m_width(size.width()), m_height(size.height())
{
    m_out.append("\x89PNG\r\n\x1a\n", 8);
    QByteArray header(13, '\0');
    qToBigEndian<quint32>(quint32(size.width()), header.data());
    qToBigEndian<quint32>(quint32(size.height()), header.data() + 4);
    header[8] = 8; // bits per channel
    header[9] = 2; // RGB
    Chunk("IHDR", header);
    QByteArray physical(9, '\0');
    const auto perMetre = quint32(std::nearbyint(dpi / 0.0254));
    qToBigEndian<quint32>(perMetre, physical.data());
    qToBigEndian<quint32>(perMetre, physical.data() + 4);
    physical[8] = 1; // metres
    Chunk("pHYs", physical);

    const std::size_t rowBytes = 3 * std::size_t(std::max(m_width, 0));
    m_above.assign(4 * std::size_t(std::max(m_width, 0)), 0);
    m_filtered.assign(3 + 1 + rowBytes + 16, 0); // room for the filter's last store
    m_tokens.reserve(kBlockTokens + std::size_t(1 + rowBytes));
    m_data.append("\x78\x01", 2); // deflate, 32 KiB window, no dictionary
}

void PngStream::Rows(const uchar *first, qsizetype bytesPerLine, int rows)
{
    rows = std::min(rows, m_height - m_rowsDone);
    for (int y = 0; y < rows; ++y) {
        const uchar *row = first + y * bytesPerLine;
        Row(row, y == 0 ? m_above.data() : row - bytesPerLine);
    }
    // The row above the next call's first: its rows may be gone by then.
    if (rows > 0)
        std::memcpy(m_above.data(), first + (rows - 1) * bytesPerLine, m_above.size());
}

void PngStream::Row(const uchar *pixels, const uchar *abovePixels)
{
    uchar *filtered = m_filtered.data() + 3;
    filtered[0] = 2; // "up": each byte less the one above it
    FilterRow(pixels, abovePixels, filtered + 1, m_width);

    const auto length = qsizetype(1 + 3 * qsizetype(m_width));
    Match(filtered, length);
    std::memcpy(m_filtered.data(), filtered + length - 3, 3); // what the next row may repeat
    m_written += length;
    ++m_rowsDone;
    if (m_tokens.size() >= kBlockTokens) {
        Block(false);
        FlushData(false);
    }
}

void PngStream::Match(const uchar *data, qsizetype length)
{
    // Runs of the byte before (long stretches of one colour after the
    // filter: white, or rows like the one above) or of the pixel before.
    // The Adler-32 sum of the stream is kept on the way: a run of one byte
    // is summed at once.
    constexpr quint64 base = 65521;
    quint64 a = m_adler & 0xFFFF;
    quint64 b = m_adler >> 16;
    qsizetype i = 0;
    while (i < length) {
        const int room = int(std::min<qsizetype>(kLongestRun, length - i));
        int run = m_written + i >= 1 ? SameBytes(data + i, data + i - 1, room) : 0;
        bool pixels = false;
        if (run < room && m_written + i >= 3) {
            const int pixelRun = SameBytes(data + i, data + i - 3, room);
            if (pixelRun > run) {
                run = pixelRun;
                pixels = true;
            }
        }
        if (run >= 3) {
            m_tokens.push_back(kRun | (pixels ? kRunOfPixels : 0) | quint32(run));
            if (pixels) {
                for (int k = 0; k < run; ++k) {
                    a += data[i + k];
                    b += a;
                }
            } else {
                const quint64 n = quint64(run);
                const quint64 v = data[i - 1];
                b += n * a + v * n * (n + 1) / 2;
                a += n * v;
            }
            a %= base;
            b %= base;
            i += run;
        } else {
            m_tokens.push_back(data[i]);
            a += data[i];
            b += a;
            ++i;
        }
    }
    m_adler = quint32(((b % base) << 16) | (a % base));
}

void PngStream::Block(bool last)
{
    const auto &lengthCodes = LengthCodes();
    std::vector<quint64> literalFrequency(286, 0);
    std::vector<quint64> distanceFrequency(30, 0);
    for (const quint32 token : m_tokens) {
        if (token & kRun) {
            ++literalFrequency[257 + std::size_t(lengthCodes[token & 0x1FF])];
            ++distanceFrequency[(token & kRunOfPixels) ? 2 : 0];
        } else {
            ++literalFrequency[token];
        }
    }
    ++literalFrequency[256]; // end of block
    if (literalFrequency[0] == 0)
        literalFrequency[0] = 1; // two symbols at least: a whole code
    // Both distances always have a code, so the distance code is whole too.
    distanceFrequency[0] = std::max<quint64>(distanceFrequency[0], 1);
    distanceFrequency[2] = std::max<quint64>(distanceFrequency[2], 1);

    const std::vector<int> literalLengths = CodeLengths(literalFrequency, 15);
    const std::vector<int> distanceLengths = CodeLengths(distanceFrequency, 15);
    const std::vector<quint32> literalCodes = Codes(literalLengths);
    const std::vector<quint32> distanceCodes = Codes(distanceLengths);

    int literalCount = 286;
    while (literalCount > 257 && literalLengths[std::size_t(literalCount) - 1] == 0)
        --literalCount;
    const int distanceCount = 3; // codes 0 (byte before) and 2 (pixel before)

    // The code lengths, zeros in runs (17: 3–10, 18: 11–138).
    std::vector<int> lengths(literalLengths.begin(), literalLengths.begin() + literalCount);
    lengths.insert(lengths.end(), distanceLengths.begin(), distanceLengths.begin() + distanceCount);
    std::vector<std::pair<int, int>> symbols; // code-length symbol, its extra value
    for (std::size_t i = 0; i < lengths.size();) {
        std::size_t zeros = 0;
        while (i + zeros < lengths.size() && lengths[i + zeros] == 0 && zeros < 138)
            ++zeros;
        if (zeros >= 11) {
            symbols.emplace_back(18, int(zeros) - 11);
            i += zeros;
        } else if (zeros >= 3) {
            symbols.emplace_back(17, int(zeros) - 3);
            i += zeros;
        } else {
            symbols.emplace_back(lengths[i], 0);
            ++i;
        }
    }
    std::vector<quint64> symbolFrequency(19, 0);
    for (const auto &[symbol, extra] : symbols)
        ++symbolFrequency[std::size_t(symbol)];
    // The code-length code must be whole: two symbols at least.
    if (std::count_if(symbolFrequency.begin(), symbolFrequency.end(), [](quint64 f) { return f > 0; }) < 2)
        ++symbolFrequency[symbolFrequency[0] == 0 ? 0 : 1];
    const std::vector<int> symbolLengths = CodeLengths(symbolFrequency, 7);
    const std::vector<quint32> symbolCodes = Codes(symbolLengths);
    int orderCount = 19;
    while (orderCount > 4 && symbolLengths[std::size_t(kCodeLengthOrder[std::size_t(orderCount) - 1])] == 0)
        --orderCount;

    Bits(last ? 1 : 0, 1);
    Bits(2, 2); // dynamic Huffman codes
    Bits(quint32(literalCount - 257), 5);
    Bits(quint32(distanceCount - 1), 5);
    Bits(quint32(orderCount - 4), 4);
    for (int i = 0; i < orderCount; ++i)
        Bits(quint32(symbolLengths[std::size_t(kCodeLengthOrder[std::size_t(i)])]), 3);
    for (const auto &[symbol, extra] : symbols) {
        Bits(symbolCodes[std::size_t(symbol)], symbolLengths[std::size_t(symbol)]);
        if (symbol == 17)
            Bits(quint32(extra), 3);
        else if (symbol == 18)
            Bits(quint32(extra), 7);
    }

    for (const quint32 token : m_tokens) {
        if (token & kRun) {
            const int length = int(token & 0x1FF);
            const std::size_t code = lengthCodes[std::size_t(length)];
            Bits(literalCodes[257 + code], literalLengths[257 + code]);
            if (kLengthCodes[code].extraBits > 0)
                Bits(quint32(length - kLengthCodes[code].base), kLengthCodes[code].extraBits);
            const std::size_t distance = (token & kRunOfPixels) ? 2 : 0;
            Bits(distanceCodes[distance], distanceLengths[distance]);
        } else {
            Bits(literalCodes[token], literalLengths[token]);
        }
    }
    Bits(literalCodes[256], literalLengths[256]);
    m_tokens.clear();
}

void PngStream::Bits(quint32 value, int count)
{
    m_bitBuffer |= quint64(value) << m_bitCount;
    m_bitCount += count;
    if (m_bitCount >= 32) {
        char bytes[4];
        qToLittleEndian<quint32>(quint32(m_bitBuffer), bytes);
        m_data.append(bytes, 4);
        m_bitBuffer >>= 32;
        m_bitCount -= 32;
    }
}

void PngStream::FlushData(bool all)
{
    if (m_data.size() >= kChunkBytes || (all && !m_data.isEmpty())) {
        Chunk("IDAT", m_data);
        m_data.clear();
    }
}

bool PngStream::Finish()
{
    if (m_rowsDone != m_height)
        return false;
    Block(true);
    while (m_bitCount > 0) {
        m_data.append(char(m_bitBuffer & 0xFF));
        m_bitBuffer >>= 8;
        m_bitCount = std::max(m_bitCount - 8, 0);
    }
    char adler[4];
    qToBigEndian<quint32>(m_adler, adler);
    m_data.append(adler, 4);
    FlushData(true);
    Chunk("IEND", {});
    return true;
}

void PngStream::Chunk(const char (&type)[5], const QByteArray &data)
{
    char length[4];
    qToBigEndian<quint32>(quint32(data.size()), length);
    m_out.append(length, 4);
    const qsizetype start = m_out.size();
    m_out.append(type, 4);
    m_out.append(data);
    const uLong crc = crc32(0, reinterpret_cast<const Bytef *>(m_out.constData() + start), uInt(m_out.size() - start));
    char check[4];
    qToBigEndian<quint32>(quint32(crc), check);
    m_out.append(check, 4);
}

} // namespace ralvo
