// What every command shares whichever front end runs it: the usage counters of the feature
// families, and the shape of a library module's table of procedures the front ends can run
// by name.
#pragma once

namespace plorin {

// The usage counter a click on control n raises ("statsAgendaWizard", "statsMyElements",
// "statsSlideWizard", "statsEfficiencyTools"), or nullptr for none.
const char* usageCounterFor(int n);

// Adds one to a counter setting. A stored text that is not a whole count (empty, garbage,
// negative) counts as 0. Never throws: counting must not keep a command from running.
void raiseUsageCounter(const char* setting);

// Library procedures reachable from the ribbon. Each library module contributes a table.
struct LibraryProcedure {
    const char* name;
    void (*run)();
};

}  // namespace plorin
