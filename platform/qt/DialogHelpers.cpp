#include "platform/qt/DialogHelpers.h"

#include "platform/Fonts.h"

#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPalette>
#include <QScreen>
#include <QWidget>

#include <cmath>
#include <utility>

namespace ralvo::platform {

void MakeFixedDialog(QWidget &window, int clientWidth, int clientHeight)
{
    window.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    window.setFixedSize(clientWidth, clientHeight);
}

QFont DialogFont()
{
    QFont font(WindowFace(QStringLiteral("ＭＳ Ｐゴシック")));
    font.setPixelSize(12);
    return font;
}

void UseDialogFont(QWidget &window) { window.setFont(DialogFont()); }

void UseWindowFontInMenus(QWidget &window)
{
    const QList<QMenu *> menus = window.findChildren<QMenu *>();
    for (QMenu *menu : menus) {
        if (menu->parentWidget() && menu->parentWidget()->window() == &window)
            menu->setFont(window.font());
    }
}

void SetHint(QWidget *widget, const QString &hint)
{
    widget->setToolTip(hint);
    widget->setStatusTip(hint);
}

void CentreOnScreen(QWidget &window)
{
    const QScreen *screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}

QLabel *ColouredLabel(const QString &text, Colour colour, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText,
                     ReadableTextColour(ToQColor(colour), LightPalette().color(QPalette::Window)));
    label->setPalette(palette);
    return label;
}

QPalette PaletteOf(const PaletteColours &colours)
{
    QPalette palette(colours.button);
    const std::pair<QPalette::ColorRole, QColor> roles[] = {
        {QPalette::Window, colours.window},
        {QPalette::WindowText, colours.windowText},
        {QPalette::Base, colours.base},
        {QPalette::AlternateBase, colours.alternateBase},
        {QPalette::Text, colours.text},
        {QPalette::ButtonText, colours.buttonText},
        {QPalette::Highlight, colours.highlight},
        {QPalette::HighlightedText, colours.highlightedText},
        {QPalette::ToolTipBase, colours.toolTipBase},
        {QPalette::ToolTipText, colours.toolTipText},
        {QPalette::PlaceholderText, colours.placeholderText},
        {QPalette::Link, colours.link},
    };
    for (const auto &[role, colour] : roles)
        palette.setColor(role, colour);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, colours.disabledText);
    if (colours.disabledBase.isValid())
        palette.setColor(QPalette::Disabled, QPalette::Base, colours.disabledBase);
    return palette;
}

QPalette LightPalette()
{
    // Window and button face, black text, white fields.
    PaletteColours light;
    light.window = light.button = QColor(240, 240, 240);
    light.windowText = light.text = light.buttonText = light.toolTipText = Qt::black;
    light.base = Qt::white;
    light.alternateBase = QColor(245, 245, 245);
    light.highlight = QColor(0, 120, 215);
    light.highlightedText = Qt::white;
    light.toolTipBase = QColor(255, 255, 225);
    light.placeholderText = QColor(110, 110, 110);
    light.link = QColor(0, 0, 238);
    light.disabledText = QColor(120, 120, 120);
    light.disabledBase = QColor(240, 240, 240);
    return PaletteOf(light);
}

void UseLightPalette(QWidget &window) { window.setPalette(LightPalette()); }

namespace {

double LinearChannel(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double RelativeLuminance(const QColor &colour)
{
    return 0.2126 * LinearChannel(colour.redF()) + 0.7152 * LinearChannel(colour.greenF())
           + 0.0722 * LinearChannel(colour.blueF());
}

} // namespace

double ContrastRatio(const QColor &a, const QColor &b)
{
    const double x = RelativeLuminance(a) + 0.05;
    const double y = RelativeLuminance(b) + 0.05;
    return x > y ? x / y : y / x;
}

QColor ReadableTextColour(const QColor &colour, const QColor &background)
{
    if (ContrastRatio(colour, background) >= 4.5)
        return colour;
    // A colour that has to change goes a little beyond 4.5 : 1: the edges of
    // thin strokes are drawn paler than the colour itself.
    constexpr double Wanted = 5.0;
    // Towards black on a light background, towards white on a dark one, in
    // steps of one level of the colour's largest channel.
    const bool darken = RelativeLuminance(background) > 0.18;
    QColor candidate = colour;
    for (int step = 1; step <= 255; ++step) {
        const double keep = darken ? 1.0 - step / 255.0 : 0.0;
        const auto channel = [&](int value) {
            return darken ? static_cast<int>(std::nearbyint(value * keep)) : qMin(255, value + step);
        };
        candidate = QColor(channel(colour.red()), channel(colour.green()), channel(colour.blue()));
        if (ContrastRatio(candidate, background) >= Wanted)
            return candidate;
    }
    return darken ? QColor(Qt::black) : QColor(Qt::white);
}

} // namespace ralvo::platform
