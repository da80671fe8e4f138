#include "sim/desktop.h"

#include <algorithm>

#include "host/render.h"

namespace sim {

namespace {

constexpr std::uint32_t kBlack = 0xFF000000u;
constexpr std::uint32_t kDesktopColour = 0xFF2F6F8Fu;  // ARGB
constexpr std::uint32_t kWindowColour = 0xFFC8C8C8u;

// Paints a rectangle of the virtual screen (screen coordinates) with one colour.
void paint(platform::Picture& picture, int left, int top, int width, int height, std::uint32_t argb) {
    for (int y = std::max(top, 0); y < std::min(top + height, picture.height); ++y)
        for (int x = std::max(left, 0); x < std::min(left + width, picture.width); ++x)
            picture.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width) +
                           static_cast<std::size_t>(x)] = argb;
}

}  // namespace

void composeDesktop(host::Application* app, platform::PictureScreen& screen) {
    const int left = kSecondLeft, top = 0;
    platform::Picture picture;
    picture.width = kPrimaryWidth - kSecondLeft;
    picture.height = kPrimaryHeight;
    picture.pixels.assign(static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height), kBlack);
    paint(picture, kSecondLeft - left, 0 - top, kSecondWidth, kSecondHeight, kDesktopColour);
    paint(picture, 0 - left, 0 - top, kPrimaryWidth, kPrimaryHeight, kDesktopColour);

    std::shared_ptr<host::DocumentWindow> window;
    try {
        if (app) window = app->ActiveWindow();
    } catch (const host::HostError&) {
        // No window: the desktop alone.
    }
    if (window) {
        paint(picture, 0 - left, 0 - top, kPrimaryWidth, kPrimaryHeight, kWindowColour);
        if (auto slide = window->currentSlide()) {
            const platform::Picture shown = host::renderSlide(*slide, 1.0);
            for (int y = 0; y < shown.height; ++y)
                for (int x = 0; x < shown.width; ++x) {
                    const int px = kSlideLeft + x - left, py = kSlideTop + y - top;
                    if (px < 0 || py < 0 || px >= picture.width || py >= picture.height) continue;
                    picture.pixels[static_cast<std::size_t>(py) * static_cast<std::size_t>(picture.width) +
                                   static_cast<std::size_t>(px)] =
                        shown.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(shown.width) +
                                     static_cast<std::size_t>(x)];
                }
        }
    }
    screen.setPrimaryMonitor(kPrimaryWidth, kPrimaryHeight);
    screen.show(std::move(picture), left, top);
}

const platform::PictureScreen& DesktopScreen::composed() const {
    if (stale_) {
        composeDesktop(app_(), screen_);
        stale_ = false;
    }
    return screen_;
}

}  // namespace sim
