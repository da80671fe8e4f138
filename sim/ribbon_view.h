// The simulator's view of the host's ribbon: the state table it prints and the lookup of a
// control by id or by label.
#pragma once

#include <iosfwd>
#include <string>

namespace host {
class RibbonHost;
}

namespace sim {

// Prints one row per control (id indented by level, kind, label, enabled, visible, pressed,
// picture, and what failed); with a filter, only that control and what it holds.
void printRibbon(std::ostream& out, host::RibbonHost& ribbon, const std::string& filter);

// The id of the control that `word` names: an id, else a label (without regard to case).
// std::runtime_error when nothing or several controls fit.
std::string resolveControl(host::RibbonHost& ribbon, const std::string& word);

}  // namespace sim
