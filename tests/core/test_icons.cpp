// The hidden Icons form: help mode while Ctrl and Shift are held on command-bar hosts, and
// its timer stopping at once elsewhere.
#include "tests/addin/host_events_fixture.h"

using namespace host;
using platform::VK_CONTROL;
using platform::VK_SHIFT;
using plorin::Toggle;
using testing_core::EventsFixture;

namespace {

class HelpMode : public EventsFixture {
protected:
    void tick() { platform::timerClock().advance(50); }
    bool allEnabled() {
        for (std::size_t i = 0; i < plorin::toggleGroups().size(); ++i)
            if (!enabled(static_cast<Toggle>(i))) return false;
        return true;
    }
};

}  // namespace

TEST_F(HelpMode, CtrlThenShiftEnablesEverythingUntilBothAreReleased) {
    connect("11.0");
    events().toggleOff();  // no presentation: everything off
    plorin::Icons();
    keys.press(VK_CONTROL);
    tick();
    EXPECT_FALSE(plorin::state().helpMode);
    EXPECT_EQ(plorin::Icons().HelpTimer.Interval(), 1);  // from the first tick on it polls fast

    keys.press(VK_SHIFT);
    tick();
    EXPECT_TRUE(plorin::state().helpMode);
    EXPECT_TRUE(allEnabled());

    keys.release(VK_SHIFT);
    tick();
    EXPECT_TRUE(plorin::state().helpMode);
    EXPECT_TRUE(allEnabled());

    keys.release(VK_CONTROL);
    tick();
    EXPECT_FALSE(plorin::state().helpMode);
    for (std::size_t i = 0; i < plorin::toggleGroups().size(); ++i) EXPECT_FALSE(enabled(static_cast<Toggle>(i)));
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(HelpMode, LeavingHelpModeRestoresTheEnablingOfTheSelection) {
    connect("11.0");
    openDeck();
    window().selectShapes({addShape(msoShapeRectangle)});
    plorin::Icons();
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
    plorin::Icons();
    keys.press(VK_CONTROL);
    keys.press(VK_SHIFT);
    tick();
    keys.release(VK_CONTROL);
    keys.release(VK_SHIFT);
    keys.press(VK_SHIFT);
    keys.release(VK_SHIFT);  // a tap the timer never saw as down
    platform::timerClock().advance(1);
    EXPECT_TRUE(plorin::state().helpMode);
    platform::timerClock().advance(1);
    EXPECT_FALSE(plorin::state().helpMode);
}

TEST_F(HelpMode, OnHostsWithoutCommandBarsTheTimerStopsAtItsFirstTick) {
    for (const char* version : {"12.0", "14.0", "16.0"}) {
        SCOPED_TRACE(version);
        connect(version);
        plorin::Icons();
        keys.press(VK_CONTROL);
        keys.press(VK_SHIFT);
        tick();
        EXPECT_FALSE(plorin::Icons().HelpTimer.isEnabled());
        EXPECT_FALSE(plorin::state().helpMode);
        EXPECT_EQ(app->CommandBars().Count(), 0);
        EXPECT_TRUE(plorin::reportedErrors().empty());
        keys.release(VK_CONTROL);
        keys.release(VK_SHIFT);
        plorin::unloadIcons();
    }
}
