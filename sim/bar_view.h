// The simulator's view of the host's command bars (hosts 9.0 to 11.0): the tree of bars and
// controls it prints, and the lookup of a button by caption, by caption path or by tool id.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>

namespace host {
class CommandBars;
class CommandBarButton;
class CommandBarComboBox;
}  // namespace host

namespace platform {
struct Picture;
}

namespace sim {

// Prints every bar (or the one whose name holds `filter`, without regard to case) with its
// place, then its controls as a tree: kind, caption, tool id, picture, parameter, and the
// flags group, disabled, hidden and down; a drop-down with its items and selection.
void printBars(std::ostream& out, host::CommandBars& bars, const std::string& filter);

// The button `word` names: a tool id (the first button carrying it), a caption, or a path of
// captions separated by "/" whose end is the button and whose beginning names popups or the
// bar it lies in ("Tools/Settings"). Captions compare without regard to case and to "&".
// std::runtime_error when nothing or several buttons fit.
std::shared_ptr<host::CommandBarButton> resolveBarButton(host::CommandBars& bars, const std::string& word);

// The path of captions from the bar to the control, for the transcript.
std::string barPath(host::CommandBars& bars, const host::CommandBarButton& button);

// The bar whose name holds `filter` (without regard to case) drawn as the user sees it: its
// shown controls in a row, each button's picture where it has one (masked), a grey box for
// a built-in face or a popup, a line before each group. runtime_error when no bar fits.
platform::Picture drawBar(host::CommandBars& bars, const std::string& filter);

// The first drop-down of the bars (the Slide Wizard's style drop-down); runtime_error
// without one.
std::shared_ptr<host::CommandBarComboBox> barDropdown(host::CommandBars& bars);

}  // namespace sim
