#include "print/LazyImage.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <numeric>

namespace ralvo::platform {

namespace {

struct Mapping
{
    void *address = nullptr;
    std::size_t bytes = 0;
};

void Unmap(void *info)
{
    auto *mapping = static_cast<Mapping *>(info);
    munmap(mapping->address, mapping->bytes);
    delete mapping;
}

std::uintptr_t PageSize()
{
    static const std::uintptr_t size = [] {
        const long page = sysconf(_SC_PAGESIZE);
        return page > 0 ? std::uintptr_t(page) : std::uintptr_t(4096);
    }();
    return size;
}

} // namespace

QImage LazyImage(QSize size, QImage::Format format)
{
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    if (size.isEmpty() || depth <= 0 || depth > 32)
        return {};
    const qint64 bytesPerLine = (qint64(size.width()) * depth + 31) / 32 * 4;
    const qint64 bytes = bytesPerLine * size.height();
    if (bytesPerLine > INT32_MAX || bytes <= 0)
        return {};
    void *address =
        mmap(nullptr, std::size_t(bytes), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (address == MAP_FAILED)
        return {};
    auto *mapping = new Mapping{address, std::size_t(bytes)};
    QImage image(static_cast<uchar *>(address), size.width(), size.height(), bytesPerLine, format, &Unmap, mapping);
    if (image.isNull())
        Unmap(mapping);
    return image;
}

void DiscardRows(QImage &image, int top, int rows)
{
    if (image.isNull() || rows <= 0 || top < 0 || top >= image.height())
        return;
    rows = std::min(rows, image.height() - top);
    // bits() of a const image: no detach, so the pixels stay where they are.
    const uchar *base = std::as_const(image).constBits();
    const auto origin = reinterpret_cast<std::uintptr_t>(base);
    const auto first = origin + std::uintptr_t(qint64(top) * image.bytesPerLine());
    const auto end = first + std::uintptr_t(qint64(rows) * image.bytesPerLine());
    const std::uintptr_t page = PageSize();
    const std::uintptr_t from = (first + page - 1) / page * page;
    const std::uintptr_t to = end / page * page;
    if (to > from)
        madvise(const_cast<uchar *>(base) + (from - origin), to - from, MADV_DONTNEED);
}

int WholePageRows(const QImage &image, int rows)
{
    const auto bytesPerLine = std::uintptr_t(std::max<qsizetype>(image.bytesPerLine(), 1));
    const std::uintptr_t page = PageSize();
    const std::uintptr_t step = page / std::gcd(bytesPerLine, page); // rows in a whole number of pages
    return int((std::uintptr_t(std::max(rows, 1)) + step - 1) / step * step);
}

void MoveRows(QImage &image, int from, int to, int rows)
{
    if (image.isNull() || rows <= 0 || from < 0 || from >= image.height())
        return;
    if (to < 0 || to >= image.height() || to == from) {
        DiscardRows(image, from, rows);
        return;
    }
    const qint64 bytesPerLine = image.bytesPerLine();
    // bits() of a const image: no detach, so the pixels stay where they are.
    auto *base = const_cast<uchar *>(std::as_const(image).constBits());
    const auto origin = reinterpret_cast<std::uintptr_t>(base);
    const auto rowAddress = [&](int row) { return origin + std::uintptr_t(qint64(row) * bytesPerLine); };
    const std::uintptr_t page = PageSize();
    const qint64 shift = (qint64(to) - from) * bytesPerLine;
    const std::uintptr_t start = (rowAddress(from) + page - 1) / page * page;
    std::uintptr_t end =
        rowAddress(from) + std::uintptr_t(qint64(std::min(rows, image.height() - from)) * bytesPerLine);
    const std::uintptr_t targetEnd =
        rowAddress(to) + std::uintptr_t(qint64(std::min(rows, image.height() - to)) * bytesPerLine);
    end = std::min(end, std::uintptr_t(qint64(targetEnd) - shift)) / page * page;
    const auto bytes = end > start ? end - start : 0;
    const bool apart = shift % qint64(page) == 0 && std::uintptr_t(std::llabs(shift)) >= bytes;
    if (bytes == 0 || !apart) {
        DiscardRows(image, from, rows);
        return;
    }
    void *source = base + (start - origin);
    void *target = base + (qint64(start - origin) + shift);
    if (mremap(source, bytes, bytes, MREMAP_MAYMOVE | MREMAP_FIXED, target) == MAP_FAILED) {
        DiscardRows(image, from, rows);
        return;
    }
    // The rows left keep their place in the image, not yet backed again.
    if (mmap(source, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE | MAP_FIXED, -1, 0)
        == MAP_FAILED) {
        // Without it the image would have a hole: put the memory back.
        if (mremap(target, bytes, bytes, MREMAP_MAYMOVE | MREMAP_FIXED, source) == MAP_FAILED)
            std::abort();
        DiscardRows(image, from, rows);
    }
}

} // namespace ralvo::platform
