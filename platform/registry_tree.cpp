// The key tree and its registry-export text form (see registry_tree.h for the format).
#include "platform/registry_tree.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace platform::detail {
namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::size_t kMaxReservedValues = 1u << 16;

struct RootName {
    RootKey key;
    const char* name;
};
constexpr RootName kRoots[] = {
    {RootKey::ClassesRoot, "HKEY_CLASSES_ROOT"},
    {RootKey::CurrentUser, "HKEY_CURRENT_USER"},
    {RootKey::LocalMachine, "HKEY_LOCAL_MACHINE"},
    {RootKey::Users, "HKEY_USERS"},
};

const char* rootName(RootKey root) {
    for (const auto& r : kRoots)
        if (r.key == root) return r.name;
    return nullptr;
}

// Names compare without regard to ASCII case, as the registry does.
char folded(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string fold(std::string_view name) {
    std::string out(name);
    for (char& c : out) c = folded(c);
    return out;
}

std::uint64_t foldedHash(std::string_view name) {
    std::uint64_t h = 14695981039346656037ull;  // FNV-1a
    for (char c : name) h = (h ^ static_cast<unsigned char>(folded(c))) * 1099511628211ull;
    return h;
}

bool sameFolded(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (folded(a[i]) != folded(b[i])) return false;
    return true;
}

// Empty parts ("A\\B", a leading "\") are skipped.
std::vector<std::string> splitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

template <class Items>
bool eraseNamed(Items& items, std::unordered_map<std::string, std::size_t>& index, const std::string& name) {
    auto found = index.find(fold(name));
    if (found == index.end()) return false;
    std::size_t at = found->second;
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(at));
    index.erase(found);
    for (auto& entry : index)
        if (entry.second > at) --entry.second;
    return true;
}

bool validUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        auto c = static_cast<unsigned char>(s[i]);
        std::size_t extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : 4;
        if (extra > 3 || s.size() - i <= extra) return false;
        for (std::size_t k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += extra + 1;
    }
    return true;
}

// ---- writing ----

void appendQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (char c : text) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '"': out += "\\\""; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            default: out += c;
        }
    }
    out += '"';
}

// Text with exactly one terminating zero is written in quotes; anything else in hex.
bool fitsQuotes(const RegValue& v) {
    return v.type == REG_SZ && !v.data.empty() && v.data.find('\0') == v.data.size() - 1 &&
           validUtf8(std::string_view(v.data).substr(0, v.data.size() - 1));
}

void appendValue(std::string& out, const std::string& name, const RegValue& v) {
    if (name.empty()) {
        out += '@';
    } else {
        appendQuoted(out, name);
    }
    out += '=';
    char buffer[32];
    if (fitsQuotes(v)) {
        appendQuoted(out, std::string_view(v.data).substr(0, v.data.size() - 1));
    } else if (v.type == REG_DWORD && v.data.size() == 4) {
        std::uint32_t n = 0;
        for (int i = 3; i >= 0; --i) n = (n << 8) | static_cast<unsigned char>(v.data[i]);
        std::snprintf(buffer, sizeof buffer, "dword:%08x", static_cast<unsigned>(n));
        out += buffer;
    } else {
        if (v.type == REG_BINARY) {
            out += "hex:";
        } else {
            std::snprintf(buffer, sizeof buffer, "hex(%x):", static_cast<unsigned>(v.type));
            out += buffer;
        }
        static const char digits[] = "0123456789abcdef";
        for (std::size_t i = 0; i < v.data.size(); ++i) {
            if (i > 0) out += i % 25 == 0 ? ",\\\n  " : ",";
            auto b = static_cast<unsigned char>(v.data[i]);
            out += digits[b >> 4];
            out += digits[b & 15];
        }
    }
    out += '\n';
}

// A key gets its section when it holds values or is empty; a key that only holds sub keys is
// made again by its first sub key's section, in the same place among its siblings, so the
// order of keys survives without writing each long path once per level above it. A root key
// only when it holds values. The path grows and shrinks in one buffer.
void appendKey(std::string& out, const RegKey& key, std::string& path, bool isRoot) {
    if (isRoot ? !key.values().empty() : (!key.values().empty() || key.subKeys().empty())) {
        out += "\n[" + path + "]\n";
        for (const auto& [name, value] : key.values()) appendValue(out, name, value);
    }
    for (const auto& sub : key.subKeys()) {
        const std::size_t length = path.size();
        path += '\\';
        path += sub->name();
        appendKey(out, *sub, path, false);
        path.resize(length);
    }
}

// ---- reading ----

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

