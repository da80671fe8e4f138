// Command bars: bars by name, controls by position or caption, kinds and their values.
#include "host/command_bars.h"
#include "host_test_support.h"

using namespace host;
using host_test::hostErrorOf;

namespace {

struct CommandBarsTest : ::testing::Test {
    Application app{"11.0"};
    CommandBars& bars() { return app.CommandBars(); }
};

}  // namespace

TEST_F(CommandBarsTest, BarsAreFoundByNameWithoutRegardToCase) {
    EXPECT_EQ(bars().Count(), 0);
    auto tools = bars().Add("Efficiency Tools", msoBarFloating);
    EXPECT_FALSE(tools->Visible());
    EXPECT_EQ(tools->Position(), msoBarFloating);
    EXPECT_EQ(bars().Item("EFFICIENCY tools"), tools);
    EXPECT_EQ(bars().Item(1), tools);
    EXPECT_EQ(hostErrorOf([&] { bars().Item("Slide Wizard"); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { bars().Item(2); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { bars().Add("efficiency TOOLS"); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { bars().Add(""); }), E_FAIL);

    tools->Delete();
    EXPECT_EQ(bars().Count(), 0);
    EXPECT_EQ(hostErrorOf([&] { tools->Delete(); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { bars().Item("Efficiency Tools"); }), E_FAIL);
}

TEST_F(CommandBarsTest, ControlsAreFoundByCaptionIgnoringAccessKeysAndCase) {
    auto bar = bars().Add("Tools bar");
    auto align = bar->Controls().Add(msoControlButton);
    align->setCaption("&Align left");
    auto popup = std::dynamic_pointer_cast<CommandBarPopup>(bar->Controls().Add(msoControlPopup, 1));
    ASSERT_TRUE(popup);
    popup->setCaption("Tools");
    popup->Controls().Add(msoControlButton)->setCaption("Text statistics");

    EXPECT_EQ(bar->Controls().Item(1), popup);  // added before the first
    EXPECT_EQ(bar->Controls().Item("align LEFT"), align);
    EXPECT_EQ(popup->Controls().Item("Text statistics")->Type(), msoControlButton);
    EXPECT_EQ(hostErrorOf([&] { bar->Controls().Item("Text statistics"); }), E_FAIL);  // not searched in popups
    EXPECT_EQ(hostErrorOf([&] { bar->Controls().Item(3); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { bar->Controls().Add(99); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { bar->Controls().Add(msoControlButton, 4); }), E_FAIL);

    align->Delete();
    EXPECT_EQ(bar->Controls().Count(), 1);
    EXPECT_EQ(hostErrorOf([&] { align->Delete(); }), E_FAIL);
}

TEST_F(CommandBarsTest, ButtonsKeepTheirStateAndEveryControlItsValues) {
    auto bar = bars().Add("Bar");
    auto button = std::dynamic_pointer_cast<CommandBarButton>(bar->Controls().Add(msoControlButton));
    EXPECT_TRUE(button->Enabled());
    EXPECT_EQ(button->State(), msoButtonUp);
    for (int state : {msoButtonDown, msoButtonMixed, msoButtonUp}) {
        button->setState(state);
        EXPECT_EQ(button->State(), state);
    }
    EXPECT_EQ(hostErrorOf([&] { button->setState(1); }), E_FAIL);
    button->setEnabled(false);
    button->setHelpContextId(1042);
    button->setParameter("alignLeft");
    button->setTag("vn_1042");
    EXPECT_FALSE(button->Enabled());
    EXPECT_EQ(button->HelpContextId(), 1042);
    EXPECT_EQ(button->Parameter(), "alignLeft");
    EXPECT_EQ(button->Tag(), "vn_1042");
}

TEST(CommandBarsLifetime, ControlsKeptAfterTheirHostIsGoneCountAsDeleted) {
    std::shared_ptr<CommandBar> bar;
    std::shared_ptr<CommandBarControl> control;
    {
        Application app("11.0");
        bar = app.CommandBars().Add("Bar");
        control = bar->Controls().Add(msoControlButton);
    }
    EXPECT_EQ(hostErrorOf([&] { bar->Delete(); }), E_FAIL);
    bar.reset();
    EXPECT_EQ(hostErrorOf([&] { control->Delete(); }), E_FAIL);
}

TEST_F(CommandBarsTest, OneClickEventServesEveryButtonWithTheRememberedButtonsTag) {
    auto bar = bars().Add("Tools", msoBarTop, false, true);
    EXPECT_TRUE(bar->Temporary());
    auto first = std::static_pointer_cast<CommandBarButton>(bar->Controls().Add(msoControlButton));
    auto second = std::static_pointer_cast<CommandBarButton>(bar->Controls().Add(msoControlButton));
    auto other = std::static_pointer_cast<CommandBarButton>(bar->Controls().Add(msoControlButton));
    first->setTag("a");
    second->setTag("a");
    other->setTag("b");
    std::vector<CommandBarButton*> clicked;
    bars().adviseClick(second, [&](CommandBarButton& b, bool&) { clicked.push_back(&b); });
    EXPECT_EQ(bars().click(*first), 1);
    EXPECT_EQ(bars().click(*other), 0);
    EXPECT_EQ(clicked, std::vector<CommandBarButton*>{first.get()});

    // A handler that advises again while running does not see its own new event this click.
    bars().unadviseClick("a");
    bars().adviseClick(first, [&](CommandBarButton&, bool&) {
        bars().adviseClick(second, [&](CommandBarButton& b, bool&) { clicked.push_back(&b); });
    });
    EXPECT_EQ(bars().click(*second), 1);
    EXPECT_EQ(bars().click(*second), 2);

    // Once nobody holds the remembered button its event stops.
    bars().unadviseClick("a");
    {
        auto temporary = std::static_pointer_cast<CommandBarButton>(bar->Controls().Add(msoControlButton));
        temporary->setTag("a");
        bars().adviseClick(temporary, [&](CommandBarButton&, bool&) {});
        temporary->Delete();
    }
    EXPECT_EQ(bars().click(*first), 0);
}

TEST_F(CommandBarsTest, BuiltInControlsAndTheDropDownsChangeEvent) {
    auto bar = bars().Add("Shortcuts");
    auto builtIn = bar->Controls().Add(msoControlButton, 0, 1402);
    EXPECT_EQ(builtIn->Id(), 1402);
    EXPECT_EQ(bar->Controls().Add(msoControlButton)->Id(), 1);

    auto d = std::static_pointer_cast<CommandBarComboBox>(bar->Controls().Add(msoControlDropdown));
    d->AddItem("none");
    d->AddItem("Blue");
    int changes = 0;
    d->onChange = [&](CommandBarComboBox&) { ++changes; };
    d->setListIndex(2);  // code: no event
    EXPECT_EQ(changes, 0);
    d->userSelect(1);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(d->Text(), "none");
    EXPECT_EQ(hostErrorOf([&] { d->userSelect(3); }), E_FAIL);
    EXPECT_EQ(changes, 1);
}
