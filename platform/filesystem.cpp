// The disk as a FileSystem: std::filesystem with error codes, so that no call throws; the
// whole-file reads and atomic writes are plain POSIX because their errors matter to callers.
#include "platform/filesystem.h"

#include <cstdio>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace platform {
namespace fs = std::filesystem;

namespace {

bool writeFully(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Makes a rename inside the folder survive a power cut; failure only weakens that promise.
void syncFolderOf(const std::string& path) {
    auto slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

std::vector<std::string> listEntries(const std::string& folder, bool wantFolders) {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(folder, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::error_code statusError;
        auto status = it->status(statusError);  // follows links, as a file dialog would
        if (statusError) continue;
        if (wantFolders ? fs::is_directory(status) : fs::is_regular_file(status))
            names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class DiskFileSystem final : public FileSystem {
public:
    bool fileExists(const std::string& path) override {
        std::error_code ec;
        return fs::is_regular_file(path, ec);
    }

    bool folderExists(const std::string& path) override {
        std::error_code ec;
        return !path.empty() && fs::is_directory(path, ec);
    }

    bool createFolder(const std::string& path) override {
        std::error_code ec;
        return !path.empty() && fs::create_directory(path, ec) && !ec;  // an existing one counts as failure
    }

    bool canWriteIn(const std::string& folder) override {
        return !folder.empty() && ::access(folder.c_str(), W_OK | X_OK) == 0;
    }

    bool deleteFile(const std::string& path) override {
        std::error_code ec;
        auto status = fs::symlink_status(path, ec);
        if (ec || fs::is_directory(status)) return false;
        return fs::remove(path, ec) && !ec;
    }

    bool copyFile(const std::string& from, const std::string& to, bool overwrite) override {
        std::error_code ec;
        if (!fs::is_regular_file(from, ec)) return false;
        auto options = overwrite ? fs::copy_options::overwrite_existing : fs::copy_options::none;
        return fs::copy_file(from, to, options, ec) && !ec;
    }

    bool renameFile(const std::string& from, const std::string& to) override {
        if (from.empty() || to.empty()) return false;
        std::error_code ec;
        if (fs::is_directory(fs::symlink_status(from, ec))) return false;
        return ::rename(from.c_str(), to.c_str()) == 0;
    }

    std::optional<std::string> readAll(const std::string& path) override {
        int error = 0;
        auto bytes = readFileBytes(path, error);
        if (!bytes) errno = error;
        return bytes;
    }

    std::optional<StampedContents> readAllStamped(const std::string& path) override {
        int error = 0;
        std::optional<FileStamp> stamp;
        auto bytes = readFileBytes(path, error, &stamp);
        if (!bytes) {
            errno = error;
            return std::nullopt;
        }
        return StampedContents{std::move(*bytes), stamp};
    }

    bool writeAll(const std::string& path, const std::string& bytes) override {
        return writeFileAtomically(path, bytes);
    }

    bool writeAllFlushed(const std::string& path, const std::string& bytes) override {
        return writeFileAtomically(path, bytes, Durability::flushed);
    }

    bool writeAllCached(const std::string& path, const std::string& bytes) override {
        // What is rebuilt mostly comes out as it was (a gallery drawn again after its library
        // was saved): a file already holding exactly these bytes is left alone. Replacing it
        // would take a new file and set the old one's blocks free, which some disks make the
        // writer wait for.
        const std::optional<FileStamp> existing = fileStamp(path);
        if (existing && existing->size == static_cast<std::int64_t>(bytes.size())) {
            int error = 0;
            if (readFileBytes(path, error) == bytes) return true;
        }
        return writeFileAtomically(path, bytes, Durability::cached);
    }

    bool flushFolder(const std::string& folder) override {
        int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return false;
        const bool ok = ::syncfs(fd) == 0;
        ::close(fd);
        return ok;
    }

    std::optional<double> lastModified(const std::string& path) override {
        struct stat info {};
        if (path.empty() || ::stat(path.c_str(), &info) != 0) return std::nullopt;
        return static_cast<double>(info.st_mtim.tv_sec) + static_cast<double>(info.st_mtim.tv_nsec) / 1e9;
    }

    std::optional<FileStamp> stamp(const std::string& path) override { return fileStamp(path); }

    std::vector<std::string> listFiles(const std::string& folder) override {
        try {
            return listEntries(folder, false);
        } catch (...) {  // allocation failure only
            return {};
        }
    }

    std::vector<std::string> listFolders(const std::string& folder) override {
        try {
            return listEntries(folder, true);
        } catch (...) {
            return {};
        }
    }
};

}  // namespace

FileSystem& realFileSystem() {
    static DiskFileSystem disk;
    return disk;
}

bool writeAllTo(FileSystem& files, const std::string& path, const std::string& bytes, Durability durability) {
    switch (durability) {
        case Durability::durable: return files.writeAll(path, bytes);
        case Durability::flushed: return files.writeAllFlushed(path, bytes);
        case Durability::cached: return files.writeAllCached(path, bytes);
    }
    return false;
}

namespace {

FileStamp stampOf(const struct stat& info) {
    const auto ns = [](const timespec& t) { return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec; };
    return FileStamp{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
                     static_cast<std::int64_t>(info.st_size), ns(info.st_mtim), ns(info.st_ctim)};
}

}  // namespace

std::optional<std::string> readFileBytes(const std::string& path, int& error, std::optional<FileStamp>* stamp,
                                         std::size_t maxBytes) noexcept {
    // Opened without blocking, so a FIFO or a device in the file's place is refused below
    // instead of waiting for a writer that never comes.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        error = errno;
        return std::nullopt;
    }
    std::optional<std::string> bytes;
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        error = errno;
    } else if (!S_ISREG(info.st_mode)) {
        error = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    } else if (static_cast<std::uint64_t>(std::max<off_t>(info.st_size, 0)) > maxBytes) {
        error = EFBIG;
    } else if (::fcntl(fd, F_SETFL, 0) != 0) {
        error = errno;
    } else {
        try {
            // Read straight into the text, sized as the file is; a file that grows meanwhile
            // is read on to its end.
            std::string data(static_cast<std::size_t>(std::max<off_t>(info.st_size, 0)) + 1, '\0');
            std::size_t used = 0;
            for (;;) {
                if (used > maxBytes) {
                    error = EFBIG;  // it grew past the bound while being read
                    break;
                }
                if (used == data.size()) data.resize(std::min(data.size() * 2, maxBytes + 1));
                ssize_t n = ::read(fd, data.data() + used, data.size() - used);
                if (n < 0 && errno == EINTR) continue;
                if (n < 0) {
                    error = errno;
                    break;
                }
                // A regular file reads short only at its end: no read is needed to see it end.
                const bool atEnd = n == 0 || used + static_cast<std::size_t>(n) < data.size();
                used += static_cast<std::size_t>(n);
                if (atEnd) {
                    data.resize(used);
                    bytes = std::move(data);
                    break;
                }
            }
        } catch (...) {
            error = ENOMEM;
        }
        // The stamp belongs to the contents only when nothing changed the file meanwhile.
        struct stat after {};
        if (stamp && bytes && ::fstat(fd, &after) == 0 && stampOf(after) == stampOf(info)) *stamp = stampOf(info);
    }
    ::close(fd);
    return bytes;
}

std::optional<FileStamp> fileStamp(const std::string& path) noexcept {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return stampOf(info);
}

bool writeFileAtomically(const std::string& file, const std::string& bytes, Durability durability) noexcept {
    try {
        // A link in the file's place stays a link: the change goes to the file it points to.
        const std::string path = resolveLinks(file);
        static std::atomic<unsigned> counter{0};
        std::string temp;
        int fd = -1;
        for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
            temp = path + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
            fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd < 0 && errno != EEXIST) return false;
        }
        if (fd < 0) return false;
        struct stat old {};
        if (::stat(path.c_str(), &old) == 0) ::fchmod(fd, old.st_mode & 07777);
        const bool flushFile = durability != Durability::cached;
        bool ok = writeFully(fd, bytes) && (!flushFile || ::fsync(fd) == 0);
        ok = ::close(fd) == 0 && ok;
        if (ok && ::rename(temp.c_str(), path.c_str()) == 0) {
            if (durability == Durability::durable) syncFolderOf(path);
            return true;
        }
        ::unlink(temp.c_str());
        return false;
    } catch (...) {
        return false;
    }
}

