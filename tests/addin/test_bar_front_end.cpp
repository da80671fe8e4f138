// The three command bars on a host "11.0": what they hold, which customisable buttons show,
// what their clicks reach and count, and how they go at shut-down.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "addin/named_commands.h"
#include "addin/ribbon_dispatch.h"
#include "core/folder_layout.h"
#include "core/help_topics.h"
#include "core/icons.h"
#include "core/languages.h"
#include "core/registry.h"
#include "libraries/menu_file.h"
#include "platform/text.h"
#include "tests/addin/command_bar_fixture.h"
#include "tests/support/file_reading.h"
#include "tools/efficiency_tools.h"

using namespace host;
using testing_core::CommandBarHost;

namespace {

TEST_F(CommandBarHost, TheThreeBarsAreBuiltTemporaryAndShownWithTheirControls) {
    ASSERT_EQ(app->CommandBars().Count(), 3);
    for (const char* name : {plorin::kEfficiencyToolsBar, plorin::kSlideWizardBar, plorin::kShortcutsBar}) {
        auto b = bar(name);
        EXPECT_TRUE(b->Visible()) << name;
        EXPECT_TRUE(b->Temporary()) << name;
        // The about button comes first and carries the bar's name.
        auto& about = dynamic_cast<CommandBarButton&>(*b->Controls().Item(1));
        EXPECT_EQ(about.Caption(), name);
        EXPECT_EQ(about.Parameter(), "!about");
        EXPECT_EQ(about.HelpContextId(), 1000);
        EXPECT_EQ(about.Picture(), 1);
    }
    auto& eff = bar(plorin::kEfficiencyToolsBar)->Controls();
    // Without chosen languages: 34 buttons and built-in controls, then the two popups.
    ASSERT_EQ(eff.Count(), 36);
    EXPECT_EQ(eff.Item(8)->Id(), 408);
    EXPECT_TRUE(eff.Item(8)->BeginGroup());
    EXPECT_EQ(eff.Item(9)->Id(), 465);
    EXPECT_EQ(eff.Item(35)->Caption(), "Tools");
    EXPECT_TRUE(eff.Item(35)->BeginGroup());
    EXPECT_EQ(eff.Item(36)->Caption(), "Help");
    auto& fit = dynamic_cast<CommandBarButton&>(*eff.Item("Fit AutoShape to text"));
    EXPECT_EQ(fit.HelpContextId(), 1180);
    EXPECT_EQ(fit.Picture(), 29);
    EXPECT_EQ(fit.Mask(), 29);
    EXPECT_EQ(fit.DescriptionText(), "29");
    EXPECT_EQ(fit.TooltipText(), "Fit AutoShape to text");
    EXPECT_TRUE(fit.BeginGroup());

    // "Reset custom colors" is always there (the settings dialog lists it) but only shows up
    // with custom colours stored.
    EXPECT_EQ(popup(plorin::kEfficiencyToolsBar, "Tools").Count(), 19);
    EXPECT_FALSE(entry("Tools", "Reset custom colors").Visible());
    EXPECT_EQ(entry("Tools", "Settings").FaceId(), 855);
    EXPECT_EQ(entry("Tools", "Settings").Parameter(), "!showSettings");
    EXPECT_EQ(entry("Tools", "Agenda Wizard").HelpContextId(), 1236);
    plorin::setRegistry("customColors", "255;65280", "");
    rebuild();
    EXPECT_EQ(entry("Tools", "Reset custom colors").HelpContextId(), 1244);
    EXPECT_TRUE(entry("Tools", "Reset custom colors").Visible());

    auto& help = popup(plorin::kEfficiencyToolsBar, "Help");
    ASSERT_EQ(help.Count(), 7);
    EXPECT_EQ(help.Item(4)->Caption(), "Varnotel web site");
    EXPECT_EQ(help.Item(4)->Parameter(), "!homepage");
    EXPECT_TRUE(help.Item(3)->BeginGroup());
    EXPECT_EQ(help.Item(7)->Caption(), "Info");

    const std::vector<std::pair<int, bool>> shortcuts = {
        {1402, false}, {164, true},   {165, false},  {166, true},  {167, false}, {170, false}, {171, false},
        {196, true},   {197, false},  {199, false},  {198, false}, {206, true},  {1042, true}, {1043, false},
        {2061, true},  {2062, false}, {2063, false}, {2710, true}, {58, true},   {57, false}};
    auto& sc = bar(plorin::kShortcutsBar)->Controls();
    ASSERT_EQ(sc.Count(), 21);
    for (std::size_t i = 0; i < shortcuts.size(); ++i) {
        EXPECT_EQ(sc.Item(static_cast<int>(i) + 2)->Id(), shortcuts[i].first);
        EXPECT_EQ(sc.Item(static_cast<int>(i) + 2)->BeginGroup(), shortcuts[i].second) << shortcuts[i].first;
    }
}

TEST_F(CommandBarHost, EveryEfficiencyToolsButtonNamesACommandTheRibbonOrTheToolsKnow) {
    plorin::setRegistry("customColors", "1", "");
    rebuild();
    // Commands only the bars run (the ribbon has toggle buttons or no control for them).
    const std::vector<std::string> barOnly = {"adjustAutoShapeToText", "wrapText", "reference"};
    auto known = [&](const std::string& name) {
        if (plorin::commandExists(name)) return true;
        for (const auto& row : plorin::dispatchTable())
            if (row.target == plorin::CommandTarget::tools && platform::equalsNoCase(row.command, name)) return true;
        return std::find(barOnly.begin(), barOnly.end(), name) != barOnly.end();
    };
    auto check = [&](const CommandBarControl& c) {
        if (c.Type() != msoControlButton || c.Id() != 1) return;
        std::string name = c.Parameter();
        if (!name.empty() && name[0] == '!') name.erase(0, 1);
        name = name.substr(0, name.find(' '));
        EXPECT_TRUE(known(name)) << c.Caption() << " -> " << name;
        EXPECT_EQ(c.Tag(), plorin::kEfficiencyToolsTag) << c.Caption();
    };
    for (const auto& c : bar(plorin::kEfficiencyToolsBar)->Controls().all()) {
        check(*c);
        if (auto* p = dynamic_cast<CommandBarPopup*>(c.get()))
            for (const auto& e : p->Controls().all()) check(*e);
    }
    EXPECT_EQ(controls().ecyControls.Count(), 47);
    EXPECT_EQ(controls().ecyControls.Item("1180ID")->Caption(), "Fit AutoShape to text");
}

TEST_F(CommandBarHost, TheSettingListsTheCustomisableButtonsThatShow) {
    EXPECT_EQ(shownCustomisable().size(), 46u);  // empty setting: all

    plorin::setRegistry("ecyControls", "1100;1180", "");
    rebuild();
    EXPECT_EQ(shownCustomisable(), (std::vector<std::string>{"Align left to master left", "Fit AutoShape to text"}));
    // The controls that are not customisable always show.
    EXPECT_TRUE(entry("Tools", "Agenda Wizard").Visible());
    EXPECT_TRUE(entry("Tools", "Settings").Visible());
    EXPECT_TRUE(entry("Help", "FAQ").Visible());
    EXPECT_TRUE(bar(plorin::kEfficiencyToolsBar)->Controls().Item(1)->Visible());

    plorin::setRegistry("ecyControls", "0", "");
    rebuild();
    EXPECT_TRUE(shownCustomisable().empty());

    // Malformed entries match nothing and are no error; blanks around a number are fine.
    plorin::setRegistry("ecyControls", "abc; 1101 ;12x;;1e3;99999999999999999999", "");
    rebuild();
    EXPECT_EQ(shownCustomisable(), std::vector<std::string>{"Align center to master center"});
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(CommandBarHost, ClicksReachTheirCommandAndCountTheirFamily) {
    openDeck(1);
    auto a = addShape(msoShapeRectangle);
    auto b = addShape(msoShapeRectangle);
    b->setLeft(300);
    window().selectShapes({a, b});
    app->CommandBars().click(button("Align left to master left"));
    EXPECT_FLOAT_EQ(b->Left(), a->Left());
    for (auto& r : plorin::reportedErrors()) ADD_FAILURE() << r.location << ": " << r.error.Description;
    EXPECT_EQ(setting("statsEfficiencyTools"), "1");

    // "!" counts nothing.
    driver.queueForm("Settings", [](platform::Form& form) { platform::driver::click(form, "btnClose"); });
    app->CommandBars().click(entry("Tools", "Settings"));
    EXPECT_EQ(driver.modalForms, std::vector<std::string>{"Settings"});
    EXPECT_EQ(setting("statsEfficiencyTools"), "1");
    EXPECT_EQ(setting("statsAgendaWizard"), "");
    app->CommandBars().click(entry("Tools", "Agenda Wizard"));
    EXPECT_EQ(setting("statsAgendaWizard"), "1");
    EXPECT_EQ(setting("statsEfficiencyTools"), "1");
}

TEST_F(CommandBarHost, AButtonTheSelectionDisabledDoesNothingAfterTheRefresh) {
    openDeck(1);
    window().selectShapes({addShape(msoShapeRectangle)});
    button("Align left to master left").setEnabled(true);  // stale: one shape only
    app->CommandBars().click(button("Align left to master left"));
    EXPECT_FALSE(button("Align left to master left").Enabled());
    EXPECT_EQ(setting("statsEfficiencyTools"), "");
}

TEST_F(CommandBarHost, InHelpModeAClickOpensTheHelpTopicOfItsToolId) {
    plorin::state().helpMode = true;
    // Without the help page: a plain message naming it, no error report, nothing opened.
    driver.messageAnswers.push_back(platform::vbOK);
    app->CommandBars().click(button("Switch objects"));
    ASSERT_EQ(driver.messages.size(), 1u);
    EXPECT_NE(driver.messages[0].text.find(root + "program/help/index.html"), std::string::npos);
    EXPECT_TRUE(shell.record.opened.empty());
    EXPECT_TRUE(plorin::reportedErrors().empty());

    writeFile(root + "program/help/index.html", "<h3 id=\"switch-objects\">Switch objects</h3>");
    app->CommandBars().click(button("Switch objects"));
    EXPECT_EQ(shell.record.opened,
              std::vector<std::string>{"file://" + root + "program/help/index.html#switch-objects"});
    EXPECT_EQ(setting("statsEfficiencyTools"), "");
}

TEST_F(CommandBarHost, EveryHelpContextIdOfTheBarsHasASectionOfTheInstalledHelpPage) {
    const std::string page =
        test_support::readFile(plorin::helpPagePath(std::string(VARNOTEL_SOURCE_DIR) + "/install/program/"));
    ASSERT_FALSE(page.empty());
    std::vector<int> ids = {1000};  // the reference itself
    for (const plorin::BarEntry& e : plorin::efficiencyToolsContents())
        if (e.toolId > 0) ids.push_back(e.toolId);
    for (int id : ids) {
        const auto topic = std::find_if(plorin::helpTopics().begin(), plorin::helpTopics().end(),
                                        [&](const plorin::HelpTopic& t) { return t.contextId == id; });
        ASSERT_NE(topic, plorin::helpTopics().end()) << id;
        EXPECT_NE(page.find(std::string("id=\"") + topic->anchor + "\""), std::string::npos) << topic->anchor;
    }
    EXPECT_EQ(plorin::helpAnchor(0), "contents");
    // Blanks and "#" in folder names cannot cut the address short.
    EXPECT_EQ(plorin::fileAddress("/opt/My #1/index.html", "margins"), "file:///opt/My%20%231/index.html#margins");
}

TEST_F(CommandBarHost, EnableControlsSwitchesOnTheBarAndToolsButLeavesHelp) {
    setAllEnabled(false);
    entry("Help", "FAQ").setEnabled(false);
    controls().enableControls();
    EXPECT_TRUE(enabled(plorin::Toggle::Shape));
    EXPECT_TRUE(enabled(plorin::Toggle::Slides));
    EXPECT_FALSE(entry("Help", "FAQ").Enabled());
}

TEST_F(CommandBarHost, LanguageButtonsFollowTheChosenSlots) {
    plorin::initializeLanguages();
    plorin::currentLanguages() = {1033, 0, 1031};
    rebuild();
    auto& eff = bar(plorin::kEfficiencyToolsBar)->Controls();
    ASSERT_EQ(eff.Count(), 38);
    EXPECT_EQ(eff.Item(35)->Parameter(), "setLanguage 1033");
    EXPECT_TRUE(eff.Item(35)->BeginGroup());
    EXPECT_EQ(eff.Item(36)->Parameter(), "setLanguage 1031");
    EXPECT_FALSE(eff.Item(36)->BeginGroup());
    EXPECT_EQ(eff.Item(36)->HelpContextId(), 1200);
    EXPECT_NE(eff.Item(36)->Caption().find(" spell checking for selected slides or shapes"), std::string::npos);
}

TEST_F(CommandBarHost, CopyrightLinesBecomeEntriesNumberedLikeTheRibbons) {
    EXPECT_THROW(bar(plorin::kSlideWizardBar)->Controls().Item("Copyright"), HostError);  // no file

    writeFile(plorin::state().layout.customization + "copyright.txt", "# comment\n\n   \n#\n");
    rebuild();
    EXPECT_THROW(bar(plorin::kSlideWizardBar)->Controls().Item("Copyright"), HostError);

    writeFile(plorin::state().layout.customization + "copyright.txt",
              "#header\n(c) First\n\n  Second # inside\r\n  # indented\nThird\n");
    rebuild();
    auto& c = popup(plorin::kSlideWizardBar, "Copyright");
    ASSERT_EQ(c.Count(), 4);
    // The ribbon numbers the same notices the same way.
    plorin::loadCopyrightLines();
    ASSERT_EQ(plorin::state().copyrightLines.Count(), 4);
    EXPECT_EQ(plorin::state().copyrightLines.Item(4), "Third");
    EXPECT_EQ(c.Item(4)->Caption(), "Third");
    EXPECT_EQ(c.Item(4)->Parameter(), "insertCopyright 4");
    EXPECT_EQ(c.Item(2)->Caption(), "  Second # inside");
    EXPECT_EQ(c.Item(2)->Parameter(), "insertCopyright 2");
    auto& wiz = bar(plorin::kSlideWizardBar)->Controls();
    EXPECT_EQ(wiz.Item(wiz.Count())->Caption(), "My Elements");
}

TEST_F(CommandBarHost, ShutDownDeletesEveryBarItBuiltEvenWhenOneIsGone) {
    bar(plorin::kSlideWizardBar)->Delete();  // by the user
    controls().DeleteControls();
    EXPECT_EQ(app->CommandBars().Count(), 0);
    EXPECT_EQ(reportedLocations(),
              (std::vector<std::string>{"pptControls, saveCmdBarPosition", "pptControls, DeleteControls"}));
    EXPECT_TRUE(controls().toolbars().empty());
}

TEST_F(CommandBarHost, ABarLeftByAnEarlierConnectionIsNeitherRebuiltNorTakenOver) {
    plorin::pptControls second;
    second.setPowerPointApp(app.get());
    second.CreateControls();
    EXPECT_TRUE(second.toolbars().empty());
    EXPECT_EQ(app->CommandBars().Count(), 3);
    second.DeleteControls();
    EXPECT_EQ(app->CommandBars().Count(), 3);
}

TEST_F(CommandBarHost, TheStyleDropDownHoldsThePlaceholderWithoutStyles) {
    // A menu file without styles: nothing to choose, so the drop-down hides.
    auto* d = controls().styleDropdown();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->ListCount(), 1);
    EXPECT_EQ(d->Text(), "[No style selected]");
    EXPECT_FALSE(d->Visible());
    controls().setStyle("Anything");
    EXPECT_EQ(d->ListIndex(), 1);
    EXPECT_EQ(plorin::state().currentStyle, "");

    // No menu file: the message, and the placeholder stays visible without the style settings.
    std::filesystem::remove(root + "customization/menu.xml");
    driver.messageAnswers.push_back(platform::vbOK);
    rebuild();
    d = controls().styleDropdown();
    ASSERT_EQ(driver.messages.size(), 1u);
    EXPECT_EQ(driver.messages[0].text.rfind("The menu configuration file \r\n\r\n", 0), 0u) << driver.messages[0].text;
    EXPECT_EQ(d->ListCount(), 1);
    EXPECT_TRUE(d->Visible());
    EXPECT_EQ(d->Width(), 0);
    EXPECT_TRUE(plorin::reportedErrors().empty());

    // One style: selected, and still nothing to choose.
    writeMenuFile(R"(<style name="Only" folder="only"/>)");
    rebuild();
    d = controls().styleDropdown();
    EXPECT_EQ(d->ListCount(), 2);
    EXPECT_EQ(d->Text(), "Only");
    EXPECT_FALSE(d->Visible());
    EXPECT_EQ(d->TooltipText(), "Specify style of elements to be inserted");
}

TEST_F(CommandBarHost, StyleChoiceAndPresentationTagFollowEachOther) {
    auto& s = plorin::state();
    writeMenuFile(R"(<style name="Blue" folder="blue"/><style name="Green" folder="green"/>)");
    rebuild();
    auto* d = controls().styleDropdown();
    ASSERT_EQ(d->ListCount(), 3);
    EXPECT_EQ(d->Text(), "Blue");
    EXPECT_TRUE(d->Visible());

    d->userSelect(3);  // no presentation: only the drop-down changes
    EXPECT_EQ(s.currentStyle, "Blue");

    auto deck = openDeck(1);
    d->userSelect(3);
    EXPECT_EQ(s.currentStyle, "Green");
    EXPECT_EQ(deck->Tags().Item("plorin_style"), "Green");
    d->userSelect(1);
    EXPECT_EQ(s.currentStyle, "");
    EXPECT_EQ(deck->Tags().Item("plorin_style"), "");

    controls().setStyle("Green");
    EXPECT_EQ(d->Text(), "Green");
    controls().setStyle("Unknown");
    EXPECT_EQ(d->Text(), "Blue");
    EXPECT_EQ(s.currentStyle, "Blue");
}

TEST_F(CommandBarHost, SwitchingPresentationsShowsEachOnesStyle) {
    auto& s = plorin::state();
    writeMenuFile(R"(<style name="Blue" folder="blue"/><style name="Green" folder="green"/>)");
    rebuild();
    auto* d = controls().styleDropdown();
    auto green = openDeck(1);
    d->userSelect(3);
    auto blue = openDeck(1);  // its window activates: no tag, so the first style
    EXPECT_EQ(d->Text(), "Blue");
    EXPECT_EQ(s.currentStyle, "Blue");
    EXPECT_EQ(green->Tags().Item("plorin_style"), "Green");

    app->Windows().Item(1)->Activate();  // the green deck's
    EXPECT_EQ(d->Text(), "Green");
    EXPECT_EQ(s.currentStyle, "Green");
    // A tag naming a style the menu file lacks shows the first style.
    blue->Tags().Add("plorin_style", "Retired");
    app->Windows().Item(2)->Activate();
    EXPECT_EQ(d->Text(), "Blue");
    EXPECT_EQ(s.currentStyle, "Blue");
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(CommandBarHost, TheFirstStartFloatsTheBarsOneBelowTheOther) {
    const std::vector<std::pair<const char*, int>> tops = {
        {plorin::kEfficiencyToolsBar, 200}, {plorin::kSlideWizardBar, 260}, {plorin::kShortcutsBar, 320}};
    for (const auto& [name, top] : tops) {
        auto b = bar(name);
        EXPECT_EQ(b->Position(), msoBarFloating) << name;
        EXPECT_EQ(b->Left(), 200) << name;
        EXPECT_EQ(b->Top(), top) << name;
        EXPECT_EQ(b->Height(), 52) << name;
        EXPECT_EQ(b->RowIndex(), 1) << name;
    }
}

TEST_F(CommandBarHost, PlacesAreSavedAtShutDownAndRestoredAtTheNextStart) {
    auto shortcuts = bar(plorin::kShortcutsBar);
    shortcuts->setPosition(msoBarRight);
    shortcuts->setRowIndex(2);
    shortcuts->setTop(15);
    shortcuts->setLeft(900);
    bar(plorin::kSlideWizardBar)->setVisible(false);
    controls().DeleteControls();
    EXPECT_EQ(plorin::getRegistry("position", plorin::kShortcutsBar, ""), "2");
    EXPECT_EQ(plorin::getRegistry("visible", plorin::kSlideWizardBar, ""), "0");
    EXPECT_EQ(plorin::getRegistry("visible", plorin::kShortcutsBar, ""), "-1");

    connect("11.0");  // the host restarts: temporary bars are gone, the settings stay
    shortcuts = bar(plorin::kShortcutsBar);
    EXPECT_EQ(shortcuts->Position(), msoBarRight);
    EXPECT_EQ(shortcuts->RowIndex(), 2);
    EXPECT_EQ(shortcuts->Top(), 15);
    EXPECT_EQ(shortcuts->Left(), 900);
    EXPECT_TRUE(shortcuts->Visible());
    EXPECT_FALSE(bar(plorin::kSlideWizardBar)->Visible());
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(CommandBarHost, ARefusedStoredValueIsSkippedAndTheRestStillApply) {
    plorin::setRegistry("position", "1", plorin::kShortcutsBar);
    plorin::setRegistry("row", "-3", plorin::kShortcutsBar);  // the host refuses it
    plorin::setRegistry("top", "77", plorin::kShortcutsBar);
    plorin::setRegistry("left", "333", plorin::kShortcutsBar);
    plorin::setRegistry("position", "40000", plorin::kSlideWizardBar);  // not a 16-bit number
    plorin::setRegistry("left", "222", plorin::kSlideWizardBar);
    connect("11.0");
    auto shortcuts = bar(plorin::kShortcutsBar);
    EXPECT_EQ(shortcuts->Position(), msoBarTop);
    EXPECT_EQ(shortcuts->Left(), 333);  // the values after the refused one are not lost
    EXPECT_TRUE(shortcuts->Visible());
    EXPECT_TRUE(bar(plorin::kSlideWizardBar)->Visible());
    EXPECT_EQ(bar(plorin::kSlideWizardBar)->Left(), 222);
    EXPECT_EQ(bar(plorin::kEfficiencyToolsBar)->Top(), 200);  // the others are unaffected
    // Nothing for the user to act on: no error dialog at start-up.
    EXPECT_TRUE(reportedLocations().empty());
}

TEST_F(CommandBarHost, EveryEfficiencyToolsButtonReachesAMethodOfItsName) {
    // Every command is built: no button may report error 438 (no such method) when clicked.
    plorin::setRegistry("customColors", "1", "");
    writeFile(root + "customization/copyright.txt", "(c) One\n");
    rebuild();
    std::vector<std::string> missing;
    std::function<void(const CommandBarControls&)> walk = [&](const CommandBarControls& controls) {
        for (const auto& c : controls.all()) {
            if (auto* p = dynamic_cast<CommandBarPopup*>(c.get())) walk(p->Controls());
            if (c->Tag() != plorin::kEfficiencyToolsTag) continue;
            std::string name = c->Parameter();
            if (!name.empty() && name[0] == '!') name.erase(0, 1);
            name = name.substr(0, name.find(' '));
            if (!plorin::commandExists(name)) missing.push_back(name);
        }
    };
    for (const auto& b : app->CommandBars().all()) walk(b->Controls());
    EXPECT_EQ(missing, std::vector<std::string>{});

    // A command reached by name with its argument, counted in its family.
    openDeck(1);
    app->CommandBars().click(dynamic_cast<CommandBarButton&>(*popup(plorin::kSlideWizardBar, "Copyright").Item(1)));
    EXPECT_EQ(setting("statsSlideWizard"), "1");
    EXPECT_EQ(setting("statsEfficiencyTools"), "");
    for (auto& r : plorin::reportedErrors())
        EXPECT_NE(r.error.Number, plorin::errNoSuchMember) << r.location << ": " << r.error.Description;
}

TEST_F(CommandBarHost, WithNoPresentationEveryButtonActsIsDisabledOrSaysSoPlainly) {
    // Everything the bars can hold: languages, custom colours, a copyright notice.
    plorin::setRegistry("languages", "1033;0;1031", "");
    plorin::initializeLanguages();
    plorin::setRegistry("customColors", "#FF0000", "");
    writeFile(root + "customization/copyright.txt", "(c) One\n");
    rebuild();
    plorin::addInState().events->toggle();
    driver.onUnansweredMessage = [](const platform::MessageBoxCall& m) {
        const int buttons = m.style & 0xF;
        return buttons == 3 || buttons == 4 ? platform::vbNo : buttons == 0 ? platform::vbOK : platform::vbCancel;
    };
    driver.onUnscriptedForm = [](platform::Form&) {};  // each dialog closed as it opens
    std::vector<std::string> disabled, reported;
    std::function<void(const CommandBarControls&, const std::string&)> walk = [&](const CommandBarControls& controls,
                                                                                  const std::string& path) {
        for (const auto& c : controls.all()) {
            const std::string name = path + c->Caption();
            if (auto* p = dynamic_cast<CommandBarPopup*>(c.get())) walk(p->Controls(), name + "/");
            auto* b = dynamic_cast<CommandBarButton*>(c.get());
            if (!b || c->Tag().empty() || !c->Visible()) continue;  // the host's own commands are its own
            if (!c->Enabled()) {
                disabled.push_back(name);
                continue;
            }
            plorin::reportedErrors().clear();
            app->CommandBars().click(*b);
            for (const auto& r : plorin::reportedErrors()) reported.push_back(name + ": " + r.error.Description);
        }
    };
    for (const auto& b : app->CommandBars().all()) walk(b->Controls(), "");
    EXPECT_EQ(reported, std::vector<std::string>{});
    // The commands that need a window wait for one, languages and unhiding included.
    for (const char* name :
         {"Tools/Unhide all hidden shapes", "English US spell checking for selected slides or shapes",
          "German spell checking for selected slides or shapes", "Align left to master left"})
        EXPECT_NE(std::find(disabled.begin(), disabled.end(), name), disabled.end()) << name;
}

TEST_F(CommandBarHost, EveryBarButtonWithACustomPictureHasItsPictureAndMask) {
    // The installation's pictures, drawn at build time like the ribbon's.
    std::filesystem::create_directories(root + "program/ui/buttons");
    std::filesystem::copy(std::string(VARNOTEL_STAGE) + "/program/ui/buttons", root + "program/ui/buttons");
    plorin::setRegistry("languages", "1033;0;1031", "");
    plorin::initializeLanguages();
    plorin::setRegistry("customColors", "#FF0000", "");
    rebuild();
    std::vector<std::string> without;
    std::vector<int> languagePictures;
    std::function<void(const CommandBarControls&)> walk = [&](const CommandBarControls& controls) {
        for (const auto& c : controls.all()) {
            if (auto* p = dynamic_cast<CommandBarPopup*>(c.get())) walk(p->Controls());
            auto* b = dynamic_cast<CommandBarButton*>(c.get());
            if (!b || b->FaceId() > 0 || b->Picture() == 0) continue;  // a host face, or no picture asked for
            if (!b->PictureImage() || b->PictureImage()->width != 16 || !b->MaskImage())
                without.push_back(b->Caption());
            if (b->HelpContextId() == plorin::kLanguageToolId) languagePictures.push_back(b->Picture());
        }
    };
    walk(bar(plorin::kEfficiencyToolsBar)->Controls());
    walk(bar(plorin::kSlideWizardBar)->Controls());
    EXPECT_EQ(without, std::vector<std::string>{});
    // The language pictures follow the add-in's own in order, whichever slots are empty.
    EXPECT_EQ(languagePictures, (std::vector<int>{plorin::kButtonPictureCount + 1, plorin::kButtonPictureCount + 2}));
    // The mask shows where the picture is drawn.
    const auto& about = dynamic_cast<CommandBarButton&>(*bar(plorin::kShortcutsBar)->Controls().Item(1));
    ASSERT_TRUE(about.MaskImage());
    EXPECT_NE(std::count(about.MaskImage()->pixels.begin(), about.MaskImage()->pixels.end(), 0xFF000000u), 0);
    EXPECT_NE(std::count(about.MaskImage()->pixels.begin(), about.MaskImage()->pixels.end(), 0xFFFFFFFFu), 0);
}

}  // namespace
