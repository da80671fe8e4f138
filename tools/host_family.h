// The two host families whose AutoShapes keep their geometry in differently defined
// adjustment values. The version text is compared for equality, so an unknown host is
// neither and the version-dependent steps leave its shapes alone.
#pragma once

#include <string>

#include "core/shared_state.h"
#include "host/host.h"

namespace plorin {

enum class HostFamily { commandBars, ribbon, other };

inline HostFamily hostFamily() {
    const std::string& v = hostApplication().Version();
    if (v == "9.0" || v == "10.0" || v == "11.0") return HostFamily::commandBars;
    if (v == "12.0" || v == "14.0") return HostFamily::ribbon;
    return HostFamily::other;
}

}  // namespace plorin
