#include "addin/toggle_groups.h"

namespace plorin {

const std::vector<ToggleGroup>& toggleGroups() {
    static const std::vector<ToggleGroup> groups = {
        {"toggleAlignAngles", {"Align angles"}, {}},
        {"toggleAutoShapeText", {kFitButton, kWrapButton}, {}},
        {"toggleSlides",
         {},
         {"Paste on selected slides", "Disconnect selected agenda slides from Agenda Wizard",
          "Save selected slides as new presentation", "E-mail selected slides"}},
        {"togglePentagonHeader", {"Adjust pentagon header"}, {}},
        {"togglePresentation", {}, {"Remove all speech notes", "Open containing folder"}},
        {"toggleProcessChain", {"Align process chain"}, {}},
        {"toggleSwitchObjects", {"Switch objects"}, {}},
        {"toggleShape",
         {"Set AutoShape margins", "Beautify indents", "Decrease indent level", "Increase indent level"},
         {"Beautify block arrows", "Tweak AutoShape adjustments", "Hide selected shapes", "Text statistics"}},
        {"toggleTwoOrMoreShapes",
         {"Align left to master left", "Align center to master center", "Align right to master right",
          "Align top to master top", "Align middle to master middle", "Align bottom to master bottom",
          "Move left to master right", "Move right to master left", "Move top to master bottom",
          "Move bottom to master top"},
         {"Rounded rectangles", "Create motion path", "Align vertically in golden section"}},
        {"toggleTwoOrMoreShapes90degr",
         {"Stretch to master width", "Stretch to master height", "Stretch to master width and height",
          "Stretch to master left", "Stretch to master right", "Stretch to master top", "Stretch to master bottom",
          "Stretch left to master right", "Stretch right to master left", "Stretch top to master bottom",
          "Stretch bottom to master top"},
         {}},
        // Commands on the active window's contents, whatever is selected there.
        {"toggleWindow", {}, {"Unhide all hidden shapes"}, {kLanguageToolId}},
    };
    return groups;
}

const ToggleGroup& toggleGroup(Toggle which) { return toggleGroups()[static_cast<std::size_t>(which)]; }

}  // namespace plorin
