#pragma once

// Small pieces shared by the fixed-size dialogs.

#include "platform/Colour.h"

#include <QColor>
#include <QLatin1StringView>
#include <QString>

class QColor;
class QFont;
class QLabel;
class QPalette;
class QWidget;

namespace ralvo::platform {

// Fixed dialog border without a close box: a caption only.
void MakeFixedDialog(QWidget &window, int clientWidth, int clientHeight);

// The windows' font: 12-pixel "ＭＳ Ｐゴシック", asked for by its installed twin
// (WindowFace).
QFont DialogFont();

// Gives the window DialogFont().
void UseDialogFont(QWidget &window);

// Gives the menus of `window` (its menu bar's and its context menus) the
// window's font. A menu is a window of its own and would otherwise take the
// desktop's font, which a desktop theme (qt6ct) sets after start; in a
// desktop font whose Japanese comes from a fallback face, Fusion measures
// captions narrower than it draws them and cuts them with "…". To be called
// after the menus are made.
void UseWindowFontInMenus(QWidget &window);

// Gives the control its object name (the name tests find it by) and returns
// it.
template<typename W>
W *Named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1StringView(name));
    return widget;
}

// The hint: a tool tip, and the status text where a window shows one.
void SetHint(QWidget *widget, const QString &hint);

// Moves a top-level window to the centre of the screen it is on.
void CentreOnScreen(QWidget &window);

// The colours of a whole palette, for every colour group unless said.
struct PaletteColours
{
    QColor window, windowText, base, alternateBase, text, button, buttonText;
    QColor highlight, highlightedText, toolTipBase, toolTipText, placeholderText, link;
    QColor disabledText; // window, field and button text of disabled controls
    QColor disabledBase; // fields of disabled controls; none: as enabled ones
};

// The palette of those colours; the shades of bevels and frames come from
// the button colour.
QPalette PaletteOf(const PaletteColours &colours);

// The light colours of the desktop the windows with fixed text colours
// (navy, dark green, blue, red labels and coloured fields) were designed on:
// a light grey window, white fields, black text.
QPalette LightPalette();

// Keeps the window and its controls on LightPalette() whatever the desktop's
// theme; a dark theme would put the fixed colours on a dark background.
void UseLightPalette(QWidget &window);

// WCAG 2 contrast ratio of two colours, 1 to 21.
double ContrastRatio(const QColor &a, const QColor &b);

// The colour for text on `background`: `colour` itself when it stands out by
// at least 4.5 : 1, otherwise the same hue darkened (or, on a dark
// background, lightened) until it stands out by 5 : 1.
QColor ReadableTextColour(const QColor &colour, const QColor &background);

// A label in its own text colour (set through the palette: cheap, unlike a
// style sheet, and followed by every style).
// The colour is made readable on LightPalette()'s window colour.
QLabel *ColouredLabel(const QString &text, Colour colour, QWidget *parent);

} // namespace ralvo::platform
