// The pointer's hook chain and the screen shown as one picture.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "platform/pointer.h"
#include "platform/screen.h"
#include "platform/services.h"

namespace {

// Hooks are plain procedures: they reach the test through these.
platform::ScriptedPointer* testPointer = nullptr;
std::vector<std::string> heard;
std::int32_t firstHandle = 0;

std::int32_t swallowDowns(int code, std::uintptr_t message, const platform::MouseHookEvent* event) {
    heard.push_back("swallow " + std::to_string(event->pt.x) + "," + std::to_string(event->pt.y));
    if (code == platform::HC_ACTION && message == platform::WM_LBUTTONDOWN) return -1;
    return testPointer->callNextHook(0, code, message, event);
}

std::int32_t listen(int code, std::uintptr_t message, const platform::MouseHookEvent* event) {
    heard.push_back("listen");
    return testPointer->callNextHook(0, code, message, event);
}

std::int32_t refuseMoves(int code, std::uintptr_t message, const platform::MouseHookEvent* event) {
    if (message == platform::WM_MOUSEMOVE) return 1;
    return testPointer->callNextHook(0, code, message, event);
}

std::int32_t removeFirst(int code, std::uintptr_t message, const platform::MouseHookEvent* event) {
    heard.push_back("remove");
    testPointer->unhook(firstHandle);
    return testPointer->callNextHook(0, code, message, event);
}

struct PointerTest : ::testing::Test {
    void SetUp() override {
        testPointer = &pointer;
        heard.clear();
    }
    platform::ScriptedPointer pointer;
};

TEST_F(PointerTest, HooksHearEventsNewestFirstAndASwallowedEventReachesNoWindow) {
    EXPECT_EQ(pointer.setHook(13, &listen), 0) << "only low-level mouse hooks";
    EXPECT_EQ(pointer.setHook(platform::WH_MOUSE_LL, nullptr), 0);
    const auto first = pointer.setHook(platform::WH_MOUSE_LL, &swallowDowns);
    const auto second = pointer.setHook(platform::WH_MOUSE_LL, &listen);
    EXPECT_NE(first, 0);
    EXPECT_NE(first, second);
    ASSERT_TRUE(pointer.moveTo(-30, 12));
    EXPECT_EQ(heard, (std::vector<std::string>{"listen", "swallow -30,12"}));
    EXPECT_FALSE(pointer.button(platform::WM_LBUTTONDOWN));
    EXPECT_TRUE(pointer.button(platform::WM_LBUTTONUP));
    ASSERT_EQ(pointer.delivered.size(), 1u);
    EXPECT_EQ(pointer.delivered[0].message, platform::WM_LBUTTONUP);
    EXPECT_EQ(pointer.delivered[0].pt.x, -30);

    EXPECT_TRUE(pointer.unhook(first));
    EXPECT_FALSE(pointer.unhook(first));
    EXPECT_TRUE(pointer.button(platform::WM_LBUTTONDOWN)) << "without the swallowing hook the press gets through";
    EXPECT_EQ(pointer.callNextHook(0, 0, platform::WM_LBUTTONDOWN, nullptr), 0) << "outside of a hook";
}

TEST_F(PointerTest, ASwallowedMoveLeavesTheCursorAndAHookRemovedOnTheWayIsNotAsked) {
    const auto refusing = pointer.setHook(platform::WH_MOUSE_LL, &refuseMoves);
    EXPECT_FALSE(pointer.moveTo(5, 5));
    EXPECT_EQ(pointer.cursorPos().x, 0);
    pointer.unhook(refusing);

    firstHandle = pointer.setHook(platform::WH_MOUSE_LL, &swallowDowns);
    pointer.setHook(platform::WH_MOUSE_LL, &removeFirst);
    EXPECT_TRUE(pointer.button(platform::WM_LBUTTONDOWN));
    EXPECT_EQ(heard, std::vector<std::string>{"remove"});
    EXPECT_EQ(pointer.hookCount(), 1);
}

TEST(PictureScreen, ThePictureCoversTheVirtualScreenFromItsOrigin) {
    platform::PictureScreen screen(640, 480);
    EXPECT_EQ(screen.pixel(639, 479), 0xFFFFFFu) << "a white primary monitor to begin with";
    EXPECT_FALSE(screen.pixel(640, 0));

    platform::Picture picture;
    picture.width = 3;
    picture.height = 2;
    // Red, green, blue; half-transparent white, transparent, opaque grey.
    picture.pixels = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0x80FFFFFF, 0x00FFFFFF, 0xFF808080};
    screen.show(picture, -2, -1);
    const platform::PixelRect all = screen.virtualScreen();
    EXPECT_EQ(all.left, -2);
    EXPECT_EQ(all.top, -1);
    EXPECT_EQ(all.right, 1);
    EXPECT_EQ(all.bottom, 1);
    EXPECT_EQ(screen.primaryMonitor().right, 640) << "the primary monitor keeps its size";
    EXPECT_EQ(screen.pixel(-2, -1), 0x0000FFu) << "red as 0x00BBGGRR";
    EXPECT_EQ(screen.pixel(-1, -1), 0x00FF00u);
    EXPECT_EQ(screen.pixel(0, -1), 0xFF0000u);
    EXPECT_EQ(screen.pixel(-2, 0), 0x808080u) << "half of white over black";
    EXPECT_EQ(screen.pixel(-1, 0), 0u);
    EXPECT_EQ(screen.pixel(0, 0), 0x808080u);
    for (auto [x, y] : {std::pair{-3, 0}, {1, 0}, {0, -2}, {0, 1}}) EXPECT_FALSE(screen.pixel(x, y)) << x << "," << y;
    EXPECT_EQ(platform::rgbToArgb(0x563412), 0xFF123456u);
}

TEST(Services, ScreenAndPointerAreReplacedAndRestored) {
    platform::PictureScreen screen(10, 10);
    platform::ScriptedPointer pointer;
    platform::Screen& desktop = platform::screen();
    EXPECT_EQ(desktop.primaryMonitor().width(), 1024);
    platform::useScreen(&screen);
    platform::usePointer(&pointer);
    EXPECT_EQ(&platform::screen(), &screen);
    EXPECT_EQ(&platform::pointer(), &pointer);
    platform::useScreen(nullptr);
    platform::usePointer(nullptr);
    EXPECT_EQ(&platform::screen(), &desktop);
    EXPECT_NE(&platform::pointer(), &pointer);
}

}  // namespace
