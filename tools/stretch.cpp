// Stretching one edge of each shape to the master's same or facing edge.
#include "core/errors.h"
#include "host/host.h"
#include "tools/against_master.h"
#include "tools/efficiency_tools.h"

namespace plorin {

// The size is written before the edge, because sizing a rotated shape may shift it. A shape
// whose sizing is refused (its rotation) is not moved either.
void EfficiencyTools::stretchEdge(host::Shape& shape, const VisualBox& box, int edge, double target) {
    switch (edge) {
        case 0: {
            const double d = box.left - target;
            const double w = box.width + d;
            if (w > 0 && sizeVisualWidth(shape, w)) placeVisualLeft(shape, box.left - d);
            break;
        }
        case 2: {
            const double d = target - (box.left + box.width);
            const double w = box.width + d;
            if (w > 0 && sizeVisualWidth(shape, w)) placeVisualLeft(shape, box.left);
            break;
        }
        case 3: {
            const double d = box.top - target;
            const double h = box.height + d;
            if (h > 0 && sizeVisualHeight(shape, h)) placeVisualTop(shape, box.top - d);
            break;
        }
        case 5: {
            const double d = target - (box.top + box.height);
            const double h = box.height + d;
            if (h > 0 && sizeVisualHeight(shape, h)) placeVisualTop(shape, box.top);
            break;
        }
        default: break;
    }
}

void EfficiencyTools::stretch(int mode) {
    reportedAs("EfficiencyTools, stretch", [&] {
        forEachAgainstMaster([&](host::Shape& s, const VisualBox& m) {
            const VisualBox box = getRotatedMetrics(s);
            switch (mode) {
                case 0: stretchEdge(s, box, 0, m.left); break;
                case 2: stretchEdge(s, box, 2, m.left + m.width); break;
                case 3: stretchEdge(s, box, 3, m.top); break;
                case 5: stretchEdge(s, box, 5, m.top + m.height); break;
                default: break;
            }
        });
    });
}

void EfficiencyTools::stretchToMaster(int mode) {
    reportedAs("EfficiencyTools, stretchToMaster", [&] {
        forEachAgainstMaster([&](host::Shape& s, const VisualBox& m) {
            const VisualBox box = getRotatedMetrics(s);
            switch (mode) {
                case 0: stretchEdge(s, box, 0, m.left + m.width); break;
                case 2: stretchEdge(s, box, 2, m.left); break;
                case 3: stretchEdge(s, box, 3, m.top + m.height); break;
                case 5: stretchEdge(s, box, 5, m.top); break;
                default: break;
            }
        });
    });
}

void EfficiencyTools::stretchLeft() {
    trap("EfficiencyTools, stretchLeft", [&] { stretch(0); });
}
void EfficiencyTools::stretchRight() {
    trap("EfficiencyTools, stretchRight", [&] { stretch(2); });
}
void EfficiencyTools::stretchTop() {
    trap("EfficiencyTools, stretchTop", [&] { stretch(3); });
}
void EfficiencyTools::stretchBottom() {
    trap("EfficiencyTools, stretchBottom", [&] { stretch(5); });
}
void EfficiencyTools::stretchLeftToMasterRight() {
    trap("EfficiencyTools, stretchLeftToMasterRight", [&] { stretchToMaster(0); });
}
void EfficiencyTools::stretchRightToMasterLeft() {
    trap("EfficiencyTools, stretchRightToMasterLeft", [&] { stretchToMaster(2); });
}
void EfficiencyTools::stretchTopToMasterBottom() {
    trap("EfficiencyTools, stretchTopToMasterBottom", [&] { stretchToMaster(3); });
}
void EfficiencyTools::stretchBottomToMasterTop() {
    trap("EfficiencyTools, stretchBottomToMasterTop", [&] { stretchToMaster(5); });
}

}  // namespace plorin
