// The geometry family's commands by the names the command bars and the ribbon call.
#include "tools/efficiency_tools.h"

namespace plorin {

using E = EfficiencyTools;

const std::vector<EfficiencyTools::MethodEntry> kGeometryMethods = {
    {"alignLefts", &E::alignLefts, nullptr},
    {"alignCenters", &E::alignCenters, nullptr},
    {"alignRights", &E::alignRights, nullptr},
    {"alignTops", &E::alignTops, nullptr},
    {"alignMiddles", &E::alignMiddles, nullptr},
    {"alignBottoms", &E::alignBottoms, nullptr},
    {"alignWidths", &E::alignWidths, nullptr},
    {"alignHeights", &E::alignHeights, nullptr},
    {"alignWidthsAndHeights", &E::alignWidthsAndHeights, nullptr},
    {"stretchLeft", &E::stretchLeft, nullptr},
    {"stretchRight", &E::stretchRight, nullptr},
    {"stretchTop", &E::stretchTop, nullptr},
    {"stretchBottom", &E::stretchBottom, nullptr},
    {"moveLeftToMasterRight", &E::moveLeftToMasterRight, nullptr},
    {"moveRightToMasterLeft", &E::moveRightToMasterLeft, nullptr},
    {"moveTopToMasterBottom", &E::moveTopToMasterBottom, nullptr},
    {"moveBottomToMasterTop", &E::moveBottomToMasterTop, nullptr},
    {"stretchLeftToMasterRight", &E::stretchLeftToMasterRight, nullptr},
    {"stretchRightToMasterLeft", &E::stretchRightToMasterLeft, nullptr},
    {"stretchTopToMasterBottom", &E::stretchTopToMasterBottom, nullptr},
    {"stretchBottomToMasterTop", &E::stretchBottomToMasterTop, nullptr},
    {"alignVerticallyInGoldenSection", &E::alignVerticallyInGoldenSection, nullptr},
    {"stackHorizontally", &E::stackHorizontally, nullptr},
    {"stackVertically", &E::stackVertically, nullptr},
};

}  // namespace plorin
