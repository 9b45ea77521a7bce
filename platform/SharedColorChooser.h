#pragma once

#include "platform/Platform.h"

namespace ralvo::platform {

// The one colour chooser of the application (the settings dialog's, also
// used by the notice editor and the text-frame dialog). It opens with the
// colour last confirmed in it anywhere, black before the first confirmation,
// never with the colour of the button that asks.
class SharedColorChooser
{
public:
    explicit SharedColorChooser(ColorChooser &chooser) : m_chooser(chooser) {}

    // The confirmed colour, or nothing when the user cancelled.
    std::optional<Colour> Choose()
    {
        const std::optional<Colour> chosen = m_chooser.ChooseColor(m_last);
        if (chosen)
            m_last = *chosen;
        return chosen;
    }

    Colour LastConfirmed() const { return m_last; }

private:
    ColorChooser &m_chooser;
    Colour m_last = 0x000000;
};

} // namespace ralvo::platform
