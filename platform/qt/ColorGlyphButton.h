#pragma once

#include "platform/Colour.h"

#include <QPushButton>

namespace ralvo::platform {

class SharedColorChooser;

// A button whose caption is the glyph "■" drawn in the button's colour (the
// glyph colour): it shows a colour setting and holds it while a dialog is
// open. Clicking does nothing by itself: the dialog's handler chooses the colour.
class ColorGlyphButton : public QPushButton
{
    Q_OBJECT

public:
    explicit ColorGlyphButton(QWidget *parent = nullptr);

    Colour GlyphColor() const { return m_color; }
    void SetGlyphColor(Colour color);
    // Opens the shared chooser; a confirmed colour becomes the glyph colour,
    // a cancel changes nothing. True when a colour was confirmed.
    bool ChooseGlyphColor(SharedColorChooser &chooser);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Colour m_color = 0x000000;
};

} // namespace ralvo::platform
