#include "core/registry.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "core/errors.h"
#include "core/numbers.h"
#include "core/variant.h"
#include "platform/services.h"

namespace plorin {
namespace {

std::string& programNameSlot() {
    static std::string name = "plorin";
    return name;
}

std::uint32_t readUint32(const std::string& data, bool bigEndian) {
    unsigned char b[4] = {0, 0, 0, 0};
    std::memcpy(b, data.data(), std::min<std::size_t>(4, data.size()));
    if (bigEndian) return (std::uint32_t(b[0]) << 24) | (std::uint32_t(b[1]) << 16) | (std::uint32_t(b[2]) << 8) | b[3];
    return (std::uint32_t(b[3]) << 24) | (std::uint32_t(b[2]) << 16) | (std::uint32_t(b[1]) << 8) | b[0];
}

std::string writeUint32(std::uint32_t v, bool bigEndian) {
    std::string out(4, '\0');
    for (int i = 0; i < 4; ++i) {
        auto byte = static_cast<char>((v >> (8 * i)) & 0xFF);
        out[bigEndian ? 3 - i : i] = byte;
    }
    return out;
}

// %NAME% references replaced by the environment's values; unknown names stay as written.
std::string expandEnvironment(const std::string& text) {
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t open = text.find('%', i);
        std::size_t close = open == std::string::npos ? open : text.find('%', open + 1);
        if (close == std::string::npos) {
            out += text.substr(i);
            break;
        }
        out += text.substr(i, open - i);
        std::string name = text.substr(open + 1, close - open - 1);
        const char* value = name.empty() ? nullptr : std::getenv(name.c_str());
        out += value ? std::string(value) : text.substr(open, close - open + 1);
        i = close + 1;
    }
    return out;
}

}  // namespace

void setProgramName(const std::string& name) { programNameSlot() = name; }
const std::string& programName() { return programNameSlot(); }

void Registry::setMachine(const std::string& name) {
    if (name.size() < 3) {
        machine_.clear();
    } else {
        machine_ = name.rfind("\\\\", 0) == 0 ? name : "\\\\" + name;
    }
}

std::string Registry::describeKey() const {
    return std::to_string(static_cast<std::uint32_t>(ClassKey)) + "',Section: '" + SectionKey + "',Key: '" + ValueKey +
           "'";
}

void Registry::fail(long number, const std::string& text) const {
    raiseError(number, text, programName() + ".Registry");
}

Variant Registry::Value() {
    if (!machine_.empty()) return Default;  // no remote registry to connect to
    auto stored = platform::registryStore().queryValue(ClassKey, SectionKey, ValueKey);
    if (!stored) return Default;
    ValueType = stored->type;
    const std::string& d = stored->data;
    switch (stored->type) {
        case platform::REG_SZ:
        case platform::REG_MULTI_SZ: {
            // Only a terminating zero that is really there is dropped.
            std::string text = d;
            if (!text.empty() && text.back() == '\0') text.pop_back();
            return Variant(text);
        }
        case platform::REG_EXPAND_SZ: {
            std::string text = d;
            if (!text.empty() && text.back() == '\0') text.pop_back();
            return Variant(expandEnvironment(text));
        }
        case platform::REG_DWORD: return Variant(static_cast<long>(static_cast<std::int32_t>(readUint32(d, false))));
        case platform::REG_DWORD_BIG_ENDIAN:
            return Variant(static_cast<long>(static_cast<std::int32_t>(readUint32(d, true))));
        default: return Variant(Bytes(d.begin(), d.end()));
    }
}

