#include "sim/ribbon_view.h"

#include <iomanip>
#include <ostream>
#include <stdexcept>
#include <vector>

#include "host/ribbon_host.h"
#include "platform/ui_forms.h"

namespace sim {

namespace {

std::string yesNo(bool b) { return b ? "yes" : "no"; }

std::string pictureText(const host::RibbonControlState& c) {
    if (!c.callbacks.count("getImage")) return "-";
    if (!c.image || c.image->width <= 0) return "none";
    return std::to_string(c.image->width) + "x" + std::to_string(c.image->height);
}

bool hasPressedState(const host::RibbonControlState& c) { return c.kind == "toggleButton" || c.kind == "checkBox"; }

void printRow(std::ostream& out, const host::RibbonControlState& c) {
    const std::string id = std::string(static_cast<std::size_t>(c.depth) * 2, ' ') + c.id;
    out << "  " << std::left << std::setw(18) << id << " " << std::setw(12) << c.kind << " " << std::setw(28)
        << (c.label.empty() ? std::string("-") : c.label) << " " << std::setw(8) << yesNo(c.enabled) << std::setw(8)
        << yesNo(c.visible) << std::setw(8) << (hasPressedState(c) ? yesNo(c.pressed) : "-") << pictureText(c);
    if (!c.items.empty() || c.callbacks.count("getItemCount")) {
        out << "  items [";
        for (std::size_t i = 0; i < c.items.size(); ++i) out << (i ? ", " : "") << c.items[i];
        out << "]";
        if (c.selectedIndex >= 0) out << " selected " << c.selectedIndex;
    }
    for (const auto& f : c.failures) out << "  ! " << f;
    out << "\n";
}

}  // namespace

void printRibbon(std::ostream& out, host::RibbonHost& ribbon, const std::string& filter) {
    if (ribbon.controls().empty()) {
        out << "  (the ribbon shows no add-in controls)\n";
        return;
    }
    std::string from = filter.empty() ? std::string() : resolveControl(ribbon, filter);
    // The host shows one tab at a time: each tab printed is opened first, so that it is drawn
    // with its pictures. The last one stays open.
    std::vector<std::string> tabs;
    if (!from.empty()) tabs.push_back(from);
    else
        for (const auto* c : ribbon.controls())
            if (c->kind == "tab") tabs.push_back(c->id);
    for (const auto& tab : tabs) ribbon.showTabOf(tab);
    const auto controls = ribbon.controls();
    out << "  " << std::left << std::setw(18) << "control"
        << " " << std::setw(12) << "kind"
        << " " << std::setw(28) << "label"
        << " enabled visible pressed picture\n";
    int depth = -1;
    for (const auto* c : controls) {
        if (!from.empty()) {
            if (depth < 0 && c->id != from) continue;
            if (depth < 0) depth = c->depth;
            else if (c->depth <= depth) break;
        }
        printRow(out, *c);
    }
}

std::string resolveControl(host::RibbonHost& ribbon, const std::string& word) {
    if (ribbon.control(word)) return word;
    const auto found = ribbon.findByLabel(word);
    if (found.size() == 1) return found.front()->id;
    if (found.empty()) throw std::runtime_error("the ribbon has no control '" + word + "'");
    std::string ids;
    for (auto* c : found) ids += (ids.empty() ? "" : ", ") + c->id;
    throw std::runtime_error("several controls are labelled '" + word + "': " + ids);
}

}  // namespace sim
