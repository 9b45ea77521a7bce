#pragma once

// The schedule page as a file: a one-page PDF (fonts embedded, text
// selectable) or a PNG picture of the whole sheet, at a chosen paper size and
// resolution. The printer is not involved: the sheet is the full paper with
// no unprintable margins.

#include "print/SchedulePage.h"

#include <QByteArray>
#include <QPageSize>
#include <QSize>

#include <functional>

#include <vector>

namespace ralvo {

enum class PagePaper { A4, JisB5 };

// Lowest and highest resolution accepted for page files.
inline constexpr int kMinPageDpi = 1;
inline constexpr int kMaxPageDpi = 1200;

QPageSize PageSizeOf(PagePaper paper);
// The whole sheet in device units at `dpi` (A4 at 600 dpi: 4958 × 7017).
QSize SheetPixels(PagePaper paper, int dpi);

// The page drawn for a printer-like sheet: thin rules of
// round(0.0005 × width) + 1, no outline, no offsets.
PageTarget SheetTarget(QPainter &painter, QSize sheet);

struct PageFile
{
    PageResult result = PageResult::Drawn;
    QByteArray bytes;       // empty unless drawn
    QString error;          // why the file could not be made, when bytes is empty after Drawn
    bool cancelled = false; // stopped by the caller's progress step: no bytes, no error
};

// Told after each page of a document is drawn, with the number drawn so far;
// returns false to stop (the document is then thrown away).
using PageProgress = std::function<bool(std::size_t drawn)>;

// One PDF with a page for each entry, in order. Stops at the first page whose
// input fails (that result, no bytes); no entry at all is an error. A page is
// drawn by `draw` (the schedule page unless given); `progress`, when given,
// is told after every page and may stop the document.
PageFile RenderPagesPdf(PagePaper paper, int dpi, const std::vector<PageSources> &pages,
                        const PageProgress &progress = {}, const PageDrawing &draw = {});
// The page alone as PDF or PNG, drawn by `draw` as above.
PageFile RenderPagePdf(PagePaper paper, int dpi, const PageSources &sources, const PageDrawing &draw = {});
PageFile RenderPagePng(PagePaper paper, int dpi, const PageSources &sources, const PageDrawing &draw = {});

} // namespace ralvo
