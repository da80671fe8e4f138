// The Efficiency Tools command bar as the selection-dependent enabling sees it: the bar's
// name, its popup, and the controls each enabling rule switches on and off together.
#pragma once

#include <vector>

namespace plorin {

constexpr const char* kEfficiencyToolsBar = "Varnotel for presentations - Efficiency Tools";
constexpr const char* kToolsPopup = "Tools";
constexpr const char* kFitButton = "Fit AutoShape to text";
constexpr const char* kWrapButton = "Wrap text in AutoShape";

// One rule: buttons are controls of the bar, entries controls of its popup, each found by
// its caption.
struct ToggleGroup {
    const char* procedure;  // the enabling procedure's name, for error reports
    std::vector<const char*> buttons;
    std::vector<const char*> entries;
};

enum class Toggle {
    AlignAngles, AutoShapeText, Slides, PentagonHeader, Presentation, ProcessChain, SwitchObjects, Shape,
    TwoOrMoreShapes, TwoOrMoreShapes90degr,
};

const ToggleGroup& toggleGroup(Toggle which);
// Every rule, in the order of the enum.
const std::vector<ToggleGroup>& toggleGroups();

}  // namespace plorin
