#include "print/PreviewZoom.h"

#include "calc/Rounding.h"

#include <cmath>

namespace ralvo::preview {

QSize FitPaper(QSize area)
{
    int width = area.width();
    int height = area.height();
    if (height >= width * kSheetRatio)
        height = RoundHalfEven(width * kSheetRatio);
    if (height < width * kSheetRatio)
        width = RoundHalfEven(height / kSheetRatio);
    return {width, height};
}

QSize ScaledPaper(int width, double factor)
{
    const int scaled = RoundHalfEven(width * factor);
    return {scaled, RoundHalfEven(scaled * kZoomInFactor)};
}

ZoomState ZoomIn(ZoomState state, QSize area)
{
    if (state.level < kMaxZoomLevel) {
        ++state.level;
        state.paper = state.level == 0 ? FitPaper(area) : ScaledPaper(state.paper.width(), kZoomInFactor);
    }
    if (state.level == kMaxZoomLevel)
        state.zoomInEnabled = false;
    if (state.level == kMinZoomLevel + 1)
        state.zoomOutEnabled = true;
    return state;
}

ZoomState ZoomOut(ZoomState state, QSize area)
{
    if (state.level > kMinZoomLevel) {
        --state.level;
        state.paper = state.level == 0 ? FitPaper(area) : ScaledPaper(state.paper.width(), kZoomOutFactor);
    }
    if (state.level == kMinZoomLevel)
        state.zoomOutEnabled = false;
    if (state.level == kMaxZoomLevel - 1)
        state.zoomInEnabled = true;
    return state;
}

} // namespace ralvo::preview
