// The file registry and the memory registry: the same operations on a RegTree, the file one
// reading its file whenever it changed and replacing it atomically under a lock on every change.
// The file is read and written through platform::fileSystem(), so a test's failing disk reaches it.
#include "platform/registry_store.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <iostream>
#include <mutex>

#include "platform/errors.h"
#include "platform/filesystem.h"
#include "platform/registry_tree.h"
#include "platform/services.h"

namespace platform {
namespace {

using detail::RegKey;
using detail::RegTree;

constexpr long kRegistryIoFailed = 1016;  // the registry's own ERROR_REGISTRY_IO_FAILED

// An empty file (as a user leaves it after clearing the file by hand) is an empty store.
std::optional<RegTree> parseStore(const std::string& bytes, std::string& problem) {
    if (bytes.empty()) return RegTree();
    return RegTree::parse(bytes, problem);
}

// The operations, written once against two primitives.
class TreeStore : public RegistryStore {
public:
    std::optional<RegValue> queryValue(RootKey root, const std::string& keyPath, const std::string& name) override {
        std::optional<RegValue> out;
        read(true, [&](RegTree& tree) {
            RegKey* key = tree.find(root, keyPath);
            const RegValue* value = key ? key->findValue(name) : nullptr;
            if (value) out = *value;
        });
        return out;
    }

    bool keyExists(RootKey root, const std::string& keyPath) override {
        bool found = false;
        read(false, [&](RegTree& tree) { found = tree.find(root, keyPath) != nullptr; });
        return found;
    }

    bool createKey(RootKey root, const std::string& keyPath) override {
        return change([&](RegTree& tree) { return tree.create(root, keyPath) != nullptr; });
    }

    bool setValue(RootKey root, const std::string& keyPath, const std::string& name, const RegValue& value,
                  Durability durability) override {
        return change(
            [&](RegTree& tree) {
                RegKey* key = tree.create(root, keyPath);
                if (key) key->setValue(name, value);
                return key != nullptr;
            },
            durability);
    }

    bool setValues(RootKey root, const std::string& keyPath,
                   const std::vector<std::pair<std::string, RegValue>>& values, Durability durability) override {
        return change(
            [&](RegTree& tree) {
                RegKey* key = tree.create(root, keyPath);
                if (key)
                    for (const auto& [name, value] : values) key->setValue(name, value);
                return key != nullptr;
            },
            durability);
    }

    bool deleteValue(RootKey root, const std::string& keyPath, const std::string& name) override {
        return change([&](RegTree& tree) {
            RegKey* key = tree.find(root, keyPath);
            return key && key->eraseValue(name);
        });
    }

    bool deleteKey(RootKey root, const std::string& keyPath) override {
        return change([&](RegTree& tree) { return tree.erase(root, keyPath); });
    }

    std::vector<std::string> valueNames(RootKey root, const std::string& keyPath) override {
        std::vector<std::string> names;
        read(false, [&](RegTree& tree) {
            if (RegKey* key = tree.find(root, keyPath))
                for (const auto& value : key->values()) names.push_back(value.first);
        });
        return names;
    }

    std::vector<std::string> subKeyNames(RootKey root, const std::string& keyPath) override {
        std::vector<std::string> names;
        read(false, [&](RegTree& tree) {
            if (RegKey* key = tree.find(root, keyPath))
                for (const auto& sub : key->subKeys()) names.push_back(sub->name());
        });
        return names;
    }

protected:
    // Shows `use` the current tree; when there is none to show it is not called. With
    // `strict`, a store that cannot be read at all throws NumberedError.
    virtual void read(bool strict, const std::function<void(RegTree&)>& use) = 0;
    // Applies `edit` to the current tree and keeps the result when it returns true, as far
    // as `durability` says. False when `edit` refused or the result could not be kept; the
    // store is then unchanged.
    virtual bool change(const std::function<bool(RegTree&)>& edit, Durability durability = Durability::durable) = 0;
};

class MemoryStore final : public TreeStore {
protected:
    void read(bool, const std::function<void(RegTree&)>& use) override {
        std::lock_guard lock(mutex_);
        use(tree_);
    }

    // The edits refuse before they change anything, so no copy is needed.
    bool change(const std::function<bool(RegTree&)>& edit, Durability) override {
        std::lock_guard lock(mutex_);
        return edit(tree_);
    }

private:
    std::mutex mutex_;
    RegTree tree_;
};

// Closes the lock file, which releases the lock, however the change ends.
struct LockFile {
    int fd = -1;
    ~LockFile() {
        if (fd >= 0) ::close(fd);
    }
};

class FileStore final : public TreeStore {
public:
    explicit FileStore(std::string path) : path_(std::move(path)) {}

protected:
    // No lock: writers rename a complete file into place, so a reader sees one whole version.
    // The file is parsed again only when its stamp changed since the last parse; as every
    // writer renames a new file into place, any change shows in the stamp.
    void read(bool strict, const std::function<void(RegTree&)>& use) override {
        std::lock_guard lock(mutex_);
        FileSystem& files = fileSystem();
        const std::optional<FileStamp> stamp = files.stamp(path_);
        if (parsedIs(stamp)) {
            use(parsed_->tree);
            return;
        }
        auto bytes = files.readAll(path_);
        if (!bytes) {
            const int error = errno;
            if (error == ENOENT) {
                RegTree empty;
                use(empty);
            } else if (strict) {
                throw NumberedError(kRegistryIoFailed,
                                    "Cannot read the registry file " + path_ + ": " +
                                        std::error_code(error, std::generic_category()).message(),
                                    "Registry");
            }
            return;
        }
        std::string problem;
        auto tree = parseStore(*bytes, problem);
        if (!tree) {
            if (!warnedUnreadable_.exchange(true))
                std::cerr << "varnotel: the registry file " << path_ << " is damaged (" << problem
                          << "); its values read as missing until the next change replaces it\n";
            return;
        }
        warnedUnreadable_ = false;
        // A file replaced while it was read is parsed again next time.
        parsed_.reset();
        if (stamp && files.stamp(path_) == stamp) {
            parsed_.emplace(Parsed{stamp, std::move(*bytes), std::move(*tree)});
            use(parsed_->tree);
        } else {
            use(*tree);
        }
    }

