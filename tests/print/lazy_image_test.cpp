// The lazily backed image: rows moved on keep their pixels in their new
// place, the rows left stay part of the image, and memory is taken for one
// band at a time.

#include "print/LazyImage.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cstring>
#include <fstream>

using namespace ralvo::platform;

namespace {

// Resident memory of this process, in bytes.
qint64 Resident()
{
    std::ifstream statm("/proc/self/statm");
    qint64 size = 0;
    qint64 resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

void Fill(QImage &image, int top, int rows, quint32 value)
{
    for (int y = top; y < top + rows; ++y) {
        auto *row = reinterpret_cast<quint32 *>(image.scanLine(y));
        std::fill(row, row + image.width(), value + quint32(y));
    }
}

// Whether rows from `top` hold what Fill(…, `from`, …, value) wrote, moved by top − from.
bool Holds(const QImage &image, int top, int from, int rows, quint32 value, int skipEdges = 0)
{
    for (int y = top + skipEdges; y < top + rows - skipEdges; ++y) {
        const auto *row = reinterpret_cast<const quint32 *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (row[x] != value + quint32(y - top + from))
                return false;
        }
    }
    return true;
}

} // namespace

TEST(LazyImage, MovedRowsKeepTheirPixelsInTheirNewPlace)
{
    // 1024 rows of a width whose rows are not a whole number of memory
    // pages: band starts fall on page boundaries, as on the page sheets.
    QImage image = LazyImage(QSize(4958, 4000), QImage::Format_RGB32);
    ASSERT_FALSE(image.isNull());
    Fill(image, 0, 1024, 1000);
    MoveRows(image, 0, 1024, 1024);
    // Whole pages moved; rows at the band's edges may share a page with the
    // rows beside them and are not promised.
    EXPECT_TRUE(Holds(image, 1024, 0, 1024, 1000, 1));
    // The rows left are still the image's: written and read again.
    Fill(image, 0, 1024, 7);
    EXPECT_TRUE(Holds(image, 0, 0, 1024, 7));
    // The last band is shorter: only what lies in the image is moved.
    Fill(image, 2048, 1024, 50);
    MoveRows(image, 2048, 3072, 1024);
    EXPECT_TRUE(Holds(image, 3072, 2048, 928, 50, 1));
    // Rows moved past the end are given back.
    MoveRows(image, 3072, 4096, 1024);
    Fill(image, 3072, 928, 9);
    EXPECT_TRUE(Holds(image, 3072, 3072, 928, 9));
}

TEST(LazyImage, ABandMovedOnTakesNoFurtherMemory)
{
    QImage image = LazyImage(QSize(4096, 8 * 512), QImage::Format_RGB32); // 8 bands of 8 MiB
    ASSERT_FALSE(image.isNull());
    const qint64 before = Resident();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const long faultsBefore = usage.ru_minflt;
    for (int top = 0; top < image.height(); top += 512) {
        Fill(image, top, 512, 1);
        MoveRows(image, top, top + 512, 512);
    }
    getrusage(RUSAGE_SELF, &usage);
    const qint64 band = 512 * image.bytesPerLine();
    EXPECT_LT(Resident() - before, 2 * band);
    // The memory of the first band is taken once, not again for each band
    // (which would be 8 bands' faults). Half of that leaves room for the
    // faults a sanitizer's shadow memory and a busy machine add.
    EXPECT_LT(usage.ru_minflt - faultsBefore, 4 * band / sysconf(_SC_PAGESIZE));
}

TEST(LazyImage, BandsOfWholePages)
{
    // A4 at 600 dpi is 4958 pixels wide: 512 rows are whole pages of 4 KiB.
    const long page = sysconf(_SC_PAGESIZE);
    for (const auto &[width, rows4k] : {std::pair{4958, 512}, {4957, 1024}, {1024, 512}, {1, 1024}}) {
        const QImage image = LazyImage(QSize(width, 10), QImage::Format_RGB32);
        const int rows = WholePageRows(image, 512);
        EXPECT_GE(rows, 512);
        EXPECT_EQ(qint64(rows) * image.bytesPerLine() % page, 0) << width;
        if (page == 4096) {
            EXPECT_EQ(rows, rows4k) << width;
        }
    }
}

TEST(LazyImage, RowsNotWholePagesApartAreGivenBack)
{
    QImage image = LazyImage(QSize(1001, 300), QImage::Format_RGB32);
    ASSERT_FALSE(image.isNull());
    Fill(image, 0, 100, 3);
    MoveRows(image, 0, 101, 100); // 101 rows of 4004 bytes: not a whole number of pages
    Fill(image, 0, 300, 4);
    EXPECT_TRUE(Holds(image, 0, 0, 300, 4));
}
