// A shape's rotation brought into one turn, as the geometry tools and the selection's state
// compare it.
#pragma once

namespace host {
class Shape;
}

namespace plorin {

// The rotation brought into one turn (359.5 and more give a small negative value).
double normalizeRotation(host::Shape& shape);
double normalizeRotation(float rotation);

}  // namespace plorin
