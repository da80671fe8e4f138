// The commands the ribbon and the command bars reach by name. Most are public methods of the
// tool object (tools/efficiency_tools.h); those that open a feature's dialog live here, above
// the features, so that no feature opens another's dialog.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/usage_counters.h"

namespace plorin {

class EfficiencyTools;

// A command of the add-in itself: it takes no argument.
struct AddinCommand {
    const char* name;
    void (*run)();
};

// ---- Agenda (addin/agenda_commands.cpp; the page numbers: addin/agenda_upkeep.cpp) --------
// Shows the agenda dialog modally; it stores the agenda and generates the slides on OK.
void showAgendaWizard();
// After a confirmation, detaches the selected agenda slides from the agenda: their slide
// tags and their shapes' agenda tags go; the slides stay.
void disconnectAgendaSlides();
extern const std::vector<AddinCommand> kAgendaCommands;

// ---- About box and settings (addin/about_settings_commands.cpp) ---------------------------
// The about box with its close link and without its closing timer; the settings dialog.
void showAboutBox();
void showSettings();
extern const std::vector<AddinCommand> kAboutSettingsCommands;

// ---- My Elements (addin/my_elements_commands.cpp) -----------------------------------------
// Stores the shapes selected in the active window as a new element: asks for its name and
// group, adds a blank slide holding a copy of the shapes to the library presentation (made,
// or converted from ".ppt" to ".pptx" on ribbon hosts, when needed), saves the library and
// the index and redraws the My Elements menu. Does nothing without a document window; tells
// the user when no shapes are selected, when the shapes hold a placeholder (nothing is
// added), and when the index cannot be read (one not loaded yet is read first; a damaged one
// is never written over, and nothing is made or added). The library, opened without a
// window, is closed on every path; other errors are reported as "SlideWizard, addMyElements".
void addMyElements();
// Opens the manager modally, making the index first when there is none; one not loaded yet
// is read first. Errors are reported as "SlideWizard, manageMyElements".
void manageMyElements();
// The procedures the ribbon's dispatch and the My Elements bar run by name.
extern const std::vector<LibraryProcedure> kMyElementsProcedures;

// The add-in's own command of that name (compared without regard to case), or nullptr.
const AddinCommand* findAddinCommand(const std::string& name);
// True when the add-in or the tool object has a command of that name.
bool commandExists(const std::string& name);
// Runs the add-in's own command of that name (which takes no argument), else the tool
// object's (EfficiencyTools::callByName, which raises for an unknown name).
void runCommandByName(EfficiencyTools& tools, const std::string& name,
                      const std::optional<std::string>& argument = std::nullopt);

}  // namespace plorin
