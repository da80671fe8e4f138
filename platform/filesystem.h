// Files and folders, as the system's procedures see them. Paths are plain text with "/"
// between folders. The real implementation works on the disk; a test wraps it in a
// ForwardingFileSystem and overrides the one call it wants to fail.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// What tells one version of a file from another without reading it: which file it is
// (device and inode), its size and its last change times. Rewriting a file, or renaming
// another over it, gives a different stamp (short of a rewrite to the same size within the
// clock's resolution).
struct FileStamp {
    std::uint64_t device = 0, inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0, changedNs = 0;
    bool operator==(const FileStamp&) const = default;
};

// How far a whole-file write takes the new contents before it returns. Either way they are
// written beside and renamed over the old file, so a reader, or the process crashing, meets
// the old or the new contents whole, never a part.
enum class Durability {
    // Flushed to the disk, and the rename too: the change survives a power cut.
    durable,
    // Flushed to the disk before the rename, the rename left to the operating system (which
    // takes it to the disk within seconds): a power cut just after may bring back the old
    // contents, whole, never an empty file. For what is merely counted in a file that also
    // holds what must not be lost.
    flushed,
    // Handed to the operating system only (the temporary file closed before the rename), at
    // a fraction of the cost: a power cut may lose the change. For what is rebuilt. File
    // systems that write a replacing file's data before its rename (ext4 and
    // btrfs by default) still keep the old or the new contents whole through a power cut.
    cached,
};

class FileSystem {
public:
    FileSystem() = default;
    FileSystem(const FileSystem&) = delete;
    FileSystem& operator=(const FileSystem&) = delete;
    virtual ~FileSystem() = default;

    // True when a regular file (not a folder) of that name exists.
    virtual bool fileExists(const std::string& path) = 0;
    // True when a folder of that name exists (a trailing "/" is allowed).
    virtual bool folderExists(const std::string& path) = 0;
    // Creates one folder whose parent exists. False when it cannot.
    virtual bool createFolder(const std::string& path) = 0;
    // True when this user may create, rename and delete entries of the folder (a folder of a
    // system-wide installation is not such a one for most users).
    virtual bool canWriteIn(const std::string& folder) = 0;
    // Deletes one file. False when it cannot (the file stays).
    virtual bool deleteFile(const std::string& path) = 0;
    // Copies a file; with overwrite false an existing target makes it fail. False on failure.
    virtual bool copyFile(const std::string& from, const std::string& to, bool overwrite) = 0;
    // Gives a file a new name on the same disk, replacing a file of that name in one step (a
    // reader sees the old or the new file, never none); the file itself is not rewritten, so a
    // program that has it loaded keeps running. Symbolic links are renamed, not followed.
    // False on failure (nothing changed).
    virtual bool renameFile(const std::string& from, const std::string& to) = 0;
    // The whole file as bytes, or nothing when it cannot be read, with errno saying why
    // (ENOENT when there is no such file).
    virtual std::optional<std::string> readAll(const std::string& path) = 0;
    // Writes the whole file (replacing it), durably. False on failure.
    virtual bool writeAll(const std::string& path, const std::string& bytes) = 0;
    // The same, with the rename left to the operating system (see Durability::flushed).
    // Unless a file system says otherwise, as writeAll.
    virtual bool writeAllFlushed(const std::string& path, const std::string& bytes) { return writeAll(path, bytes); }
    // The same for a file whose latest contents need not survive a power cut (see
    // Durability::cached); a file that already holds exactly these bytes may be left as it is
    // (its time unchanged). Unless a file system says otherwise, as writeAll.
    virtual bool writeAllCached(const std::string& path, const std::string& bytes) { return writeAll(path, bytes); }
    // Takes everything written cached into `folder` (and the rest of its disk) to the disk, so
    // that a record saying those files are written may follow durably. False on failure.
    virtual bool flushFolder(const std::string& /*folder*/) { return true; }
    // Seconds since the Unix epoch of the last change, or nothing when the file is missing.
    virtual std::optional<double> lastModified(const std::string& path) = 0;
    // The stamp of a regular file, or nothing when there is none of that name.
    virtual std::optional<FileStamp> stamp(const std::string& path) = 0;
    // The whole file with its stamp while it was read, for keeping what was read from it:
    // nothing as readAll gives nothing; the stamp is nothing when the file changed meanwhile
    // (the contents may then be no one version of it). The disk takes both from one opening;
    // others look twice.
    struct StampedContents {
        std::string bytes;
        std::optional<FileStamp> stamp;
    };
    virtual std::optional<StampedContents> readAllStamped(const std::string& path) {
        const std::optional<FileStamp> before = stamp(path);
        std::optional<std::string> bytes = readAll(path);
        if (!bytes) return std::nullopt;
        return StampedContents{std::move(*bytes), before && stamp(path) == before ? before : std::nullopt};
    }
    // Names (not paths) of the files, or of the sub folders, of a folder; sorted.
    virtual std::vector<std::string> listFiles(const std::string& folder) = 0;
    virtual std::vector<std::string> listFolders(const std::string& folder) = 0;
};

