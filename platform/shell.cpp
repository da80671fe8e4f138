// The recording shell and the desktop shell (xdg-open and posix_spawn).
#include "platform/shell.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <random>
#include <unordered_map>

extern char** environ;

namespace platform {

// ---- RecordingShell ----

int RecordingShell::openDocument(const std::string& target) {
    record.opened.push_back(target);
    return openResult;
}

bool RecordingShell::startProcess(const std::string& program, const std::vector<std::string>& args) {
    std::vector<std::string> line{program};
    line.insert(line.end(), args.begin(), args.end());
    record.started.push_back(std::move(line));
    return startResult;
}

bool RecordingShell::showHelp(const std::string& helpFile, std::int32_t contextId) {
    record.help.emplace_back(helpFile, contextId);
    return true;
}

std::optional<std::array<std::uint8_t, 16>> RecordingShell::newGuid() {
    if (!guidAvailable) return std::nullopt;
    std::random_device random;
    std::array<std::uint8_t, 16> guid{};
    for (auto& b : guid) b = static_cast<std::uint8_t>(random());
    return guid;
}

std::uintptr_t RecordingShell::createMutex(const std::string& name) {
    handles_.emplace_back(next_, name);
    record.mutexes.push_back(name);
    return next_++;
}

void RecordingShell::closeHandle(std::uintptr_t handle) {
    auto open = std::find_if(handles_.begin(), handles_.end(), [&](const auto& h) { return h.first == handle; });
    if (open == handles_.end()) return;
    auto named = std::find(record.mutexes.begin(), record.mutexes.end(), open->second);
    if (named != record.mutexes.end()) record.mutexes.erase(named);
    handles_.erase(open);
}

// ---- the desktop ----

int runAndWait(const std::vector<std::string>& args) {
    if (args.empty() || args[0].empty()) return 127;
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawnattr_t attributes;
    if (posix_spawnattr_init(&attributes) != 0) return 127;
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t child = 0;
    int started = posix_spawnp(&child, argv[0], nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (started != 0) return 127;
    int status = 0;
    while (::waitpid(child, &status, 0) < 0)
        if (errno != EINTR) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string findInPath(const std::string& program) {
    if (program.empty()) return {};
    auto executable = [](const std::string& path) {
        std::error_code ec;
        return std::filesystem::is_regular_file(path, ec) && ::access(path.c_str(), X_OK) == 0;
    };
    if (program.find('/') != std::string::npos) return executable(program) ? program : std::string();
    const char* path = std::getenv("PATH");
    const std::string folders = path ? path : "/usr/bin:/bin";
    for (std::size_t start = 0;;) {
        const std::size_t end = folders.find(':', start);
        const std::size_t length = end == std::string::npos ? folders.size() - start : end - start;
        // An empty entry is the working folder.
        std::string candidate = length ? folders.substr(start, length) + '/' : std::string("./");
        candidate += program;
        if (executable(candidate)) return candidate;
        if (end == std::string::npos) return {};
        start = end + 1;
    }
}

namespace {

enum class Launch { NotStarted, Running, Succeeded, Failed };

// Exit codes of the middle process, telling the caller what became of the program.
constexpr int kMiddleRunning = 0, kMiddleNotStarted = 120, kMiddleSucceeded = 121, kMiddleFailed = 122;

// Runs args[0] (searched in PATH) without a command interpreter and without leaving zombies:
// a short-lived middle process spawns it and is reaped here, so the program is adopted by init
// and never needs waiting for. With waitSeconds > 0 the middle process first waits that long
// for the program to end, so its exit status can be told.
Launch launchDetached(const std::vector<std::string>& args, int waitSeconds) {
    // Everything the middle process needs is made before fork: it must not allocate.
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawnattr_t attributes;
    if (posix_spawnattr_init(&attributes) != 0) return Launch::NotStarted;
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSID);

    pid_t middle = ::fork();
    if (middle == 0) {
        struct sigaction reap {};
        reap.sa_handler = SIG_DFL;  // an inherited SIG_IGN would make waitpid below useless
        ::sigaction(SIGCHLD, &reap, nullptr);
        pid_t program = 0;
        if (posix_spawnp(&program, argv[0], nullptr, &attributes, argv.data(), environ) != 0) _exit(kMiddleNotStarted);
        const timespec step{0, 50'000'000};
        for (long waited = 0; waited < waitSeconds * 1000L; waited += 50) {
            int status = 0;
            pid_t ended = ::waitpid(program, &status, WNOHANG);
            if (ended == program)
                _exit(WIFEXITED(status) && WEXITSTATUS(status) == 0 ? kMiddleSucceeded : kMiddleFailed);
            if (ended < 0 && errno != EINTR) break;
            ::nanosleep(&step, nullptr);
        }
        _exit(kMiddleRunning);
    }
    posix_spawnattr_destroy(&attributes);
    if (middle < 0) return Launch::NotStarted;

    int status = 0;
    while (::waitpid(middle, &status, 0) < 0)
        if (errno != EINTR) return Launch::Running;  // the host ignores SIGCHLD: no way to tell
    if (!WIFEXITED(status)) return Launch::NotStarted;
    switch (WEXITSTATUS(status)) {
        case kMiddleRunning: return Launch::Running;
        case kMiddleSucceeded: return Launch::Succeeded;
        case kMiddleFailed: return Launch::Failed;
        default: return Launch::NotStarted;
    }
}

// A folder as an absolute path ending in "/", or the empty text when it does not exist.
std::string existingFolder(const std::string& path) {
    std::error_code ec;
    if (path.empty()) return {};
    auto canonical = std::filesystem::canonical(path, ec);
    if (ec || !std::filesystem::is_directory(canonical, ec)) return {};
    std::string text = canonical.string();
    return text.back() == '/' ? text : text + "/";
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

class DesktopShell final : public Shell {
public:
    int openDocument(const std::string& target) override {
        // A target starting with "-" would be read as an option of the opener.
        std::string argument = !target.empty() && target[0] == '-' ? "./" + target : target;
        switch (launchDetached({"xdg-open", argument}, kOpenerWaitSeconds)) {
            case Launch::NotStarted: return 2;  // file not found: there is no opener
            case Launch::Failed: return 31;     // no association
            default: return 42;
        }
    }

    bool startProcess(const std::string& program, const std::vector<std::string>& args) override {
        if (program.empty()) return false;
        std::vector<std::string> line{program};
        line.insert(line.end(), args.begin(), args.end());
        return launchDetached(line, 0) != Launch::NotStarted;
    }

    // There is no help viewer with context ids here: the help file is opened as a document.
    bool showHelp(const std::string& helpFile, std::int32_t) override {
        return !helpFile.empty() && launchDetached({"xdg-open", helpFile}, 0) != Launch::NotStarted;
    }

    std::string tempFolder() override {
        std::string folder = existingFolder(environment("TMPDIR"));
        return folder.empty() ? existingFolder("/tmp") : folder;
    }

    std::string internetCacheFolder() override {
        std::string base = environment("XDG_CACHE_HOME");
        if (base.empty() || base[0] != '/') {
            std::string home = environment("HOME");
            if (home.empty()) return {};
            base = home + "/.cache";
        }
        while (base.size() > 1 && base.back() == '/') base.pop_back();
        return base + "/varnotel/";
    }

    std::optional<std::array<std::uint8_t, 16>> newGuid() override {
        std::array<std::uint8_t, 16> guid{};
        int fd = ::open("/dev/urandom", O_RDONLY | O_CLOEXEC);
        if (fd < 0) return std::nullopt;
        std::size_t got = 0;
        while (got < guid.size()) {
            ssize_t n = ::read(fd, guid.data() + got, guid.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            got += static_cast<std::size_t>(n);
        }
        ::close(fd);
        if (got < guid.size()) return std::nullopt;
        guid[6] = static_cast<std::uint8_t>((guid[6] & 0x0F) | 0x40);  // version 4: random
        guid[8] = static_cast<std::uint8_t>((guid[8] & 0x3F) | 0x80);  // the RFC 4122 variant
        return guid;
    }

    // Only this process's add-ins ask for the mutexes, and nothing waits on them: handles
    // are numbers in a table.
    std::uintptr_t createMutex(const std::string& name) override {
        std::lock_guard lock(mutex_);
        handles_[next_] = name;
        return next_++;
    }

    void releaseMutex(std::uintptr_t) override {}

    void closeHandle(std::uintptr_t handle) override {
        std::lock_guard lock(mutex_);
        handles_.erase(handle);
    }

private:
    static constexpr int kOpenerWaitSeconds = 5;
    std::mutex mutex_;
    std::unordered_map<std::uintptr_t, std::string> handles_;
    std::uintptr_t next_ = 1;
};

}  // namespace

std::unique_ptr<Shell> makeDesktopShell() { return std::make_unique<DesktopShell>(); }

}  // namespace platform
