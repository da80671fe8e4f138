// The executable plorinpost: plorinpost SUBJECT ATTACHMENT-NAME ATTACHMENT-PATH.
// It has no windows of its own; its message boxes go to the desktop (message_boxes.h).
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "mailhelper/compose_mail.h"
#include "mailhelper/message_boxes.h"
#include "platform/mailer.h"
#include "platform/services.h"
#include "platform/ui_driver.h"

int main(int argc, char** argv) {
    // What the add-in let this program inherit (its hold on the extract, which keeps the
    // shut-down from removing the file) stays here: the mail program started below may run
    // on long after this one has ended.
    ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
    plorinpost::DesktopMessageBoxes boxes(std::cerr);
    platform::ScopedUiDriver scope(boxes);
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    std::string cache = platform::shell().internetCacheFolder();
    auto mailer = platform::makeDesktopMailer({cache.empty() ? std::string() : cache + "mail/"});
    return plorinpost::main(args, *mailer);
}
