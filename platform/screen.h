// The screen the user sees, as pixels in screen coordinates: the primary monitor's top-left
// corner is (0, 0), and other monitors may lie left of or above it, at negative coordinates.
// The virtual screen is the smallest rectangle that holds every monitor. Whoever shows the
// screen (the simulator, a test) composes it as one picture.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "platform/ui_forms.h"

namespace platform {

class Screen {
public:
    Screen() = default;
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;
    virtual ~Screen() = default;

    // The rectangle of all monitors together.
    virtual PixelRect virtualScreen() const = 0;
    // The primary monitor: (0, 0) to its width and height.
    virtual PixelRect primaryMonitor() const = 0;
    // The colour of a pixel as RGB 0x00BBGGRR, as the system's pixel reading gives it;
    // nothing for a pixel outside the virtual screen.
    virtual std::optional<std::uint32_t> pixel(int x, int y) const = 0;
};

// A screen shown as one picture that covers the virtual screen, its top-left pixel at
// (left, top). Pixels the picture leaves transparent read black, as parts of the virtual
// screen outside every monitor do.
class PictureScreen : public Screen {
public:
    // A white primary monitor of that size and nothing else.
    PictureScreen(int primaryWidth, int primaryHeight);
    // The picture becomes the virtual screen; the primary monitor keeps its size.
    void show(Picture picture, int left, int top);
    void setPrimaryMonitor(int width, int height) { primary_ = {0, 0, width, height}; }
    const Picture& picture() const { return picture_; }

    PixelRect virtualScreen() const override;
    PixelRect primaryMonitor() const override { return primary_; }
    std::optional<std::uint32_t> pixel(int x, int y) const override;

private:
    Picture picture_;
    int left_ = 0, top_ = 0;
    PixelRect primary_;
};

// The desktop: no access to its pixels from here; one white monitor of 1024 by 768.
std::unique_ptr<Screen> makeDesktopScreen();

// An ARGB picture pixel as RGB 0x00BBGGRR, and back (opaque).
constexpr std::uint32_t argbToRgb(std::uint32_t argb) {
    return ((argb >> 16) & 0xFF) | (argb & 0xFF00) | ((argb & 0xFF) << 16);
}
constexpr std::uint32_t rgbToArgb(std::uint32_t rgb) { return 0xFF000000u | argbToRgb(rgb & 0xFFFFFF); }

}  // namespace platform
