// The Efficiency Tools command bar as the selection-dependent enabling sees it: the bar's
// name, its popup, and the controls each enabling rule switches on and off together.
#pragma once

#include <vector>

namespace plorin {

constexpr const char* kEfficiencyToolsBar = "Varnotel for presentations - Efficiency Tools";
constexpr const char* kToolsPopup = "Tools";
constexpr const char* kFitButton = "Fit AutoShape to text";
constexpr const char* kWrapButton = "Wrap text in AutoShape";
// The tool id every language button carries.
constexpr int kLanguageToolId = 1200;

// One rule: buttons are controls of the bar, entries controls of its popup, each found by
// its caption; toolIds name controls of the bar by tool id (the language buttons, whose
// captions follow the chosen languages).
struct ToggleGroup {
    const char* procedure;  // the enabling procedure's name, for error reports
    std::vector<const char*> buttons;
    std::vector<const char*> entries;
    std::vector<int> toolIds = {};
};

enum class Toggle {
    AlignAngles,
    AutoShapeText,
    Slides,
    PentagonHeader,
    Presentation,
    ProcessChain,
    SwitchObjects,
    Shape,
    TwoOrMoreShapes,
    TwoOrMoreShapes90degr,
    Window,
};

const ToggleGroup& toggleGroup(Toggle which);
// Every rule, in the order of the enum.
const std::vector<ToggleGroup>& toggleGroups();

}  // namespace plorin
