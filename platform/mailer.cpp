// The recording mailer and the desktop mailer (xdg-email with a staged copy of the file).
#include "platform/mailer.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <filesystem>

#include "platform/filesystem.h"

extern char** environ;

namespace platform {

bool isSafeAttachmentName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (unsigned char c : name)
        if (c == '/' || c < 0x20 || c == 0x7F) return false;
    return true;
}

// ---- RecordingMailer ----

MailResult RecordingMailer::logon() {
    calls.push_back("logon");
    return logonResult;
}

MailResult RecordingMailer::compose(const MailMessage& message) {
    calls.push_back("compose");
    composed.push_back(message);
    return composeResult;
}

MailResult RecordingMailer::logoff() {
    calls.push_back("logoff");
    return logoffResult;
}

// ---- the desktop ----

namespace {

// Creates every missing folder of `path` (ending with "/"); the last one private.
bool ensureStagingFolder(const std::string& path) {
    if (path.size() < 2 || path[0] != '/') return false;
    std::string folder = path.back() == '/' ? path.substr(0, path.size() - 1) : path;
    std::error_code ec;
    std::filesystem::path parent = std::filesystem::path(folder).parent_path();
    if (!std::filesystem::is_directory(parent, ec)) {
        std::filesystem::create_directories(parent, ec);
        if (ec) return false;
    }
    return ensurePrivateFolder(folder);
}

// Removes the run folders ("run-" and six characters) last changed before `before`.
void purgeRuns(const std::string& staging, std::time_t before) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(staging, ec)) {
        std::string name = entry.path().filename().string();
        if (name.rfind("run-", 0) != 0 || name.size() != 10) continue;
        struct stat info {};
        if (::lstat(entry.path().c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) continue;
        if (info.st_mtime >= before) continue;
        std::error_code ignored;
        std::filesystem::remove_all(entry.path(), ignored);
    }
}

bool writeNewFile(const std::string& path, const std::string& bytes) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    std::size_t done = 0;
    bool good = true;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            good = false;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0) good = false;
    if (!good) ::unlink(path.c_str());
    return good;
}

// Runs the program (searched in PATH) with the arguments and waits for it. The exit status,
// or -1 when it could not be started or did not end normally.
int runAndWait(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawnattr_t attributes;
    if (posix_spawnattr_init(&attributes) != 0) return -1;
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t child = 0;
    int started = posix_spawnp(&child, argv[0], nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (started != 0) return -1;
    int status = 0;
    while (::waitpid(child, &status, 0) < 0)
        if (errno != EINTR) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class DesktopMailer final : public Mailer {
public:
    explicit DesktopMailer(DesktopMailerOptions options) : options_(std::move(options)) {
        if (!options_.stagingFolder.empty() && options_.stagingFolder.back() != '/') options_.stagingFolder += '/';
    }

    MailResult logon() override {
        if (!ensureStagingFolder(options_.stagingFolder)) return MailResult::failed;
        purgeRuns(options_.stagingFolder, std::time(nullptr) - static_cast<std::time_t>(options_.keepStaged.count()));
        loggedOn_ = true;
        return MailResult::ok;
    }

    MailResult compose(const MailMessage& message) override {
        if (!loggedOn_ || !isSafeAttachmentName(message.attachmentName) || options_.program.empty())
            return MailResult::failed;
        int error = 0;
        auto bytes = readFileBytes(message.attachmentPath, error);
        if (!bytes)
            return error == ENOENT || error == ENOTDIR ? MailResult::attachmentMissing : MailResult::attachmentUnreadable;

        std::string run = options_.stagingFolder + "run-XXXXXX";
        if (!::mkdtemp(run.data())) return MailResult::attachmentNotStaged;
        std::string staged = run + "/" + message.attachmentName;
        if (!writeNewFile(staged, *bytes)) return MailResult::attachmentNotStaged;

        int status = runAndWait({options_.program, "--utf8", "--subject", message.subject, "--attach", staged});
        switch (status) {
            case 0: return MailResult::ok;
            case 2: return MailResult::attachmentMissing;     // "a file does not exist"
            case 5: return MailResult::attachmentUnreadable;  // "no permission to read a file"
            default: return MailResult::failed;               // syntax, no tool, action failed
        }
    }

    MailResult logoff() override {
        loggedOn_ = false;
        return MailResult::ok;
    }

private:
    DesktopMailerOptions options_;
    bool loggedOn_ = false;
};

}  // namespace

std::unique_ptr<Mailer> makeDesktopMailer(DesktopMailerOptions options) {
    return std::make_unique<DesktopMailer>(std::move(options));
}

}  // namespace platform
