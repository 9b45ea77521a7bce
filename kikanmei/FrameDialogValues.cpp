#include "kikanmei/FrameDialogValues.h"

#include "kikanmei/WakuGeometry.h"

namespace ralvo {

MojiValues MojiValuesFromFrame(const WakuRecord &frame)
{
    MojiValues values;
    values.text = frame.Content;
    values.fontName = frame.FontName;
    values.vertical = frame.Kind == WakuKind::Vertical();
    if (const std::optional<int> colour = ParseWakuInteger(frame.Color))
        values.colour = static_cast<Colour>(*colour);
    return values;
}

QString DefaultWakuFontName() { return QStringLiteral("ＭＳ 明朝"); }

QString EmptyFontNameMessage()
{
    return QStringLiteral("フォントが指定されていません。\n仮に「ＭＳ 明朝」を使用します");
}

bool StoreMojiValues(WakuRecord &frame, const MojiValues &values)
{
    frame.Color = QString::number(values.colour);
    frame.Kind = values.vertical ? WakuKind::Vertical() : WakuKind::Horizontal();
    const bool emptyFace = values.fontName.isEmpty();
    frame.FontName = emptyFace ? DefaultWakuFontName() : values.fontName;
    frame.Content = values.text;
    return emptyFace;
}

GraphicValues GraphicValuesFromFrame(const WakuRecord &frame)
{
    return {frame.Content, frame.Kind != WakuKind::PictureStretched()};
}

void StoreGraphicValues(WakuRecord &frame, const GraphicValues &values)
{
    frame.Kind = values.fixedAspect ? WakuKind::PictureFixedAspect() : WakuKind::PictureStretched();
    frame.Content = values.fileName;
}

} // namespace ralvo
