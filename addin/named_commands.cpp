#include "addin/named_commands.h"

#include "platform/text.h"
#include "tools/efficiency_tools.h"

namespace plorin {

const AddinCommand* findAddinCommand(const std::string& name) {
    for (const auto* table : {&kAgendaCommands, &kAboutSettingsCommands})
        for (const auto& command : *table)
            if (platform::equalsNoCase(command.name, name)) return &command;
    return nullptr;
}

bool commandExists(const std::string& name) { return findAddinCommand(name) || EfficiencyTools::hasMethod(name); }

void runCommandByName(EfficiencyTools& tools, const std::string& name, const std::optional<std::string>& argument) {
    if (const AddinCommand* command = findAddinCommand(name); command && !argument) return command->run();
    tools.callByName(name, argument);
}

}  // namespace plorin
