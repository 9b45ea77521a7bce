#pragma once

// The preview's sheet on screen: fitting a sheet of proportions 1 : 1.414
// into the visible area, and the five zoom levels with their buttons. Pure
// arithmetic on integer sizes; round is to the nearest integer with halves
// to even.

#include <QSize>

namespace ralvo::preview {

inline constexpr int kMinZoomLevel = -2;
inline constexpr int kMaxZoomLevel = 2;
inline constexpr double kSheetRatio = 1.414;       // height : width when fitting
inline constexpr double kZoomInFactor = 1.414213;  // one step in doubles the area
inline constexpr double kZoomOutFactor = 0.707106; // one step out halves it

// The largest sheet of proportions 1 : 1.414 that fits into `area`: the
// height is cut to the width first, then the width is recomputed from the
// height whenever the height is below width × 1.414 (also right after the
// cut, so a height rounded down gives the width anew).
QSize FitPaper(QSize area);

// The zoom level, the sheet's size and the enabled state of the two zoom
// buttons, kept for the whole run.
struct ZoomState
{
    int level = 0;
    QSize paper;
    bool zoomInEnabled = true;
    bool zoomOutEnabled = true;

    friend bool operator==(const ZoomState &, const ZoomState &) = default;
};

// One step in or out. A step that arrives at level 0 fits the sheet into
// `area` afresh; any other step scales the previous step's width and takes
// the height from the new width. At the end levels nothing changes.
ZoomState ZoomIn(ZoomState state, QSize area);
ZoomState ZoomOut(ZoomState state, QSize area);

// The sheet's size at a level other than 0 after a step from `width`.
QSize ScaledPaper(int width, double factor);

} // namespace ralvo::preview
