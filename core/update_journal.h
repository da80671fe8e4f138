// The record an update keeps while it puts files into the installation, and the recovery
// that every add-in of the installation runs before it reads a file of it: an install cut
// off half-way is undone, one cut off while finishing is finished. Shared by the update
// add-in (which writes the record) and the presentation add-in (which must never start on
// half-installed files, and comes first in the host's list).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace plorin {

// The record, in the update add-in's folder; the installation's root is that folder's parent.
constexpr const char* kJournalName = "updatejournal.txt";
// A new file waits beside its target under this name; a replaced one is kept under the other
// until the install is finished.
constexpr const char* kStagedSuffix = ".update-new";
constexpr const char* kKeptSuffix = ".update-old";

// A path that stays inside the folder it is appended to: not empty, relative, "/" between
// non-empty segments that are neither "." nor "..", and no backslash, colon (drive letters)
// or control character (NUL included).
bool isCleanRelativePath(std::string_view path);
// True when no part of `relative` below `root` is a symbolic link (which could lead outside).
bool noLinkBelow(const std::string& root, const std::string& relative);

struct InstallRecord {
    // False while files are going in (undo on recovery), true once they are accepted (finish).
    bool committed = false;
    struct File {
        std::string path;  // relative to the root
        bool existed = false;
    };
    std::vector<File> files;
    std::vector<std::string> folders;  // relative, made by the install, parents first
    // Settings written as part of finishing (the installed versions), name and value.
    std::vector<std::pair<std::string, std::string>> settings;
};
std::string installRecordText(const InstallRecord& record);
// Lines naming a path that is not clean and relative are dropped: recovery never acts
// outside the installation, whatever the record says.
InstallRecord parseInstallRecord(std::string_view text);

// Puts every file of the record back as it was before the install; removes added files and
// the folders the install made (when empty).
bool undoInstall(const std::string& root, const InstallRecord& record);
// Writes the record's settings in one change, then drops the replaced files; false when any
// of it failed, so that the record is kept for the next start.
bool finishInstall(const std::string& root, const InstallRecord& record);

// The installation's update lock: one install or recovery at a time, across processes (an
// advisory lock on the record's folder). Waits up to `waitMs` for another process's hold.
// Within a process that already holds it (whichever library of the process took it), a
// second hold is no hold (`held` false, `mine` true): the install in progress is its own,
// and the recovery must leave it alone.
class UpdateLock {
public:
    explicit UpdateLock(const std::string& folder, long waitMs = 30000);
    ~UpdateLock();
    UpdateLock(const UpdateLock&) = delete;
    UpdateLock& operator=(const UpdateLock&) = delete;
    bool held() const { return fd_ >= 0; }
    bool mine() const { return mine_; }

private:
    int fd_ = -1;
    bool mine_ = false;
};

// Recovery for the record `journal`: under the lock, removes leftover copies of the record
// ("updatejournal.txt.tmp-*"), then undoes or finishes what the record says and removes it.
// True when there was nothing to do or it worked (and when this process's own install is
// in progress). Never throws.
bool recoverInstall(const std::string& journal);
// The same for the installation the running add-in belongs to (its folder's record).
bool recoverInterruptedUpdate();

}  // namespace plorin
