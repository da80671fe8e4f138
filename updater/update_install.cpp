// Downloading the update into a private temporary folder and installing it.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>

#include "core/config.h"
#include "core/errors.h"
#include "core/folder_layout.h"
#include "core/folders.h"
#include "core/registry.h"
#include "core/web_post.h"
#include "host/host.h"
#include "host/ribbon_host.h"
#include "platform/services.h"
#include "platform/ui_driver.h"
#include "updater/update_addin.h"
#include "updater/update_dialogs.h"
#include "updater/update_main.h"

namespace plorinrenew {
namespace {

std::string megabytesOf(std::uint64_t bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / 1048576);
    return text;
}

std::string query(const Main& m) {
    return std::string("&customization=") + (m.customizationDue ? "1" : "0") + "&program=" + (m.programDue ? "1" : "0");
}

// Puts the main add-in's connection back as it was, however the install ends.
constexpr const char* kTempPrefix = "plorin_update_";

// An open descriptor holding an advisory lock on the folder, or -1.
int holdFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return fd;
    ::close(fd);
    return -1;
}

// Download folders of runs that ended without clearing up (killed): this user's own, real
// folders (no links) that no running run holds.
void removeAbandonedDownloads(const std::string& temp) {
    for (const auto& name : platform::fileSystem().listFolders(temp)) {
        if (name.rfind(kTempPrefix, 0) != 0) continue;
        const std::string folder = temp + name;
        struct stat info {};
        if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid()) continue;
        const int held = holdFolder(folder);
        if (held < 0) continue;  // a run in progress, here or in another process
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);  // never follows a link inside
        ::close(held);
    }
}

// The folder of a path below root that the install will change: the deepest one that exists.
std::string folderToChange(const std::string& root, const std::string& relative) {
    std::string folder = root + relative.substr(0, relative.rfind('/') + 1);
    while (folder.size() > root.size() && !platform::fileSystem().folderExists(folder)) {
        folder.pop_back();
        folder.erase(folder.rfind('/') + 1);
    }
    return folder;
}

struct Reconnect {
    host::COMAddIn& entry;
    bool wasConnected;
    ~Reconnect() {
        plorin::trap("Main, installUpdate", [&] {
            if (entry.Connect() != wasConnected) entry.setConnect(wasConnected);
        });
    }
};

}  // namespace

