// The shapes a command works on: those selected in the active window.
#pragma once

#include "host/host.h"

namespace plorin {

// The shapes of the active window's selection. Raises errObjectNotSet while no host is
// connected, and the host's PP_E_INVALIDREQUEST when no window is open or no shape is selected.
host::ShapeRange selectedShapeRange();

}  // namespace plorin
