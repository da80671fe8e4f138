#include "updater/update_dialogs.h"

#include <cmath>

#include "core/errors.h"
#include "core/registry.h"
#include "core/topmost_window.h"
#include "updater/dates.h"
#include "updater/error_box.h"

namespace plorinrenew {
namespace {

// The texts both questions show before the size is known.
void offerTexts(platform::Form& form, platform::Label& Label1, platform::Label& lStatus, platform::Label& lInfo) {
    form.Caption = kDialogCaption;
    Label1.Caption = kAvailableText;
    lStatus.Caption = "Approximately x MB will be downloaded.";
    lInfo.Caption = kSlowNetworkText;
}

}  // namespace

Install::Install() : platform::Form("Install") {
    offerTexts(*this, Label1, lStatus, lInfo);
    option0.Caption = "Update now (recommended)";
    option1.Caption = "Remind me tomorrow";
    option2.Caption = "Remind me next week";
    option3.Caption = "I will check for updates manually via the 'Help' menu";
    btnOK.Caption = "&OK";
    btnOK.Default = true;
    // The options form one group: choosing one clears the others.
    for (auto* chosen : options_) {
        chosen->onClick = [this, chosen] {
            for (auto* other : options_)
                if (other != chosen) other->setValue(false);
        };
    }
    btnOK.onClick = [this] { btnOK_Click(); };
}

int Install::selectedOption() const {
    for (int i = 0; i < 4; ++i)
        if (options_[i]->Value()) return i;
    return 0;
}

void Install::Form_Load() {
    answered_ = false;
    option0.setValue(true);
}

void Install::Form_Activate() {
    plorin::trap("Install, Form_Activate", [&] { plorin::setTopMost(*this, true); });
}

void Install::btnOK_Click() {
    plorin::trap("Install, btnOK_Click", [&] {
        const long today = static_cast<long>(std::floor(nowSerial()));
        switch (selectedOption()) {
            case 1: plorin::setRegistry("autoUpdateReminder", std::to_string(today + 1), ""); break;
            case 2: plorin::setRegistry("autoUpdateReminder", std::to_string(today + 7), ""); break;
            // The user will ask through the Help menu: automatic runs stay quiet, and that
            // manual check must still work, so the switches are left as they are.
            case 3: plorin::setRegistry("autoUpdateReminder", std::to_string(farFutureSerial()), ""); break;
            default: break;
        }
        answered_ = true;
    });
    Hide();
}

InstallManual::InstallManual() : platform::Form("InstallManual") {
    offerTexts(*this, Label1, lStatus, lInfo);
    btnUpdate.Caption = "&Update";
    btnUpdate.Default = true;
    btnClose.Caption = "&Close";
    btnClose.Cancel = true;
    btnUpdate.onClick = [this] { btnUpdate_Click(); };
    btnClose.onClick = [this] { btnClose_Click(); };
}

void InstallManual::Form_Load() { update = false; }

void InstallManual::Form_Activate() {
    plorin::trap("InstallManual, Form_Activate", [&] { plorin::setTopMost(*this, true); });
}

void InstallManual::btnUpdate_Click() {
    plorin::trap("InstallManual, btnUpdate_Click", [&] { update = true; });
    Hide();
}

void InstallManual::btnClose_Click() {
    plorin::trap("InstallManual, btnClose_Click", [&] { update = false; });
    Hide();
}

DownloadStatus::DownloadStatus(bool& cancelled) : platform::Form("DownloadStatus"), cancelled_(cancelled) {
    Caption = kDialogCaption;
    lStatus.Caption = "Downloading...";
    btnCancel.Caption = "&Cancel";
    btnCancel.Cancel = true;
    btnCancel.onClick = [this] { btnCancel_Click(); };
}

void DownloadStatus::Form_Activate() {
    plorin::trap("DownloadStatus, Form_Activate", [&] {
        cancelled_ = false;
        plorin::setTopMost(*this, true);
    });
}

void DownloadStatus::Form_Unload() {
    // Closed by the user, not by the run: the same as Cancel.
    if (!closingByRun_) cancelled_ = true;
}

void DownloadStatus::btnCancel_Click() {
    plorin::trap("DownloadStatus, btnCancel_Click", [&] {
        cancelled_ = true;
        Unload();
    });
}

void DownloadStatus::closeByRun() {
    closingByRun_ = true;
    Unload();
    closingByRun_ = false;
}

}  // namespace plorinrenew
