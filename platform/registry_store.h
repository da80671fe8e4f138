// The per-user registry tree. The settings store of both add-ins reads and writes through
// this seam; nothing here knows what a setting means. Key paths use "\" between keys, as
// the registry does; value names compare without regard to case.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/filesystem.h"

namespace platform {

// Root keys, with the registry's own numbers.
enum class RootKey : std::uint32_t {
    ClassesRoot = 0x80000000u,
    CurrentUser = 0x80000001u,
    LocalMachine = 0x80000002u,
    Users = 0x80000003u,
};

// Value types, with the registry's own numbers.
enum RegType : std::uint32_t {
    REG_NONE = 0,
    REG_SZ = 1,
    REG_EXPAND_SZ = 2,
    REG_BINARY = 3,
    REG_DWORD = 4,
    REG_DWORD_BIG_ENDIAN = 5,
    REG_MULTI_SZ = 7,
};

// A stored value: its type and its raw bytes as the registry keeps them (text includes
// its terminating zero when the writer put one there).
struct RegValue {
    std::uint32_t type = REG_NONE;
    std::string data;
    bool operator==(const RegValue&) const = default;
};

class RegistryStore {
public:
    RegistryStore() = default;
    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;
    virtual ~RegistryStore() = default;

    // The value, or nothing when the key or the value is missing. Never throws for a
    // missing key; throws NumberedError when the store itself cannot be read.
    virtual std::optional<RegValue> queryValue(RootKey root, const std::string& keyPath, const std::string& name) = 0;
    // True when the key exists.
    virtual bool keyExists(RootKey root, const std::string& keyPath) = 0;
    // Creates the key and every missing parent. Returns false when it cannot.
    virtual bool createKey(RootKey root, const std::string& keyPath) = 0;
    // Creates the key path when needed and writes the value. Returns false on failure,
    // leaving the store as it was. A store kept on a disk takes the change as far as
    // `durability` says.
    virtual bool setValue(RootKey root, const std::string& keyPath, const std::string& name, const RegValue& value,
                          Durability durability = Durability::durable) = 0;
    // Writes several values of one key in one change: all of them, or none (false). A store
    // that cannot change them together writes them one by one, stopping at the first failure.
    virtual bool setValues(RootKey root, const std::string& keyPath,
                           const std::vector<std::pair<std::string, RegValue>>& values,
                           Durability durability = Durability::durable) {
        for (const auto& [name, value] : values)
            if (!setValue(root, keyPath, name, value, durability)) return false;
        return true;
    }
    // Deletes one value; false when the key or value is missing or the write fails.
    virtual bool deleteValue(RootKey root, const std::string& keyPath, const std::string& name) = 0;
    // Deletes a key with everything below it; false when it is missing or the write fails.
    virtual bool deleteKey(RootKey root, const std::string& keyPath) = 0;
    // Value names, and direct sub key names, in stored order; empty for a missing key.
    virtual std::vector<std::string> valueNames(RootKey root, const std::string& keyPath) = 0;
    virtual std::vector<std::string> subKeyNames(RootKey root, const std::string& keyPath) = 0;
};

// The registry file of this user: $VARNOTEL_REGISTRY, else $XDG_CONFIG_HOME/varnotel/registry.reg
// (~/.config when XDG_CONFIG_HOME is unset).
std::string defaultRegistryPath();

// A registry kept in one text file (registry-export format). A read sees the file as it is
// now, parsing it again only when it changed since the last parse (its stamp: which file,
// size, change times); every write takes an advisory lock, reads the file when it changed,
// changes it and renames a flushed temporary file over the old one, so several processes
// can share it and a crash never tears it.
std::unique_ptr<RegistryStore> makeFileRegistry(const std::string& path);

// A registry held in memory, for tests.
std::unique_ptr<RegistryStore> makeMemoryRegistry();

}  // namespace platform
