#include "platform/screen.h"

namespace platform {

PictureScreen::PictureScreen(int primaryWidth, int primaryHeight) : primary_{0, 0, primaryWidth, primaryHeight} {
    Picture white;
    white.width = primaryWidth > 0 ? primaryWidth : 0;
    white.height = primaryHeight > 0 ? primaryHeight : 0;
    white.pixels.assign(static_cast<std::size_t>(white.width) * static_cast<std::size_t>(white.height), 0xFFFFFFFFu);
    picture_ = std::move(white);
}

void PictureScreen::show(Picture picture, int left, int top) {
    picture_ = std::move(picture);
    left_ = left;
    top_ = top;
}

PixelRect PictureScreen::virtualScreen() const { return {left_, top_, left_ + picture_.width, top_ + picture_.height}; }

std::optional<std::uint32_t> PictureScreen::pixel(int x, int y) const {
    if (!virtualScreen().contains(x, y)) return std::nullopt;
    const std::size_t i = static_cast<std::size_t>(y - top_) * static_cast<std::size_t>(picture_.width) +
                          static_cast<std::size_t>(x - left_);
    if (i >= picture_.pixels.size()) return 0;  // a malformed picture: nothing to show there
    const std::uint32_t argb = picture_.pixels[i];
    // Straight alpha over black, as a transparent part of the screen shows.
    const std::uint32_t a = argb >> 24;
    auto channel = [&](int shift) { return (((argb >> shift) & 0xFF) * a + 127) / 255; };
    return argbToRgb((channel(16) << 16) | (channel(8) << 8) | channel(0));
}

std::unique_ptr<Screen> makeDesktopScreen() { return std::make_unique<PictureScreen>(1024, 768); }

}  // namespace platform
