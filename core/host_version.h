// Which host the add-in runs in. The host's version text decides between the two front ends
// (command bars, ribbon) and between the families' differently defined AutoShape values.
#pragma once

#include <string>

namespace plorin {

// The host families, as ";"-separated version lists.
constexpr const char* kCommandBarHosts = "9.0;10.0;11.0";
constexpr const char* kRibbonHosts = "12.0;14.0";

// True when the host's version text is one of the list's entries (compared whole, so "1.0"
// or an empty text is in no list). Not trapped: a failure reaches the caller.
bool isHostVersion(const std::string& versionList);

enum class HostFamily { commandBars, ribbon, other };

// The family of the connected host by the lists above; a host in neither list is `other`,
// and the version-dependent steps leave its shapes alone.
HostFamily hostFamily();

}  // namespace plorin