std::string Main::installationRoot() {
    std::string folder = plorin::addInFolder();  // ends with "/"
    if (!folder.empty()) folder.pop_back();
    const auto slash = folder.rfind('/');
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

std::string Main::journalPath() { return plorin::addInFolder() + kJournalName; }

std::string Main::logPath() { return plorin::addInFolder() + kLogName; }

std::string Main::createTempFolder() {
    std::string folder;
    plorin::trap("Main, createTempFolder", [&] {
        const std::string temp = plorin::getTmpPath();
        if (temp.empty() || temp.front() != '/') return;  // no temporary folder: no download
        removeAbandonedDownloads(temp);
        std::string pattern = temp + kTempPrefix + "XXXXXX";
        if (!::mkdtemp(pattern.data())) return;  // mode 0700, a name nobody could foresee
        folder = pattern + "/";
        tempLock = holdFolder(pattern);
    });
    return folder;
}

void Main::generatePath(const std::string& path) {
    plorin::trap("Main, generatePath", [&] {
        auto& files = platform::fileSystem();
        std::string folder = path;
        while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
        if (folder.empty() || files.folderExists(folder)) return;
        const auto slash = folder.rfind('/');
        if (slash != std::string::npos && slash > 0) generatePath(folder.substr(0, slash));
        if (!files.createFolder(folder))
            plorin::raiseError(plorin::errPathFileAccess, "Path/File access error: " + folder);
    });
}

bool Main::copyFolder(const std::string& source, const std::string& destination, const InstallOptions& options) {
    bool ok = false;
    plorin::trap("Main, copyFolder",
                 [&] { ok = installFiles(source, destination, updateList, journalPath(), logPath(), options); });
    return ok;
}

void Main::deleteTemp() {
    plorin::trap("Main, deleteTemp", [&] {
        if (tempLock >= 0) ::close(tempLock);  // given up after the folder went, below
        tempLock = -1;
        if (tempFolder.empty()) return;
        std::error_code ec;
        // remove_all takes links away as links; it never follows them.
        std::filesystem::remove_all(std::filesystem::path(tempFolder).parent_path(), ec);
        tempFolder.clear();
    });
}

bool Main::downloadUpdate() {
    bool done = false;
    auto dialog = std::make_unique<DownloadStatus>(downloadCancelled);
    plorin::trap("Main, downloadUpdate", [&] {
        dialog->Load();
        dialog->lStatus.Caption = "Preparing download...";
        dialog->Show(false);
        dialog->progress.Value = 0;

        tempFolder = createTempFolder();
        if (tempFolder.empty()) return;

        const std::string endpoint = plorin::webAddress() + "/autoupdate.php";
        plorin::PostLimits limits;
        limits.maxReplyBytes = kMaxListBytes;  // a list names every file: far longer than a form's answer
        const plorin::HttpReply listReply = plorin::HttpPostReply(endpoint + "?action=list" + query(*this), "", limits);
        if (!listReply.answered || listReply.status != 200) return;
        const auto list = parseUpdateList(std::string(listReply.body.begin(), listReply.body.end()));
        const auto listed = list ? totalBytes(*list) : std::nullopt;
        if (!listed || *listed == 0 || *listed > downloadSize) return;
        // Program files that nothing vouches for (no checksum, no TLS) could be anyone's.
        if (programDue && !hasChecksums(*list) && endpoint.rfind("https://", 0) != 0) {
            unverifiable = true;
            return;
        }
        // An installation this user may not change takes nothing: no download, and not
        // offered again until a newer version.
        const std::string root = installationRoot();
        std::set<std::string> folders{plorin::addInFolder()};
        for (const auto& file : *list) folders.insert(folderToChange(root, file.path));
        for (const auto& folder : folders) {
            if (platform::fileSystem().canWriteIn(folder)) continue;
            unwritable = folder;
            plorin::setRegistry("autoUpdateRefusedVersion", offerKey(), "");
            return;
        }
        if (downloadCancelled) return;

        PackageStream stream(tempFolder, *list);
        const auto outcome = plorin::HttpDownload(
            endpoint + "?action=download" + query(*this), *listed,
            [&](std::uint64_t received, std::uint64_t length) {
                dialog->progress.Max = static_cast<double>(length);
                dialog->progress.Value = static_cast<double>(received);
                dialog->lStatus.Caption =
                    "Downloading... (" + megabytesOf(received) + " of " + megabytesOf(length) + ")";
                platform::DoEvents();
                return !downloadCancelled;
            },
            [&](const char* data, std::size_t size) { return stream.write(data, size); });
        if (outcome != plorin::DownloadOutcome::complete || downloadCancelled) return;
        // The list and the package do not belong together, or a file is not the one listed.
        if (!stream.finish()) return;
        updateList = *list;
        done = true;
    });
    plorin::ignoreErrors([&] {
        if (dialog->loaded()) dialog->closeByRun();
    });
    return done;
}

bool Main::installUpdate() {
    bool installed = false;
    plorin::trap("Main, installUpdate", [&] {
        if (!application_ || updateList.empty()) return;
        host::COMAddIns& addIns = application_->COMAddIns();
        host::COMAddIn* entry = nullptr;
        for (int i = 1; i <= addIns.Count() && !entry; ++i)
            if (addIns.Item(i).ProgId() == kMainProgId) entry = &addIns.Item(i);
        if (!entry) return;
        const std::string root = installationRoot();
        if (root.empty()) return;

        const bool wasConnected = entry->Connect();
        const bool hadRibbon = wasConnected && application_->Ribbon().loaded(kMainProgId);
        Reconnect reconnect{*entry, wasConnected};
        entry->setConnect(false);
        InstallOptions options;
        if (programDue) options.settings.emplace_back("autoUpdateProgramVersion", newProgramVersion);
        if (customizationDue)
            options.settings.emplace_back("autoUpdateCustomizationVersion", std::to_string(newCustomizationVersion));
        // The new files are accepted only once the main add-in runs on them as it ran before.
        options.check = [&] {
            if (!wasConnected) return true;
            bool works = false;
            plorin::ignoreErrors([&] {
                entry->setConnect(true);
                works = entry->Connect() && (!hadRibbon || application_->Ribbon().loaded(kMainProgId));
            });
            if (!works) {
                rolledBack = true;
                plorin::ignoreErrors([&] { entry->setConnect(false); });  // off the new files before they go
            }
            return works;
        };
        installed = copyFolder(tempFolder, root, options);
    });
    return installed;
}

}  // namespace plorinrenew
