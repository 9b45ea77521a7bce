#include "print/PageBlock.h"

#include "kikanmei/WakuDrawing.h"
#include "kikanmei/WakuGeometry.h"
#include "platform/Platform.h"

#include <QPainter>

namespace ralvo {

QString IncompleteBlockMessage() { return QStringLiteral("機関名等の編集の入力が不完全です。"); }

QString UnreadablePictureMessage() { return QStringLiteral("画像データが読み込み不能となっています"); }

PageFrameEdges MapFrameEdges(const page::SheetMapping &sheet, const QString &left, const QString &top,
                             const QString &right, const QString &bottom, const PageFrameEdges &previous)
{
    PageFrameEdges edges = previous;
    edges.complete = true;
    const auto take = [&edges](const QString &text, int &edge, auto map) {
        if (const std::optional<int> units = ParseWakuInteger(text))
            edge = map(*units);
        else
            edges.complete = false;
    };
    take(left, edges.left, [&sheet](int u) { return page::BlockX(sheet, u); });
    take(top, edges.top, [&sheet](int u) { return page::BlockY(sheet, u); });
    take(right, edges.right, [&sheet](int u) { return page::BlockX(sheet, u); });
    take(bottom, edges.bottom, [&sheet](int u) { return page::BlockY(sheet, u); });
    return edges;
}

void DrawPageBlock(QPainter &painter, const page::SheetMapping &sheet, KikanmeiBlock &block, bool colour,
                   platform::Messages &messages, platform::Sounds &sounds)
{
    PageFrameEdges edges;
    for (qsizetype i = 0; i < block.FrameCount(); ++i) {
        const WakuRecord frame = block.Frame(i);
        edges = MapFrameEdges(sheet, frame.Left, frame.Top, frame.Right, frame.Bottom, edges);
        if (!edges.complete)
            messages.ShowMessage(IncompleteBlockMessage());
        if (frame.Kind == WakuKind::Unreadable()) {
            messages.ShowMessage(UnreadablePictureMessage());
            continue;
        }
        WakuTarget target;
        target.painter = &painter;
        target.edges = WakuEdges{edges.left, edges.top, edges.right, edges.bottom};
        const std::optional<int> fontHeight = ParseWakuInteger(frame.FontHeight);
        const std::optional<int> charGap = ParseWakuInteger(frame.CharGap);
        if (fontHeight && charGap) {
            target.em = page::BlockEm(sheet, *fontHeight);
            target.gap = page::BlockGap(sheet, *charGap);
        }
        target.inset = 0;
        if (!colour)
            target.textColour = Colour(0x000000);
        DrawWaku(block, i, target, messages, sounds);
    }
}

} // namespace ralvo
