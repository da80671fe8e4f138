// The dialog "E-mail selected slides": the user names the attachment. The caller sets
// `cancelled` and `extension`, shows it modally and reads tbFileName afterwards, when
// `confirmed` says OK took the name.
#pragma once

#include <string>

#include "platform/ui_forms.h"

namespace plorin {

class emailSelectedSlidesInput : public platform::Form {
public:
    emailSelectedSlidesInput();

    bool cancelled = false;
    // True once OK has taken the name; a dialog left any other way (its close box) sends nothing.
    bool confirmed = false;
    std::string extension;  // the host's extension, appended to a name that lacks it

    // Refuses a blank name and one with characters a file name cannot hold, or that the
    // mail program would refuse (control characters), each with an information box, the
    // dialog staying open; otherwise appends `extension` when the name does not end with it,
    // sets `confirmed` and hides the dialog.
    void btnOK_Click();
    void btnCancel_Click();

    platform::Label Label1{*this, "Label1"};
    platform::TextBox tbFileName{*this, "tbFileName"};
    platform::CommandButton btnOK{*this, "btnOK"};
    platform::CommandButton btnCancel{*this, "btnCancel"};
    platform::PictureBox Picture1{*this, "Picture1"};
};

}  // namespace plorin
