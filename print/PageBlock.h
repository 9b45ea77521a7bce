#pragma once

// The institution block on the schedule page: its frames mapped into the box
// below the table, with the page's messages for damaged frames.

#include "kikanmei/KikanmeiBlock.h"
#include "print/PageGeometry.h"

class QPainter;

namespace ralvo {

namespace platform {
class Messages;
class Sounds;
} // namespace platform

// Message for a frame whose edges are not all integers.
QString IncompleteBlockMessage();
// Message for a frame whose picture was found unreadable earlier ("Non").
QString UnreadablePictureMessage();

// Device edges of a frame whose stored edges may be damaged: each edge that
// is an integer maps to the sheet, the others keep `previous` (the edges of
// the frame before, all 0 for the first). `complete` tells whether all four
// were integers.
struct PageFrameEdges
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool complete = true;

    friend bool operator==(const PageFrameEdges &, const PageFrameEdges &) = default;
};

PageFrameEdges MapFrameEdges(const page::SheetMapping &sheet, const QString &left, const QString &top,
                             const QString &right, const QString &bottom, const PageFrameEdges &previous);

// Draws every frame of `block` in stored order. Text is drawn in its own
// colour when `colour` is on, else black; pictures keep their colours. A
// picture that cannot be read turns its frame into "Non" in `block`.
void DrawPageBlock(QPainter &painter, const page::SheetMapping &sheet, KikanmeiBlock &block, bool colour,
                   platform::Messages &messages, platform::Sounds &sounds);

} // namespace ralvo
