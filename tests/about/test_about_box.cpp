#include <gtest/gtest.h>

#include <string>

#include "about/about_box.h"
#include "core/registry.h"
#include "core/shared_state.h"
#include "core/version.h"
#include "platform/picture.h"
#include "platform/ui_driver.h"
#include "platform/ui_timers.h"
#include "tests/core/core_fixture.h"

namespace {

using plorin::ShooterGame;
using Shot = ShooterGame::ShotResult;

void type(plorin::Splash& splash, const std::string& keys) {
    for (char c : keys) splash.Form_KeyPress(static_cast<unsigned char>(c));
}

TEST(TriggerWord, OpensTheGameOnlyForTheExactWordAmongCountedKeys) {
    plorin::TriggerWatch watch;
    bool opened = false;
    for (char c : std::string("xkw7")) opened = watch.key(c) || opened;
    EXPECT_FALSE(opened);
    EXPECT_TRUE(watch.key('r'));

    plorin::TriggerWatch upper;
    for (char c : std::string("KW7")) upper.key(c);
    EXPECT_FALSE(upper.key('R'));

    // Blanks and Backspace are not recorded, so they do not break the word.
    plorin::TriggerWatch mixed;
    for (char c : std::string("k w\b7")) mixed.key(c);
    EXPECT_TRUE(mixed.key('r'));

    // The typed text never grows past the word's length.
    plorin::TriggerWatch longTyping;
    for (int i = 0; i < 10000; ++i) longTyping.key('a');
    EXPECT_EQ(longTyping.typed().size(), 4u);
}

class Game : public ::testing::Test {
protected:
    ShooterGame game{100, 50};
    void start() {
        game.start([] { return 0.5; });
    }
    // Places every icon apart so that shots at their corners hit one each.
    void spread() {
        for (int i = 0; i < ShooterGame::kIcons; ++i) game.place(i, (i / 5) * 25, (i % 5) * 20);
    }
    void hitAll() {
        for (int i = 0; i < ShooterGame::kIcons; ++i) game.shoot(game.left(i), game.top(i));
    }
};

TEST_F(Game, StartDrawsTopThenLeftFromTheRandomSource) {
    double values[] = {0.0, 0.999, 0.5, 0.25};
    int n = 0;
    game.start([&] { return values[n++ % 4]; });
    EXPECT_EQ(game.top(0), 0);
    EXPECT_EQ(game.left(0), 99);
    EXPECT_EQ(game.top(1), 25);
    EXPECT_EQ(game.left(1), 25);
    EXPECT_EQ(game.statusLine(), "Level: 1          Bullets left: 10          Score: 0");
}

TEST_F(Game, EveryIconMovesItsOwnWayAndWrapsAtEachEdge) {
    start();
    for (int i = 0; i < ShooterGame::kIcons; ++i) game.place(i, 10, 10);
    game.tick();
    for (int i = 0; i < ShooterGame::kIcons; ++i) {
        EXPECT_EQ(game.top(i), i % 2 == 0 ? 9 : 11) << i;
        EXPECT_EQ(game.left(i), (i / 2) % 2 == 0 ? 9 : 11) << i;
    }
    // At the edges: up/left wrap to the far edge, down/right wrap to 0.
    for (int i = 0; i < ShooterGame::kIcons; ++i) game.place(i, i % 2 == 0 ? 0 : 50, (i / 2) % 2 == 0 ? 0 : 100);
    game.tick();
    for (int i = 0; i < ShooterGame::kIcons; ++i) {
        EXPECT_EQ(game.top(i), i % 2 == 0 ? 50 : 0) << i;
        EXPECT_EQ(game.left(i), (i / 2) % 2 == 0 ? 100 : 0) << i;
    }
}

TEST_F(Game, TheHitBoxIncludesItsFarEdgeAndAHitIconStaysDown) {
    start();
    for (int i = 0; i < ShooterGame::kIcons; ++i) game.place(i, 40, 80);
    game.place(0, 10, 10);
    EXPECT_EQ(game.shoot(27, 27), Shot::counted);
    EXPECT_EQ(game.hits(), 0);
    game.shoot(26, 26);
    EXPECT_TRUE(game.hit(0));
    game.shoot(10, 10);  // the vanished icon's place
    EXPECT_EQ(game.hits(), 1);
    game.tick();
    EXPECT_EQ(game.top(0), 10);  // hit icons do not move
    // Stacked icons: one shot hits only the first.
    for (int i = 1; i < ShooterGame::kIcons; ++i) game.place(i, 40, 80);
    game.shoot(80, 40);
    EXPECT_EQ(game.hits(), 2);
    EXPECT_TRUE(game.hit(1));
    EXPECT_FALSE(game.hit(2));
}

TEST_F(Game, ScoringLevelsSpeedUpAndGameOver) {
    start();
    spread();
    hitAll();
    EXPECT_EQ(game.score(), 100);
    EXPECT_EQ(game.level(), 2);
    EXPECT_EQ(game.interval(), 51);
    EXPECT_EQ(game.shots(), 0);
    EXPECT_FALSE(game.hit(3));  // every icon back
    EXPECT_EQ(game.shoot(game.left(0), game.top(0)), Shot::counted);
    EXPECT_EQ(game.score(), 120);

    int expected[] = {26, 14, 8, 5, 3, 2, 2};
    ShooterGame speed{100, 50};
    speed.start([] { return 0.0; });
    for (int i = 0; i < ShooterGame::kIcons; ++i) speed.place(i, (i / 5) * 25, (i % 5) * 20);
    for (int i = 0; i < ShooterGame::kIcons; ++i) speed.shoot(speed.left(i), speed.top(i));
    for (int step : expected) {
        for (int i = 0; i < ShooterGame::kIcons; ++i) speed.shoot(speed.left(i), speed.top(i));
        EXPECT_EQ(speed.interval(), step);
    }

    ShooterGame over{100, 50};
    over.start([] { return 0.0; });
    for (int i = 0; i < ShooterGame::kIcons; ++i) over.place(i, (i / 5) * 25, (i % 5) * 20);
    for (int i = 0; i < 9; ++i) over.shoot(over.left(i), over.top(i));
    EXPECT_EQ(over.shoot(99, 49), Shot::gameOver);
    EXPECT_EQ(over.hits(), 9);
    EXPECT_EQ(over.score(), 90);
    EXPECT_FALSE(over.running());
    EXPECT_EQ(over.shoot(0, 0), Shot::ignored);
}

TEST_F(Game, ALongGameCountsPastSixteenBits) {
    start();
    spread();
    for (int level = 0; level < 300; ++level) hitAll();
    EXPECT_EQ(game.level(), 301);
    EXPECT_EQ(game.score(), 10 * 10 * (300 * 301 / 2));
    EXPECT_GT(game.score(), 32767);
}

class SplashBox : public testing_core::CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        plorin::state().layout.customization = root + "custom/";
        driver.onUnansweredMessage = [](const platform::MessageBoxCall&) { return platform::vbOK; };
    }
};

