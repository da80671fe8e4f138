// The settings file (the registry tree both add-ins keep their settings in), read and written
// through the add-in's own settings functions: whatever the file holds, reading a setting
// never crashes, and writing one keeps every key and value the file held and adds the new
// one; a damaged file is kept byte for byte as a ".corrupt-" copy before a new one starts.
#include <filesystem>
#include <fstream>
#include <map>

#include "core/errors.h"
#include "core/registry.h"
#include "fuzz_support.h"
#include "platform/registry_store.h"
#include "platform/registry_tree.h"
#include "platform/services.h"

namespace {

using platform::RegistryStore;
using platform::RootKey;

// Every key and value below the roots, by path (folded to lower case, as key names compare
// without regard to case); nothing when the store cannot be read.
using Snapshot = std::map<std::string, std::map<std::string, platform::RegValue>>;

std::string keyOf(RootKey root, std::string path) {
    for (auto& c : path)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return std::to_string(static_cast<unsigned>(root)) + ":" + path;
}

void collect(RegistryStore& store, RootKey root, const std::string& path, Snapshot& out) {
    auto& values = out[keyOf(root, path)];
    for (const auto& name : store.valueNames(root, path)) {
        auto value = store.queryValue(root, path, name);
        if (!value) fuzz::fail(("a listed value cannot be read: " + path + " " + name).c_str());
        values[name] = *value;
    }
    for (const auto& sub : store.subKeyNames(root, path))
        collect(store, root, path.empty() ? sub : path + "\\" + sub, out);
}

std::optional<Snapshot> snapshot(const std::string& file) {
    auto store = platform::makeFileRegistry(file);
    Snapshot out;
    try {
        for (auto root : {RootKey::ClassesRoot, RootKey::CurrentUser, RootKey::LocalMachine, RootKey::Users})
            collect(*store, root, "", out);
    } catch (const platform::NumberedError&) {
        return std::nullopt;
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::filesystem::remove_all(fuzz::scratch().file("settings"));
    std::filesystem::create_directories(fuzz::scratch().file("settings"));
    const auto file = fuzz::scratch().put("settings/registry.reg", bytes);
    std::string problem;
    const bool damaged = !bytes.empty() && !platform::detail::RegTree::parse(bytes, problem);
    const auto before = snapshot(file);

    auto store = platform::makeFileRegistry(file);
    platform::useRegistryStore(store.get());
    for (const char* name : {"webHost", "supportEmail", "statsSlideWizard", "thumbsWidth", ""})
        plorin::getRegistry(name, "", "(missing)");
    plorin::getRegistry("Version", "plorinrenew", "");
    const std::string text = "fuzz \"value\" \\ with\nlines\r and \xC3\xA4";
    plorin::setRegistry("fuzzSetting", text, "Fuzz");
    platform::useRegistryStore(nullptr);
    std::string reported;
    for (const auto& r : plorin::reportedErrors()) reported += r.location + ": " + r.error.Description + "; ";
    plorin::reportedErrors().clear();

    if (!before) {
        if (fuzz::readFile(file) != bytes) fuzz::fail("a settings file that cannot be read was written over");
        return 0;
    }
    if (damaged) {
        bool kept = false;
        for (const auto& entry : std::filesystem::directory_iterator(fuzz::scratch().file("settings")))
            if (entry.path().filename().string().rfind("registry.reg.corrupt-", 0) == 0)
                kept = kept || fuzz::readFile(entry.path().string()) == bytes;
        if (!kept && fuzz::readFile(file) != bytes) fuzz::fail("a damaged settings file was replaced without a copy");
    }
    auto after = snapshot(file);
    if (!after) fuzz::fail("the settings file written cannot be read");
    const std::string key = keyOf(RootKey::CurrentUser, std::string(plorin::kSettingsKey) + "\\Fuzz");
    auto added = after->find(key);
    if (added == after->end() || !added->second.count("fuzzSetting"))
        fuzz::fail(("the setting written is missing (" + reported + ")").c_str());
    const auto& value = added->second.at("fuzzSetting");
    if (value.type != platform::REG_SZ || value.data != text + '\0')
        fuzz::fail("the setting written reads back changed");
    added->second.erase("fuzzSetting");
    // The new key and its parents may be new; everything else must be as it was.
    for (const auto& [path, values] : *before) {
        auto it = after->find(path);
        if (it == after->end() || it->second != values)
            fuzz::fail(("a key changed by writing a setting: " + path).c_str());
    }
    return 0;
}
