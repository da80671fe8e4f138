// Picture loading and clipboard thumbnails over the picture layer. Nothing here traps
// errors: a failed step is a result, anything unexpected goes to the caller's handler.
#include "core/images.h"

#include <strings.h>

#include <algorithm>
#include <cmath>

#include "host/clipboard.h"
#include "platform/picture.h"

namespace plorin {

namespace {

// Rounds to the nearest whole number, a tie to the even one, as a single-precision value is
// assigned to a whole number. Values that are no numbers count as 0.
int roundHalfEven(float v) {
    if (!std::isfinite(v)) return 0;
    return static_cast<int>(std::nearbyint(v));
}

}  // namespace

std::shared_ptr<platform::Picture> loadPictureGdiPlus(const std::string& path) { return platform::loadPng(path); }

FitRect fitRectangle(int pictureWidth, int pictureHeight, int boxWidth, int boxHeight, bool enlarge) {
    FitRect r;
    if (pictureWidth <= boxWidth && pictureHeight <= boxHeight && !enlarge) {
        r.width = pictureWidth;
        r.height = pictureHeight;
    } else {
        // Single precision on purpose: the rounding of the scaled side depends on it.
        const float widthRatio = static_cast<float>(boxWidth) / static_cast<float>(pictureWidth);
        const float heightRatio = static_cast<float>(boxHeight) / static_cast<float>(pictureHeight);
        if (widthRatio < heightRatio) {
            r.width = boxWidth;
            r.height = roundHalfEven(widthRatio * static_cast<float>(pictureHeight));
        } else {
            r.height = boxHeight;
            r.width = roundHalfEven(heightRatio * static_cast<float>(pictureWidth));
        }
    }
    r.width = std::max(r.width, 1);
    r.height = std::max(r.height, 1);
    r.left = (boxWidth - r.width) / 2;
    r.top = (boxHeight - r.height) / 2;
    return r;
}

int getEncoderClsid(const std::string& mimeType) {
    const auto encoders = platform::imageEncoders();
    for (std::size_t i = 0; i < encoders.size(); ++i)
        if (::strcasecmp(encoders[i].c_str(), mimeType.c_str()) == 0) return static_cast<int>(i) + 1;
    return -1;
}

int saveClipboardAsPng(std::int16_t width, std::int16_t height, std::uint32_t argbBackground, const std::string& path) {
    // Read the clipboard, then empty it, as the thumbnail builders have always found it.
    auto& clip = host::clipboard();
    const std::shared_ptr<platform::Picture> source = clip.hasBitmap() ? clip.bitmap() : nullptr;
    clip.clear();
    if (!source) return thumbnailNoBitmap;
    if (source->width < 1 || source->height < 1 ||
        source->pixels.size() != static_cast<std::size_t>(source->width) * static_cast<std::size_t>(source->height))
        return thumbnailBadBitmap;

    const FitRect r = fitRectangle(source->width, source->height, width, height, false);

    // The canvas releases its surface on every way out.
    platform::Canvas thumbnail(width, height);
    if (!thumbnail.ok()) return thumbnailNoCanvas;
    thumbnail.drawPicture(*source, r.left, r.top, r.width, r.height);

    // The margins: left and right over the full height, above and below from the picture's
    // left edge to the box's right edge.
    const int right = r.left + r.width, bottom = r.top + r.height;
    thumbnail.fillRect(0, 0, r.left, height, argbBackground);
    thumbnail.fillRect(right, 0, width - right, height, argbBackground);
    thumbnail.fillRect(r.left, 0, width - r.left, r.top, argbBackground);
    thumbnail.fillRect(r.left, bottom, width - r.left, height - bottom, argbBackground);

    if (getEncoderClsid("image/png") < 1) return thumbnailNoEncoder;
    if (!platform::savePng(thumbnail.toPicture(), path)) return thumbnailNotSaved;
    return thumbnailWritten;
}

}  // namespace plorin
