// The settings dialog on a ribbon host ("14.0") and on a command-bar host ("11.0"): what it
// shows when it loads, what its pages do, and what a save writes and changes at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core/languages.h"
#include "core/registry.h"
#include "settings/settings_dialog.h"
#include "tests/addin/host_events_fixture.h"
#include "tools/efficiency_tools.h"

namespace {

class RibbonRecorder : public host::IRibbonUI {
public:
    std::vector<std::string> invalidated;
    void Invalidate() override { invalidated.push_back("*"); }
    void InvalidateControl(const std::string& id) override { invalidated.push_back(id); }
};

class QuietAddIn : public host::AddIn {
public:
    void OnConnection(host::HostObject&, int, host::COMAddIn*) override {}
    void OnDisconnection(int) override {}
    void OnAddInsUpdate() override {}
    void OnStartupComplete() override {}
    void OnBeginShutdown() override {}
};

class SettingsDialog : public testing_core::EventsFixture {
protected:
    void TearDown() override {
        dialog.reset();
        plorin::currentLanguages() = {0, 0, 0};
        EventsFixture::TearDown();
    }

    // The host with the add-in's languages read from the settings as at start-up.
    void start(const std::string& version) {
        connect(version);
        plorin::state().ribbon = &recorder;
        plorin::initializeLanguages();
    }
    host::COMAddIn& installUpdater(bool connected) {
        auto& entry =
            app->COMAddIns().add("plorinrenew.Connect", "updates", [] { return std::make_unique<QuietAddIn>(); });
        entry.setConnect(connected);
        return entry;
    }
    plorin::Settings& load() {
        dialog = std::make_unique<plorin::Settings>();
        dialog->Load();
        return *dialog;
    }
    void save() {
        ASSERT_TRUE(platform::driver::click(*dialog, "btnSave"));
        EXPECT_FALSE(dialog->loaded());
    }
    void page(int index) { ASSERT_TRUE(platform::driver::click(*dialog, "menuLabel(" + std::to_string(index) + ")")); }
    void chooseLanguage(int row, const std::string& name) {
        page(4);
        ASSERT_TRUE(platform::driver::choose(*dialog, "lngDropdown(" + std::to_string(row) + ")", name));
    }
    std::string setting(const char* name) { return plorin::getRegistry(name, "", "(missing)"); }
    void expectNoErrors() {
        for (auto& r : plorin::reportedErrors()) ADD_FAILURE() << r.location << ": " << r.error.Description;
    }
    std::vector<std::string> shownButtonIds() {
        std::vector<std::string> out;
        for (const auto& b : plorin::addInState().controls->ecyControls)
            if (b->Visible()) out.push_back(std::to_string(b->HelpContextId()));
        return out;
    }
    // The add-in's bars built again from the settings, as at the next start.
    void restartBars() {
        plorin::addInState().controls->DeleteControls();
        plorin::addInState().controls->CreateControls();
    }

