// Handing one file to the user's mail program as the attachment of a new message, which the
// user then completes and sends. Only the mail program plorinpost calls this; the desktop
// mailer works through the desktop's own mail hand-over, the recording one serves tests.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace platform {

struct MailMessage {
    std::string subject;
    std::string attachmentPath;  // the file to attach
    std::string attachmentName;  // the name the recipient sees
};

enum class MailResult {
    ok,
    cancelled,             // the user closed the message without sending
    attachmentMissing,     // the file to attach does not exist
    attachmentUnreadable,  // it exists but cannot be read
    attachmentNotStaged,   // it could not be copied to where the mail program takes it from
    noMailProgram,         // no mail program is set up to take the message
    failed,                // anything else: a refused request, a mail program that failed
};

// A session with the mail program: logon, any number of compose calls, logoff.
class Mailer {
public:
    Mailer() = default;
    Mailer(const Mailer&) = delete;
    Mailer& operator=(const Mailer&) = delete;
    virtual ~Mailer() = default;

    // Opens the session. ok, or failed when no message can be composed at all.
    virtual MailResult logon() = 0;
    // Opens the mail program's compose window with the subject and the one attachment, no
    // recipient and no body. Returns when the mail program has taken the message (ok) or has
    // refused it; the attachment file itself is only read, never changed or removed.
    virtual MailResult compose(const MailMessage& message) = 0;
    // Ends the session. Its result says nothing about the messages composed before.
    virtual MailResult logoff() = 0;
};

// True when `name` can serve as the attachment's name: not empty, not "." or "..", no "/"
// and no control characters. Whatever it holds besides, a mailer carries it safely.
bool isSafeAttachmentName(const std::string& name);

// The file name an attachment named `name` is staged under for the desktop's mail hand-over,
// which passes the path to mail programs inside quoted, comma-separated command lines: ASCII
// letters, digits, blanks, "-", "_" and "." and other languages' letters stay; quotes,
// commas, shell and URL characters, invisible and direction-changing characters and broken
// UTF-8 become "_"; a leading "." or "-" too. At most 255 bytes, the extension kept.
std::string stagedAttachmentName(const std::string& name);

// Remembers every call and answers with the results set beforehand.
class RecordingMailer : public Mailer {
public:
    MailResult logonResult = MailResult::ok;
    MailResult composeResult = MailResult::ok;
    MailResult logoffResult = MailResult::ok;
    std::vector<std::string> calls;  // "logon", "compose", "logoff" in order
    std::vector<MailMessage> composed;

    MailResult logon() override;
    MailResult compose(const MailMessage& message) override;
    MailResult logoff() override;
};

// The desktop's mail hand-over (`program`, normally xdg-email, searched in PATH and started
// with an argument vector, never through a command interpreter). Compose copies the
// attachment into a new private folder below `stagingFolder` (created for the user alone)
// under stagedAttachmentName, because the mail program shows the file's own name, and waits
// for the program; its exit status tells the result. A hand-over that failed takes its copy
// and folder away at once. Logon answers noMailProgram when the program is not there, makes
// the staging folder and removes the copies of earlier runs older than `keepStaged`: a
// message still being written may need its copy, so younger ones stay.
struct DesktopMailerOptions {
    std::string stagingFolder;  // ends with "/"
    std::string program = "xdg-email";
    std::chrono::seconds keepStaged = std::chrono::hours(24);
};
std::unique_ptr<Mailer> makeDesktopMailer(DesktopMailerOptions options);

}  // namespace platform