TEST_F(SplashBox, ShowsVersionAndCountersWithDefaultsAndLeavesOutADamagedPicture) {
    plorin::setRegistry("statsSlideWizard", "12", "");
    plorin::setRegistry("statsMyElements", "many", "");
    writeFile(root + "custom/branding.gif", "not a picture");
    plorin::Splash splash;
    splash.Load();
    EXPECT_EQ(splash.branding.picture, nullptr);
    EXPECT_EQ(splash.Version.Caption, "Version: " + plorin::versionText());
    EXPECT_EQ(splash.statsSlideWizard.Caption, "12");
    EXPECT_EQ(splash.statsMyElements.Caption, "many");
    EXPECT_EQ(splash.statsAgendaWizard.Caption, "0");
    EXPECT_EQ(splash.statsEfficiencyTools.Caption, "0");
    EXPECT_TRUE(plorin::reportedErrors().empty());

    // The closing timer ends the box on its own.
    platform::timerClock().advance(1500);
    EXPECT_FALSE(splash.loaded());
}

TEST_F(SplashBox, TheTriggerWordOpensTheFieldAndAGameRunsThroughTheForm) {
    plorin::Splash splash;
    splash.SplashTimer.setEnabled(false);
    splash.Load();
    type(splash, "akw7r");
    ASSERT_TRUE(splash.inGameMode());
    EXPECT_TRUE(splash.field.Visible);
    EXPECT_TRUE(splash.ShooterLogo.Visible);
    EXPECT_EQ(splash.ShooterLogo.Caption, "Start game");  // the button the message names
    EXPECT_FALSE(splash.statsSlideWizard.Visible);
    EXPECT_EQ(splash.lSlideWizard.Caption, "Need a break?");

    splash.field_MouseDown(1, 0, 5, 5);  // no game yet: ignored
    EXPECT_EQ(splash.game().shots(), 0);

    splash.random = [] { return 0.5; };
    platform::driver::click(splash, "ShooterLogo");
    EXPECT_FALSE(splash.ShooterLogo.Visible);
    EXPECT_TRUE(splash.gameTimer.isEnabled());
    platform::timerClock().advance(300);
    EXPECT_EQ(splash.game().top(0), splash.game().height() / 2 - 3);

    // The drawn field holds icon 0's colour at its place.
    const auto& pic = *splash.field.picture;
    const int x = splash.game().left(0) + 1, y = splash.game().top(0) + 1;
    EXPECT_NE(pic.pixels[static_cast<std::size_t>(y * pic.width + x)], 0xFFFFFFFFu);

    for (int i = 0; i < 10; ++i) splash.field_MouseDown(1, 0, 0, 0);
    ASSERT_FALSE(driver.messages.empty());
    EXPECT_NE(driver.messages.back().text.find("Too bad, you missed "), std::string::npos);
    EXPECT_TRUE(splash.ShooterLogo.Visible);
    EXPECT_FALSE(splash.gameTimer.isEnabled());
    splash.Unload();
}

}  // namespace
