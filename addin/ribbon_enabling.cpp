#include "addin/ribbon_enabling.h"

#include <algorithm>

#include "addin/host_events.h"

namespace plorin {

const std::vector<EnablingRow>& enablingTable() {
    using R = EnablingRule;
    static const std::vector<EnablingRow> rows = {
        {R::twoOrMoreShapes, {1032, 1033, 1034, 1036, 1037, 1038, 1040, 1041, 1042, 1044, 1046, 1047, 1048, 1049,
                              1051, 1053, 1054, 1055, 1056, 1058, 1059, 1061, 1063, 1065, 1066, 1067, 1068}},
        {R::oneOrMoreShapes, {1070, 1071, 1109, 1112, 1114}},
        {R::twoOrMoreProcessArrows, {1073}},
        {R::processChain, {1074}},
        {R::exactlyTwoShapes, {1075, 1082, 1111}},
        {R::blockArrows, {1076}},
        {R::roundedRectangles, {1077, 1078, 1081}},
        {R::twoOrMoreRoundedRectangles, {1080}},
        {R::text, {1085, 1086, 1087, 1089, 1090, 1091}},
        {R::slidesOrShapes, {1093, 1094, 1095}},
        {R::slides, {1098, 1100, 1101, 1117}},
        {R::window, {1102, 1104, 1105, 1106, 1108, 1110, 1115}},
    };
    return rows;
}

EnablingRule enablingRuleFor(int n) {
    for (const auto& row : enablingTable())
        if (std::find(row.numbers.begin(), row.numbers.end(), n) != row.numbers.end()) return row.rule;
    return EnablingRule::always;
}

bool ruleHolds(EnablingRule rule, const pptEvents& s, bool hostHasWindow) {
    switch (rule) {
        case EnablingRule::always: return true;
        case EnablingRule::twoOrMoreShapes: return s.shapeNumber >= 2;
        case EnablingRule::oneOrMoreShapes: return s.shapeNumber >= 1;
        case EnablingRule::twoOrMoreProcessArrows: return s.shapeNumber >= 2 && s.shapesProcessArrows;
        case EnablingRule::processChain:
            return s.shapeNumber >= 2 && s.shapesSameOrientation && s.shapes90degrees && s.shapesProcessArrows;
        case EnablingRule::exactlyTwoShapes: return s.shapeNumber == 2;
        case EnablingRule::blockArrows: return s.shapeNumber >= 1 && s.shapesBlockArrows;
        case EnablingRule::roundedRectangles: return s.shapeNumber >= 1 && s.shapesRoundedRectangles;
        case EnablingRule::twoOrMoreRoundedRectangles: return s.shapeNumber >= 2 && s.shapesRoundedRectangles;
        case EnablingRule::text: return s.shapesText;
        case EnablingRule::slidesOrShapes: return hostHasWindow && (s.slideNumber >= 1 || s.shapeNumber >= 1);
        case EnablingRule::slides: return s.slideNumber >= 1;
        case EnablingRule::window: return hostHasWindow;
    }
    return true;
}

}  // namespace plorin
