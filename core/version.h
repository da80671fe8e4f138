// The add-in's own version numbers, as the build names them (the project's version), for
// error reports and the update check.
#pragma once

#include <string>

#if !defined(VARNOTEL_VERSION_MAJOR) || !defined(VARNOTEL_VERSION_MINOR) || !defined(VARNOTEL_VERSION_REVISION)
#error "core/CMakeLists.txt defines the version numbers for every target that links varnotel_core"
#endif

namespace plorin {

constexpr int kVersionMajor = VARNOTEL_VERSION_MAJOR;
constexpr int kVersionMinor = VARNOTEL_VERSION_MINOR;
constexpr int kVersionRevision = VARNOTEL_VERSION_REVISION;

// "major.minor.revision", as the maker's server expects it.
inline std::string versionText() {
    return std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." + std::to_string(kVersionRevision);
}

}  // namespace plorin
