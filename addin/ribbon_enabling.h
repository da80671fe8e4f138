// When a ribbon control is enabled: a table of rules over the selection state that the
// event sink keeps (shape and slide counts, shape kinds) and whether the host has a window.
#pragma once

#include <vector>

namespace plorin {

class pptEvents;

// The rules a control can be enabled by.
enum class EnablingRule {
    always,
    twoOrMoreShapes,
    oneOrMoreShapes,
    twoOrMoreProcessArrows,  // two or more, all pentagons or chevrons
    processChain,            // two or more process arrows, same orientation, multiples of 90 degrees
    exactlyTwoShapes,
    blockArrows,        // one or more, all block arrows
    roundedRectangles,  // one or more, all rounded rectangles
    twoOrMoreRoundedRectangles,
    text,  // every shape can hold text
    slidesOrShapes,
    slides,
    window,  // the host has at least one window
};

struct EnablingRow {
    EnablingRule rule;
    std::vector<int> numbers;
};

// The rows that are not `always`; any control number not listed is always enabled.
const std::vector<EnablingRow>& enablingTable();
EnablingRule enablingRuleFor(int n);

// Whether the rule holds for this selection state.
bool ruleHolds(EnablingRule rule, const pptEvents& selection, bool hostHasWindow);

}  // namespace plorin