// A quoted text starting at `at`; moves `at` past the closing quote. Runs of plain
// characters are copied at once: a settings file holds thousands of these.
bool readQuoted(std::string_view line, std::size_t& at, std::string& text) {
    if (at >= line.size() || line[at] != '"') return false;
    for (++at; at < line.size(); ++at) {
        std::size_t special = at;
        while (special < line.size() && line[special] != '"' && line[special] != '\\') ++special;
        if (special == line.size()) return false;
        text.append(line.data() + at, special - at);
        at = special;
        if (line[at] == '"') {
            ++at;
            return true;
        }
        if (++at >= line.size()) return false;
        switch (line[at]) {
            case '\\': text += '\\'; break;
            case '"': text += '"'; break;
            case 'n': text += '\n'; break;
            case 'r': text += '\r'; break;
            default: return false;
        }
    }
    return false;
}

bool readHexNumber(std::string_view digits, std::uint32_t& n) {
    if (digits.empty() || digits.size() > 8) return false;
    n = 0;
    for (char c : digits) {
        int d = c >= '0' && c <= '9'   ? c - '0'
                : c >= 'a' && c <= 'f' ? c - 'a' + 10
                : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                       : -1;
        if (d < 0) return false;
        n = (n << 4) | static_cast<std::uint32_t>(d);
    }
    return true;
}

bool readHexBytes(std::string_view list, std::string& bytes) {
    list = trim(list);
    while (!list.empty()) {
        std::size_t comma = list.find(',');
        std::uint32_t b = 0;
        if (!readHexNumber(trim(list.substr(0, comma)), b) || b > 0xFF) return false;
        bytes += static_cast<char>(b);
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
        if (trim(list).empty()) return false;  // a dangling comma
    }
    return true;
}

}  // namespace

std::size_t RegKey::valueSlot(std::string_view name) const {
    const std::size_t mask = valueSlots_.size() - 1;
    for (std::size_t slot = foldedHash(name) & mask;; slot = (slot + 1) & mask) {
        const std::uint32_t at = valueSlots_[slot];
        if (at == 0 || sameFolded(values_[at - 1].first, name)) return slot;
    }
}

void RegKey::indexValues(std::size_t slots) {
    valueSlots_.assign(slots, 0);
    for (std::size_t i = 0; i < values_.size(); ++i)
        valueSlots_[valueSlot(values_[i].first)] = static_cast<std::uint32_t>(i + 1);
}

const RegValue* RegKey::findValue(const std::string& name) const {
    if (valueSlots_.empty()) return nullptr;
    const std::uint32_t at = valueSlots_[valueSlot(name)];
    return at == 0 ? nullptr : &values_[at - 1].second;
}

void RegKey::setValue(std::string name, RegValue value) {
    reserveValues(1);
    const std::size_t slot = valueSlot(name);
    if (const std::uint32_t at = valueSlots_[slot]) {
        values_[at - 1].second = std::move(value);
        return;
    }
    valueSlots_[slot] = static_cast<std::uint32_t>(values_.size() + 1);
    values_.emplace_back(std::move(name), std::move(value));
}

void RegKey::reserveValues(std::size_t count) {
    const std::size_t wanted = values_.size() + count;
    // Growing by at least half keeps many small reservations from regrowing each time.
    if (wanted > values_.capacity()) values_.reserve(std::max(wanted, values_.capacity() + values_.capacity() / 2));
    if (2 * wanted <= valueSlots_.size()) return;
    std::size_t slots = std::max<std::size_t>(16, valueSlots_.size());
    while (slots < 2 * wanted) slots *= 2;
    indexValues(slots);
}

bool RegKey::eraseValue(const std::string& name) {
    if (valueSlots_.empty()) return false;
    const std::uint32_t at = valueSlots_[valueSlot(name)];
    if (at == 0) return false;
    values_.erase(values_.begin() + static_cast<std::ptrdiff_t>(at - 1));
    indexValues(valueSlots_.size());  // the positions after it moved
    return true;
}

RegKey* RegKey::findSubKey(const std::string& name) {
    auto found = keyIndex_.find(fold(name));
    return found == keyIndex_.end() ? nullptr : subKeys_[found->second].get();
}

RegKey& RegKey::subKey(const std::string& name) {
    auto [slot, added] = keyIndex_.try_emplace(fold(name), subKeys_.size());
    if (added) subKeys_.push_back(std::make_unique<RegKey>(name));
    return *subKeys_[slot->second];
}

bool RegKey::eraseSubKey(const std::string& name) { return eraseNamed(subKeys_, keyIndex_, name); }

RegTree::RegTree() : top_("") {
    for (const auto& r : kRoots) top_.subKey(r.name);
}

RegKey* RegTree::find(RootKey root, const std::string& path) {
    const char* name = rootName(root);
    RegKey* key = name ? top_.findSubKey(name) : nullptr;
    for (const auto& part : splitPath(path)) {
        if (!key) break;
        key = key->findSubKey(part);
    }
    return key;
}

RegKey* RegTree::create(RootKey root, const std::string& path) {
    const char* name = rootName(root);
    if (!name) return nullptr;
    auto parts = splitPath(path);
    if (parts.size() > kMaxKeyDepth) return nullptr;
    for (const auto& part : parts)
        if (part.find_first_of("\r\n") != std::string::npos) return nullptr;
    RegKey* key = top_.findSubKey(name);
    for (const auto& part : parts) key = &key->subKey(part);
    return key;
}

