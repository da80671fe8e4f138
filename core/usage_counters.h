// What every command shares whichever front end runs it: the usage counters of the feature
// families, and the shape of a library module's table of procedures the front ends can run
// by name.
#pragma once

#include <cstdint>

namespace plorin {

// The usage counter a click on control n raises ("statsAgendaWizard", "statsMyElements",
// "statsSlideWizard", "statsEfficiencyTools"), or nullptr for none.
const char* usageCounterFor(int n);

// Adds one to a counter setting. The raise is kept in memory: a click does not wait for the
// disk. Never throws: counting must not keep a command from running.
void raiseUsageCounter(const char* setting);

// Writes every raise kept in memory into its setting: a stored text that is not a whole count
// (empty, garbage, negative) counts as 0. Runs by itself at a raise once the oldest raise kept
// is kUsageCountersFlushMs old and by a timer that long after it (on the platform's timer
// clock), after every modal form, at disconnection, and before anyone shows the counters. A counter whose write failed
// keeps its raises for the next time. Never throws.
void flushUsageCounters();
inline constexpr std::int64_t kUsageCountersFlushMs = 5000;

// Library procedures reachable from the ribbon. Each library module contributes a table.
struct LibraryProcedure {
    const char* name;
    void (*run)();
};

}  // namespace plorin
