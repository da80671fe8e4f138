// The simulated desktop the colour picker looks at: two monitors, the primary one (0, 0) to
// (1280, 800) and a second one left of it, (-1024, 0) to (0, 768), so the virtual screen runs
// from (-1024, 0) to (1280, 800) and its corner below the second monitor shows nothing
// (black). The host's active window fills the primary monitor; the slide it shows sits at
// (100, 100) at one pixel per point, drawn by the host's renderer. Dialogs are not drawn.
#pragma once

#include <functional>

#include "host/host.h"
#include "platform/screen.h"

namespace sim {

constexpr int kPrimaryWidth = 1280, kPrimaryHeight = 800;
constexpr int kSecondLeft = -1024, kSecondWidth = 1024, kSecondHeight = 768;
constexpr int kSlideLeft = 100, kSlideTop = 100;  // the slide's corner on the screen

// Shows the desktop as it stands now on the screen: the active window, if there is one,
// with its slide.
void composeDesktop(host::Application* app, platform::PictureScreen& screen);

// The screen the simulator installs: composed afresh only when something reads it after it
// was marked stale (before each modal dialog, by `screen`). Drawing a slide of many shapes
// takes milliseconds, and most dialogs never look at the screen.
class DesktopScreen : public platform::Screen {
public:
    explicit DesktopScreen(std::function<host::Application*()> app) : app_(std::move(app)) {}
    // The window may have changed: the next read composes the screen again.
    void markStale() { stale_ = true; }
    // The screen as it stands, composed first when stale.
    const platform::PictureScreen& composed() const;

    platform::PixelRect virtualScreen() const override { return composed().virtualScreen(); }
    platform::PixelRect primaryMonitor() const override { return composed().primaryMonitor(); }
    std::optional<std::uint32_t> pixel(int x, int y) const override { return composed().pixel(x, y); }

private:
    std::function<host::Application*()> app_;
    mutable platform::PictureScreen screen_{kPrimaryWidth, kPrimaryHeight};
    mutable bool stale_ = false;
};

}  // namespace sim
