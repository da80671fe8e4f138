#include "addin/error_dialog.h"

#include <memory>

#include "core/config.h"
#include "core/open_url.h"
#include "core/product_name.h"
#include "core/shared_state.h"
#include "core/topmost_window.h"
#include "core/version.h"
#include "core/web_post.h"
#include "host/host.h"
#include "platform/ui_driver.h"

namespace plorin {
namespace {

// The dialog on screen (or being put there), so that an error raised while it is open lands
// in it instead of opening a second one.
ErrForm* currentDialog = nullptr;

std::string hostVersion() {
    host::Application* app = state().application;
    return app ? app->Version() : std::string();
}

}  // namespace

ErrForm::ErrForm() : platform::Form("ErrForm") {
    Caption = "";
    lbl0.Caption = "An unexpected error has occured.";
    errDescription.Caption = "Error description";
    Label2.Caption = "You can help us resolve the problem by submitting an error report.";
    errReport.setText(kReportHint);
    errReport.ForeColor = kHintColor;
    lbl2.Caption = "Please let us know how we can contact you if necessary";
    lbl3.Caption = "Name";
    lbl4.Caption = "Phone / email";
    lPrivacyInfo.Caption = "Privacy Policy";
    btnSendReport.Caption = "&Send report";
    btnCancel.Caption = "&Close";
    btnCancel.Cancel = true;

    errReport.onClick = [this] { errReport_Click(); };
    errDescription.onClick = [this] { errDescription_Click(); };
    Label2.onClick = [this] { Label2_Click(); };
    Picture1.onClick = [this] { Picture1_Click(); };
    tbContact.onClick = [this] { tbContact_Click(); };
    lPrivacyInfo.onClick = [this] { lPrivacyInfo_Click(); };
    lPrivacyInfo.onMouseMove = [this] { lPrivacyInfo_MouseMove(); };
    btnSendReport.onClick = [this] { btnSendReport_Click(); };
    btnCancel.onClick = [this] { btnCancel_Click(); };
}

void ErrForm::setError(const std::string& location, const ErrorInfo* error) {
    if (error) {
        errNumber = static_cast<std::int32_t>(error->Number);
        errDescription.Caption = location + " - " + error->Description + "(" + std::to_string(errNumber) + ")";
    } else {
        errNumber = 0;
        errDescription.Caption = location;
    }
    const auto comma = location.find(',');
    errClass = comma == std::string::npos ? std::string() : location.substr(0, comma);
    const auto blank = location.find(' ');
    errFunction = blank == std::string::npos ? location : location.substr(blank + 1);
}

void ErrForm::Form_Load() {
    trap("ErrForm, Form_Load, ", [&] {
        reportHintShown = true;
        reportHint = errReport.Text();
    });
}

void ErrForm::Form_Activate() {
    trap("ErrForm, Form_Activate, ", [&] { setTopMost(*this, true); });
}

void ErrForm::Form_Click() {
    trap("ErrForm, Form_Click, ", [&] {
        if (!errReport.Text().empty()) return;
        reportHintShown = true;
        errReport.setText(reportHint);
        errReport.ForeColor = kHintColor;
    });
}

void ErrForm::errReport_Click() {
    trap("ErrForm, errReport_Click, ", [&] {
        if (!reportHintShown) return;
        reportHintShown = false;
        reportHint = errReport.Text();
        errReport.setText("");
        errReport.ForeColor = 0x000000;
    });
}

void ErrForm::errDescription_Click() {
    trap("ErrForm, errDescription_Click, ", [&] { Form_Click(); });
}

void ErrForm::Label2_Click() {
    trap("ErrForm, Label2_Click, ", [&] { Form_Click(); });
}

void ErrForm::Picture1_Click() {
    trap("ErrForm, Picture1_Click, ", [&] { Form_Click(); });
}

void ErrForm::tbContact_Click() {
    trap("ErrForm, tbContact_Click, ", [&] { Form_Click(); });
}

void ErrForm::lPrivacyInfo_Click() {
    trap("ErrForm, lPrivacyInfo_Click, ", [&] { openURL(webAddress() + "/plorin_privacy.pdf"); });
}

void ErrForm::lPrivacyInfo_MouseMove() {
    trap("ErrForm, lPrivacyInfo_MouseMove, ", [&] { cursor = platform::IDC_HAND; });
}

void ErrForm::btnSendReport_Click() {
    trap("ErrForm, btnSendReport_Click, ", [&] {
        const std::string report = errReport.Text() == reportHint ? std::string() : errReport.Text();
        const std::string body = "description=" + URLEncode(errDescription.Caption) + "&class=" + URLEncode(errClass) +
                                 "&function=" + URLEncode(errFunction) +
                                 "&number=" + URLEncode(std::to_string(errNumber)) + "&report=" + URLEncode(report) +
                                 "&name=" + URLEncode(tbName.Text()) + "&contact=" + URLEncode(tbContact.Text()) +
                                 "&PPT=" + URLEncode(hostVersion()) + "&version=" + URLEncode(versionText());

        const HttpBytes reply = HttpPost(webAddress() + "/errorreport.php", body, 0, 80, "", "");
        if (arrayLength(reply) == 0) {
            platform::MsgBox("Your error report could not be transmitted.\r\nPlease check your internet connection.",
                             platform::vbCritical, kProductName);
        } else if (const std::string text = ByteArrayToString(reply); text == "0") {
            platform::MsgBox("Thank you for your error report.\r\nWe are working on resolving the issue.",
                             platform::vbInformation, kProductName);
        } else {
            platform::MsgBox("Apologies, our server is currently unable to process your error report (" + text +
                                 ").\r\nPlease send us an e-mail with your error report: " + supportEmail(),
                             platform::vbCritical, kProductName);
        }
        Unload();
    });
}

void ErrForm::btnCancel_Click() {
    trap("ErrForm, btnCancel_Click, ", [&] { Unload(); });
}

void showErrorDialog(const std::string& location, const ErrorInfo* error) {
    if (currentDialog && currentDialog->Visible()) {
        currentDialog->setError(location, error);
        return;
    }
    // A fresh dialog each time: the hint is back and nothing typed for an earlier error stays.
    auto dialog = std::make_unique<ErrForm>();
    ErrForm* const previous = currentDialog;
    currentDialog = dialog.get();
    struct Restore {
        ErrForm* previous;
        ~Restore() { currentDialog = previous; }
    } restore{previous};
    try {
        dialog->Load();
        dialog->setError(location, error);
        dialog->Show(true);
    } catch (...) {
        // A driver that cannot work the dialog leaves it closed; this is the end of the error path.
    }
    try {
        dialog->Unload();
    } catch (...) {
    }
}

ErrorSink installErrorDialog() { return setErrorSink(&showErrorDialog); }

}  // namespace plorin
