// Colours of agenda shapes: fill, line and font colours share the members used here, so one
// template serves them all. Failures are reported as setColor's and leave the colour as it was.
#pragma once

#include <string>

#include "agenda/agenda_template.h"
#include "core/errors.h"

namespace plorin {

// Sets an RGB colour or a colour-scheme index.
template <class ColorFormat>
void applyAgendaColor(ColorFormat&& format, const AgendaColor& color) {
    trap("AgendaWizard, setColor", [&] {
        if (color.isRgb) format.setRGB(color.rgb);
        else format.setSchemeColor(color.schemeIndex);
    });
}

// The same from a colour text: "#RRGGBB" or a colour-scheme index.
template <class ColorFormat>
void setColor(ColorFormat&& format, const std::string& text) {
    AgendaColor color;
    if (trap("AgendaWizard, setColor", [&] { color = agendaColor(text); })) applyAgendaColor(format, color);
}

}  // namespace plorin
