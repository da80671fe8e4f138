// The extra colours reset from the setting "customColors", and the colour picker: its
// magnifier over a screen of several monitors, the mouse hook, picking and adding a colour.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/registry.h"
#include "platform/services.h"
#include "tests/tools/geometry_fixture.h"
#include "tools/pick_color.h"

namespace testing_tools {
namespace {

class ColorToolsTest : public GeometryFixture {
protected:
    void SetUp() override {
        GeometryFixture::SetUp();
        platform::useScreen(&screen);
        platform::usePointer(&pointer);
    }

    host::ExtraColors& extra() { return presentation->ExtraColors(); }
    std::vector<std::uint32_t> extraColors() { return extra().all(); }
    void addExtra(int count) {
        for (int i = 0; i < count; ++i) extra().Add(0xA00000u + static_cast<std::uint32_t>(i));
    }
    void reset(const std::string& palette) {
        plorin::setRegistry("customColors", palette, "");
        driver.messageAnswers.push_back(platform::vbOK);
        tools.resetCustomColors();
    }
    std::string lastMessage() const { return driver.messages.empty() ? "" : driver.messages.back().text; }

    platform::PictureScreen screen{800, 600};
    platform::ScriptedPointer pointer;
};

// ---- resetCustomColors --------------------------------------------------------------------

// Entry i of a palette: red 0x10 * (i + 1), green 0x20, blue 0x30.
std::string palette(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        static const char* hex = "0123456789ABCDEF";
        text += std::string(i ? "," : "") + "#" + hex[(i + 1) % 16] + "0" + "2030";
    }
    return text;
}
std::uint32_t paletteColor(int i) { return static_cast<std::uint32_t>(((i + 1) % 16) * 0x10) | 0x2000u | 0x300000u; }

TEST_F(ColorToolsTest, ResetPushesThePresentColoursOutAndAddsThePaletteInOrder) {
    // Three present, red and green configured: the list then holds red and green, and no
    // near-black filler.
    addExtra(3);
    reset("#FF0000,#00FF00");
    EXPECT_EQ(extraColors(), (std::vector<std::uint32_t>{0x0000FF, 0x00FF00}));
    EXPECT_EQ(lastMessage(), "Custom colors have been reset.");
    EXPECT_EQ(driver.messages.back().style, platform::vbInformation);

    struct Case {
        int present, entries;
    };
    for (const Case c : {Case{0, 3}, Case{8, 8}, Case{5, 8}, Case{8, 9}, Case{0, 9}}) {
        SCOPED_TRACE("present " + std::to_string(c.present) + ", entries " + std::to_string(c.entries));
        presentation = app->Presentations().Add();
        presentation->Slides().Add(1, 1);
        addExtra(c.present);
        reset(palette(c.entries));
        // At most eight stay: the last eight entries, and no colour that was there before.
        std::vector<std::uint32_t> expected;
        for (int i = std::max(0, c.entries - 8); i < c.entries; ++i) expected.push_back(paletteColor(i));
        EXPECT_EQ(extraColors(), expected);
    }
    EXPECT_TRUE(reportedLocations().empty());
}

TEST_F(ColorToolsTest, ResetWithoutAPaletteSaysSoAndChangesNothing) {
    addExtra(3);
    const auto before = extraColors();
    reset("");
    EXPECT_EQ(lastMessage(), "Custom colors are not configured.");
    EXPECT_EQ(extraColors(), before);
}

TEST_F(ColorToolsTest, ResetRefusesAMalformedPaletteBeforeTouchingTheColours) {
    addExtra(3);
    const auto before = extraColors();
    for (const char* bad :
         {"#FF0000,", "#FF0000, #00FF00", "#FF00", "#GG0000", "FF0000", "#FF00001", ",#FF0000", "#FF0000,#00FZ00"}) {
        SCOPED_TRACE(bad);
        driver.messages.clear();
        reset(bad);
        EXPECT_EQ(extraColors(), before) << "the user's colours stay";
        ASSERT_EQ(driver.messages.size(), 1u);
        EXPECT_NE(lastMessage().find("have not been changed"), std::string::npos) << lastMessage();
    }
    EXPECT_TRUE(reportedLocations().empty());
}

TEST_F(ColorToolsTest, PaletteEntriesTakeAnyLeadingCharacterAndHexDigitsOfEitherCase) {
    using plorin::EfficiencyTools;
    EXPECT_EQ(EfficiencyTools::customColor("#123456"), 0x563412u) << "RRGGBB into the host's order";
    EXPECT_EQ(EfficiencyTools::customColor("xff8000"), 0x0080FFu);
    EXPECT_EQ(EfficiencyTools::customColor("\xE2\x82\xAC"
                                           "0000FF"),
              0xFF0000u)
        << "a leading character of three bytes";
    EXPECT_FALSE(EfficiencyTools::customColor(""));
    EXPECT_FALSE(EfficiencyTools::customColor("#"));
    EXPECT_FALSE(EfficiencyTools::customColor("#-12345"));
    EXPECT_FALSE(EfficiencyTools::customColor("#12 456"));
}

TEST_F(ColorToolsTest, ResetWithoutAPresentationAsksForOnePlainly) {
    presentation->Close();
    reset("#FF0000");
    EXPECT_EQ(lastMessage(), plorin::kNoPresentationMessage);
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

// ---- pickColorFromScreen ------------------------------------------------------------------

// A screen of two monitors: the primary one (0, 0)-(800, 600) and one left of and above it,
// so the virtual screen runs from (-400, -300) to (800, 600). Every pixel has its own colour.
class PickColorTest : public ColorToolsTest {
protected:
    static constexpr int kLeft = -400, kTop = -300, kRight = 800, kBottom = 600;

    void SetUp() override {
        ColorToolsTest::SetUp();
        platform::Picture picture;
        picture.width = kRight - kLeft;
        picture.height = kBottom - kTop;
        for (int y = kTop; y < kBottom; ++y)
            for (int x = kLeft; x < kRight; ++x) picture.pixels.push_back(platform::rgbToArgb(screenColor(x, y)));
        screen.show(std::move(picture), kLeft, kTop);
        app->ActiveWindow()->selectSlides({slide});
    }

    static std::uint32_t screenColor(int x, int y) {
        return static_cast<std::uint32_t>((x - kLeft) & 0xFF) | (static_cast<std::uint32_t>((y - kTop) & 0xFF) << 8) |
               (static_cast<std::uint32_t>(((x - kLeft) >> 8) * 16 + ((y - kTop) >> 8)) << 16);
    }

    // Opens the picker and runs `work` while it is open; the picker closes afterwards.
    void withPicker(const std::function<void(plorin::PickColor&)>& work) {
        driver.queueForm("pickColor", [&](platform::Form& form) { work(dynamic_cast<plorin::PickColor&>(form)); });
        tools.pickColorFromScreen();
        EXPECT_EQ(driver.modalForms, std::vector<std::string>{"pickColor"});
    }
    // The pointer moves there and the magnifier's timer ticks.
    static void pointAt(platform::ScriptedPointer& pointer, int x, int y) {
        pointer.moveTo(x, y);
        platform::timerClock().advance(50);
    }

    // What the view shows at surface pixel (px, py) with the pointer at (x, y), as RGB: the
    // frame, each screen pixel as an 8 by 8 block (the centre one with its edge inverted),
    // the hatch where the block's pixel lies beyond the virtual screen.
    static std::uint32_t expectedView(int px, int py, int x, int y) {
        const bool inFrame = px >= 3 && px <= 60 && py >= 3 && py <= 60;
        if (!inFrame) return plorin::PickColor::kBackColor;
        if (px == 3 || px == 60 || py == 3 || py == 60) return 0x000000;
        const int sx = x - 3 + (px - 4) / 8, sy = y - 3 + (py - 4) / 8;
        const bool onScreen = sx >= kLeft && sx < kRight && sy >= kTop && sy < kBottom;
        std::uint32_t rgb = onScreen ? screenColor(sx, sy) : plorin::PickColor::hatchAt(px, py);
        const bool centreEdge =
            (px == 28 || px == 35 || py == 28 || py == 35) && px >= 28 && px <= 35 && py >= 28 && py <= 35;
        if (centreEdge) rgb ^= 0xFFFFFF;
        return rgb;
    }

    static void expectView(const plorin::PickColor& picker, int x, int y) {
        const auto drawing = picker.drawing();
        ASSERT_EQ(drawing->width, plorin::PickColor::kClientWidth);
        int wrong = 0;
        for (int py = 0; py < 64; ++py)
            for (int px = 0; px < 64; ++px) {
                const std::uint32_t shown =
                    platform::argbToRgb(drawing->pixels[static_cast<std::size_t>(py * drawing->width + px)]);
                if (shown != expectedView(px, py, x, y) && ++wrong <= 5)
                    ADD_FAILURE() << "pointer (" << x << ", " << y << "), view pixel (" << px << ", " << py
                                  << "): " << std::hex << shown << " instead of " << expectedView(px, py, x, y);
            }
        EXPECT_EQ(wrong, 0) << "pointer (" << x << ", " << y << ")";
    }
};

TEST_F(PickColorTest, TheMagnifierClipsAndHatchesAtEveryEdgeOfTheVirtualScreen) {
    struct Spot {
        int x, y;
    };
    const std::vector<Spot> spots = {
        {kLeft, kTop}, {kRight - 1, kTop},       {kLeft, kBottom - 1},   {kRight - 1, kBottom - 1},
        {100, 100},    {kLeft + 1, kBottom - 2}, {kRight - 3, kTop + 2}, {0, 0},
    };
    withPicker([&](plorin::PickColor& picker) {
        for (const Spot& s : spots) {
            pointAt(pointer, s.x, s.y);
            expectView(picker, s.x, s.y);
        }
    });
    EXPECT_TRUE(reportedLocations().empty());
}

TEST_F(PickColorTest, OverTheWindowTheLogoShowsAndTheViewIsCleared) {
    withPicker([&](plorin::PickColor& picker) {
        EXPECT_EQ(picker.windowRect.left, (800 - plorin::PickColor::kClientWidth) / 2)
            << "in the primary monitor's middle";
        pointAt(pointer, 100, 100);
        EXPECT_FALSE(picker.vnLogo.Visible);
        pointAt(pointer, picker.windowRect.left + 5, picker.windowRect.top + 5);
        EXPECT_TRUE(picker.vnLogo.Visible);
        const auto drawing = picker.drawing();
        EXPECT_EQ(platform::argbToRgb(drawing->pixels[32 * drawing->width + 32]), plorin::PickColor::kBackColor);
        pointAt(pointer, 100, 100);
        EXPECT_FALSE(picker.vnLogo.Visible);
    });
}

TEST_F(PickColorTest, TheHookSwallowsClicksOutsideTheWindowAndPassesThemInside) {
    withPicker([&](plorin::PickColor& picker) {
        EXPECT_EQ(pointer.hookCount(), 1);
        // Outside: both buttons' presses are swallowed, the releases pass.
        pointAt(pointer, -50, -20);
        EXPECT_FALSE(pointer.button(platform::WM_LBUTTONDOWN));
        EXPECT_TRUE(pointer.button(platform::WM_LBUTTONUP));
        EXPECT_FALSE(pointer.button(platform::WM_RBUTTONDOWN));
        EXPECT_TRUE(pointer.button(platform::WM_RBUTTONUP));
        ASSERT_EQ(pointer.delivered.size(), 2u);
        EXPECT_EQ(pointer.delivered[0].message, platform::WM_LBUTTONUP);
        // Inside: the window gets its clicks.
        pointAt(pointer, picker.windowRect.left + 1, picker.windowRect.bottom - 1);
        EXPECT_TRUE(pointer.button(platform::WM_LBUTTONDOWN));
        EXPECT_TRUE(pointer.button(platform::WM_LBUTTONUP));
        EXPECT_EQ(pointer.delivered.size(), 4u);
        // A press on the window before the timer has seen the pointer there is the window's
        // too, and never turns into a pick.
        pointAt(pointer, -50, -20);
        pointer.moveTo(picker.windowRect.left + 2, picker.windowRect.top + 2);
        EXPECT_TRUE(pointer.button(platform::WM_LBUTTONDOWN));
        EXPECT_FALSE(plorin::mouseHook::state().clicked);
    });
    // The hook goes with the window: clicks outside reach what lies below again.
    EXPECT_EQ(pointer.hookCount(), 0);
    EXPECT_EQ(plorin::mouseHook::state().hookHandle, 0);
    pointer.moveTo(-50, -20);
    EXPECT_TRUE(pointer.button(platform::WM_LBUTTONDOWN));
}

TEST_F(PickColorTest, AddIsDisabledUntilAPickAndMarksTheAddedColour) {
    addExtra(2);
    withPicker([&](plorin::PickColor& picker) {
        EXPECT_FALSE(picker.btnAdd.Enabled);
        EXPECT_TRUE(picker.eColors[1]->Visible);
        EXPECT_FALSE(picker.eColors[2]->Visible) << "boxes beyond the list are hidden";
        EXPECT_EQ(picker.pColors[4]->FillColor, host::schemeColorRGB(5));
        pointAt(pointer, 10, 10);
        EXPECT_FALSE(picker.btnAdd.Enabled) << "moving picks nothing";
        EXPECT_FALSE(platform::driver::click(picker, "btnAdd"));

        pointer.button(platform::WM_LBUTTONDOWN);
        pointer.button(platform::WM_LBUTTONUP);
        EXPECT_FALSE(picker.btnAdd.Enabled) << "the colour is read at the next tick";
        platform::timerClock().advance(50);
        const std::uint32_t picked = screenColor(10, 10);
        EXPECT_TRUE(picker.btnAdd.Enabled);
        EXPECT_EQ(picker.colorBox.FillColor, picked);
        EXPECT_EQ(picker.RGB_R.Caption, std::to_string(picked & 0xFF));
        EXPECT_EQ(picker.RGB_G.Caption, std::to_string((picked >> 8) & 0xFF));
        EXPECT_EQ(picker.RGB_B.Caption, std::to_string(picked >> 16));

        EXPECT_TRUE(platform::driver::click(picker, "btnAdd"));
        EXPECT_FALSE(picker.btnAdd.Enabled);
        EXPECT_EQ(extraColors().back(), picked);
        EXPECT_TRUE(picker.eColors[2]->Visible);
        EXPECT_EQ(picker.eColors[2]->FillColor, picked);
        EXPECT_TRUE(picker.eColorSelected.Visible);
        EXPECT_EQ(picker.eColorSelected.Left, 19 * 2 + 5);
    });
    EXPECT_EQ(extraColors().size(), 3u);
    EXPECT_TRUE(reportedLocations().empty());
}

TEST_F(PickColorTest, EscClosesThePickerAndRemovesTheHook) {
    withPicker([&](plorin::PickColor& picker) {
        picker.Form_KeyPress(27);
        EXPECT_FALSE(picker.loaded());
        EXPECT_EQ(pointer.hookCount(), 0);
    });
}

TEST_F(PickColorTest, ThePickerNeedsAPresentationAndASlide) {
    app->ActiveWindow()->setViewType(host::ppViewSlideSorter);
    app->ActiveWindow()->selectNone();
    driver.messageAnswers.push_back(platform::vbOK);
    tools.pickColorFromScreen();
    EXPECT_EQ(lastMessage(), "Current color scheme could not be identified. Please select a slide or shape first.");
    presentation->Close();
    driver.messageAnswers.push_back(platform::vbOK);
    tools.pickColorFromScreen();
    EXPECT_EQ(lastMessage(), "Please open a presentation first.");
    EXPECT_TRUE(driver.modalForms.empty());
    EXPECT_TRUE(reportedLocations().empty());
    for (const char* name : {"resetCustomColors", "pickColorFromScreen"})
        EXPECT_TRUE(plorin::EfficiencyTools::hasMethod(name)) << name;
}

}  // namespace
}  // namespace testing_tools
