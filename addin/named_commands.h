// The commands the ribbon and the command bars reach by name. Most are public methods of the
// tool object (tools/efficiency_tools.h); those that open a feature's dialog live here, above
// the features, so that no feature opens another's dialog.
#pragma once

#include <optional>
#include <string>
#include <vector>

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

// The add-in's own command of that name (compared without regard to case), or nullptr.
const AddinCommand* findAddinCommand(const std::string& name);
// True when the add-in or the tool object has a command of that name.
bool commandExists(const std::string& name);
// Runs the add-in's own command of that name (which takes no argument), else the tool
// object's (EfficiencyTools::callByName, which raises for an unknown name).
void runCommandByName(EfficiencyTools& tools, const std::string& name,
                      const std::optional<std::string>& argument = std::nullopt);

}  // namespace plorin
