// The mail program plorinpost: it takes a subject, the attachment's display
// name and the path of the file to attach, and opens the user's mail program with a new
// message holding that attachment. The presentation add-in starts it without waiting.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/mailer.h"

namespace plorinpost {

// The result codes of a compose, in the numbers the add-in's messages have always used.
constexpr int SUCCESS_SUCCESS = 0;
constexpr int MAPI_USER_ABORT = 1;
constexpr int MAPI_E_FAILURE = 2;
constexpr int MAPI_E_LOGIN_FAILURE = 3;  // no mail program is set up to log on to
constexpr int MAPI_E_ATTACHMENT_NOT_FOUND = 11;
constexpr int MAPI_E_ATTACHMENT_OPEN_FAILURE = 12;
constexpr int MAPI_E_ATTACHMENT_WRITE_FAILURE = 13;

constexpr const char* kTitle = "Varnotel Mail";

struct Arguments {
    std::string subject;
    std::string fileName;  // the attachment's display name
    std::string pathName;  // the file to attach
};

// The program's arguments (without the program's own path): exactly three, taken as they
// are, since they arrive as an argument vector and never pass a command interpreter. The
// display name must be usable as a file name (platform::isSafeAttachmentName) and the
// path must be absolute. Nothing when they are not so.
std::optional<Arguments> parseArguments(const std::vector<std::string>& args);

// The mailer's answer as a result code.
int resultCode(platform::MailResult result);

// Logs on, composes the message with the one attachment, logs off. Returns 0 for success
// or the first non-zero code met; a failed logoff after a good compose does not turn the
// compose into a failure. A run-time error shows the error box for "composeEmail" and
// returns the code set so far.
int composeEmail(platform::Mailer& mailer, const std::string& subject, const std::string& fileName,
                 const std::string& pathName);

// The message for a result code: nothing for 0 and 1 (success, the user cancelled); code 3
// says that no mail program is set up.
std::optional<std::string> messageForCode(int code);
// The message for wrong arguments.
std::string startErrorMessage();

// The whole program: parses the arguments, composes, shows the message the result calls for
// (critical icon, title "Varnotel Mail", through platform::MsgBox). Returns the process's
// exit status: 0 when the message was composed or the user cancelled, else 1.
int main(const std::vector<std::string>& args, platform::Mailer& mailer);

}  // namespace plorinpost
