// The colour picker "Click to pick a color...": a small modal window whose magnifier shows the
// pixels around the pointer 8-fold, wherever the pointer is on the screen. A click outside the
// window picks the colour under the pointer (the mouse hook swallows that click, so the
// window below never sees it); Add puts the picked colour into the presentation's extra
// colours.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "platform/picture.h"
#include "platform/pointer.h"
#include "platform/ui_timers.h"

namespace plorin {

// The low-level mouse hook (`mouseHook`) and the state it shares with the picker's
// timer, on the user-interface thread; it goes with the connection, and its hook with it.
namespace mouseHook {
struct State {
    State() = default;
    State(const State&) = delete;
    State& operator=(const State&) = delete;
    ~State();
    std::int32_t hookHandle = 0;  // 0 when no hook is installed
    bool clicked = false;         // set by the hook when it swallowed a click, cleared by the timer
    bool overWindow = false;      // kept by the timer for the logo
    // The picker's window on the screen while the hook is installed: the hook passes the
    // clicks that land there, whatever the timer last saw.
    platform::PixelRect window{};
};
State& state();
// Swallows left and right button-downs outside the picker's window (setting the click
// flag); passes every other event on, and every event on the window itself.
std::int32_t MouseProc(int nCode, std::uintptr_t wParam, const platform::MouseHookEvent* lParam);
}  // namespace mouseHook

class PickColor : public platform::Form {
public:
    // The drawing surface's size and the magnifier's place on it, in pixels.
    static constexpr int kClientWidth = 162;
    static constexpr int kClientHeight = 124;
    static constexpr int kViewLeft = 4;  // the 56 by 56 view: (4, 4) to (60, 60)
    static constexpr int kViewSize = 56;
    static constexpr int kZoom = 8;
    static constexpr std::uint32_t kBackColor = 0xF0F0F0;  // RGB, the form's back colour

    PickColor();
    ~PickColor() override;

    // Fills the scheme and extra colour boxes, disables Add, places the window in the middle
    // of the primary monitor and installs the mouse hook.
    void Form_Load() override;
    // Removes the hook.
    void Form_Unload() override;
    void Form_KeyPress(int keyAscii) override;  // Esc closes
    // One magnifier step: see where the pointer is, draw the view, take a picked colour.
    void Timer1_Timer();
    void btnAdd_Click();
    void btnClose_Click();

    std::shared_ptr<platform::Picture> drawing() const override;
    // The hatch pattern's pixel at a surface pixel (the brush repeats from the surface's origin),
    // over white: RGB.
    static std::uint32_t hatchAt(int x, int y);

    platform::PictureBox vnLogo{*this, "vnLogo"};
    platform::CommandButton btnClose{*this, "btnClose"};
    platform::PictureBox hatchBMP{*this, "hatchBMP"};
    platform::CommandButton btnAdd{*this, "btnAdd"};
    platform::Timer Timer1{*this, "Timer1", 50, true};
    platform::Label Label1{*this, "Label1"};
    platform::Label Label4{*this, "Label4"};
    platform::Label Label5{*this, "Label5"};
    platform::Label RGB_R{*this, "RGB_R"};
    platform::Label RGB_G{*this, "RGB_G"};
    platform::Label RGB_B{*this, "RGB_B"};
    std::array<std::unique_ptr<platform::ShapeControl>, 8> eColors;
    std::array<std::unique_ptr<platform::ShapeControl>, 8> pColors;
    platform::ShapeControl colorBox{*this, "colorBox"};
    platform::ShapeControl eColorSelected{*this, "eColorSelected"};
    platform::Line Line1{*this, "Line1"};

private:
    // Shows each extra colour of the active presentation in its box; hides the boxes beyond.
    void showExtraColors();
    // Hatches a rectangle of the surface (right and bottom outside it): white, then the
    // hatch pattern.
    void drawHatchRect(int x1, int y1, int x2, int y2);
    // A form's refresh: its own drawing gives way to the back colour.
    void refresh();

    platform::Canvas surface_{kClientWidth, kClientHeight};
    platform::Canvas hatch_{8, 8};  // the hatch pattern as the brush paints it
};

}  // namespace plorin
