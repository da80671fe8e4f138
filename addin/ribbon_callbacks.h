// The ribbon callbacks of the add-in object by name: the host calls them by the names the
// ribbon definition binds. Each feature's callbacks form a table of rows, name -> adapter that
// unpacks the host's arguments and calls the member of Connect.
#pragma once

#include <string>
#include <vector>

#include "host/ribbon.h"

namespace plorin {

class Connect;

using RibbonArgs = std::vector<host::RibbonValue>;

struct RibbonCallback {
    const char* name;
    host::RibbonValue (*call)(Connect& addIn, const host::IRibbonControl& control, const RibbonArgs& args);
};

// Every table, one per feature.
const std::vector<const std::vector<RibbonCallback>*>& ribbonCallbackTables();
// The callback of that name (compared without regard to case), or nullptr.
const RibbonCallback* findRibbonCallback(const std::string& name);

// The tables of the features (each defined beside its code).
extern const std::vector<RibbonCallback> kFrontEndCallbacks;       // addin/ribbon_front_end.cpp
extern const std::vector<RibbonCallback> kStyleCallbacks;          // addin/ribbon_library_callbacks.cpp
extern const std::vector<RibbonCallback> kLibraryMenuCallbacks;    // addin/ribbon_library_callbacks.cpp
extern const std::vector<RibbonCallback> kLibraryInsertCallbacks;  // addin/ribbon_library_callbacks.cpp

// Argument i as the callback wants it, converted as the host's variants convert. A missing
// argument raises error 449 ("Argument not optional"), one that does not convert
// errTypeMismatch.
bool ribbonBool(const RibbonArgs& args, std::size_t i);
int ribbonInt(const RibbonArgs& args, std::size_t i);
std::string ribbonText(const RibbonArgs& args, std::size_t i);
host::IRibbonUI* ribbonUI(const RibbonArgs& args, std::size_t i);

}  // namespace plorin
