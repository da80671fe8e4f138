#include "tools/command_frame.h"

#include <cfloat>
#include <cmath>

#include "core/shared_state.h"

namespace plorin {

host::ShapeRange selectedShapeRange() {
    return hostApplication().ActiveWindow()->Selection().ShapeRange();
}

float toSingle(double value) {
    // Checked before converting: a double beyond the float range has no defined conversion.
    if (!(std::fabs(value) <= static_cast<double>(FLT_MAX))) raiseError(errOverflow, "Overflow");
    return static_cast<float>(value);
}

}  // namespace plorin