bool RegTree::erase(RootKey root, const std::string& path) {
    const char* name = rootName(root);
    auto parts = splitPath(path);
    if (!name || parts.empty()) return false;
    RegKey* parent = top_.findSubKey(name);
    for (std::size_t i = 0; parent && i + 1 < parts.size(); ++i) parent = parent->findSubKey(parts[i]);
    return parent && parent->eraseSubKey(parts.back());
}

std::string RegTree::serialize() const {
    std::string out(kHeader);
    out += '\n';
    for (const auto& root : top_.subKeys()) {
        std::string path = root->name();
        appendKey(out, *root, path, true);
    }
    return out;
}

std::optional<RegTree> RegTree::parse(const std::string& text, std::string& problem) {
    // Lines are taken one at a time from the rest of the text ("\n" ends each; a last line
    // without one counts too).
    std::string_view rest(text);
    if (rest.substr(0, 3) == "\xEF\xBB\xBF") rest.remove_prefix(3);  // a byte-order mark
    std::size_t taken = 0;
    const auto nextLine = [&rest, &taken](std::string_view& line) {
        if (rest.empty()) return false;
        ++taken;
        const std::size_t end = rest.find('\n');
        line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        return true;
    };

    auto fail = [&problem](std::size_t line, const char* what) {
        problem = "line " + std::to_string(line + 1) + ": " + what;
        return std::nullopt;
    };
    std::string_view raw;
    if (!nextLine(raw) || trim(raw) != kHeader) return fail(0, "not a registry export");

    RegTree tree;
    RegKey* current = nullptr;
    while (nextLine(raw)) {
        const std::size_t i = taken - 1;
        std::string_view line = trim(raw);
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            if (line.size() < 3 || line.back() != ']') return fail(i, "unclosed key name");
            std::string_view path = line.substr(1, line.size() - 2);
            std::size_t slash = path.find('\\');
            std::string root = fold(path.substr(0, slash));
            if (slash != std::string_view::npos && splitPath(std::string(path.substr(slash + 1))).size() > kMaxKeyDepth)
                return fail(i, "key nested too deep");
            current = nullptr;
            for (const auto& r : kRoots)
                if (fold(r.name) == root)
                    current =
                        tree.create(r.key, slash == std::string_view::npos ? "" : std::string(path.substr(slash + 1)));
            if (!current) return fail(i, "unknown root key");
            // At most one value per line up to the next section (a damaged file of countless
            // lines gets no more room than a large one).
            // Counted with memchr, and only as far as the room goes.
            const std::string_view section = rest.substr(0, rest.find("\n["));
            std::size_t lines = 0;
            for (std::size_t at = section.find('\n'); at != std::string_view::npos && lines < kMaxReservedValues;
                 at = section.find('\n', at + 1))
                ++lines;
            current->reserveValues(std::min<std::size_t>(lines + 1, kMaxReservedValues));
            continue;
        }
        if (!current) return fail(i, "value outside a key");

        std::string name;
        std::size_t at = 0;
        if (line[0] == '@') {
            at = 1;
        } else if (!readQuoted(line, at, name)) {
            return fail(i, "bad value name");
        }
        if (at >= line.size() || line[at] != '=') return fail(i, "missing '='");
        std::string_view data = line.substr(at + 1);

        RegValue value;
        if (!data.empty() && data[0] == '"') {
            std::size_t end = 0;
            if (!readQuoted(data, end, value.data) || end != data.size()) return fail(i, "bad text value");
            value.type = REG_SZ;
            value.data += '\0';
        } else if (data.substr(0, 6) == "dword:") {
            std::uint32_t n = 0;
            if (!readHexNumber(data.substr(6), n)) return fail(i, "bad dword value");
            value.type = REG_DWORD;
            for (int b = 0; b < 4; ++b) value.data += static_cast<char>((n >> (8 * b)) & 0xFF);
        } else if (data.substr(0, 3) == "hex") {
            std::size_t colon = data.find(':');
            std::string_view kind = data.substr(3, colon == std::string_view::npos ? colon : colon - 3);
            std::uint32_t type = REG_BINARY;
            if (colon == std::string_view::npos ||
                (!kind.empty() && (kind.size() < 3 || kind.front() != '(' || kind.back() != ')' ||
                                   !readHexNumber(kind.substr(1, kind.size() - 2), type))))
                return fail(i, "bad hex value type");
            std::string list(data.substr(colon + 1));
            std::size_t first = i;
            while (!list.empty() && list.back() == '\\') {
                list.pop_back();
                std::string_view more;
                if (!nextLine(more)) return fail(first, "hex value cut short");
                list += trim(more);
            }
            value.type = type;
            if (!readHexBytes(list, value.data)) return fail(first, "bad hex bytes");
        } else {
            return fail(i, "unknown value form");
        }
        current->setValue(std::move(name), std::move(value));
    }
    return tree;
}

}  // namespace platform::detail
