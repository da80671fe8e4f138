// The tool object: every one-click command on shapes, text, slides and presentations is a
// public method of the one EfficiencyTools instance. The ribbon reaches them by number, the
// command bars by name; `callByName` serves the latter.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace core {

class EfficiencyTools {
public:
    EfficiencyTools() = default;
    EfficiencyTools(const EfficiencyTools&) = delete;
    EfficiencyTools& operator=(const EfficiencyTools&) = delete;

    // Calls the public command of that name (compared without regard to case), without an
    // argument or with one text argument. An unknown name, or a call with the wrong number
    // of arguments, raises error 438 ("Object doesn't support this property or method").
    void callByName(const std::string& name, const std::optional<std::string>& argument = std::nullopt);
    // True when a public command of that name exists.
    static bool hasMethod(const std::string& name);

    using Method0 = void (EfficiencyTools::*)();
    using Method1 = void (EfficiencyTools::*)(const std::string&);
    struct MethodEntry {
        const char* name;
        Method0 noArgument;  // one of the two is set
        Method1 oneArgument;
    };
    // Every command family contributes its table (declared below, defined beside its code).
    static const std::vector<const std::vector<MethodEntry>*>& methodTables();

    // ---- Commands, by family ----------------------------------------------------------
};

}  // namespace core
