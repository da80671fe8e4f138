#include "settings/settings_dialog.h"

#include <charconv>
#include <utility>

#include "core/bar_buttons.h"
#include "core/errors.h"
#include "core/host_version.h"
#include "core/icons.h"
#include "core/languages.h"
#include "core/numbers.h"
#include "core/product_name.h"
#include "core/registry.h"
#include "core/shared_state.h"
#include "core/update_addin.h"
#include "host/command_bars.h"
#include "host/host.h"
#include "host/ribbon.h"
#include "platform/ui_driver.h"

namespace plorin {

namespace {

constexpr int kPageLeft = 184;
constexpr int kPageTop = 57;
constexpr int kMenuLeft = 16;
constexpr int kMenuWidth = 161;
constexpr int kMenuRowHeight = 25;
// Colours as the host keeps them (0x00BBGGRR).
constexpr std::uint32_t kMenuSelected = 0x00262AC0;  // RGB 192, 42, 38
constexpr std::uint32_t kMenuNormal = 0x00E0E0E0;    // RGB 224, 224, 224
constexpr std::uint32_t kWhite = 0x00FFFFFF;
constexpr std::uint32_t kBlack = 0x00000000;

constexpr const char* kUpdateNote =
    "Please note: If you would like to update Slide Wizard and Agenda Wizard templates, program updates are "
    "mandatory.";
constexpr const char* kUpdateMissing = "The Add-In for automatic updates has not been installed properly.";
constexpr const char* kLanguageButtons[Settings::kLanguageRows] = {"vn_1093", "vn_1094", "vn_1095"};

struct PageEntry {
    const char* caption;
    const char* heading;
};
constexpr PageEntry kPageEntries[Settings::kPages] = {{"General", "General settings"},
                                                      {"Slide Wizard", "Slide Wizard"},
                                                      {"My Elements", "My Elements"},
                                                      {"Shapes", "Shapes"},
                                                      {"Text", "Text"},
                                                      {"Updates", "Automatic updates"},
                                                      {"Efficiency Tools", "Efficiency Tools"}};
constexpr int kGeneralPage = 0;
constexpr int kTextPage = 4;
constexpr int kUpdatesPage = 5;
constexpr int kEfficiencyToolsPage = 6;

std::string indexed(const char* name, int index) { return std::string(name) + "(" + std::to_string(index) + ")"; }

// An update switch as stored: a number, non-zero for on; a missing or unreadable value is on.
int updateSwitch(const char* name) {
    const std::string text = getRegistry(name, "", "1");
    try {
        return toNumber(text) != 0 ? 1 : 0;
    } catch (...) {
        return 1;
    }
}

// The picture number a custom-picture button keeps in its description; 0 when there is none.
int customPictureOf(const host::CommandBarButton& button) {
    const std::string& text = button.DescriptionText();
    if (button.FaceId() > 0 || text.empty()) return 0;
    int number = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
    return ec == std::errc() && end == text.data() + text.size() && number > 0 ? number : 0;
}

std::string joined(const std::vector<std::string>& parts) {
    std::string out;
    for (const std::string& part : parts) out += (out.empty() ? "" : ";") + part;
    return out;
}

}  // namespace

Settings::Settings() : platform::Form("Settings") {
    lTitle.Caption = "Settings";
    btnSave.Caption = "&Save";
    btnSave.Default = true;
    btnClose.Caption = "&Close";
    btnClose.Cancel = true;
    btnSave.onClick = [this] { btnSave_Click(); };
    btnClose.onClick = [this] { btnClose_Click(); };

    for (int i = 0; i < kPages; ++i) {
        menuFrame[i] = std::make_unique<platform::Frame>(*this, indexed("menuFrame", i));
        menuHeading[i] = std::make_unique<platform::Label>(*this, indexed("menuHeading", i));
        menuHeading[i]->Caption = kPageEntries[i].heading;
        menuHeading[i]->Container = menuFrame[i].get();
    }
    menuLabels_.push_back(std::make_unique<platform::Label>(*this, "menuLabel(0)"));
    menuBoxes_.push_back(std::make_unique<platform::Label>(*this, "menuBox(0)"));

    cbScreensaver.Caption = "Disable screensaver while presenting";
    cbScreensaver.Container = menuFrame[kGeneralPage].get();

    lLanguages.Caption = "Show spell checking buttons for the following languages:";
    lLanguages.Container = menuFrame[kTextPage].get();
    for (int i = 0; i < kLanguageRows; ++i) {
        lngLabel[i] = std::make_unique<platform::Label>(*this, indexed("lngLabel", i));
        lngLabel[i]->Caption = "Button " + std::to_string(i + 1);
        lngDropdown[i] = std::make_unique<platform::ComboBox>(*this, indexed("lngDropdown", i));
        lngPic[i] = std::make_unique<platform::PictureBox>(*this, indexed("lngPic", i));
        lngPic[i]->Visible = false;
        for (platform::Control* c :
             {static_cast<platform::Control*>(lngLabel[i].get()), static_cast<platform::Control*>(lngDropdown[i].get()),
              static_cast<platform::Control*>(lngPic[i].get())})
            c->Container = menuFrame[kTextPage].get();
        lngDropdown[i]->onChange = [this, i] { lngDropdown_Click(i); };
    }

    cbAutoUpdateProgram.Caption = "Update program files";
    cbAutoUpdateCustomization.Caption = "Update Slide Wizard and Agenda Wizard templates";
    lAutoUpdateInfo.Caption = kUpdateNote;
    for (platform::Control* c : {static_cast<platform::Control*>(&cbAutoUpdateProgram),
                                 static_cast<platform::Control*>(&cbAutoUpdateCustomization),
                                 static_cast<platform::Control*>(&lAutoUpdateInfo)})
        c->Container = menuFrame[kUpdatesPage].get();
    cbAutoUpdateProgram.onClick = [this] { cbAutoUpdateProgram_Click(); };
    cbAutoUpdateCustomization.onClick = [this] { cbAutoUpdateCustomization_Click(); };

    lEcyInfo.Caption = "Show the following buttons in the \"Efficiency Tools\" bar";
    ecyList.Checkboxes = true;
    ecySelect.Caption = "Select all";
    for (platform::Control* c : {static_cast<platform::Control*>(&lEcyInfo), static_cast<platform::Control*>(&ecyList),
                                 static_cast<platform::Control*>(&ecySelect)})
        c->Container = menuFrame[kEfficiencyToolsPage].get();
    ecySelect.onClick = [this] { ecySelect_Click(); };
    ecySelect.onMouseMove = [this] { ecySelect_MouseMove(); };
}

platform::Label* Settings::menuLabel(int index) const {
    return index >= 0 && index < static_cast<int>(menuLabels_.size()) ? menuLabels_[index].get() : nullptr;
}

platform::Label* Settings::menuBox(int index) const {
    return index >= 0 && index < static_cast<int>(menuBoxes_.size()) ? menuBoxes_[index].get() : nullptr;
}

void Settings::addMenuItem(const std::string& caption, bool visible) {
    trap("Settings, addMenuItem", [&] {
        const int index = menuItemCount_;
        if (index >= static_cast<int>(menuLabels_.size())) {
            menuLabels_.push_back(std::make_unique<platform::Label>(*this, indexed("menuLabel", index)));
            menuBoxes_.push_back(std::make_unique<platform::Label>(*this, indexed("menuBox", index)));
        }
        platform::Label& label = *menuLabels_[index];
        platform::Label& box = *menuBoxes_[index];
        label.Visible = visible;
        label.Top = visibleMenuPosition_ * kMenuRowHeight + 60;
        label.Width = kMenuWidth;
        label.Left = kMenuLeft;
        label.Caption = caption;
        box.Visible = visible;
        box.Top = visibleMenuPosition_ * kMenuRowHeight + 56;
        box.Width = kMenuWidth;
        box.Left = kMenuLeft;
        box.Caption.clear();
        label.onClick = [this, index] { menuLabel_Click(index); };
        box.onClick = [this, index] { menuBox_Click(index); };
        label.onMouseMove = [this] { menuLabel_MouseMove(); };
        box.onMouseMove = [this] { menuBox_MouseMove(); };
        if (visible) ++visibleMenuPosition_;
        highlightMenuItem(index, visible && visibleMenuPosition_ == 1);
        ++menuItemCount_;
    });
}

void Settings::highlightMenuItem(int index, bool selected) {
    trap("Settings, highlightMenuItem", [&] {
        platform::Label* box = menuBox(index);
        platform::Label* label = menuLabel(index);
        if (!box || !label) raiseError(errSubscriptOutOfRange, "Subscript out of range");
        box->BackColor = selected ? kMenuSelected : kMenuNormal;
        label->ForeColor = selected ? kWhite : kBlack;
    });
}

void Settings::bringToFront(int page) {
    // The pages lie on top of each other: only the one in front can be seen.
    frontPage_ = page;
    for (int i = 0; i < kPages; ++i) menuFrame[i]->Visible = i == page;
}

void Settings::selectPage(int index) {
    if (index < 0 || index >= kPages) raiseError(errSubscriptOutOfRange, "Subscript out of range");
    bringToFront(index);
    for (int i = 0; i < menuItemCount_; ++i) highlightMenuItem(i, i == index);
}

void Settings::menuBox_Click(int index) {
    trap("Settings, menuBox_Click", [&] { selectPage(index); });
}

void Settings::menuLabel_Click(int index) {
    trap("Settings, menuLabel_Click", [&] { selectPage(index); });
}

void Settings::menuBox_MouseMove() {
    trap("Settings, menuBox_MouseMove", [&] { cursor = platform::IDC_HAND; });
}

void Settings::menuLabel_MouseMove() {
    trap("Settings, menuLabel_MouseMove", [&] { cursor = platform::IDC_HAND; });
}

void Settings::ecySelect_MouseMove() {
    trap("Settings, ecySelect_MouseMove", [&] { cursor = platform::IDC_HAND; });
}

void Settings::Form_Load() {
    trap("Settings, Form_Load", [&] {
        for (int i = 0; i < kPages; ++i) {
            menuFrame[i]->Left = kPageLeft;
            menuFrame[i]->Top = kPageTop;
        }
        bringToFront(kGeneralPage);
        menuItemCount_ = 0;
        visibleMenuPosition_ = 0;
        const bool barHost = isHostVersion(kCommandBarHosts);
        for (int i = 0; i < kPages; ++i) {
            const bool shown =
                i == kGeneralPage || i == kTextPage || i == kUpdatesPage || (i == kEfficiencyToolsPage && barHost);
            addMenuItem(kPageEntries[i].caption, shown);
        }
        Caption = std::string(kProductName) + " - Settings";
        cbScreensaver.setValue(state().screenSaverOff ? 1 : 0);
        for (int i = 0; i < kLanguageRows; ++i) fillLanguageRow(i);
        ecyList.listItems.clear();
        if (barHost) fillButtonList();
        updateAddIn_ = findUpdateAddIn();
        readUpdateSettings();
    });
}

void Settings::fillLanguageRow(int row) {
    platform::ComboBox& box = *lngDropdown[row];
    box.Clear();
    box.AddItem(kNoLanguageSelected);
    box.setListIndex(0);
    const std::int32_t current = currentLanguages()[static_cast<std::size_t>(row)];
    for (const Language& language : languages()) {
        box.AddItem(language.Name);
        box.itemData.back() = language.LanguageID;
        if (language.LanguageID == current) box.setListIndex(box.ListCount() - 1);
    }
}

void Settings::fillButtonList() {
    ecyList.SmallIcons = &Icons().Buttons;
    if (!state().ecyControls) return;
    // A row is ticked by the list the user chose, not by the bar: a button the bar hides for
    // another reason ("Reset custom colors" without custom colours) keeps its tick.
    const std::vector<std::string> listed = listedToolIds();
    for (const auto& button : *state().ecyControls) {
        platform::ListItem row;
        row.key = std::to_string(button->HelpContextId()) + "ID";
        row.text = button->Caption();
        row.smallIcon = customPictureOf(*button);
        row.checked = toolIdListed(listed, static_cast<int>(button->HelpContextId()));
        ecyList.listItems.push_back(std::move(row));
    }
}

void Settings::readUpdateSettings() {
    if (!updateAddIn_) {
        cbAutoUpdateProgram.setValue(0);
        cbAutoUpdateCustomization.setValue(0);
        cbAutoUpdateProgram.Enabled = false;
        cbAutoUpdateCustomization.Enabled = false;
        lAutoUpdateInfo.Caption = kUpdateMissing;
        return;
    }
    cbAutoUpdateProgram.Enabled = true;
    cbAutoUpdateCustomization.Enabled = true;
    lAutoUpdateInfo.Caption = kUpdateNote;
    cbAutoUpdateProgram.setValue(updateSwitch("autoUpdateProgram"));
    cbAutoUpdateCustomization.setValue(updateSwitch("autoUpdateCustomization"));
    // Template updates need program updates.
    if (cbAutoUpdateCustomization.Value() == 1) cbAutoUpdateProgram.setValue(1);
    if (cbAutoUpdateProgram.Value() == 0) cbAutoUpdateCustomization.setValue(0);
}

void Settings::lngDropdown_Click(int index) {
    trap("Settings, lngDropdown_Click", [&] {
        platform::ComboBox& box = *lngDropdown.at(static_cast<std::size_t>(index));
        platform::PictureBox& picture = *lngPic.at(static_cast<std::size_t>(index));
        if (box.ListIndex() < 1) {
            picture.Visible = false;
            return;
        }
        const Language& language =
            languages().Item(languageKey(box.itemData.at(static_cast<std::size_t>(box.ListIndex()))));
        createLanguageIcon(picture, language.ISO639);
        picture.Visible = true;
    });
}

void Settings::cbAutoUpdateProgram_Click() {
    trap("Settings, cbAutoUpdateProgram_Click", [&] {
        if (cbAutoUpdateProgram.Value() == 0) cbAutoUpdateCustomization.setValue(0);
    });
}

void Settings::cbAutoUpdateCustomization_Click() {
    trap("Settings, cbAutoUpdateCustomization_Click", [&] {
        if (cbAutoUpdateCustomization.Value() == 1) cbAutoUpdateProgram.setValue(1);
    });
}

void Settings::ecySelect_Click() {
    trap("Settings, ecySelect_Click", [&] {
        for (auto& row : ecyList.listItems) row.checked = true;
    });
}

void Settings::btnSave_Click() {
    trap("Settings, btnSave_Click", [&] {
        // Everything is worked out before the first value is written, so a failure leaves
        // every setting as it was.
        const bool screenSaverOff = cbScreensaver.Value() == 1;

        std::array<std::int32_t, kLanguageRows> chosen{};
        std::vector<std::string> languageIds;
        bool languagesChanged = false;
        for (int i = 0; i < kLanguageRows; ++i) {
            const platform::ComboBox& box = *lngDropdown[i];
            // The row's own item data names the language, as for its preview.
            if (box.ListIndex() > 0)
                chosen[i] = languages()
                                .Item(languageKey(box.itemData.at(static_cast<std::size_t>(box.ListIndex()))))
                                .LanguageID;
            if (chosen[i] != currentLanguages()[static_cast<std::size_t>(i)]) languagesChanged = true;
            languageIds.push_back(std::to_string(chosen[i]));
        }
        // An empty row keeps its place as "0" between two languages; empty rows at the end go.
        while (!languageIds.empty() && languageIds.back() == "0") languageIds.pop_back();

        // The button list exists on command-bar hosts only; elsewhere the choice made there stays.
        std::vector<std::pair<std::shared_ptr<host::CommandBarButton>, bool>> buttons;
        std::vector<std::string> shownIds;
        const bool writeButtons = !ecyList.listItems.empty() && state().ecyControls;
        if (writeButtons) {
            for (const auto& row : ecyList.listItems) {
                auto button = state().ecyControls->Item(row.key);
                buttons.emplace_back(button, row.checked);
                if (row.checked) shownIds.push_back(std::to_string(button->HelpContextId()));
            }
        }
        // "0" matches no button; an empty value would show every one after the next start.
        const std::string ecyControls = shownIds.empty() ? "0" : joined(shownIds);

        const bool programUpdates = cbAutoUpdateProgram.Value() == 1;
        const bool templateUpdates = cbAutoUpdateCustomization.Value() == 1;

        // In one change: a save that fails is reported once and leaves the dialog open.
        std::vector<std::pair<std::string, std::string>> values{{"screenSaverOff", screenSaverOff ? "1" : "0"},
                                                                {"languages", joined(languageIds)}};
        if (writeButtons) values.emplace_back("ecyControls", ecyControls);
        if (updateAddIn_) {
            values.emplace_back("autoUpdateProgram", programUpdates ? "1" : "0");
            values.emplace_back("autoUpdateCustomization", templateUpdates ? "1" : "0");
        }
        setRegistryValues(values);

        // The live state follows.
        state().screenSaverOff = screenSaverOff;
        if (!screenSaverOff && iconsLoaded()) Icons().screensaverTimer.setEnabled(false);
        for (int i = 0; i < kLanguageRows; ++i) {
            currentLanguages()[static_cast<std::size_t>(i)] = chosen[i];
            Icons().lngPic(i).picture = chosen[i] != 0 ? lngPic[i]->picture : nullptr;
        }
        if (isHostVersion(kRibbonHosts)) {
            if (state().ribbon)
                for (const char* id : kLanguageButtons) state().ribbon->InvalidateControl(id);
        } else if (languagesChanged) {
            platform::MsgBox("The language settings will take effect after restarting PowerPoint.",
                             platform::vbInformation, kProductName);
        }
        for (const auto& [button, shown] : buttons) button->setVisible(shownOnBar(button->Parameter(), shown));
        if (updateAddIn_ && updateAddIn_->Connect() != programUpdates) updateAddIn_->setConnect(programUpdates);
        Unload();
    });
}

void Settings::btnClose_Click() {
    trap("Settings, btnClose_Click", [&] { Unload(); });
}

void showSettingsDialog() {
    Settings settings;
    settings.Show(true);
    settings.Unload();
}

}  // namespace plorin
