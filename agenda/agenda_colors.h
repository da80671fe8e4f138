// setColor for the host's colour formats (fill, line and font colours share its members).
#pragma once

#include <string>

#include "core/errors.h"

namespace plorin {

template <class ColorFormat>
void setColor(ColorFormat&& format, const std::string& text) {
    trap("AgendaWizard, setColor", [&] {
        const AgendaColor color = agendaColor(text);
        if (color.isRgb) format.setRGB(color.rgb);
        else format.setSchemeColor(color.schemeIndex);
    });
}

}  // namespace plorin
