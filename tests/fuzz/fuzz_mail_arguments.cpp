// The mail program's command line: its arguments (each ended by a NUL in the input) are
// checked and, when they are a subject, a display name and an absolute path, handed to the
// mailer as one message, under a staged name mail command lines carry whole; anything else
// is told to the user.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "answering_user.h"
#include "fuzz_support.h"
#include "mailhelper/compose_mail.h"
#include "platform/mailer.h"
#include "platform/ui_driver.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::ScriptedDriver* driver = &fuzz::answeringUser();
    std::vector<std::string> args;
    std::string current;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            args.push_back(current);
            current.clear();
        } else {
            current += static_cast<char>(data[i]);
        }
    }
    if (!current.empty()) args.push_back(current);

    platform::RecordingMailer mailer;
    const int status = plorinpost::main(args, mailer);
    if (status == 0) {
        // Composed: exactly the three arguments, a name that is a file name, an absolute path.
        if (args.size() != 3 || mailer.composed.size() != 1 || !platform::isSafeAttachmentName(args[1]) ||
            args[2].empty() || args[2][0] != '/')
            fuzz::fail("a message composed from arguments that are not a subject, a name and a path");
        const auto& m = mailer.composed[0];
        if (m.subject != args[0] || m.attachmentName != args[1] || m.attachmentPath != args[2])
            fuzz::fail("the message is not made of the arguments as they came");
        // The copy for the desktop's mail hand-over is staged under a name every mail
        // program's command line carries whole.
        const std::string staged = platform::stagedAttachmentName(m.attachmentName);
        if (staged.empty() || staged.size() > 255 || staged[0] == '.' || staged[0] == '-')
            fuzz::fail("a staged name that is empty, too long or hidden");
        for (unsigned char c : staged)
            if (c < 0x80 && !std::isalnum(c) && c != ' ' && c != '-' && c != '_' && c != '.')
                fuzz::fail("a staged name with a character mail command lines treat specially");
    } else if (!mailer.composed.empty() || driver->messages.size() != 1) {
        fuzz::fail("a refused start composed a message or told the user nothing, or more than once");
    }
    driver->messages.clear();
    return 0;
}
