// The settings dialog: screensaver, the three language buttons, automatic updates and, on
// command-bar hosts, which Efficiency Tools buttons the bar shows. Its pages are chosen from
// a menu on the left; nothing is written until "&Save".
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui_forms.h"

namespace host {
class COMAddIn;
}

namespace plorin {

constexpr const char* kNoLanguageSelected = "[No language selected]";

class Settings : public platform::Form {
public:
    static constexpr int kPages = 7;
    static constexpr int kLanguageRows = 3;

    Settings();

    void Form_Load() override;
    void btnSave_Click();
    void btnClose_Click();
    void lngDropdown_Click(int index);
    void cbAutoUpdateProgram_Click();
    void cbAutoUpdateCustomization_Click();
    void ecySelect_Click();
    void ecySelect_MouseMove();
    void menuBox_Click(int index);
    void menuLabel_Click(int index);
    void menuBox_MouseMove();
    void menuLabel_MouseMove();

    // The page in front, and how many menu entries exist and show.
    int frontPage() const { return frontPage_; }
    int menuItemCount() const { return menuItemCount_; }
    int visibleMenuPosition() const { return visibleMenuPosition_; }
    // The entry's label and box; nullptr past the entries created so far.
    platform::Label* menuLabel(int index) const;
    platform::Label* menuBox(int index) const;
    // The update add-in found when the dialog loaded.
    host::COMAddIn* updateAddIn() const { return updateAddIn_; }

    platform::Label lTitle{*this, "lTitle"};
    platform::PictureBox vnLogo{*this, "vnLogo"};
    platform::CommandButton btnSave{*this, "btnSave"};
    platform::CommandButton btnClose{*this, "btnClose"};

    std::array<std::unique_ptr<platform::Frame>, kPages> menuFrame;
    std::array<std::unique_ptr<platform::Label>, kPages> menuHeading;

    // "General"
    platform::CheckBox cbScreensaver{*this, "cbScreensaver"};
    // "Text"
    platform::Label lLanguages{*this, "lLanguages"};
    std::array<std::unique_ptr<platform::Label>, kLanguageRows> lngLabel;
    std::array<std::unique_ptr<platform::ComboBox>, kLanguageRows> lngDropdown;
    std::array<std::unique_ptr<platform::PictureBox>, kLanguageRows> lngPic;
    // "Updates"
    platform::CheckBox cbAutoUpdateProgram{*this, "cbAutoUpdateProgram"};
    platform::CheckBox cbAutoUpdateCustomization{*this, "cbAutoUpdateCustomization"};
    platform::Label lAutoUpdateInfo{*this, "lAutoUpdateInfo"};
    // "Efficiency Tools"
    platform::Label lEcyInfo{*this, "lEcyInfo"};
    platform::ListView ecyList{*this, "ecyList"};
    platform::Label ecySelect{*this, "ecySelect"};

private:
    void addMenuItem(const std::string& caption, bool visible);
    void highlightMenuItem(int index, bool selected);
    void bringToFront(int page);
    // A menu entry's click: its page to the front, only its entry highlighted.
    void selectPage(int index);
    void fillLanguageRow(int row);
    void fillButtonList();
    void readUpdateSettings();

    // menuLabel(0) and menuBox(0) exist from the start; the rest are made as entries are added.
    std::vector<std::unique_ptr<platform::Label>> menuLabels_;
    std::vector<std::unique_ptr<platform::Label>> menuBoxes_;
    std::int16_t menuItemCount_ = 0;
    std::int16_t visibleMenuPosition_ = 0;
    int frontPage_ = 0;
    host::COMAddIn* updateAddIn_ = nullptr;
};

// Shows the dialog modally; it saves itself.
void showSettingsDialog();

}  // namespace plorin
