// What a click on a ribbon control does: the control's number, the usage counter of its
// feature family, and the command it runs. Both tables are data, keyed by control number;
// a row whose command is not built yet does nothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/usage_counters.h"

namespace plorin {

// The number of a control id "vn_1032": the text from its fourth character on as a 16-bit
// integer (the prefix is not looked at). Raises errTypeMismatch when that is not a number
// and errOverflow when it does not fit.
std::int16_t controlNumber(const std::string& controlId);

// Where a command lives.
enum class CommandTarget {
    tools,    // a command by name: the add-in's own or the tool object's (addin/named_commands.h)
    library,  // a procedure of a library module
};

struct DispatchRow {
    int number;
    const char* command;
    CommandTarget target;
    int languageSlot;  // 0..2: the command gets that current language's id; -1: no argument
};

// The dispatch table, in control-number order.
const std::vector<DispatchRow>& dispatchTable();
// The row of control n, or nullptr.
const DispatchRow* dispatchRowFor(int n);

// Library procedures reachable from the ribbon (core/usage_counters.h): one table per module.
const std::vector<const std::vector<LibraryProcedure>*>& libraryProcedureTables();
// The procedure of that name (compared without regard to case), or nullptr.
const LibraryProcedure* findLibraryProcedure(const std::string& name);

// Whether the command of the row is built (a command by name or library procedure exists).
bool commandAvailable(const DispatchRow& row);

// Runs the command of control n. False when n has no row or its command is not built yet;
// the command's own failures are its business (commands report their errors themselves),
// anything that escapes is thrown on.
bool dispatchCommand(int n);

}  // namespace plorin
