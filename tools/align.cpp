// Aligning edges and sizes to the master, moving against it and the golden section.
#include <cmath>

#include "core/errors.h"
#include "host/host.h"
#include "tools/against_master.h"
#include "tools/efficiency_tools.h"

namespace plorin {

void EfficiencyTools::align(int mode) {
    reportedAs("EfficiencyTools, align", [&] {
        forEachAgainstMaster([&](host::Shape& s, const VisualBox& m) {
            switch (mode) {
                case 0: placeVisualLeft(s, m.left); break;
                case 1: placeVisualLeft(s, m.left + m.width / 2 - getRotatedMetrics(s).width / 2); break;
                case 2: placeVisualLeft(s, m.left + m.width - getRotatedMetrics(s).width); break;
                case 3: placeVisualTop(s, m.top); break;
                case 4: placeVisualTop(s, m.top + m.height / 2 - getRotatedMetrics(s).height / 2); break;
                case 5: placeVisualTop(s, m.top + m.height - getRotatedMetrics(s).height); break;
                default: break;
            }
        });
    });
}

void EfficiencyTools::alignSizes(int mode) {
    trap("EfficiencyTools, alignSizes", [&] {
        forEachAgainstMaster([&](host::Shape& s, const VisualBox& m) {
            switch (mode) {
                case 6: sizeVisualWidth(s, m.width); break;
                case 7: sizeVisualHeight(s, m.height); break;
                // A shape refused once is not asked again for its width: one message per shape.
                case 8:
                    if (sizeVisualHeight(s, m.height)) sizeVisualWidth(s, m.width);
                    break;
                default: break;
            }
        });
    });
}

void EfficiencyTools::moveToMaster(int mode) {
    reportedAs("EfficiencyTools, moveToMaster", [&] {
        forEachAgainstMaster([&](host::Shape& s, const VisualBox& m) {
            switch (mode) {
                case 0: placeVisualLeft(s, m.left + m.width); break;
                case 2: placeVisualLeft(s, m.left - getRotatedMetrics(s).width); break;
                case 3: placeVisualTop(s, m.top + m.height); break;
                case 5: placeVisualTop(s, m.top - getRotatedMetrics(s).height); break;
                default: break;
            }
        });
    });
}

void EfficiencyTools::alignVerticallyInGoldenSection() {
    trap("EfficiencyTools, alignVerticallyInGoldenSection", [&] {
        // 2 / (3 + sqrt 5) = 0.381966..., the smaller golden-section ratio.
        forEachAgainstMaster([&](host::Shape& s, const VisualBox& m) {
            const double section = m.top + m.height * 2 / (3 + std::sqrt(5.0));
            placeVisualTop(s, section - getRotatedMetrics(s).height / 2);
        });
    });
}

void EfficiencyTools::alignLefts() {
    trap("EfficiencyTools, alignLefts", [&] { align(0); });
}
void EfficiencyTools::alignCenters() {
    trap("EfficiencyTools, alignCenters", [&] { align(1); });
}
void EfficiencyTools::alignRights() {
    trap("EfficiencyTools, alignRights", [&] { align(2); });
}
void EfficiencyTools::alignTops() {
    trap("EfficiencyTools, alignTops", [&] { align(3); });
}
void EfficiencyTools::alignMiddles() {
    trap("EfficiencyTools, alignMiddles", [&] { align(4); });
}
void EfficiencyTools::alignBottoms() {
    trap("EfficiencyTools, alignBottoms", [&] { align(5); });
}
void EfficiencyTools::alignWidths() {
    trap("EfficiencyTools, alignWidths", [&] { alignSizes(6); });
}
void EfficiencyTools::alignHeights() {
    trap("EfficiencyTools, alignHeights", [&] { alignSizes(7); });
}
void EfficiencyTools::alignWidthsAndHeights() {
    trap("EfficiencyTools, alignWidthsAndHeights", [&] { alignSizes(8); });
}
void EfficiencyTools::moveLeftToMasterRight() {
    trap("EfficiencyTools, moveLeftToMasterRight", [&] { moveToMaster(0); });
}
void EfficiencyTools::moveRightToMasterLeft() {
    trap("EfficiencyTools, moveRightToMasterLeft", [&] { moveToMaster(2); });
}
void EfficiencyTools::moveTopToMasterBottom() {
    trap("EfficiencyTools, moveTopToMasterBottom", [&] { moveToMaster(3); });
}
void EfficiencyTools::moveBottomToMasterTop() {
    trap("EfficiencyTools, moveBottomToMasterTop", [&] { moveToMaster(5); });
}

}  // namespace plorin
