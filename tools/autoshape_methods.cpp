// The AutoShape family's commands by the names the command bars and the ribbon call.
#include "tools/efficiency_tools.h"

namespace plorin {

using E = EfficiencyTools;

const std::vector<EfficiencyTools::MethodEntry> kAutoShapeMethods = {
    {"roundedRectangles", &E::roundedRectangles, nullptr},
    {"roundedRectanglesNumeric", &E::roundedRectanglesNumeric, nullptr},
    {"alignAngles", &E::alignAngles, nullptr},
    {"processChain", &E::processChain, nullptr},
    {"adjustPentagonHeader", &E::adjustPentagonHeader, nullptr},
    {"SwitchObjects", &E::SwitchObjects, nullptr},
    {"beautifyBlockArrow", &E::beautifyBlockArrow, nullptr},
    {"tweakAutoShapeAdjustments", &E::tweakAutoShapeAdjustments, nullptr},
};

}  // namespace plorin