    bool change(const std::function<bool(RegTree&)>& edit, Durability durability) override {
        std::lock_guard lock(mutex_);
        try {
            std::error_code ec;
            auto folder = std::filesystem::path(path_).parent_path();
            if (!folder.empty()) std::filesystem::create_directories(folder, ec);

            LockFile fileLock;
            fileLock.fd = ::open((path_ + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
            if (fileLock.fd < 0) return false;
            while (::flock(fileLock.fd, LOCK_EX) != 0)
                if (errno != EINTR) return false;
            // A link in the file's place is written through, so the link stays a link.
            const std::string target = resolveLinks(path_);
            removeAbandonedTemporaries(target);

            // Under the lock nobody else replaces the file: the last parse serves when the
            // file is still the one it came from.
            FileSystem& files = fileSystem();
            const std::optional<FileStamp> stamp = files.stamp(path_);
            if (!parsedIs(stamp)) {
                parsed_.reset();
                auto bytes = files.readAll(path_);
                if (!bytes && errno != ENOENT) return false;  // never replace what could not be read
                std::string problem;
                std::optional<RegTree> tree = bytes ? parseStore(*bytes, problem) : RegTree();
                if (!tree) return replaceDamaged(files, *bytes, problem, edit, target);
                if (!bytes) parsed_.emplace(Parsed{std::nullopt, std::nullopt, std::move(*tree)});  // no file yet
                else parsed_.emplace(Parsed{stamp, std::move(*bytes), std::move(*tree)});
            }

            // The edits refuse before they change anything, so the kept tree is edited in
            // place; a failed write forgets it.
            if (!edit(parsed_->tree)) return false;
            std::string text = parsed_->tree.serialize();
            if (parsed_->text && text == *parsed_->text) return true;  // nothing changed
            if (!writeAllTo(files, target, text, durability)) {
                parsed_.reset();
                return false;
            }
            parsed_->stamp = files.stamp(path_);
            parsed_->text = std::move(text);
            return true;
        } catch (const std::exception&) {
            parsed_.reset();
            return false;
        }
    }

private:
    // Every writer holds the lock while its temporary file exists, so under the lock any
    // temporary file is what a killed writer left behind.
    void removeAbandonedTemporaries(const std::string& target) {
        std::error_code ec;
        const auto folder = std::filesystem::path(target).parent_path();
        const std::string prefix = std::filesystem::path(target).filename().string() + ".tmp-";
        std::filesystem::directory_iterator it(folder.empty() ? "." : folder, ec), end;
        for (std::error_code ignored; !ec && it != end; it.increment(ec))
            if (it->path().filename().string().rfind(prefix, 0) == 0) std::filesystem::remove(it->path(), ignored);
    }

    // Runs under the lock, so no other writer races for the backup name.
    bool keepDamagedCopy(FileSystem& files, const std::string& bytes, const std::string& problem) {
        char stamp[32];
        std::time_t now = std::time(nullptr);
        struct tm local {};
        ::localtime_r(&now, &local);
        std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
        std::string backup = path_ + ".corrupt-" + stamp;
        std::error_code ec;
        for (int n = 1; std::filesystem::exists(backup, ec); ++n)
            backup = path_ + ".corrupt-" + stamp + "-" + std::to_string(n);
        if (!files.writeAll(backup, bytes)) return false;
        std::cerr << "varnotel: the registry file " << path_ << " was damaged (" << problem << "); kept it as "
                  << backup << " and started an empty registry\n";
        return true;
    }

    // A damaged file is kept beside and replaced by the edit of an empty registry.
    bool replaceDamaged(FileSystem& files, const std::string& bytes, const std::string& problem,
                        const std::function<bool(RegTree&)>& edit, const std::string& target) {
        RegTree tree;
        if (!edit(tree)) return false;
        if (!keepDamagedCopy(files, bytes, problem)) return false;
        return files.writeAll(target, tree.serialize());
    }

    // True when the last parse is of the file with that stamp.
    bool parsedIs(const std::optional<FileStamp>& stamp) const { return stamp && parsed_ && parsed_->stamp == stamp; }

    // The last parse of the file: its stamp, its text and its tree. Without a stamp it serves
    // no read; without a text it stands for a file that was missing.
    struct Parsed {
        std::optional<FileStamp> stamp;
        std::optional<std::string> text;
        RegTree tree;
    };

    std::string path_;
    std::atomic<bool> warnedUnreadable_{false};
    std::mutex mutex_;  // guards parsed_
    std::optional<Parsed> parsed_;
};

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

std::string defaultRegistryPath() {
    if (auto path = environment("VARNOTEL_REGISTRY"); !path.empty()) return path;
    std::string config = environment("XDG_CONFIG_HOME");
    if (config.empty() || config[0] != '/') {  // relative values are to be ignored
        std::string home = environment("HOME");
        if (home.empty())
            if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir) home = user->pw_dir;
        config = home + "/.config";
    }
    return config + "/varnotel/registry.reg";
}

std::unique_ptr<RegistryStore> makeFileRegistry(const std::string& path) { return std::make_unique<FileStore>(path); }

std::unique_ptr<RegistryStore> makeMemoryRegistry() { return std::make_unique<MemoryStore>(); }

}  // namespace platform
