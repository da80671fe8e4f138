// Margins: the dialog's values onto every text frame the selection reaches.
#include "core/errors.h"
#include "core/numbers.h"
#include "host/host.h"
#include "host/text.h"
#include "tools/efficiency_tools.h"
#include "tools/margin_input.h"
#include "tools/text_walker.h"

namespace plorin {

void EfficiencyTools::setMargins() {
    trap("EfficiencyTools, setMargins", [&] {
        MarginInput& form = marginInput();
        form.Show(true);
        // One walk: a second one would only repeat the same values (and any message).
        if (!form.cancelled) iterate(&activeSelection(), "setMargins");
    });
    unloadMarginInput();
}

void EfficiencyTools::margins(const host::TextFrame& target) {
    trap("EfficiencyTools, margins", [&] {
        host::TextFrame frame = target;  // a handle: the copy sets the same shape
        const MarginInput& form = marginInput();
        const MarginInput::Sides sides = form.chosenMargins();
        if (form.allSides()) {
            const float v = toSingle(sides.top);
            frame.setMarginTop(v);
            frame.setMarginBottom(v);
            frame.setMarginLeft(v);
            frame.setMarginRight(v);
        } else {
            frame.setMarginLeft(toSingle(sides.left));
            frame.setMarginTop(toSingle(sides.top));
            frame.setMarginRight(toSingle(sides.right));
            frame.setMarginBottom(toSingle(sides.bottom));
        }
    });
}

}  // namespace plorin