    RibbonRecorder recorder;
    std::unique_ptr<plorin::Settings> dialog;
};

// ---- Loading ---------------------------------------------------------------------------------

TEST_F(SettingsDialog, LoadsTheMenuWithItsPagesAndTheDefaultLanguages) {
    start("14.0");
    auto& d = load();
    expectNoErrors();
    // Shown entries stack 25 pixels apart; hidden ones take no row. "General" is selected.
    EXPECT_EQ(d.menuItemCount(), 7);
    for (int hidden : {1, 2, 3, 6}) EXPECT_FALSE(d.menuLabel(hidden)->Visible) << hidden;
    EXPECT_EQ(d.menuLabel(5)->Top, 110);
    EXPECT_EQ(d.menuBox(0)->BackColor, 0x00262AC0u);
    EXPECT_EQ(d.menuBox(4)->BackColor, 0x00E0E0E0u);

    // The default setting: English US and German, then no language and no preview.
    EXPECT_EQ(d.lngDropdown[0]->Text(), "English US");
    EXPECT_EQ(d.lngDropdown[1]->Text(), "German");
    EXPECT_EQ(d.lngDropdown[2]->Text(), plorin::kNoLanguageSelected);
    EXPECT_TRUE(d.lngPic[1]->Visible && d.lngPic[1]->picture);
    EXPECT_FALSE(d.lngPic[2]->Visible);

    // A second opening of the same form builds the same menu and lists again.
    d.Unload();
    d.Load();
    EXPECT_EQ(d.menuItemCount(), 7);
    EXPECT_EQ(d.menuLabel(5)->Top, 110);
    EXPECT_EQ(d.lngDropdown[0]->ListCount(), plorin::languages().Count() + 1);
    expectNoErrors();
}

TEST_F(SettingsDialog, TheMenuBringsItsPageToTheFrontAndOnlyThatPageCanBeWorked) {
    start("14.0");
    auto& d = load();
    // The text page is behind the general page: its lists cannot be reached yet.
    EXPECT_FALSE(platform::driver::choose(d, "lngDropdown(0)", "French"));
    page(4);
    EXPECT_EQ(d.frontPage(), 4);
    EXPECT_EQ(d.menuBox(4)->BackColor, 0x00262AC0u);
    EXPECT_EQ(d.menuBox(0)->BackColor, 0x00E0E0E0u);
    EXPECT_EQ(d.menuLabel(0)->ForeColor, 0u);
    EXPECT_TRUE(platform::driver::choose(d, "lngDropdown(0)", "French"));
    EXPECT_FALSE(platform::driver::check(d, "cbScreensaver", 1));
    ASSERT_TRUE(platform::driver::click(d, "menuBox(0)"));
    EXPECT_EQ(d.frontPage(), 0);
    EXPECT_TRUE(platform::driver::check(d, "cbScreensaver", 1));
    // The hidden entries cannot be clicked; hovering the menu shows the hand.
    EXPECT_FALSE(platform::driver::click(d, "menuLabel(1)"));
    d.cursor = 0;
    d.menuLabel(5)->mouseMove();
    EXPECT_EQ(d.cursor, platform::IDC_HAND);
}

// ---- Saving ------------------------------------------------------------------------------------

TEST_F(SettingsDialog, LoadThenSaveWritesTheSameFiveValues) {
    plorin::setRegistry("screenSaverOff", "1", "");
    plorin::setRegistry("languages", "1036;1040", "");
    plorin::setRegistry("ecyControls", "1100;1180", "");
    plorin::setRegistry("autoUpdateProgram", "1", "");
    plorin::setRegistry("autoUpdateCustomization", "0", "");
    start("11.0");
    plorin::state().screenSaverOff = true;
    installUpdater(true);
    load();
    save();
    expectNoErrors();
    EXPECT_EQ(setting("screenSaverOff"), "1");
    EXPECT_EQ(setting("languages"), "1036;1040");
    EXPECT_EQ(setting("ecyControls"), "1100;1180");
    EXPECT_EQ(setting("autoUpdateProgram"), "1");
    EXPECT_EQ(setting("autoUpdateCustomization"), "0");
    // Nothing changed: no restart notice.
    EXPECT_TRUE(driver.messages.empty());
}

TEST_F(SettingsDialog, TheScreensaverFlagFollowsAtOnce) {
    start("14.0");
    auto& d = load();
    ASSERT_TRUE(platform::driver::check(d, "cbScreensaver", 1));
    save();
    EXPECT_EQ(setting("screenSaverOff"), "1");
    EXPECT_TRUE(plorin::state().screenSaverOff);

    // Switched off during a show, the timer that keeps the screensaver away stops.
    plorin::Icons().screensaverTimer.setEnabled(true);
    load();
    ASSERT_TRUE(platform::driver::check(*dialog, "cbScreensaver", 0));
    save();
    EXPECT_EQ(setting("screenSaverOff"), "0");
    EXPECT_FALSE(plorin::state().screenSaverOff);
    EXPECT_FALSE(plorin::Icons().screensaverTimer.isEnabled());
}

TEST_F(SettingsDialog, LanguagesWithAnEmptyRowBetweenGoToTheSlotsAndTheRibbonAtOnce) {
    start("14.0");
    load();
    chooseLanguage(0, "German");
    chooseLanguage(1, plorin::kNoLanguageSelected);
    chooseLanguage(2, "French");
    EXPECT_FALSE(dialog->lngPic[1]->Visible);
    EXPECT_TRUE(dialog->lngPic[2]->Visible);
    save();
    expectNoErrors();
    // The empty row is kept as "0", so the next start puts French on the third button again.
    EXPECT_EQ(setting("languages"), "1031;0;1036");
    EXPECT_EQ(plorin::currentLanguages(), (std::array<std::int32_t, 3>{1031, 0, 1036}));
    plorin::initializeLanguages();
    EXPECT_EQ(plorin::currentLanguages(), (std::array<std::int32_t, 3>{1031, 0, 1036}));
    expectNoErrors();
    EXPECT_EQ(plorin::Icons().lngPic(0).picture->source, "language icon DE");
    EXPECT_FALSE(plorin::Icons().lngPic(1).picture);
    EXPECT_EQ(plorin::Icons().lngPic(2).picture->source, "language icon FR");
    EXPECT_EQ(recorder.invalidated, (std::vector<std::string>{"vn_1093", "vn_1094", "vn_1095"}));
    // Ribbon hosts show the change at once: no restart notice.
    EXPECT_TRUE(driver.messages.empty());
}

TEST_F(SettingsDialog, ARowSavesTheLanguageItShowsWhateverItsPosition) {
    start("14.0");
    auto& d = load();
    // A list that no longer mirrors the table position for position.
    d.lngDropdown[0]->RemoveItem(1);
    d.lngDropdown[0]->RemoveItem(1);
    chooseLanguage(0, "Italian");
    save();
    EXPECT_EQ(setting("languages"), "1040;1031");
    EXPECT_EQ(plorin::currentLanguages()[0], 1040);
}

// ---- The button chooser ------------------------------------------------------------------------

TEST_F(SettingsDialog, TheButtonListMirrorsTheBarsCustomisableButtons) {
    plorin::setRegistry("ecyControls", "1100;1180", "");
    start("11.0");
    auto& d = load();
    EXPECT_TRUE(d.menuLabel(6)->Visible);
    const auto& buttons = plorin::addInState().controls->ecyControls;
    ASSERT_EQ(static_cast<int>(d.ecyList.listItems.size()), buttons.Count());
    int withPicture = 0, checked = 0;
    for (int i = 1; i <= buttons.Count(); ++i) {
        const auto& row = d.ecyList.listItems[static_cast<std::size_t>(i - 1)];
        EXPECT_EQ(row.key, buttons.KeyOf(i));
        EXPECT_EQ(row.smallIcon, buttons.Item(i)->FaceId() <= 0 ? buttons.Item(i)->Picture() : 0) << row.text;
        withPicture += row.smallIcon > 0;
        checked += row.checked;
    }
    EXPECT_GT(withPicture, 0);
    EXPECT_EQ(checked, 2);
}

TEST_F(SettingsDialog, UncheckingEveryButtonStaysNoneAfterARestart) {
    start("11.0");
    auto& d = load();
    page(6);
    for (const auto& row : std::vector<platform::ListItem>(d.ecyList.listItems))
        ASSERT_TRUE(platform::driver::checkItem(d, "ecyList", row.text, false));
    save();
    expectNoErrors();
    EXPECT_EQ(setting("ecyControls"), "0");
    EXPECT_TRUE(shownButtonIds().empty());
    restartBars();
    EXPECT_TRUE(shownButtonIds().empty());

    // "Select all" lists every tool id, which shows every button again, now and later.
    load();
    page(6);
    ASSERT_TRUE(platform::driver::click(*dialog, "ecySelect"));
    ASSERT_TRUE(platform::driver::checkItem(*dialog, "ecyList", "Switch objects", false));
    save();
    // Every row is in the list, "Reset custom colors" too although the bar hides it while no
    // custom colours are configured: the setting keeps it, so it shows once they are.
    const auto& buttons = plorin::addInState().controls->ecyControls;
    ASSERT_EQ(static_cast<int>(dialog->ecyList.listItems.size()), buttons.Count());
    std::string expected;
    for (const auto& b : buttons)
        if (b->HelpContextId() != 1170) expected += (expected.empty() ? "" : ";") + std::to_string(b->HelpContextId());
    EXPECT_NE(expected.find("1244"), std::string::npos);
    EXPECT_EQ(setting("ecyControls"), expected);
    auto shown = shownButtonIds();
    EXPECT_EQ(shown.size(), static_cast<std::size_t>(buttons.Count() - 2));
    EXPECT_EQ(std::find(shown.begin(), shown.end(), "1244"), shown.end());
    restartBars();
    EXPECT_EQ(shownButtonIds(), shown);
    plorin::setRegistry("customColors", "#FF0000", "");
    restartBars();
    EXPECT_EQ(shownButtonIds().size(), static_cast<std::size_t>(buttons.Count() - 1));
}

TEST_F(SettingsDialog, ARibbonHostLeavesTheBarHostsButtonChoiceAlone) {
    plorin::setRegistry("ecyControls", "1100;1180", "");
    start("14.0");
    auto& d = load();
    EXPECT_TRUE(d.ecyList.listItems.empty());
    EXPECT_FALSE(platform::driver::click(d, "menuLabel(6)"));
    save();
    expectNoErrors();
    EXPECT_EQ(setting("ecyControls"), "1100;1180");
}

TEST_F(SettingsDialog, OnABarHostEmptyLanguagesAndNoButtonsStillWriteEveryValue) {
    start("11.0");
    installUpdater(false);
    driver.messageAnswers = {platform::vbOK};
    auto& d = load();
    for (int row = 0; row < 3; ++row) chooseLanguage(row, plorin::kNoLanguageSelected);
    for (auto& row : d.ecyList.listItems) row.checked = false;
    save();
    expectNoErrors();
    EXPECT_EQ(setting("screenSaverOff"), "0");
    EXPECT_EQ(setting("languages"), "");
    EXPECT_EQ(setting("ecyControls"), "0");
    EXPECT_EQ(setting("autoUpdateProgram"), "1");
    EXPECT_EQ(setting("autoUpdateCustomization"), "1");
    EXPECT_EQ(plorin::currentLanguages(), (std::array<std::int32_t, 3>{0, 0, 0}));
    // Bar hosts take new languages at the next start, and say so.
    ASSERT_EQ(driver.messages.size(), 1u);
    EXPECT_EQ(driver.messages[0].text, "The language settings will take effect after restarting PowerPoint.");
    EXPECT_EQ(driver.messages[0].style, platform::vbInformation);
    EXPECT_TRUE(recorder.invalidated.empty());
    // Saved again unchanged: no notice.
    load();
    save();
    EXPECT_EQ(driver.messages.size(), 1u);
}

// ---- Updates -----------------------------------------------------------------------------------

TEST_F(SettingsDialog, TheUpdateSwitchesAreCoupledAndSwitchTheUpdateAddIn) {
    // Templates without program files is no state the dialog shows.
    plorin::setRegistry("autoUpdateProgram", "0", "");
    plorin::setRegistry("autoUpdateCustomization", "1", "");
    start("14.0");
    auto& updater = installUpdater(false);
    auto& d = load();
    EXPECT_EQ(d.updateAddIn(), &updater);
    EXPECT_EQ(d.cbAutoUpdateProgram.Value(), 1);
    EXPECT_EQ(d.cbAutoUpdateCustomization.Value(), 1);
    page(5);
    ASSERT_TRUE(platform::driver::check(d, "cbAutoUpdateProgram", 0));
    EXPECT_EQ(d.cbAutoUpdateCustomization.Value(), 0);
    ASSERT_TRUE(platform::driver::check(d, "cbAutoUpdateCustomization", 1));
    EXPECT_EQ(d.cbAutoUpdateProgram.Value(), 1);
    save();
    EXPECT_EQ(setting("autoUpdateProgram"), "1");
    EXPECT_EQ(setting("autoUpdateCustomization"), "1");
    EXPECT_TRUE(updater.Connect());

    load();
    page(5);
    ASSERT_TRUE(platform::driver::click(*dialog, "cbAutoUpdateProgram"));
    save();
    expectNoErrors();
    EXPECT_EQ(setting("autoUpdateProgram"), "0");
    EXPECT_EQ(setting("autoUpdateCustomization"), "0");
    EXPECT_FALSE(updater.Connect());
}

TEST_F(SettingsDialog, WithoutTheUpdateAddInTheSwitchesAreOffDisabledAndTheirValuesUntouched) {
    plorin::setRegistry("autoUpdateProgram", "1", "");
    start("14.0");
    auto& d = load();
    EXPECT_EQ(d.updateAddIn(), nullptr);
    EXPECT_EQ(d.cbAutoUpdateProgram.Value(), 0);
    EXPECT_EQ(d.cbAutoUpdateCustomization.Value(), 0);
    page(5);
    EXPECT_FALSE(platform::driver::check(d, "cbAutoUpdateProgram", 1));
    EXPECT_FALSE(platform::driver::check(d, "cbAutoUpdateCustomization", 1));
    EXPECT_EQ(d.lAutoUpdateInfo.Caption, "The Add-In for automatic updates has not been installed properly.");
    save();
    expectNoErrors();
    EXPECT_EQ(setting("autoUpdateProgram"), "1");
    EXPECT_EQ(setting("autoUpdateCustomization"), "(missing)");
}

// ---- Opening from both front ends ----------------------------------------------------------------

TEST_F(SettingsDialog, TheBarsSettingsEntryOpensTheDialogAndCloseWritesNothing) {
    start("11.0");
    plorin::addInState().tools = std::make_unique<plorin::EfficiencyTools>();
    driver.queueForm("Settings", [](platform::Form& form) { platform::driver::click(form, "btnClose"); });
    auto bar = app->CommandBars().Item(plorin::kEfficiencyToolsBar);
    auto& tools = dynamic_cast<host::CommandBarPopup&>(*bar->Controls().Item(plorin::kToolsPopup));
    app->CommandBars().click(dynamic_cast<host::CommandBarButton&>(*tools.Controls().Item("Settings")));
    plorin::addInState().tools.reset();
    expectNoErrors();
    EXPECT_EQ(driver.modalForms, std::vector<std::string>{"Settings"});
    EXPECT_EQ(setting("screenSaverOff"), "(missing)");
    EXPECT_EQ(setting("ecyControls"), "(missing)");
}

}  // namespace
