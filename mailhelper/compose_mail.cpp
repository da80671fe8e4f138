// Argument checks, the compose step and the result-code messages of plorinpost.
#include "mailhelper/compose_mail.h"

#include "core/config.h"
#include "core/errors.h"
#include "platform/ui_driver.h"

namespace plorinpost {

namespace {

std::string tryAgainLine() {
    return std::string("Please try again and contact us at ") + plorin::kDefaultSupportEmail +
           " if the problem persists.";
}

void critical(const std::string& text) { platform::MsgBox(text, platform::vbCritical, kTitle); }

// The error box of a run-time error in `procedure`; it must not fail in turn.
void errorBox(const std::string& procedure) {
    plorin::ErrorInfo error = plorin::currentError();
    plorin::ignoreErrors([&] {
        critical("Error: \r\n" + procedure + " (" + std::to_string(error.Number) + ", " + error.Description + ")");
    });
}

}  // namespace

std::optional<Arguments> parseArguments(const std::vector<std::string>& args) {
    if (args.size() != 3) return std::nullopt;
    Arguments parsed{args[0], args[1], args[2]};
    if (!platform::isSafeAttachmentName(parsed.fileName)) return std::nullopt;
    if (parsed.pathName.empty() || parsed.pathName[0] != '/') return std::nullopt;
    return parsed;
}

int resultCode(platform::MailResult result) {
    using platform::MailResult;
    switch (result) {
        case MailResult::ok: return SUCCESS_SUCCESS;
        case MailResult::cancelled: return MAPI_USER_ABORT;
        case MailResult::attachmentMissing: return MAPI_E_ATTACHMENT_NOT_FOUND;
        case MailResult::attachmentUnreadable: return MAPI_E_ATTACHMENT_OPEN_FAILURE;
        case MailResult::attachmentNotStaged: return MAPI_E_ATTACHMENT_WRITE_FAILURE;
        case MailResult::noMailProgram: return MAPI_E_LOGIN_FAILURE;
        case MailResult::failed: break;
    }
    return MAPI_E_FAILURE;
}

int composeEmail(platform::Mailer& mailer, const std::string& subject, const std::string& fileName,
                 const std::string& pathName) {
    int code = SUCCESS_SUCCESS;
    bool loggedOn = false;
    try {
        code = resultCode(mailer.logon());
        if (code != SUCCESS_SUCCESS) return code;
        loggedOn = true;
        code = resultCode(mailer.compose({subject, pathName, fileName}));
        loggedOn = false;
        // The session's end cannot undo a message already with the mail program.
        plorin::ignoreErrors([&] { mailer.logoff(); });
        return code;
    } catch (...) {
        errorBox("composeEmail");
        if (loggedOn) plorin::ignoreErrors([&] { mailer.logoff(); });
        return code;
    }
}

std::optional<std::string> messageForCode(int code) {
    switch (code) {
        case SUCCESS_SUCCESS:
        case MAPI_USER_ABORT: return std::nullopt;
        case MAPI_E_ATTACHMENT_NOT_FOUND:
        case MAPI_E_ATTACHMENT_OPEN_FAILURE:
        case MAPI_E_ATTACHMENT_WRITE_FAILURE: return "An error occurred attaching your file.\r\n" + tryAgainLine();
        case MAPI_E_LOGIN_FAILURE:
            return std::string(
                "No e-mail program is configured on this computer.\r\n"
                "Please set up a default e-mail program and try again.");
        default:
            return "An unexpected MAPI error occurred in Varnotel Mail (" + std::to_string(code) + ").\r\n" +
                   tryAgainLine();
    }
}

std::string startErrorMessage() { return "An error occurred starting Varnotel Mail.\r\n" + tryAgainLine(); }

int main(const std::vector<std::string>& args, platform::Mailer& mailer) {
    try {
        auto parsed = parseArguments(args);
        if (!parsed) {
            critical(startErrorMessage());
            return 1;
        }
        int code = composeEmail(mailer, parsed->subject, parsed->fileName, parsed->pathName);
        if (auto message = messageForCode(code)) {
            critical(*message);
            return 1;
        }
        return 0;
    } catch (...) {
        errorBox("main");
        return 1;
    }
}

}  // namespace plorinpost
