// Timers on the virtual clock: tick order, ticks that change their own timer, timers
// stopped by Unload or by the form going away, and time passing inside a modal dialog.
#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui_driver.h"
#include "platform/ui_timers.h"

using namespace platform;

namespace {

struct Tick {
    std::string timer;
    std::int64_t at;  // ms after the test started
    bool operator==(const Tick&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Tick& t) { return os << t.timer << "@" << t.at; }

class ClockForm : public Form {
public:
    explicit ClockForm(std::int64_t start, std::string name = "frmClock") : Form(std::move(name)), start_(start) {
        tmrFast.onTimer = [this] { record("fast"); };
        tmrSlow.onTimer = [this] { record("slow"); };
    }
    Timer tmrFast{*this, "tmrFast", 100, true};  // enabled at design time
    Timer tmrSlow{*this, "tmrSlow", 150, false};
    CommandButton btnClose{*this, "btnClose"};
    std::vector<Tick> ticks;

    void record(const std::string& timer) { ticks.push_back({timer, timerClock().now() - start_}); }

private:
    std::int64_t start_;
};

class UiTimerTest : public ::testing::Test {
protected:
    std::int64_t start = timerClock().now();
    ScriptedDriver driver;
    ScopedUiDriver scope{driver};
};

TEST_F(UiTimerTest, TimersFireInDueOrderOncePerInterval) {
    ClockForm form(start);
    timerClock().advance(500);
    EXPECT_TRUE(form.ticks.empty()) << "design-time timers wait for the form to load";
    form.Load();
    form.tmrSlow.setEnabled(true);
    timerClock().advance(299);
    timerClock().advance(1);
    // At 800 both are due: the one enabled first ticks first.
    EXPECT_EQ(form.ticks,
              (std::vector<Tick>{{"fast", 600}, {"slow", 650}, {"fast", 700}, {"fast", 800}, {"slow", 800}}));
    EXPECT_EQ(timerClock().now() - start, 800);
    EXPECT_EQ(timerClock().nextDue(), start + 900);
}

TEST(TimerClock, LongWaitsStopAtTheEndOfTimeInsteadOfWrappingRound) {
    TimerClock clock;
    clock.advance(6148914691253704080);
    clock.advance(6148914691236517203);
    EXPECT_EQ(clock.now(), std::numeric_limits<std::int64_t>::max());
    clock.advance(1);
    EXPECT_EQ(clock.now(), std::numeric_limits<std::int64_t>::max());
}

TEST_F(UiTimerTest, ChangingTheIntervalRestartsTheCountFromNow) {
    ClockForm form(start);
    form.Load();
    timerClock().advance(60);
    form.tmrFast.setInterval(100);  // same interval: still a restart
    timerClock().advance(100);
    form.tmrFast.setEnabled(true);  // already running: no restart
    timerClock().advance(100);
    form.tmrFast.setInterval(0);
    timerClock().advance(1000);
    EXPECT_EQ(form.ticks, (std::vector<Tick>{{"fast", 160}, {"fast", 260}}));
}

TEST_F(UiTimerTest, ATickCanStopRestartOrStartTimers) {
    ClockForm form(start);
    form.tmrFast.onTimer = [&] {
        form.record("fast");
        form.tmrFast.setEnabled(false);
        form.tmrSlow.setEnabled(true);
    };
    int slowTicks = 0;
    form.tmrSlow.onTimer = [&] {
        form.record("slow");
        if (++slowTicks == 2) form.tmrSlow.setInterval(10);
    };
    form.Load();
    timerClock().advance(420);
    EXPECT_EQ(form.ticks,
              (std::vector<Tick>{{"fast", 100}, {"slow", 250}, {"slow", 400}, {"slow", 410}, {"slow", 420}}));
}

TEST_F(UiTimerTest, UnloadStopsTheFormsTimersAndLoadStartsThemAfresh) {
    ClockForm form(start);
    form.Load();
    form.tmrSlow.onTimer = [&] { form.Unload(); };
    form.tmrSlow.setEnabled(true);
    timerClock().advance(1000);
    EXPECT_EQ(form.ticks, (std::vector<Tick>{{"fast", 100}}));
    EXPECT_FALSE(form.loaded());
    EXPECT_FALSE(timerClock().nextDue());

    form.tmrSlow.setEnabled(false);
    form.Load();
    timerClock().advance(100);
    EXPECT_EQ(form.ticks.back(), (Tick{"fast", 1100}));
}

TEST_F(UiTimerTest, ATimerWhoseFormIsDestroyedStops) {
    auto doomed = std::make_unique<ClockForm>(start, "frmDoomed");
    ClockForm survivor(start);
    doomed->Load();
    survivor.Load();
    // The doomed form's timer destroys its own form in the tick, before the survivor's
    // tick due at the same moment; the handler still uses what it captured afterwards.
    std::vector<std::string> said;
    doomed->tmrFast.onTimer = [&, word = std::string(40, 'x')] {
        doomed.reset();
        said.push_back(word);
    };
    timerClock().advance(250);
    EXPECT_EQ(doomed, nullptr);
    EXPECT_EQ(said.size(), 1u);
    EXPECT_EQ(survivor.ticks, (std::vector<Tick>{{"fast", 100}, {"fast", 200}}));

    auto other = std::make_unique<ClockForm>(start, "frmOther");
    other->Load();
    other.reset();
    EXPECT_EQ(timerClock().nextDue(), start + 300);
}

TEST_F(UiTimerTest, AModalDialogSeesTimeThatTheDriverLetsPass) {
    // A progress dialog: its timer closes it after three ticks.
    ClockForm dialog(start, "frmProgress");
    dialog.tmrFast.onTimer = [&] {
        dialog.record("fast");
        if (dialog.ticks.size() == 3) dialog.Unload();
    };
    driver.queueForm("frmProgress", [](Form& f) {
        while (f.Visible()) timerClock().advance(50);
    });
    dialog.Show(true);
    EXPECT_EQ(dialog.ticks, (std::vector<Tick>{{"fast", 100}, {"fast", 200}, {"fast", 300}}));
    EXPECT_FALSE(dialog.loaded());
}

TEST_F(UiTimerTest, ALongAdvanceOfAOneMillisecondTimerCountsEveryTick) {
    ClockForm form(start);
    int n = 0;
    form.tmrFast.setInterval(1);
    form.tmrFast.onTimer = [&] { ++n; };
    form.Load();
    timerClock().advance(200000);
    EXPECT_EQ(n, 200000);
}

TEST(UiTimerClock, AFormKeptInAStaticStopsItsTimersAtExitAfterTheClocksOwnStatics) {
    // A fresh process, so that the form's static is made before the clock is first used and
    // is therefore destroyed after it, as an add-in still connected at exit destroys its
    // icons form.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            static std::unique_ptr<ClockForm> kept;
            kept = std::make_unique<ClockForm>(0, "frmKept");
            kept->Load();
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
