// The three small dialogs of an update run. The run loads each, sets its status text,
// shows it and unloads it again; each makes itself topmost when activated.
#pragma once

#include <functional>
#include <string>

#include "platform/ui_forms.h"

namespace plorinrenew {

// The texts the dialogs share.
constexpr const char* kAvailableText = "An updated version of Varnotel for presentations is available for download.";
constexpr const char* kSlowNetworkText =
    "If you are currently using a slow network connection (e.g. mobile), you may want to download the update later.";

// Asked on an automatic run: update now, or later, which the dialog stores itself.
class Install : public platform::Form {
public:
    Install();
    platform::Label Label1{*this, "Label1"};
    platform::Label lStatus{*this, "lStatus"};
    platform::Label lInfo{*this, "lInfo"};
    platform::OptionButton option0{*this, "obOptions(0)"};
    platform::OptionButton option1{*this, "obOptions(1)"};
    platform::OptionButton option2{*this, "obOptions(2)"};
    platform::OptionButton option3{*this, "obOptions(3)"};
    platform::CommandButton btnOK{*this, "btnOK"};
    platform::PictureBox Picture1{*this, "Picture1"};

    // The option selected, 0 to 3.
    int selectedOption() const;
    // True once OK stored the choice; the close box leaves it false and stores nothing.
    bool answered() const { return answered_; }

    void Form_Load() override;
    void Form_Activate() override;
    // Stores "remind me tomorrow" (today + 1), "next week" (today + 7) or "I will check
    // manually" (a reminder on 31 December 2099, the update switches left alone), then hides.
    void btnOK_Click();

private:
    platform::OptionButton* options_[4] = {&option0, &option1, &option2, &option3};
    bool answered_ = false;
};

// Asked on a manual run: two buttons, nothing stored.
class InstallManual : public platform::Form {
public:
    InstallManual();
    platform::Label Label1{*this, "Label1"};
    platform::Label lStatus{*this, "lStatus"};
    platform::Label lInfo{*this, "lInfo"};
    platform::CommandButton btnUpdate{*this, "btnUpdate"};
    platform::CommandButton btnClose{*this, "btnClose"};
    platform::PictureBox Picture1{*this, "Picture1"};

    bool update = false;  // the user's answer; the close box leaves it false

    void Form_Load() override;
    void Form_Activate() override;
    void btnUpdate_Click();
    void btnClose_Click();
};

// The download's progress, shown without blocking; Cancel (or the close box) sets the
// run's cancel flag.
class DownloadStatus : public platform::Form {
public:
    // `cancelled` is the run's download-cancelled flag.
    explicit DownloadStatus(bool& cancelled);
    platform::Label lStatus{*this, "lStatus"};
    platform::ProgressBar progress{*this, "progress"};
    platform::CommandButton btnCancel{*this, "btnCancel"};
    platform::PictureBox Picture1{*this, "Picture1"};

    void Form_Activate() override;
    void Form_Unload() override;
    void btnCancel_Click();
    // The run closes the dialog: that is no cancel.
    void closeByRun();

private:
    bool& cancelled_;
    bool closingByRun_ = false;
};

}  // namespace plorinrenew
