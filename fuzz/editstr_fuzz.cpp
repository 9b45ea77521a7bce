// Any text in "EditStr": read it as a block, write it back, walk its frames
// and fit every text frame as the editor would. Nothing may crash, and the
// text form must read back to the same lines.
#include "kikanmei/KikanmeiBlock.h"
#include "kikanmei/WakuGeometry.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    ralvo::KikanmeiBlock block = ralvo::KikanmeiBlock::FromText(text);
    if (ralvo::KikanmeiBlock::FromText(block.ToText()) != block)
        std::abort();

    const auto canvas = ralvo::BlockToPixels::ForCanvas(1000, 229);
    for (qsizetype i = 0; i < block.FrameCount(); ++i) {
        ralvo::WakuRecord frame = block.Frame(i);
        if (const auto edges = canvas.Edges(frame)) {
            (void)canvas.UnitsX(edges->Left);
            (void)canvas.UnitsY(edges->Bottom);
        }
        ralvo::FitWakuText(frame, 1000, 229);
        ralvo::FitWakuText(frame, 1, 1);
        const auto measure = ralvo::MeasureWakuText(frame.Content);
        (void)ralvo::WakuCharacterOffsets(measure, canvas.Em(1000), canvas.Gap(-1000));
        (void)ralvo::WakuRequestFaceName(frame.FontName, true);
        (void)ralvo::WakuPictureDestination(frame.Kind, ralvo::WakuEdges{0, 0, 300, 200}, measure.n, measure.u);
        block.SetFrame(i, frame);
    }
    if (block.FrameCount() > 0) {
        block.AppendFrame(ralvo::WakuRecord::WithEdges(0, 0, 1, 1));
        block.RemoveFrame(0);
        if (block.Lines().size() % ralvo::KikanmeiBlock::LinesPerFrame != 0)
            std::abort();
    }
    return 0;
}
