#include "platform/qt/ColorGlyphButton.h"

#include "platform/SharedColorChooser.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace ralvo::platform {

ColorGlyphButton::ColorGlyphButton(QWidget *parent) : QPushButton(QStringLiteral("■"), parent)
{
    setAutoDefault(false);
}

void ColorGlyphButton::SetGlyphColor(Colour color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

bool ColorGlyphButton::ChooseGlyphColor(SharedColorChooser &chooser)
{
    const std::optional<Colour> chosen = chooser.Choose();
    if (chosen)
        SetGlyphColor(*chosen);
    return chosen.has_value();
}

// The style draws the button's frame; the glyph is painted in its own colour
// so that no style can override it with the palette's button text colour.
void ColorGlyphButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    QRect glyphRect = rect();
    if (isDown() || isChecked())
        glyphRect.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                            style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    painter.setPen(ToQColor(m_color));
    painter.drawText(glyphRect, Qt::AlignCenter, text());
}

} // namespace ralvo::platform
