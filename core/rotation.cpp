#include "core/rotation.h"

#include "core/numbers.h"
#include "host/host.h"

namespace plorin {

double normalizeRotation(float rotation) {
    double r = rotation;
    long k = static_cast<long>(roundHalfEven(r)) / 360;  // integer division truncates toward zero
    return r >= 0 ? r - 360.0 * k : r - 360.0 * k + 360.0;
}

double normalizeRotation(host::Shape& shape) { return normalizeRotation(shape.Rotation()); }

}  // namespace plorin
