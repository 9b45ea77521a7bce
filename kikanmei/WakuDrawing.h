#pragma once

// Drawing one frame of the institution block on any QPainter surface
// (screen, image, printer, PDF): its text, horizontal or vertical, or its
// picture. The editor's canvas and the schedule page differ only in what
// they hand over in WakuTarget.

#include "kikanmei/KikanmeiBlock.h"
#include "kikanmei/WakuGeometry.h"
#include "platform/Colour.h"
#include "platform/Platform.h"

#include <optional>

class QPainter;

namespace ralvo {

// What the consumer supplies for one frame.
struct WakuTarget
{
    QPainter *painter = nullptr;
    WakuEdges edges;                  // L, T, R, B in the target's pixels
    double em = 0;                    // FontHeight / 10000 × block width on the target, unrounded
    double gap = 0;                   // CharGap / 10000 × block height on the target, unrounded
    int inset = 0;                    // 1 on the editor's canvas, 0 on the page
    std::optional<Colour> textColour; // replaces the frame's Color (black page)
};

// The message shown when a picture cannot be loaded.
QString PictureLoadFailedMessage();

// Draws the frame's content: the text for "L" and "P", the picture for "F"
// and "V", nothing for any other kind. A text frame whose FontHeight or
// CharGap is not an integer, or whose em rounds to less than one pixel,
// draws nothing. A picture that cannot be loaded sounds the default beep,
// shows PictureLoadFailedMessage() and turns the frame's Kind into "Non".
// The painter's state is restored afterwards.
void DrawWaku(WakuRecord &frame, const WakuTarget &target, platform::Messages &messages, platform::Sounds &sounds);

// The same for frame `index` of `block`, writing a changed Kind back into it.
void DrawWaku(KikanmeiBlock &block, qsizetype index, const WakuTarget &target, platform::Messages &messages,
              platform::Sounds &sounds);

} // namespace ralvo
