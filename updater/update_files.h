// The files of an update: the server's list, the package split by it, and the install that
// puts them into the installation as one step that can be undone. Nothing here knows the
// host or the dialogs; the run in updater/update_install.cpp drives it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/sha256.h"
#include "core/update_journal.h"

namespace plorinrenew {

struct UpdateFile {
    std::string path;  // relative to the installation's root, "/" between folders
    std::uint64_t bytes = 0;
    std::string sha256;  // 64 lower-case hexadecimal digits; empty when the list gave none
};
using UpdateList = std::vector<UpdateFile>;

// True when the list carries a checksum for its files (all of them do, or none).
bool hasChecksums(const UpdateList& list);

// A path with a part named like the installer's own bookkeeping beside the files: a name
// ending in ".update-new" or ".update-old", the install record ("updatejournal.txt" and
// names starting so) or the log ("updatelog.txt"). No update may list one.
bool isReservedName(std::string_view path);

using plorin::isCleanRelativePath;
using plorin::kJournalName;

// The list "path<TAB>count<CR LF>..." or "path<TAB>count<TAB>SHA-256 in hex<CR LF>..." (the
// text after the last CR LF is no line). Nothing unless it holds at least one line, every
// line is a clean path that is no reserved name, a TAB and a whole number (and, on every
// line or on none, a TAB and 64 hexadecimal digits), with no path twice.
std::optional<UpdateList> parseUpdateList(std::string_view text);

// The most bytes a file list may have: far more than the longest list of a real update.
constexpr std::size_t kMaxListBytes = 4u << 20;

// The package as it arrives, cut by the list into its files below `folder` (which exists and
// ends with "/"), each hashed while it is written; at most one piece of the transfer is held.
// Nothing is ever written through a link or over an existing file.
class PackageStream {
public:
    PackageStream(std::string folder, const UpdateList& list);
    ~PackageStream();
    PackageStream(const PackageStream&) = delete;
    PackageStream& operator=(const PackageStream&) = delete;

    // Takes the next bytes of the package; false when they go beyond the list or cannot be
    // written (the stream is then spoilt).
    bool write(const char* data, std::size_t size);
    // True when exactly the listed bytes came, all were written, and every file matches the
    // list's checksum (when it has them); a file that does not spoils the stream at once.
    bool finish() const { return !spoilt_ && index_ >= list_.size(); }

private:
    bool open();   // the current file, and any empty ones after it
    bool close();  // the current file; false too when it does not match its checksum
    std::string folder_;
    const UpdateList& list_;
    std::size_t index_ = 0;   // the file being written
    std::uint64_t left_ = 0;  // its bytes still to come
    int fd_ = -1;
    bool spoilt_ = false;
    std::string madeFolder_;  // the folder the last file went into
    plorin::Sha256 hash_;
};

// The sum of the list's counts (nothing when it overflows).
std::optional<std::uint64_t> totalBytes(const UpdateList& list);

// The package cut into the list's files, in list order: each piece is as long as its count.
// Nothing when the package is not exactly as long as the counts together (then the list and
// the package do not belong together).
std::optional<std::vector<std::string_view>> splitPackage(const UpdateList& list, std::string_view package);

// The install's log, in the update add-in's folder beside the record (kJournalName).
constexpr const char* kLogName = "updatelog.txt";

struct InstallOptions {
    // Settings written as part of finishing (the versions): an install cut off after it was
    // accepted is finished with them on the next start, never offered again.
    std::vector<std::pair<std::string, std::string>> settings;
    // Asked once every file is in place and before the install is accepted; false puts
    // every file back as it was.
    std::function<bool()> check;
};

// Installs the files found under `source` (each list path below it) into `root`, holding the
// installation's update lock: every file is first copied beside its target and checked, all
// are flushed to the disk, then renamed into place; the files they replace are kept until the
// install is accepted (options.check). On any failure every target is put back as it was,
// folders the install made are removed again, the failing file is logged and the result is
// false. A record in `journal` (in a folder directly below `root`) lets the recovery
// (core/update_journal.h) finish or undo an install that was cut off. Refuses targets
// reached through a symbolic link and reserved names. Never throws.
bool installFiles(const std::string& source, const std::string& root, const UpdateList& list,
                  const std::string& journal, const std::string& logFile, const InstallOptions& options = {});

// The recovery of core/update_journal.h for this record. Never throws.
bool recoverInstall(const std::string& journal);

// Appends "date and time<TAB>path<TAB>description<TAB>number" to the log. Never throws.
void logFailure(const std::string& logFile, const std::string& path, const std::string& description, long number);

}  // namespace plorinrenew