void Registry::setValue(const Variant& value, platform::Durability durability) {
    std::string shown = value.toText();
    std::string failure = "Failed to set registry value Key: '" + describeKey() + " to value: '" + shown + "'";
    if (!machine_.empty()) fail(errRegistry, failure);
    platform::RegValue out;
    out.type = ValueType;
    switch (ValueType) {
        case platform::REG_SZ:
        case platform::REG_EXPAND_SZ: out.data = shown + '\0'; break;
        case platform::REG_BINARY:
            if (!value.isBytes()) fail(errRegistryWrite, failure);
            out.data.assign(value.bytes().begin(), value.bytes().end());
            break;
        case platform::REG_DWORD:
        case platform::REG_DWORD_BIG_ENDIAN: {
            if (!value.isNumber()) fail(errRegistryWrite, failure);
            double n = value.number();
            if (n < -2147483648.0 || n > 2147483647.0) fail(errRegistryWrite, failure);
            out.data = writeUint32(static_cast<std::uint32_t>(static_cast<std::int32_t>(n)),
                                   ValueType == platform::REG_DWORD_BIG_ENDIAN);
            break;
        }
        default: fail(errRegistryWrite, failure);
    }
    auto& store = platform::registryStore();
    // Writing creates a missing key too; asking first keeps a write to one locked change.
    if (!store.keyExists(ClassKey, SectionKey) && !store.createKey(ClassKey, SectionKey)) fail(errRegistry, failure);
    if (!store.setValue(ClassKey, SectionKey, ValueKey, out, durability)) fail(errRegistryWrite, failure);
    last_ = value;
}

bool Registry::KeyExists() { return machine_.empty() && platform::registryStore().keyExists(ClassKey, SectionKey); }

void Registry::CreateKey() {
    if (!machine_.empty() || !platform::registryStore().createKey(ClassKey, SectionKey))
        fail(errRegistry, "Failed to create registry Key: '" + describeKey());
}

void Registry::DeleteKey() {
    if (!machine_.empty() || !platform::registryStore().deleteKey(ClassKey, SectionKey))
        fail(errRegistry, "Failed to delete registry Key: '" + std::to_string(static_cast<std::uint32_t>(ClassKey)) +
                              "',Section: '" + SectionKey + "'");
}

void Registry::DeleteValue() {
    auto& store = platform::registryStore();
    if (!machine_.empty() || !store.keyExists(ClassKey, SectionKey))
        fail(errRegistry, "Failed to open key '" + std::to_string(static_cast<std::uint32_t>(ClassKey)) +
                              "',Section: '" + SectionKey + "' for delete access");
    if (!store.deleteValue(ClassKey, SectionKey, ValueKey))
        fail(errRegistry, "Failed to delete registry Key: '" + describeKey());
}

std::vector<std::string> Registry::EnumerateValues() {
    if (!machine_.empty()) return {};
    return platform::registryStore().valueNames(ClassKey, SectionKey);
}

std::vector<std::string> Registry::EnumerateSections() {
    if (!machine_.empty()) return {};
    return platform::registryStore().subKeyNames(ClassKey, SectionKey);
}

namespace {
Registry settingsRegistry(const std::string& valueName, const std::string& subKey) {
    Registry reg;
    reg.ClassKey = platform::RootKey::CurrentUser;
    reg.SectionKey = std::string(kSettingsKey) + (subKey.empty() ? "" : "\\" + subKey);
    reg.ValueKey = valueName;
    reg.ValueType = platform::REG_SZ;
    return reg;
}
}  // namespace

int getBoundedSetting(const std::string& valueName, const std::string& subKey, int defaultValue, int least, int most) {
    const std::string text = getRegistry(valueName, subKey, std::to_string(defaultValue));
    try {
        const double value = std::round(toNumber(text));
        return value >= least && value <= most ? static_cast<int>(value) : defaultValue;
    } catch (...) {
        return defaultValue;
    }
}

std::string getRegistry(const std::string& valueName, const std::string& subKey, const std::string& defaultValue) {
    std::string result;
    trap("Globals, getRegistry", [&] {
        Registry reg = settingsRegistry(valueName, subKey);
        Variant v = reg.Value();
        result = v.isEmpty() ? defaultValue : v.toText();
    });
    return result;
}

void setRegistryValues(const std::vector<std::pair<std::string, std::string>>& values) {
    std::vector<std::pair<std::string, platform::RegValue>> texts;
    for (const auto& [name, value] : values) texts.push_back({name, {platform::REG_SZ, value + '\0'}});
    if (!platform::registryStore().setValues(platform::RootKey::CurrentUser, kSettingsKey, texts))
        raiseError(errRegistryWrite, "Failed to set registry values in Section: '" + std::string(kSettingsKey) + "'",
                   programName() + ".Registry");
}

void setRegistry(const std::string& valueName, const std::string& value, const std::string& subKey,
                 platform::Durability durability) {
    trap("Globals, setRegistry", [&] {
        Registry reg = settingsRegistry(valueName, subKey);
        reg.setValue(Variant(value), durability);
    });
}

}  // namespace plorin
