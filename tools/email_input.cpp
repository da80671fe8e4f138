#include "tools/email_input.h"

#include "core/errors.h"
#include "core/file_names.h"
#include "core/product_name.h"
#include "platform/mailer.h"
#include "platform/ui_driver.h"

namespace plorin {

emailSelectedSlidesInput::emailSelectedSlidesInput() : platform::Form("emailSelectedSlidesInput") {
    Caption = "E-mail selected slides";
    Label1.Caption = "Please enter a file name for the e-mail attachment";
    btnOK.Caption = "&OK";
    btnOK.Default = true;
    btnCancel.Caption = "&Cancel";
    btnCancel.Cancel = true;
    btnOK.onClick = [this] { btnOK_Click(); };
    btnCancel.onClick = [this] { btnCancel_Click(); };
}

void emailSelectedSlidesInput::btnOK_Click() {
    trap("emailSelectedSlidesInput, btnOK_Click", [&] {
        const std::string& name = tbFileName.Text();
        if (name.find_first_not_of(' ') == std::string::npos) {
            platform::MsgBox("Please enter a file name for the e-mail attachment.", platform::vbInformation,
                             kProductName);
            return;
        }
        if (!isValidFileName(name)) {
            platform::MsgBox("The following characters are not allowed: \\/:*?\"<>|", platform::vbInformation,
                             kProductName);
            return;
        }
        const bool hasExtension = name.size() >= extension.size() &&
                                  name.compare(name.size() - extension.size(), extension.size(), extension) == 0;
        const std::string fileName = hasExtension ? name : name + extension;
        // The mail program takes exactly the names accepted here.
        if (!platform::isSafeAttachmentName(fileName)) {
            platform::MsgBox("The file name must not contain control characters.", platform::vbInformation,
                             kProductName);
            return;
        }
        tbFileName.setText(fileName);
        confirmed = true;
        Hide();
    });
}

void emailSelectedSlidesInput::btnCancel_Click() {
    trap("emailSelectedSlidesInput, btnCancel_Click", [&] {
        cancelled = true;
        Hide();
    });
}

}  // namespace plorin