// The disk.
FileSystem& realFileSystem();

// Writes the whole file through `files` as far as `durability` says: writeAll, writeAllFlushed
// or writeAllCached.
bool writeAllTo(FileSystem& files, const std::string& path, const std::string& bytes, Durability durability);

// The whole regular file, or nothing with `error` set to the errno (ENOENT when it is missing,
// EISDIR for a folder, EINVAL for a FIFO, socket or device, which are never opened for
// reading and so never block). Used where "missing" and "unreadable" must be told apart.
// With `stamp`, also the file's stamp while it was read (nothing when it changed meanwhile),
// taken from the open file: no second look-up of the path. A file longer than `maxBytes`
// gives nothing with EFBIG, without being read whole.
std::optional<std::string> readFileBytes(const std::string& path, int& error, std::optional<FileStamp>* stamp = nullptr,
                                         std::size_t maxBytes = std::string().max_size()) noexcept;
// The stamp of a regular file on the disk, or nothing when there is none.
std::optional<FileStamp> fileStamp(const std::string& path) noexcept;
// Replaces the file with `bytes` through a temporary sibling renamed over it, so a reader
// sees the old or the new contents, never a mix, flushed as far as `durability` says. Keeps
// an existing file's permissions. A symbolic link at `path` is written through: its target
// is replaced and the link stays.
bool writeFileAtomically(const std::string& path, const std::string& bytes,
                         Durability durability = Durability::durable) noexcept;
// The file a chain of symbolic links at `path` ends in (which need not exist yet); `path`
// itself when it is no link or the chain cannot be followed (a loop, too many links).
std::string resolveLinks(const std::string& path);

// Makes `path` a folder only the user can enter: creates it (mode 0700) when missing; an
// existing one must be a real folder (not a link) that belongs to the user, and loses any
// access of others. False when it is not so and cannot be made so.
bool ensurePrivateFolder(const std::string& path) noexcept;
// A private folder below `parent` (which ends with "/"): "<prefix>-<user id>/" when that can
// be made private, else a new "<prefix>-<user id>-XXXXXX/" (someone else holds the name).
// The result ends with "/"; the empty text when neither can be made.
std::string privateFolderIn(const std::string& parent, const std::string& prefix) noexcept;
// Creates an empty file that did not exist, never following a link. False when the name is
// taken or the file cannot be made.
bool createNewFile(const std::string& path) noexcept;

// A shared hold on a file for a program started while it lasts: the hold is an advisory
// lock on a descriptor the started program inherits and keeps until it ends, so the file
// counts as in use (isFileHeld) for as long as either holds it. Not copyable; the object
// gives up only this process's part of the hold. A file that cannot be opened is not held.
class FileHold {
public:
    explicit FileHold(const std::string& path) noexcept;
    ~FileHold();
    FileHold(const FileHold&) = delete;
    FileHold& operator=(const FileHold&) = delete;
    bool holding() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};
// True when a FileHold on `path` is alive in this or any other process; false when there is
// none or the file cannot be opened.
bool isFileHeld(const std::string& path) noexcept;

// Passes every call to another file system; override what a test wants to change.
class ForwardingFileSystem : public FileSystem {
public:
    explicit ForwardingFileSystem(FileSystem& target) : target_(target) {}
    bool fileExists(const std::string& p) override { return target_.fileExists(p); }
    bool folderExists(const std::string& p) override { return target_.folderExists(p); }
    bool createFolder(const std::string& p) override { return target_.createFolder(p); }
    bool canWriteIn(const std::string& f) override { return target_.canWriteIn(f); }
    bool deleteFile(const std::string& p) override { return target_.deleteFile(p); }
    bool copyFile(const std::string& f, const std::string& t, bool o) override { return target_.copyFile(f, t, o); }
    bool renameFile(const std::string& f, const std::string& t) override { return target_.renameFile(f, t); }
    std::optional<std::string> readAll(const std::string& p) override { return target_.readAll(p); }
    bool writeAll(const std::string& p, const std::string& b) override { return target_.writeAll(p, b); }
    bool writeAllFlushed(const std::string& p, const std::string& b) override { return target_.writeAllFlushed(p, b); }
    bool writeAllCached(const std::string& p, const std::string& b) override { return target_.writeAllCached(p, b); }
    bool flushFolder(const std::string& f) override { return target_.flushFolder(f); }
    std::optional<double> lastModified(const std::string& p) override { return target_.lastModified(p); }
    std::optional<FileStamp> stamp(const std::string& p) override { return target_.stamp(p); }
    std::vector<std::string> listFiles(const std::string& f) override { return target_.listFiles(f); }
    std::vector<std::string> listFolders(const std::string& f) override { return target_.listFolders(f); }

private:
    FileSystem& target_;
};

}  // namespace platform
