// The registry wrapper behind the settings store: one object per read or write, naming a
// root key, a key path and a value, over the platform's registry tree.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/variant.h"
#include "platform/registry_store.h"

namespace plorin {

// Error numbers the wrapper raises.
constexpr long errRegistry = 26001;
constexpr long errRegistryWrite = static_cast<std::int32_t>(0x800469A9u);

// The program's own name, used as the source of registry errors ("plorin.Registry").
void setProgramName(const std::string& name);
const std::string& programName();

class Registry {
public:
    platform::RootKey ClassKey = platform::RootKey::CurrentUser;
    std::string SectionKey;
    std::string ValueKey;
    std::uint32_t ValueType = platform::REG_SZ;
    Variant Default;

    // A remote machine: stored with a leading "\\"; a name shorter than 3 characters
    // means this machine. No remote registry can be reached here.
    const std::string& Machine() const { return machine_; }
    void setMachine(const std::string& name);

    // The value by its stored type, or Default when the key or value is missing (or the
    // named machine cannot be reached). Sets ValueType to the stored type.
    Variant Value();
    // Writes the value by ValueType, creating the key path. Raises errRegistry when the
    // key cannot be created, errRegistryWrite when the value cannot be written or the type
    // is refused.
    void setValue(const Variant& value, platform::Durability durability = platform::Durability::durable);

    bool KeyExists();
    void CreateKey();
    void DeleteKey();
    void DeleteValue();
    std::vector<std::string> EnumerateValues();
    std::vector<std::string> EnumerateSections();

    const Variant& lastWritten() const { return last_; }

private:
    [[noreturn]] void fail(long number, const std::string& text) const;
    std::string describeKey() const;
    std::string machine_;
    Variant last_;
};

// The settings key of both add-ins.
constexpr const char* kSettingsKey = "Software\\Varnotel\\Varnotel for presentations";

// A setting's text, or `defaultValue` when it is missing; an existing empty value is the
// empty text. Never throws: a failed read is reported and gives the empty text.
std::string getRegistry(const std::string& valueName, const std::string& subKey, const std::string& defaultValue);
// A whole-number setting from `least` to `most`; `defaultValue` when it is missing, not a
// number or outside that range, so a hand-edited or received value never sizes anything
// without limit. Never throws.
int getBoundedSetting(const std::string& valueName, const std::string& subKey, int defaultValue, int least, int most);
// Writes a setting as text, creating the key. Never throws: a failed write is reported.
void setRegistry(const std::string& valueName, const std::string& value, const std::string& subKey,
                 platform::Durability durability = platform::Durability::durable);
// Writes several settings as text in one change, so that a failure keeps every one of them as
// it was. Raises errRegistryWrite when they cannot be written (the caller reports it).
void setRegistryValues(const std::vector<std::pair<std::string, std::string>>& values);

}  // namespace plorin
