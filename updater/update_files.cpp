#include "updater/update_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "core/errors.h"
#include "platform/clock.h"
#include "platform/services.h"
#include "platform/text.h"
#include "updater/versions.h"

namespace plorinrenew {
namespace {

namespace fs = std::filesystem;

constexpr const char* kStagedSuffix = ".update-new";
constexpr const char* kKeptSuffix = ".update-old";

// One file of an install, as the record names it.
struct Entry {
    std::string target;
    bool existed = false;
    std::string staged() const { return target + kStagedSuffix; }
    std::string kept() const { return target + kKeptSuffix; }
};

struct Record {
    bool committed = false;
    std::vector<Entry> entries;
    std::vector<std::string> folders;  // made by the install, parents first
};

bool present(const std::string& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

std::string recordText(const Record& r) {
    std::string text = r.committed ? "committed\n" : "pending\n";
    for (const auto& f : r.folders) text += "folder\t" + f + "\n";
    for (const auto& e : r.entries) text += std::string(e.existed ? "replace\t" : "add\t") + e.target + "\n";
    return text;
}

std::optional<Record> readRecord(const std::string& journal) {
    const auto text = platform::fileSystem().readAll(journal);
    if (!text) return std::nullopt;
    Record r;
    std::istringstream in(*text);
    std::string line;
    std::getline(in, line);
    r.committed = line == "committed";
    while (std::getline(in, line)) {
        const auto tab = line.find('\t');
        if (tab == std::string::npos) continue;
        const std::string kind = line.substr(0, tab), path = line.substr(tab + 1);
        if (kind == "folder") r.folders.push_back(path);
        else if (kind == "replace" || kind == "add") r.entries.push_back({path, kind == "replace"});
    }
    return r;
}

// Puts every target back as it was before the install and removes what it added.
bool undo(const Record& r) {
    auto& files = platform::fileSystem();
    bool ok = true;
    for (auto it = r.entries.rbegin(); it != r.entries.rend(); ++it) {
        if (present(it->kept())) {
            ok = files.renameFile(it->kept(), it->target) && ok;
        } else if (!it->existed && !present(it->staged()) && present(it->target)) {
            ok = files.deleteFile(it->target) && ok;  // added, already in place
        }
        if (present(it->staged())) ok = files.deleteFile(it->staged()) && ok;
    }
    for (auto it = r.folders.rbegin(); it != r.folders.rend(); ++it) {
        std::error_code ec;
        fs::remove(*it, ec);  // only an empty folder goes
    }
    return ok;
}

// Drops the replaced files once the new ones are all in place.
bool finish(const Record& r) {
    auto& files = platform::fileSystem();
    bool ok = true;
    for (const auto& e : r.entries) {
        if (present(e.kept())) ok = files.deleteFile(e.kept()) && ok;
        if (present(e.staged())) ok = files.deleteFile(e.staged()) && ok;
    }
    return ok;
}

bool removeRecord(const std::string& journal) {
    return !present(journal) || platform::fileSystem().deleteFile(journal);
}

// True when no part of the path below root is a symbolic link (which could lead outside).
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

bool hasChecksums(const UpdateList& list) { return !list.empty() && !list.front().sha256.empty(); }

bool isReservedName(std::string_view path) {
    auto endsWith = [](std::string_view text, std::string_view end) {
        return text.size() >= end.size() && platform::equalsNoCase(text.substr(text.size() - end.size()), end);
    };
    std::size_t start = 0;
    for (;;) {
        const auto slash = path.find('/', start);
        const std::string_view part = path.substr(start, slash - start);
        if (endsWith(part, kStagedSuffix) || endsWith(part, kKeptSuffix) || platform::equalsNoCase(part, kLogName) ||
            (part.size() >= std::string_view(kJournalName).size() &&
             platform::equalsNoCase(part.substr(0, std::string_view(kJournalName).size()), kJournalName)))
            return true;
        if (slash == std::string_view::npos) return false;
        start = slash + 1;
    }
}

std::optional<UpdateList> parseUpdateList(std::string_view text) {
    UpdateList list;
    std::set<std::string_view> seen;
    for (;;) {
        const auto end = text.find("\r\n");
        if (end == std::string_view::npos) break;  // what follows the last CR LF is no line
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 2);
        const auto tab = line.find('\t');
        if (tab == std::string_view::npos) return std::nullopt;
        const std::string_view path = line.substr(0, tab);
        std::string_view count = line.substr(tab + 1), digest;
        if (const auto second = count.find('\t'); second != std::string_view::npos) {
            digest = count.substr(second + 1);
            count = count.substr(0, second);
            if (digest.size() != 64 || !std::all_of(digest.begin(), digest.end(), [](char c) {
                    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
                }))
                return std::nullopt;
        }
        const auto bytes = parseWholeNumber(count);
        if (!isCleanRelativePath(path) || isReservedName(path) || !bytes || !seen.insert(path).second)
            return std::nullopt;
        // A list checks all its files or none: a line without its checksum is no list of the maker's.
        if (!list.empty() && hasChecksums(list) == digest.empty()) return std::nullopt;
        std::string sha256(digest);
        for (char& c : sha256) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        list.push_back({std::string(path), *bytes, std::move(sha256)});
    }
    if (list.empty()) return std::nullopt;
    return list;
}

std::optional<std::uint64_t> totalBytes(const UpdateList& list) {
    std::uint64_t total = 0;
    for (const auto& f : list) {
        if (f.bytes > UINT64_MAX - total) return std::nullopt;
        total += f.bytes;
    }
    return total;
}

std::optional<std::vector<std::string_view>> splitPackage(const UpdateList& list, std::string_view package) {
    const auto total = totalBytes(list);
    if (!total || *total != package.size()) return std::nullopt;
    std::vector<std::string_view> pieces;
    pieces.reserve(list.size());
    for (const auto& file : list) {
        pieces.push_back(package.substr(0, file.bytes));
        package.remove_prefix(file.bytes);
    }
    return pieces;
}

PackageStream::PackageStream(std::string folder, const UpdateList& list)
    : folder_(std::move(folder)), list_(list) {
    spoilt_ = !open();
}

PackageStream::~PackageStream() {
    if (fd_ >= 0) ::close(fd_);
}

bool PackageStream::open() {
    for (; index_ < list_.size(); ++index_) {
        const std::string path = folder_ + list_[index_].path;
        std::error_code ec;
        fs::create_directories(fs::path(path).parent_path(), ec);
        if (ec) return false;
        fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd_ < 0) return false;
        left_ = list_[index_].bytes;
        if (left_ > 0) return true;
        if (!close()) return false;  // an empty file is whole at once
    }
    return true;
}

bool PackageStream::close() {
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    const std::string digest = hash_.hexDigest();
    const std::string& listed = list_[index_].sha256;
    return closed && (listed.empty() || digest == listed);
}

bool PackageStream::write(const char* data, std::size_t size) {
    while (!spoilt_ && size > 0) {
        if (index_ >= list_.size()) return !(spoilt_ = true);  // more than the list holds
        const std::size_t piece = left_ < size ? static_cast<std::size_t>(left_) : size;
        hash_.update(data, piece);
        for (std::size_t done = 0; done < piece;) {
            const ssize_t n = ::write(fd_, data + done, piece - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return !(spoilt_ = true);
            done += static_cast<std::size_t>(n);
        }
        data += piece;
        size -= piece;
        left_ -= piece;
        if (left_ == 0) {
            // A file that is not the one listed ends the transfer: nothing more of it is wanted.
            if (!close()) return !(spoilt_ = true);
            ++index_;
            if (!open()) return !(spoilt_ = true);
        }
    }
    return !spoilt_;
}


void logFailure(const std::string& logFile, const std::string& path, const std::string& description, long number) {
    plorin::ignoreErrors([&] {
        std::ofstream log(logFile, std::ios::app | std::ios::binary);
        log << platform::localNowText("%Y-%m-%d %H:%M:%S") << '\t' << path << '\t' << description << '\t' << number << "\r\n";
    });
}

bool installFiles(const std::string& source, const std::string& root, const UpdateList& list,
                  const std::string& journal, const std::string& logFile) {
    Record record;
    bool recorded = false;
    std::string failedPath = root;
    std::string why = "The installation could not be prepared";
    try {
        auto& files = platform::fileSystem();
        // Everything is checked before anything is touched.
        std::set<std::string> folders;
        for (const auto& f : list) {
            failedPath = f.path;
            if (!isCleanRelativePath(f.path)) throw std::runtime_error("A path leads outside the installation");
            if (!noLinkBelow(root, f.path)) throw std::runtime_error("A path leads through a symbolic link");
            const std::string target = root + f.path;
            std::error_code ec;
            if (fs::is_directory(fs::symlink_status(target, ec))) throw std::runtime_error("A folder is in the way");
            record.entries.push_back({target, present(target)});
            for (auto slash = f.path.find('/'); slash != std::string::npos; slash = f.path.find('/', slash + 1)) {
                const std::string folder = root + f.path.substr(0, slash);
                if (!present(folder) && folders.insert(folder).second) record.folders.push_back(folder);
            }
        }
        failedPath = journal;
        if (!files.writeAll(journal, recordText(record))) throw std::runtime_error("The install record cannot be written");
        recorded = true;

        for (const auto& folder : record.folders) {
            failedPath = folder;
            if (!files.createFolder(folder)) throw std::runtime_error("The folder cannot be created");
        }
        // Each file beside its target, checked against the list.
        for (std::size_t i = 0; i < list.size(); ++i) {
            const Entry& e = record.entries[i];
            failedPath = e.target;
            if (!files.copyFile(source + list[i].path, e.staged(), true)) throw std::runtime_error("The file cannot be copied");
            std::error_code ec;
            if (fs::file_size(e.staged(), ec) != list[i].bytes || ec) throw std::runtime_error("The copy is incomplete");
        }
        // Then into place, the replaced files kept until everything is there.
        for (const Entry& e : record.entries) {
            failedPath = e.target;
            if (e.existed && !files.renameFile(e.target, e.kept())) throw std::runtime_error("The file is in use");
            if (!files.renameFile(e.staged(), e.target)) throw std::runtime_error("The file cannot be replaced");
        }
        record.committed = true;
        failedPath = journal;
        if (!files.writeAll(journal, recordText(record))) throw std::runtime_error("The install record cannot be written");
    } catch (...) {
        const plorin::ErrorInfo error = plorin::currentError();
        logFailure(logFile, failedPath, error.Description.empty() ? why : error.Description, error.Number);
        plorin::ignoreErrors([&] {
            if (recorded && undo(record)) removeRecord(journal);
        });
        return false;
    }
    plorin::ignoreErrors([&] {
        if (finish(record)) removeRecord(journal);
    });
    return true;
}

bool recoverInstall(const std::string& journal) {
    bool ok = false;
    plorin::ignoreErrors([&] {
        if (!present(journal)) {
            ok = true;
            return;
        }
        const auto record = readRecord(journal);
        if (!record) return;
        if (record->committed ? finish(*record) : undo(*record)) ok = removeRecord(journal);
    });
    return ok;
}

}  // namespace plorinrenew