bool ensurePrivateFolder(const std::string& path) noexcept {
    if (path.empty()) return false;
    std::string folder = path.size() > 1 && path.back() == '/' ? path.substr(0, path.size() - 1) : path;
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()) return false;
    return (info.st_mode & 0077) == 0 || ::chmod(folder.c_str(), 0700) == 0;
}

std::string privateFolderIn(const std::string& parent, const std::string& prefix) noexcept {
    try {
        std::string base = parent + prefix + "-" + std::to_string(::geteuid());
        if (ensurePrivateFolder(base)) return base + "/";
        std::string fresh = base + "-XXXXXX";
        if (::mkdtemp(fresh.data())) return fresh + "/";  // mkdtemp makes it 0700
    } catch (...) {                                       // allocation failure only
    }
    return {};
}

bool createNewFile(const std::string& path) noexcept {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

FileHold::FileHold(const std::string& path) noexcept {
    // Inheritable on purpose (no O_CLOEXEC): the program started next keeps the hold.
    fd_ = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK);
    if (fd_ >= 0 && ::flock(fd_, LOCK_SH | LOCK_NB) != 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

FileHold::~FileHold() {
    if (fd_ >= 0) ::close(fd_);
}

bool isFileHeld(const std::string& path) noexcept {
    int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    // Locks belong to open files, not processes: this one meets holds of this process too.
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

std::string resolveLinks(const std::string& path) {
    std::string at = path;
    for (int hops = 0; hops < 40; ++hops) {  // the kernel's own limit on a chain of links
        struct stat info {};
        if (::lstat(at.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return at;
        std::string target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(at.c_str(), target.data(), target.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= target.size()) return path;
        target.resize(static_cast<std::size_t>(n));
        if (target.front() != '/') {
            const auto slash = at.rfind('/');
            if (slash != std::string::npos) target = at.substr(0, slash + 1) + target;
        }
        at = target;
    }
    return path;
}

}  // namespace platform
