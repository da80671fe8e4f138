// Colours of agenda shapes: fill, line and font colours share the members used here, so one
// template serves them all. Failures are reported as setColor's and leave the colour as it was.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "agenda/agenda_template.h"
#include "core/errors.h"

namespace plorin {

// The style's colours one run could not read. Each is skipped wherever it would be set, and
// all of them are reported together once, however many slides and rows use them.
class SkippedAgendaColors {
public:
    void add(const std::string& what) {
        if (std::find(skipped_.begin(), skipped_.end(), what) == skipped_.end()) skipped_.push_back(what);
    }
    const std::vector<std::string>& skipped() const { return skipped_; }
    // One report under "AgendaWizard, setColor" naming them; nothing when every colour was read.
    void report() {
        if (skipped_.empty()) return;
        std::string names;
        for (const auto& what : skipped_) names += (names.empty() ? "" : ", ") + what;
        const ErrorInfo info{
            errTypeMismatch,
            "Type mismatch: these colours of the agenda's style could not be read and were skipped: " + names + ".",
            {}};
        reportError("AgendaWizard, setColor", &info);
        skipped_.clear();
    }

private:
    std::vector<std::string> skipped_;
};

// Sets an RGB colour or a colour-scheme index.
template <class ColorFormat>
void setAgendaColor(ColorFormat&& format, const AgendaColor& color) {
    trap("AgendaWizard, setColor", [&] {
        if (color.isRgb) format.setRGB(color.rgb);
        else format.setSchemeColor(color.schemeIndex);
    });
}

// The same for a style's colour, which is skipped (and remembered) when it could not be read
// or the host refuses it (a scheme index out of its range): a style's colour is used on every
// row, and one report per run names it.
template <class ColorFormat>
void applyAgendaColor(ColorFormat&& format, const AgendaColor& color, SkippedAgendaColors& skipped) {
    if (color.unreadable) {
        skipped.add(*color.unreadable);
        return;
    }
    try {
        if (color.isRgb) format.setRGB(color.rgb);
        else format.setSchemeColor(color.schemeIndex);
    } catch (...) {
        skipped.add(color.isRgb ? "colour " + std::to_string(color.rgb)
                                : "scheme colour " + std::to_string(color.schemeIndex));
    }
}

// The same from a colour text: "#RRGGBB" or a colour-scheme index.
template <class ColorFormat>
void setColor(ColorFormat&& format, const std::string& text) {
    AgendaColor color;
    if (trap("AgendaWizard, setColor", [&] { color = agendaColor(text); })) setAgendaColor(format, color);
}

}  // namespace plorin
