// Stacking the shapes into a gapless row or column that starts at the master.
#include "core/errors.h"
#include "host/host.h"
#include "tools/efficiency_tools.h"
#include "tools/selected_shapes.h"

namespace plorin {

// Works from the end of the range towards its start: the shape before the master touches
// the master, each earlier one touches the shape placed before it. Only the position along
// the stacking axis changes.
void EfficiencyTools::stack(bool horizontal) {
    const host::ShapeRange range = selectedShapeRange();
    const int count = range.Count();
    host::Shape* previous = range.Item(count).get();
    const VisualBox m = getRotatedMetrics(*previous);
    const VisualBox first = getRotatedMetrics(*range.Item(1));
    const bool backwards = horizontal ? m.left > first.left : m.top > first.top;  // leftwards / upwards
    for (int i = count - 1; i >= 1; --i) {
        host::Shape& s = *range.Item(i);
        const VisualBox p = getRotatedMetrics(*previous);
        const VisualBox box = getRotatedMetrics(s);
        if (horizontal) placeVisualLeft(s, backwards ? p.left - box.width : p.left + p.width);
        else placeVisualTop(s, backwards ? p.top - box.height : p.top + p.height);
        previous = &s;
    }
}

void EfficiencyTools::stackHorizontally() {
    trap("EfficiencyTools, stackHorizontally", [&] { stack(true); });
}
void EfficiencyTools::stackVertically() {
    trap("EfficiencyTools, stackVertically", [&] { stack(false); });
}

}  // namespace plorin
