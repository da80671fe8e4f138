#include "tools/selected_shapes.h"

#include "core/shared_state.h"

namespace plorin {

host::ShapeRange selectedShapeRange() { return hostApplication().ActiveWindow()->Selection().ShapeRange(); }

}  // namespace plorin
