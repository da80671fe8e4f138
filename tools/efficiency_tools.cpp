#include "tools/efficiency_tools.h"

#include "core/errors.h"
#include "platform/text.h"

namespace plorin {

const std::vector<const std::vector<EfficiencyTools::MethodEntry>*>& EfficiencyTools::methodTables() {
    static const std::vector<const std::vector<MethodEntry>*> tables = {
        // One line per command family.
        &kGeometryMethods, &kTextMethods,      &kSlideExtractMethods, &kAutoShapeMethods, &kTextToolMethods,
        &kLinkMethods,     &kSlideToolMethods, &kColorToolMethods,    &kUpdateMethods,    &kPresentationMethods,
    };
    return tables;
}

namespace {
const EfficiencyTools::MethodEntry* findMethod(const std::string& name) {
    for (const auto* table : EfficiencyTools::methodTables())
        for (const auto& entry : *table)
            if (platform::equalsNoCase(entry.name, name)) return &entry;
    return nullptr;
}
}  // namespace

bool EfficiencyTools::hasMethod(const std::string& name) { return findMethod(name) != nullptr; }

void EfficiencyTools::callByName(const std::string& name, const std::optional<std::string>& argument) {
    const MethodEntry* entry = findMethod(name);
    if (entry && !argument && entry->noArgument) return (this->*(entry->noArgument))();
    if (entry && argument && entry->oneArgument) return (this->*(entry->oneArgument))(*argument);
    raiseError(errNoSuchMember, "Object doesn't support this property or method: " + name);
}

}  // namespace plorin
