#include "addin/ribbon_callbacks.h"

#include "core/errors.h"
#include "core/numbers.h"
#include "host/host.h"
#include "platform/text.h"

namespace plorin {

const std::vector<const std::vector<RibbonCallback>*>& ribbonCallbackTables() {
    static const std::vector<const std::vector<RibbonCallback>*> tables = {
        // One line per feature.
        &kFrontEndCallbacks,
        &kStyleCallbacks,
        &kLibraryMenuCallbacks,
        &kLibraryInsertCallbacks,
    };
    return tables;
}

const RibbonCallback* findRibbonCallback(const std::string& name) {
    for (const auto* table : ribbonCallbackTables())
        for (const auto& c : *table)
            if (platform::equalsNoCase(c.name, name)) return &c;
    return nullptr;
}

namespace {

const host::RibbonValue& argument(const RibbonArgs& args, std::size_t i) {
    if (i >= args.size()) raiseError(errArgumentNotOptional, "Argument not optional");
    return args[i];
}

[[noreturn]] void mismatch() { raiseError(errTypeMismatch, "Type mismatch"); }

}  // namespace

bool ribbonBool(const RibbonArgs& args, std::size_t i) {
    const auto& v = argument(args, i);
    if (auto* b = std::get_if<bool>(&v)) return *b;
    if (auto* n = std::get_if<int>(&v)) return *n != 0;
    if (auto* t = std::get_if<std::string>(&v)) {
        if (platform::equalsNoCase(*t, "true")) return true;
        if (platform::equalsNoCase(*t, "false")) return false;
        return toInteger32(*t) != 0;
    }
    mismatch();
}

int ribbonInt(const RibbonArgs& args, std::size_t i) {
    const auto& v = argument(args, i);
    if (auto* n = std::get_if<int>(&v)) return *n;
    if (auto* b = std::get_if<bool>(&v)) return *b ? -1 : 0;
    if (auto* t = std::get_if<std::string>(&v)) return toInteger32(*t);
    mismatch();
}

std::string ribbonText(const RibbonArgs& args, std::size_t i) {
    const auto& v = argument(args, i);
    if (auto* t = std::get_if<std::string>(&v)) return *t;
    if (auto* n = std::get_if<int>(&v)) return std::to_string(*n);
    if (auto* b = std::get_if<bool>(&v)) return *b ? "True" : "False";
    mismatch();
}

host::IRibbonUI* ribbonUI(const RibbonArgs& args, std::size_t i) {
    const auto& v = argument(args, i);
    if (auto* r = std::get_if<host::IRibbonUI*>(&v)) return *r;
    if (std::holds_alternative<std::monostate>(v)) return nullptr;
    mismatch();
}

}  // namespace plorin
