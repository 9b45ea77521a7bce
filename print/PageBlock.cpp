#include "print/PageBlock.h"

#include "calc/DueDate.h"
#include "platform/Platform.h"

#include <QPainter>

namespace ralvo {

QString IncompleteBlockMessage()
{
    return QStringLiteral("機関名等の編集の入力が不完全です。");
}

QString UnreadablePictureMessage()
{
    return QStringLiteral("画像データが読み込み不能となっています");
}

PageFrameEdges MapFrameEdges(const page::SheetMapping &sheet, const QString &left,
                             const QString &top, const QString &right, const QString &bottom,
                             const PageFrameEdges &previous)
{
    PageFrameEdges edges = previous;
    edges.complete = true;
    const auto take = [&edges](const QString &text, int &edge, auto map) {
        if (const std::optional<qint32> units = ParseIntegerField(text))
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

void DrawPageBlock(QPainter &painter, const page::SheetMapping &sheet, KikanmeiBlock &block,
                   bool colour, platform::Messages &messages, platform::Sounds &sounds)
{
    Q_UNUSED(painter);
    Q_UNUSED(colour);
    Q_UNUSED(sounds);
    const QStringList &lines = block.Lines();
    const auto field = [&lines](qsizetype frame, int index) {
        const qsizetype i = frame * KikanmeiBlock::LinesPerFrame + index;
        return i < lines.size() ? lines.at(i) : QString();
    };
    const qsizetype frames = (lines.size() + KikanmeiBlock::LinesPerFrame - 1) / KikanmeiBlock::LinesPerFrame;
    PageFrameEdges edges{0, 0, 0, 0, true};
    for (qsizetype f = 0; f < frames; ++f) {
        edges = MapFrameEdges(sheet, field(f, 0), field(f, 1), field(f, 2), field(f, 3), edges);
        if (!edges.complete)
            messages.ShowMessage(IncompleteBlockMessage());
        if (field(f, 8) == QStringLiteral("Non")) {
            messages.ShowMessage(UnreadablePictureMessage());
            continue;
        }
        // The frame's content is drawn by the frames module once it is there.
    }
}

} // namespace ralvo
