#pragma once

// What the text-frame and graphic-frame dialogs are filled with from a
// frame, and how their results go back into it.

#include "kikanmei/KikanmeiBlock.h"
#include "platform/Colour.h"

#include <QString>

namespace ralvo {

// The text-frame dialog's four values.
struct MojiValues
{
    QString text;
    QString fontName;
    bool vertical = false; // "縦組み"
    Colour colour = 0x000000;
};

// The dialog prepared from a frame: its colour (black when it has none or
// it is not a number), its orientation ("P" vertical), face and content.
MojiValues MojiValuesFromFrame(const WakuRecord &frame);

// The face stored when the font box is left empty, and the message shown then.
QString DefaultWakuFontName();
QString EmptyFontNameMessage();

// Stores the dialog's result: Color as a decimal number, Kind "L" or "P",
// FontName (DefaultWakuFontName() when empty) and Content as entered. True
// when the face was empty and replaced (the caller then shows the message).
bool StoreMojiValues(WakuRecord &frame, const MojiValues &values);

// The graphic dialog's two values.
struct GraphicValues
{
    QString fileName;
    bool fixedAspect = true; // "縦横比を固定して表示"
};

GraphicValues GraphicValuesFromFrame(const WakuRecord &frame);
void StoreGraphicValues(WakuRecord &frame, const GraphicValues &values);

} // namespace ralvo
