// The files of an update: the server's list, the package split by it, and the install that
// puts them into the installation as one step that can be undone. Nothing here knows the
// host or the dialogs; the run in updater/update_install.cpp drives it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plorinrenew {

struct UpdateFile {
    std::string path;  // relative to the installation's root, "/" between folders
    std::uint64_t bytes = 0;
};
using UpdateList = std::vector<UpdateFile>;

// A path that stays inside the folder it is appended to: not empty, relative, "/" between
// non-empty segments that are neither "." nor "..", and no backslash, colon (drive letters)
// or control character (NUL included).
bool isCleanRelativePath(std::string_view path);

// The list "path<TAB>count<CR LF>..." (the text after the last CR LF is no line). Nothing
// unless it holds at least one line and every line is a clean path, one TAB and a whole
// number, with no path twice.
std::optional<UpdateList> parseUpdateList(std::string_view text);

// The sum of the list's counts (nothing when it overflows).
std::optional<std::uint64_t> totalBytes(const UpdateList& list);

// The package cut into the list's files, in list order: each piece is as long as its count.
// Nothing when the package is not exactly as long as the counts together (then the list and
// the package do not belong together).
std::optional<std::vector<std::string_view>> splitPackage(const UpdateList& list, std::string_view package);

// Where the install keeps its record while it runs, and its log, in the update add-in's folder.
constexpr const char* kJournalName = "updatejournal.txt";
constexpr const char* kLogName = "updatelog.txt";

// Installs the files found under `source` (each list path below it) into `root`: every file
// is first copied beside its target and checked, then all are renamed into place; the files
// they replace are kept until the end. On any failure every target is put back as it was,
// folders the install made are removed again, the failing file is logged and the result is
// false. A record in `journal` lets recoverInstall finish or undo an install that was cut
// off. Refuses targets reached through a symbolic link. Never throws.
bool installFiles(const std::string& source, const std::string& root, const UpdateList& list,
                  const std::string& journal, const std::string& logFile);

// At the start of the update add-in: an install cut off before it was complete is undone,
// one cut off while clearing up is finished; then the record goes. True when there was
// nothing to do or it worked. Never throws.
bool recoverInstall(const std::string& journal);

// Appends "date and time<TAB>path<TAB>description<TAB>number" to the log. Never throws.
void logFailure(const std::string& logFile, const std::string& path, const std::string& description, long number);

}  // namespace plorinrenew
