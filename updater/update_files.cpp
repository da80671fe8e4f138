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

using plorin::kKeptSuffix;
using plorin::kStagedSuffix;

bool present(const std::string& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

bool removeRecord(const std::string& journal) {
    return !present(journal) || platform::fileSystem().deleteFile(journal);
}

}  // namespace

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

PackageStream::PackageStream(std::string folder, const UpdateList& list) : folder_(std::move(folder)), list_(list) {
    spoilt_ = !open();
}

PackageStream::~PackageStream() {
    if (fd_ >= 0) ::close(fd_);
}

bool PackageStream::open() {
    for (; index_ < list_.size(); ++index_) {
        const std::string path = folder_ + list_[index_].path;
        const std::string parent = path.substr(0, path.rfind('/'));
        if (parent != madeFolder_) {  // the files of a folder mostly follow each other
            std::error_code ec;
            fs::create_directories(parent, ec);
            if (ec) return false;
            madeFolder_ = parent;
        }
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
        log << platform::localNowText("%Y-%m-%d %H:%M:%S") << '\t' << path << '\t' << description << '\t' << number
            << "\r\n";
    });
}

bool installFiles(const std::string& source, const std::string& root, const UpdateList& list,
                  const std::string& journal, const std::string& logFile, const InstallOptions& options) {
    plorin::InstallRecord record;
    record.settings = options.settings;
    bool recorded = false;
    std::string failedPath = root;
    std::string why = "The installation could not be prepared";
    const std::string folder = journal.substr(0, journal.rfind('/') + 1);
    plorin::UpdateLock lock(folder);
    try {
        auto& files = platform::fileSystem();
        failedPath = folder;
        if (!lock.held()) throw std::runtime_error("Another update of the installation is under way");
        // Everything is checked before anything is touched.
        std::set<std::string> folders, linkFree;  // folders made, and folders checked, relative
        for (const auto& f : list) {
            failedPath = f.path;
            if (!isCleanRelativePath(f.path) || isReservedName(f.path))
                throw std::runtime_error("A path leads outside the installation");
            // Each folder is looked at once, however many files it holds.
            const auto slash = f.path.rfind('/');
            const std::string folder = slash == std::string::npos ? std::string() : f.path.substr(0, slash);
            if (!folder.empty() && !linkFree.count(folder)) {
                if (!plorin::noLinkBelow(root, folder))
                    throw std::runtime_error("A path leads through a symbolic link");
                linkFree.insert(folder);
                for (auto at = f.path.find('/'); at != std::string::npos && at <= slash;
                     at = f.path.find('/', at + 1)) {
                    const std::string made = f.path.substr(0, at);
                    if (!folders.count(made) && !present(root + made)) {
                        folders.insert(made);
                        record.folders.push_back(made);
                    }
                }
            }
            const std::string target = root + f.path;
            std::error_code ec;
            const auto status = fs::symlink_status(target, ec);
            if (fs::is_symlink(status)) throw std::runtime_error("A path leads through a symbolic link");
            if (fs::is_directory(status)) throw std::runtime_error("A folder is in the way");
            record.files.push_back({f.path, fs::exists(status)});
        }
        failedPath = journal;
        if (!files.writeAll(journal, plorin::installRecordText(record)))
            throw std::runtime_error("The install record cannot be written");
        recorded = true;

        for (const auto& made : record.folders) {
            failedPath = root + made;
            if (!files.createFolder(root + made)) throw std::runtime_error("The folder cannot be created");
        }
        // Each file beside its target, checked against the list.
        for (std::size_t i = 0; i < list.size(); ++i) {
            const std::string target = root + list[i].path;
            failedPath = target;
            if (!files.copyFile(source + list[i].path, target + kStagedSuffix, true))
                throw std::runtime_error("The file cannot be copied");
            std::error_code ec;
            if (fs::file_size(target + kStagedSuffix, ec) != list[i].bytes || ec)
                throw std::runtime_error("The copy is incomplete");
        }
        // On the disk before any of them takes a target's place: a power cut never leaves a
        // renamed file without its contents.
        failedPath = root;
        if (!files.flushFolder(root)) throw std::runtime_error("The files cannot be written to the disk");
        // Then into place, the replaced files kept until everything is there.
        for (const auto& f : record.files) {
            const std::string target = root + f.path;
            failedPath = target;
            if (f.existed && !files.renameFile(target, target + kKeptSuffix))
                throw std::runtime_error("The file is in use");
            if (!files.renameFile(target + kStagedSuffix, target))
                throw std::runtime_error("The file cannot be replaced");
        }
        failedPath = root;
        if (options.check && !options.check()) throw std::runtime_error("The new files do not work");
        // Accepted: from here on a cut-off install is finished, its versions recorded with it.
        record.committed = true;
        failedPath = journal;
        if (!files.writeAll(journal, plorin::installRecordText(record)))
            throw std::runtime_error("The install record cannot be written");
    } catch (...) {
        const plorin::ErrorInfo error = plorin::currentError();
        logFailure(logFile, failedPath, error.Description.empty() ? why : error.Description, error.Number);
        plorin::ignoreErrors([&] {
            if (recorded && plorin::undoInstall(root, record)) removeRecord(journal);
        });
        return false;
    }
    plorin::ignoreErrors([&] {
        if (plorin::finishInstall(root, record)) removeRecord(journal);
    });
    return true;
}

bool recoverInstall(const std::string& journal) { return plorin::recoverInstall(journal); }

}  // namespace plorinrenew
