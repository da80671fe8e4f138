// The host's Save As dialog, asking the user interface for a file name.
#include "host/host.h"
#include "platform/filesystem.h"
#include "platform/services.h"
#include "platform/ui_driver.h"

namespace host {

int FileDialog::Show() {
    selected_.clear();
    for (;;) {
        auto chosen = platform::uiDriver().fileDialog(Title, InitialFileName);
        if (!chosen || chosen->empty()) return 0;
        if (platform::fileSystem().fileExists(*chosen)) {
            std::string name = chosen->substr(chosen->rfind('/') + 1);
            int answer = platform::uiDriver().messageBox(name + " already exists.\r\nDo you want to replace it?",
                                                         platform::vbYesNo | platform::vbExclamation, Title);
            if (answer != platform::vbYes) continue;
        }
        selected_.push_back(*chosen);
        return -1;
    }
}

std::shared_ptr<FileDialog> Application::FileDialog(int type) {
    if (type != msoFileDialogSaveAs)
        throw HostError(E_FAIL, "Application.FileDialog : Only the Save As dialog is available.");
    return std::make_shared<host::FileDialog>();
}

}  // namespace host
