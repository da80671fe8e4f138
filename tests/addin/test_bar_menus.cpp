// The Slide Wizard bar's menus on a host "11.0", connected through the add-in object: the
// library menus built from the menu file, the My Elements popup built from the index and
// rebuilt after an add, and what their items insert.
#include <filesystem>

#include "addin/addin_state.h"
#include "addin/bar_front_end.h"
#include "core/registry.h"
#include "core/usage_counters.h"
#include "host/command_bars.h"
#include "libraries/my_elements_add.h"
#include "platform/picture.h"
#include "tests/libraries/library_fixture.h"

using namespace host;

namespace {

class CommandBarMenus : public testing_core::LibraryFixture {
protected:
    void SetUp() override {
        LibraryFixture::SetUp();
        addIn.OnDisconnection(0);  // each test writes its files, then starts the host
        writeFile(root + "customization/menu.xml", "<Varnotel/>");
    }
    void start() {
        driver.messages.clear();  // those of the ribbon host connected before
        connect("11.0");
    }

    CommandBars& bars() { return app->CommandBars(); }
    CommandBarControls& wizard() { return bars().Item(plorin::kSlideWizardBar)->Controls(); }
    // The control at the end of a path of captions below the Slide Wizard bar.
    std::shared_ptr<CommandBarControl> at(std::initializer_list<const char*> path) {
        CommandBarControls* controls = &wizard();
        std::shared_ptr<CommandBarControl> control;
        for (const char* caption : path) {
            control = controls->Item(caption);
            if (auto* p = dynamic_cast<CommandBarPopup*>(control.get())) controls = &p->Controls();
        }
        return control;
    }
    CommandBarButton& button(std::initializer_list<const char*> path) {
        return dynamic_cast<CommandBarButton&>(*at(path));
    }
    CommandBarControls& popupOf(std::initializer_list<const char*> path) {
        return dynamic_cast<CommandBarPopup&>(*at(path)).Controls();
    }
    CommandBarComboBox& styles() { return *plorin::addInState().controls->styleDropdown(); }
    // The usage counts kept in memory are written first.
    std::string setting(const char* name) {
        plorin::flushUsageCounters();
        return plorin::getRegistry(name, "", "");
    }
    void icon(const std::string& path) {
        platform::Picture p;
        p.width = p.height = 16;
        p.pixels.assign(256, 0xff3366ccu);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        ASSERT_TRUE(platform::savePng(p, path));
    }
    std::vector<std::string> captions(CommandBarControls& controls) {
        std::vector<std::string> out;
        for (const auto& c : controls.all()) out.push_back(c->Caption());
        return out;
    }
};

TEST_F(CommandBarMenus, TheMenuFileBecomesPopupsAndButtonsWithPicturesGroupsAndTooltips) {
    icon(root + "customization/icons/steps.png");
    icon(root + "customization/icons/steps_mask.png");
    icon(root + "customization/outside.png");
    writeFile(root + "customization/menu.xml", R"(<Varnotel>
      <style name="Blue" folder="blue"/>
      <menu name="Processes" tooltip="Steps and cycles" beginGroup="0">
        <submenu name="Steps" beginGroup="-1" tooltip="All steps">
          <menuitem name="Three" file="process.ppt" slideNo="1" icon="steps.png" mask="steps_mask.png"/>
          <menuitem name="Four" file="a,b.ppt" slideNo="2" icon="missing.png" beginGroup="True" tooltip="Four of them"/>
          <menuitem name="Masked only" file="process.ppt" slideNo="5" mask="steps_mask.png"/>
          <submenu name="Too deep"><menuitem name="Lost" file="x.ppt" slideNo="1"/></submenu>
        </submenu>
        <menuitem name="Direct" file="process.ppt" slideNo="3" icon="../outside.png" beginGroup="banana"/>
        <other name="ignored"/>
      </menu>
      <menu name="Titles" beginGroup="True"/>
    </Varnotel>)");
    start();
    EXPECT_TRUE(driver.messages.empty());
    EXPECT_TRUE(plorin::reportedErrors().empty());
    EXPECT_EQ(captions(wizard()),
              (std::vector<std::string>{plorin::kSlideWizardBar, "", "Processes", "Titles", "My Elements"}));

    auto processes = at({"Processes"});
    EXPECT_EQ(processes->TooltipText(), "Steps and cycles");
    EXPECT_FALSE(processes->BeginGroup());
    EXPECT_TRUE(at({"Titles"})->BeginGroup());
    // An item directly under a menu is a button of that menu.
    EXPECT_EQ(captions(popupOf({"Processes"})), (std::vector<std::string>{"Steps", "Direct"}));
    EXPECT_TRUE(at({"Processes", "Steps"})->BeginGroup());
    EXPECT_EQ(at({"Processes", "Steps"})->TooltipText(), "All steps");
    // Only two levels: a submenu inside a submenu is not offered.
    EXPECT_EQ(captions(popupOf({"Processes", "Steps"})), (std::vector<std::string>{"Three", "Four", "Masked only"}));

    auto& three = button({"Processes", "Steps", "Three"});
    EXPECT_EQ(three.Tag(), plorin::kSlideWizardTag);
    EXPECT_EQ(three.Parameter(), "process.ppt,1");
    ASSERT_TRUE(three.PictureImage());
    EXPECT_EQ(three.PictureImage()->width, 16);
    EXPECT_TRUE(three.MaskImage());
    EXPECT_FALSE(three.BeginGroup());
    // A picture that cannot be loaded is skipped without a message.
    auto& four = button({"Processes", "Steps", "Four"});
    EXPECT_EQ(four.Parameter(), "a,b.ppt,2");
    EXPECT_FALSE(four.PictureImage());
    EXPECT_TRUE(four.BeginGroup());
    EXPECT_EQ(four.TooltipText(), "Four of them");
    // A mask is read only with a picture; a picture outside the icons folder is none.
    EXPECT_FALSE(button({"Processes", "Steps", "Masked only"}).MaskImage());
    auto& direct = button({"Processes", "Direct"});
    EXPECT_FALSE(direct.PictureImage());
    EXPECT_FALSE(direct.BeginGroup());
}

TEST_F(CommandBarMenus, SlideWizardItemsInsertTheirShapesFromTheChosenStyle) {
    writeFile(root + "customization/menu.xml", R"(<Varnotel>
      <style name="Blue" folder="blue"/><style name="Green" folder="green"/>
      <menu name="Processes"><submenu name="Steps">
        <menuitem name="Three" file="process.ppt" slideNo="2"/>
      </submenu></menu></Varnotel>)");
    saveDeck(root + "customization/styles/blue/process.ppt", {{{1, 1, 1, 1}}, {{10, 20, 30, 40}}});
    saveDeck(root + "customization/styles/green/process.ppt", {{{1, 1, 1, 1}}, {{50, 60, 70, 80}, {5, 5, 5, 5}}});
    start();
    EXPECT_EQ(styles().Text(), "Blue");
    auto deck = userDeck(1);
    auto shapes = [&] { return deck->Slides().Item(1)->Shapes().Count(); };

    bars().click(button({"Processes", "Steps", "Three"}));
    ASSERT_EQ(shapes(), 1);
    EXPECT_FLOAT_EQ(deck->Slides().Item(1)->Shapes().Item(1)->Left(), 10);
    EXPECT_EQ(setting("statsSlideWizard"), "1");

    styles().userSelect(3);
    EXPECT_EQ(deck->Tags().Item(plorin::kStyleTag), "Green");
    bars().click(button({"Processes", "Steps", "Three"}));
    ASSERT_EQ(shapes(), 3);
    EXPECT_FLOAT_EQ(deck->Slides().Item(1)->Shapes().Item(2)->Left(), 50);

    // Two styles and none chosen: the user is asked for one, and nothing is inserted.
    styles().userSelect(1);
    bars().click(button({"Processes", "Steps", "Three"}));
    EXPECT_EQ(shapes(), 3);
    ASSERT_FALSE(messages().empty());
    EXPECT_EQ(messages().back(), "Please select a style first.");
    EXPECT_EQ(setting("statsSlideWizard"), "3");
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(CommandBarMenus, WithOneStyleAnItemChoosesItAndInserts) {
    writeFile(root + "customization/menu.xml", R"(<Varnotel><style name="Blue" folder="blue"/>
      <menu name="Titles"><menuitem name="Bar" file="titles.ppt" slideNo="1"/></menu></Varnotel>)");
    saveDeck(root + "customization/styles/blue/titles.ppt", {{{10, 20, 30, 40}}});
    start();
    EXPECT_FALSE(styles().Visible());
    auto deck = userDeck(1);
    styles().setListIndex(1);  // the placeholder, as a stale selection would leave it
    bars().click(button({"Titles", "Bar"}));
    EXPECT_EQ(styles().Text(), "Blue");
    EXPECT_EQ(deck->Slides().Item(1)->Shapes().Count(), 1);
}

TEST_F(CommandBarMenus, MyElementsItemsInsertAndThePopupIsRebuiltAfterAnAdd) {
    saveDeck(library("ppt"), {{{5, 6, 7, 8}}});
    writeFile(indexPath(),
              R"(<Varnotel addinVersion="1.0"><group name="Shapes"><element name="Box" slideID="256"/></group>
      <group name="Empty"/></Varnotel>)");
    start();
    EXPECT_EQ(captions(popupOf({"My Elements"})),
              (std::vector<std::string>{"Add selection to My Elements", "Manage My Elements", "Shapes", "Empty"}));
    EXPECT_TRUE(at({"My Elements", "Shapes"})->BeginGroup());
    EXPECT_FALSE(at({"My Elements", "Empty"})->BeginGroup());
    auto& box = button({"My Elements", "Shapes", "Box"});
    EXPECT_EQ(box.Parameter(), "256");
    EXPECT_EQ(box.Tag(), plorin::kMyElementsTag);
    ASSERT_TRUE(plorin::state().myElementsDocument);

    auto deck = userDeck(1);
    bars().click(box);
    auto slide = deck->Slides().Item(1);
    ASSERT_EQ(slide->Shapes().Count(), 1);
    EXPECT_FLOAT_EQ(slide->Shapes().Item(1)->Left(), 5);
    EXPECT_EQ(setting("statsMyElements"), "1");

    // The inserted shape goes back into the library under a new name: the popup shows it at once.
    window().selectShapes({slide->Shapes().Item(1)});
    driver.queueForm("myElementsAdd", [](platform::Form& f) {
        platform::driver::setText(f, "elemName", "Box again");
        platform::driver::click(f, "btnAddElement");
    });
    bars().click(button({"My Elements", "Add selection to My Elements"}));
    for (auto& r : plorin::reportedErrors()) ADD_FAILURE() << r.location << ": " << r.error.Description;
    EXPECT_EQ(captions(popupOf({"My Elements", "Shapes"})), (std::vector<std::string>{"Box", "Box again"}));
    EXPECT_EQ(captions(popupOf({"My Elements"})).size(), 4u);  // no group twice, the fixed buttons once
    EXPECT_EQ(setting("statsMyElements"), "2");

    bars().click(button({"My Elements", "Shapes", "Box again"}));
    EXPECT_EQ(slide->Shapes().Count(), 2);
}

TEST_F(CommandBarMenus, ADamagedIndexLeavesTheFixedButtonsAndNoDocument) {
    writeFile(indexPath(), "<Varnotel><group name=\"Cut off\">");
    start();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].rfind("The 'My Elements' database is corrupted.\r\nPlease contact us at ", 0), 0u);
    EXPECT_FALSE(plorin::state().myElementsDocument);
    EXPECT_EQ(captions(popupOf({"My Elements"})),
              (std::vector<std::string>{"Add selection to My Elements", "Manage My Elements"}));

    // Mended on disk: the next rebuild shows it, and a rebuild never repeats anything.
    writeFile(indexPath(), R"(<Varnotel><group name="Mended"/></Varnotel>)");
    plorin::addInState().controls->generateMyElementsMenu();
    plorin::addInState().controls->generateMyElementsMenu();
    EXPECT_EQ(captions(popupOf({"My Elements"})),
              (std::vector<std::string>{"Add selection to My Elements", "Manage My Elements", "Mended"}));
    EXPECT_TRUE(plorin::state().myElementsDocument);
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

}  // namespace
