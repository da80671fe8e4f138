// The presentation add-in's error dialog: tells the user what went wrong and offers to send
// an error report to the maker's web server. Installed as the error sink by the add-in's
// entry point; code shared with the update add-in reports through core/errors.h only.
#pragma once

#include <cstdint>
#include <string>

#include "core/errors.h"
#include "platform/ui_forms.h"

namespace plorin {

// The dialog. Each error shows a fresh one, modally; an error raised while it is open only
// changes its text and variables (see showErrorDialog).
class ErrForm : public platform::Form {
public:
    ErrForm();

    // Set from the reported error: the location's text before its first "," (empty when it
    // has none), its text after the first " " (the whole location when it has none), and
    // the error's number (0 without an error object).
    std::string errClass;
    std::string errFunction;
    std::int32_t errNumber = 0;

    // Puts the error into the dialog: errDescription shows the location alone, or
    // location " - " description "(" number ")"; the three variables follow.
    void setError(const std::string& location, const ErrorInfo* error);

    // The hint text of the report box, in the report box's grey.
    static constexpr const char* kReportHint =
        "Please describe the situation in which the error occured as detailed as \r\npossible.\r\n";
    static constexpr std::uint32_t kHintColor = 0x808080;  // RGB 128, 128, 128

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Click();
    void errReport_Click();
    void errDescription_Click();
    void Label2_Click();
    void Picture1_Click();
    void tbContact_Click();
    void lPrivacyInfo_Click();
    void lPrivacyInfo_MouseMove();
    void btnSendReport_Click();
    void btnCancel_Click();

    platform::PictureBox Picture2{*this, "Picture2"};
    platform::Label lbl0{*this, "lbl(0)"};  // bold
    platform::Label errDescription{*this, "errDescription"};
    platform::Label Label2{*this, "Label2"};          // bold
    platform::TextBox errReport{*this, "errReport"};  // several lines, vertical scroll bar
    platform::Label lbl2{*this, "lbl(2)"};
    platform::Label lbl3{*this, "lbl(3)"};
    platform::TextBox tbName{*this, "tbName"};
    platform::Label lbl4{*this, "lbl(4)"};
    platform::TextBox tbContact{*this, "tbContact"};
    platform::Label lPrivacyInfo{*this, "lPrivacyInfo"};  // a link
    platform::PictureBox Picture1{*this, "Picture1"};
    platform::Label lbl1{*this, "lbl(1)"};
    platform::Line Line3{*this, "Line3"};
    platform::CommandButton btnSendReport{*this, "btnSendReport"};
    platform::CommandButton btnCancel{*this, "btnCancel"};

private:
    bool reportHintShown = false;
    std::string reportHint;
};

// The error sink of the presentation add-in: loads a fresh ErrForm, puts the error into it
// and shows it modally, returning once it is closed. While a dialog is visible a further
// report only updates that dialog. Never throws (a driver that fails closes the dialog).
void showErrorDialog(const std::string& location, const ErrorInfo* error);

// Makes showErrorDialog the error sink; returns the sink it replaced.
ErrorSink installErrorDialog();

}  // namespace plorin
