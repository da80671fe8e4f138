// The loop most geometry commands share: the master is the last selected shape, read once;
// every other selected shape is set against it.
#pragma once

#include "host/host.h"
#include "tools/efficiency_tools.h"
#include "tools/selected_shapes.h"

namespace plorin {

template <class F>
void EfficiencyTools::forEachAgainstMaster(F&& body) {
    const host::ShapeRange range = selectedShapeRange();
    const int count = range.Count();
    const VisualBox master = getRotatedMetrics(*range.Item(count));
    for (int i = 1; i <= count - 1; ++i) body(*range.Item(i), master);
}

}  // namespace plorin
