#include "core/variant.h"

#include <cmath>
#include <cstdio>

namespace plorin {

std::string Variant::toText() const {
    if (isEmpty()) return {};
    if (isText()) return text();
    if (isBytes()) return std::string(bytes().begin(), bytes().end());
    double d = number();
    char buf[64];
    if (std::isfinite(d) && d == std::trunc(d) && std::fabs(d) < 1e15) std::snprintf(buf, sizeof buf, "%.0f", d);
    else std::snprintf(buf, sizeof buf, "%.15g", d);
    return buf;
}

bool Variant::lessThan(const Variant& other) const {
    if (v_.index() != other.v_.index()) return v_.index() < other.v_.index();
    if (isNumber()) return number() < other.number();
    if (isText()) return text() < other.text();
    if (isBytes()) return bytes() < other.bytes();
    return false;
}

}  // namespace plorin
