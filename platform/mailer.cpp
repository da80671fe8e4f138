// The recording mailer and the desktop mailer (xdg-email with a staged copy of the file).
#include "platform/mailer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <filesystem>

#include "platform/filesystem.h"
#include "platform/shell.h"

namespace platform {

bool isSafeAttachmentName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (unsigned char c : name)
        if (c == '/' || c < 0x20 || c == 0x7F) return false;
    return true;
}

namespace {

// The length of the well-formed UTF-8 sequence at `at` and its code point, or 0.
std::size_t decodeUtf8(const std::string& text, std::size_t at, char32_t& code) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (lead >= 0xF5 || lead == 0xC0 || lead == 0xC1 || length == 0 || at + length > text.size()) return 0;
    code = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < least[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

// Letters of other languages pass; what a reader cannot see, or what turns the direction of
// the text (and so could disguise the extension), does not.
bool readableBeyondAscii(char32_t c) {
    if (c < 0xA0 || c == 0xAD) return false;       // C1 controls, soft hyphen
    if (c >= 0x2000 && c <= 0x200F) return false;  // odd spaces, zero widths, marks
    if (c >= 0x2028 && c <= 0x202F) return false;  // separators, embeddings
    if (c >= 0x205F && c <= 0x206F) return false;  // invisible operators, isolates
    if (c == 0xFEFF || (c >= 0xFFF0 && c <= 0xFFFF)) return false;
    if (c >= 0xE0000) return false;  // tags, variation selectors
    return true;
}

}  // namespace

std::string stagedAttachmentName(const std::string& name) {
    std::string out;
    for (std::size_t at = 0; at < name.size();) {
        const char c = name[at];
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ' ||
                           c == '-' || c == '_' || c == '.';
        if (plain) {
            out += (out.empty() && (c == '.' || c == '-')) ? '_' : c;
            ++at;
            continue;
        }
        char32_t code = 0;
        const std::size_t length = static_cast<unsigned char>(c) >= 0x80 ? decodeUtf8(name, at, code) : 0;
        if (length && readableBeyondAscii(code)) {
            out.append(name, at, length);
            at += length;
        } else {
            out += '_';
            at += length ? length : 1;
        }
    }
    if (out.empty()) out = "_";
    // The longest name a file system takes, cut where a character starts; the extension stays.
    constexpr std::size_t kMostBytes = 255;
    if (out.size() > kMostBytes) {
        const std::size_t dot = out.rfind('.');
        const std::string extension = dot != std::string::npos && out.size() - dot <= 16 ? out.substr(dot) : "";
        std::size_t keep = kMostBytes - extension.size();
        while (keep > 0 && (static_cast<unsigned char>(out[keep]) & 0xC0) == 0x80) --keep;
        out = out.substr(0, keep) + extension;
    }
    return out;
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

// Takes a run folder and what it holds away again.
void removeRun(const std::string& run) {
    std::error_code ignored;
    std::filesystem::remove_all(run, ignored);
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

class DesktopMailer final : public Mailer {
public:
    explicit DesktopMailer(DesktopMailerOptions options) : options_(std::move(options)) {
        if (!options_.stagingFolder.empty() && options_.stagingFolder.back() != '/') options_.stagingFolder += '/';
    }

    MailResult logon() override {
        if (findInPath(options_.program).empty()) return MailResult::noMailProgram;
        if (!ensureStagingFolder(options_.stagingFolder)) return MailResult::failed;
        purgeRuns(options_.stagingFolder, std::time(nullptr) - static_cast<std::time_t>(options_.keepStaged.count()));
        loggedOn_ = true;
        return MailResult::ok;
    }

    MailResult compose(const MailMessage& message) override {
        if (!loggedOn_ || !isSafeAttachmentName(message.attachmentName)) return MailResult::failed;
        int error = 0;
        auto bytes = readFileBytes(message.attachmentPath, error);
        if (!bytes)
            return error == ENOENT || error == ENOTDIR ? MailResult::attachmentMissing
                                                       : MailResult::attachmentUnreadable;

        std::string run = options_.stagingFolder + "run-XXXXXX";
        if (!::mkdtemp(run.data())) return MailResult::attachmentNotStaged;
        const std::string staged = run + "/" + stagedAttachmentName(message.attachmentName);
        if (!writeNewFile(staged, *bytes)) {
            removeRun(run);
            return MailResult::attachmentNotStaged;
        }

        std::vector<std::string> args{options_.program, "--utf8"};
        if (!message.subject.empty())
            args.insert(args.end(), {"--subject", message.subject});  // it refuses an empty one
        args.insert(args.end(), {"--attach", staged});
        const int status = runAndWait(args);
        // Only a message the mail program took may still need its copy.
        if (status != 0) removeRun(run);
        switch (status) {
            case 0: return MailResult::ok;
            case 2: return MailResult::attachmentMissing;     // "a file does not exist"
            case 5: return MailResult::attachmentUnreadable;  // "no permission to read a file"
            case 3:                                           // "a required tool could not be found"
            case 127: return MailResult::noMailProgram;       // the hand-over itself is gone
            default: return MailResult::failed;               // syntax, the action failed
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
