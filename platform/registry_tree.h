// The registry's key tree and its text form, shared by the file and the memory registry.
// Internal to the platform library: the rest of the system sees only RegistryStore.
//
// The text is the registry-export format, UTF-8, "\n" line ends:
//   Windows Registry Editor Version 5.00
//   [HKEY_CURRENT_USER\Software\Key]        one section per key that holds values or is
//                                            empty, parents before children; other keys
//                                            are made by their sub keys' sections
//   "name"="text"       REG_SZ holding text and one terminating zero; inside quotes \\ is a
//                       backslash, \" a quote, \n a line feed and \r a carriage return
//   @=...               the default (empty-named) value
//   "name"=dword:0000000a                   REG_DWORD of four bytes
//   "name"=hex:01,02    REG_BINARY; hex(N): any other type N (hex(2) expand, hex(5) big-endian
//                       dword, hex(7) multi), and every value the forms above cannot hold
//                       exactly (a REG_SZ without its zero, with inner zeros, not UTF-8...)
// Long hex lists continue on the next line after a trailing "\". Lines starting with ";" are
// comments. Raw bytes are kept as the writer gave them (REG_EXPAND_SZ text is not UTF-16).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/registry_store.h"

namespace platform::detail {

// One key: its values and sub keys in stored order, found by their case-folded names.
class RegKey {
public:
    explicit RegKey(std::string name) : name_(std::move(name)) {}

    const std::string& name() const { return name_; }
    const std::vector<std::pair<std::string, RegValue>>& values() const { return values_; }
    const std::vector<std::unique_ptr<RegKey>>& subKeys() const { return subKeys_; }

    const RegValue* findValue(const std::string& name) const;
    // Replaces the value in place, or appends it; the first-written case of the name stays.
    void setValue(std::string name, RegValue value);
    // Room for `count` more values, so a file's many values are stored without regrowing.
    void reserveValues(std::size_t count);
    bool eraseValue(const std::string& name);

    RegKey* findSubKey(const std::string& name);
    // The sub key of that name, appended when missing.
    RegKey& subKey(const std::string& name);
    bool eraseSubKey(const std::string& name);

private:
    std::string name_;
    std::vector<std::pair<std::string, RegValue>> values_;
    std::vector<std::unique_ptr<RegKey>> subKeys_;
    // Where a value name is: an open-addressed table, at most half full, of positions in
    // values_ plus one (0 is a free slot), placed by the hash of the case-folded name. A file
    // of many values is indexed without a node and a folded copy per value.
    std::size_t valueSlot(std::string_view name) const;
    void indexValues(std::size_t slots);
    std::vector<std::uint32_t> valueSlots_;
    std::unordered_map<std::string, std::size_t> keyIndex_;
};

class RegTree {
public:
    // How many keys deep below a root key a path may go, as in the registry itself; deeper
    // paths are refused when created and make a file that holds them damaged.
    static constexpr std::size_t kMaxKeyDepth = 512;

    RegTree();

    // The key at `path` ("A\B", empty for the root key itself), or nullptr when missing.
    RegKey* find(RootKey root, const std::string& path);
    // The key, created with every missing parent; nullptr for an unknown root, a path deeper
    // than kMaxKeyDepth or a key name the text form cannot hold (a line break). Nothing is created when it fails.
    RegKey* create(RootKey root, const std::string& path);
    // Deletes the key and everything below it; false when missing (root keys cannot go).
    bool erase(RootKey root, const std::string& path);

    std::string serialize() const;
    // The tree the text describes, or nothing with `problem` saying what was wrong where.
    static std::optional<RegTree> parse(const std::string& text, std::string& problem);

private:
    RegKey top_;  // holds the root keys, named HKEY_CURRENT_USER and so on
};

}  // namespace platform::detail
