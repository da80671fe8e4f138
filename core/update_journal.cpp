#include "core/update_journal.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <thread>

#include "core/errors.h"
#include "core/folder_layout.h"
#include "core/registry.h"
#include "platform/services.h"

namespace plorin {
namespace {

namespace fs = std::filesystem;

// Names the folder whose lock this process holds. An advisory lock is per opening, so a
// second opening in the same process would wait for the first for ever; and each add-in's
// library has its own copy of this code, so only the process's environment is shared by all.
// The value carries the process id too: a program started meanwhile inherits the variable,
// not the hold.
constexpr const char* kHeldVariable = "VARNOTEL_UPDATE_LOCK_HELD";

std::string heldValue(const std::string& folder) { return std::to_string(::getpid()) + ":" + folder; }

bool present(const std::string& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

// The root and the record's folder of a record path ".../program/updatejournal.txt".
std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string parentOf(std::string folder) {
    while (!folder.empty() && folder.back() == '/') folder.pop_back();
    return folderOf(folder);
}

// A target of the record the recovery may touch: clean, relative and reached without a link.
bool usable(const std::string& root, const std::string& relative) {
    return isCleanRelativePath(relative) && noLinkBelow(root, relative);
}

}  // namespace

bool isCleanRelativePath(std::string_view path) {
    if (path.empty() || path.front() == '/') return false;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f || c == '\\' || c == ':') return false;
    }
    std::size_t start = 0;
    for (;;) {
        const auto slash = path.find('/', start);
        const std::string_view segment = path.substr(start, slash - start);
        if (segment.empty() || segment == "." || segment == "..") return false;
        if (slash == std::string_view::npos) return true;
        start = slash + 1;
    }
}

bool noLinkBelow(const std::string& root, const std::string& relative) {
    std::string path = root;
    std::size_t start = 0;
    for (;;) {
        const auto slash = relative.find('/', start);
        path += relative.substr(start, slash - start);
        std::error_code ec;
        if (fs::is_symlink(fs::symlink_status(path, ec))) return false;
        if (slash == std::string::npos) return true;
        path += '/';
        start = slash + 1;
    }
}

std::string installRecordText(const InstallRecord& r) {
    std::string text = r.committed ? "committed\n" : "pending\n";
    for (const auto& f : r.folders) text += "folder\t" + f + "\n";
    for (const auto& e : r.files) text += std::string(e.existed ? "replace\t" : "add\t") + e.path + "\n";
    for (const auto& [name, value] : r.settings) text += "setting\t" + name + "\t" + value + "\n";
    return text;
}

InstallRecord parseInstallRecord(std::string_view text) {
    InstallRecord r;
    std::istringstream in{std::string(text)};
    std::string line;
    std::getline(in, line);
    r.committed = line == "committed";
    while (std::getline(in, line)) {
        const auto tab = line.find('\t');
        if (tab == std::string::npos) continue;
        const std::string kind = line.substr(0, tab), rest = line.substr(tab + 1);
        if (kind == "setting") {
            const auto second = rest.find('\t');
            if (second != std::string::npos) r.settings.emplace_back(rest.substr(0, second), rest.substr(second + 1));
            continue;
        }
        if (!isCleanRelativePath(rest)) continue;  // never anything outside the installation
        if (kind == "folder") r.folders.push_back(rest);
        else if (kind == "replace" || kind == "add") r.files.push_back({rest, kind == "replace"});
    }
    return r;
}

bool undoInstall(const std::string& root, const InstallRecord& r) {
    auto& files = platform::fileSystem();
    bool ok = true;
    for (auto it = r.files.rbegin(); it != r.files.rend(); ++it) {
        if (!usable(root, it->path)) {
            ok = false;
            continue;
        }
        const std::string target = root + it->path, staged = target + kStagedSuffix, kept = target + kKeptSuffix;
        if (present(kept)) {
            ok = files.renameFile(kept, target) && ok;
        } else if (!it->existed && !present(staged) && present(target)) {
            ok = files.deleteFile(target) && ok;  // added, already in place
        }
        if (present(staged)) ok = files.deleteFile(staged) && ok;
    }
    for (auto it = r.folders.rbegin(); it != r.folders.rend(); ++it) {
        if (!usable(root, *it)) continue;
        std::error_code ec;
        fs::remove(root + *it, ec);  // only an empty folder goes
    }
    return ok;
}

bool finishInstall(const std::string& root, const InstallRecord& r) {
    // Versions not written keep the record, so the next start writes them: an installed
    // version is never offered again.
    bool ok = r.settings.empty() || trap("Globals, setRegistry", [&] { setRegistryValues(r.settings); });
    auto& files = platform::fileSystem();
    for (const auto& e : r.files) {
        if (!usable(root, e.path)) continue;
        const std::string target = root + e.path;
        if (present(target + kKeptSuffix)) ok = files.deleteFile(target + kKeptSuffix) && ok;
        if (present(target + kStagedSuffix)) ok = files.deleteFile(target + kStagedSuffix) && ok;
    }
    return ok;
}

UpdateLock::UpdateLock(const std::string& folder, long waitMs) {
    if (const char* held = std::getenv(kHeldVariable); held && heldValue(folder) == held) {
        mine_ = true;
        return;
    }
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (std::chrono::steady_clock::now() >= until) {
            ::close(fd);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    fd_ = fd;
    ::setenv(kHeldVariable, heldValue(folder).c_str(), 1);
}

UpdateLock::~UpdateLock() {
    if (fd_ < 0) return;
    ::unsetenv(kHeldVariable);
    ::close(fd_);  // gives the lock up
}

bool recoverInstall(const std::string& journal) {
    bool ok = false;
    ignoreErrors([&] {
        const std::string folder = folderOf(journal);
        const std::string root = parentOf(folder);
        if (folder.empty() || root.empty()) {
            ok = true;  // no installation around the add-in: nothing it could have left
            return;
        }
        UpdateLock lock(folder);
        if (lock.mine()) {
            ok = true;  // this process's own install is under way
            return;
        }
        if (!lock.held()) return;
        // A copy of the record whose rename a kill cut off is no record.
        const std::string name = journal.substr(folder.size());
        for (const auto& file : platform::fileSystem().listFiles(folder))
            if (file.rfind(name + ".tmp-", 0) == 0) platform::fileSystem().deleteFile(folder + file);
        if (!present(journal)) {
            ok = true;
            return;
        }
        const auto text = platform::fileSystem().readAll(journal);
        if (!text) return;
        const InstallRecord record = parseInstallRecord(*text);
        if (record.committed ? finishInstall(root, record) : undoInstall(root, record))
            ok = platform::fileSystem().deleteFile(journal);
    });
    return ok;
}

bool recoverInterruptedUpdate() { return recoverInstall(addInFolder() + kJournalName); }

}  // namespace plorin
