// The hidden Icons form: help mode while Ctrl and Shift are held on command-bar hosts, and
// its timer stopping at once elsewhere.
#include "ppt_events_fixture.h"

using namespace host;
using core::Toggle;
using platform::VK_CONTROL;
using platform::VK_SHIFT;
using testing_core::EventsFixture;

namespace {

class HelpMode : public EventsFixture {
protected:
    void tick() { platform::timerClock().advance(50); }
    bool allEnabled() {
        for (std::size_t i = 0; i < core::toggleGroups().size(); ++i)
            if (!enabled(static_cast<Toggle>(i))) return false;
        return true;
    }
};

}  // namespace

TEST_F(HelpMode, CtrlThenShiftEnablesEverythingUntilBothAreReleased) {
    connect("11.0");
    events().toggleOff();  // no presentation: everything off
    core::Icons();
    keys.press(VK_CONTROL);
    tick();
    EXPECT_FALSE(core::helpMode);
    EXPECT_EQ(core::Icons().HelpTimer.Interval(), 1);  // from the first tick on it polls fast

    keys.press(VK_SHIFT);
    tick();
    EXPECT_TRUE(core::helpMode);
    EXPECT_TRUE(allEnabled());

    keys.release(VK_SHIFT);
    tick();
    EXPECT_TRUE(core::helpMode);
    EXPECT_TRUE(allEnabled());

    keys.release(VK_CONTROL);
    tick();
    EXPECT_FALSE(core::helpMode);
    for (std::size_t i = 0; i < core::toggleGroups().size(); ++i) EXPECT_FALSE(enabled(static_cast<Toggle>(i)));
    EXPECT_TRUE(core::reportedErrors().empty());
}

TEST_F(HelpMode, LeavingHelpModeRestoresTheEnablingOfTheSelection) {
    connect("11.0");
    openDeck();
    window().selectShapes({addShape(msoShapeRectangle)});
    core::Icons();
    keys.press(VK_CONTROL);
    keys.press(VK_SHIFT);
    tick();
    ASSERT_TRUE(allEnabled());
    keys.release(VK_CONTROL);
    keys.release(VK_SHIFT);
    tick();
    EXPECT_TRUE(enabled(Toggle::Shape));
    EXPECT_TRUE(enabled(Toggle::Presentation));
    EXPECT_FALSE(enabled(Toggle::TwoOrMoreShapes));
    EXPECT_FALSE(enabled(Toggle::Slides));
}

TEST_F(HelpMode, AKeyPressedAndReleasedBetweenTwoReadingsDelaysTheEnd) {
    connect("11.0");
    core::Icons();
    keys.press(VK_CONTROL);
    keys.press(VK_SHIFT);
    tick();
    keys.release(VK_CONTROL);
    keys.release(VK_SHIFT);
    keys.press(VK_SHIFT);
    keys.release(VK_SHIFT);  // a tap the timer never saw as down
    platform::timerClock().advance(1);
    EXPECT_TRUE(core::helpMode);
    platform::timerClock().advance(1);
    EXPECT_FALSE(core::helpMode);
}

TEST_F(HelpMode, OnHostsWithoutCommandBarsTheTimerStopsAtItsFirstTick) {
    for (const char* version : {"12.0", "14.0", "16.0"}) {
        SCOPED_TRACE(version);
        connect(version);
        core::Icons();
        keys.press(VK_CONTROL);
        keys.press(VK_SHIFT);
        tick();
        EXPECT_FALSE(core::Icons().HelpTimer.isEnabled());
        EXPECT_FALSE(core::helpMode);
        EXPECT_EQ(app->CommandBars().Count(), 0);
        EXPECT_TRUE(core::reportedErrors().empty());
        keys.release(VK_CONTROL);
        keys.release(VK_SHIFT);
        core::unloadIcons();
    }
}
