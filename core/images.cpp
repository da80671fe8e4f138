// Picture loading and clipboard thumbnails over the picture layer. Nothing here traps
// errors: a failed step is a result, anything unexpected goes to the caller's handler.
#include "core/images.h"

#include <strings.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <optional>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

#include "host/clipboard.h"
#include "host/render.h"
#include "platform/filesystem.h"
#include "platform/picture.h"
#include "platform/services.h"

namespace plorin {

namespace {

// Rounds to the nearest whole number, a tie to the even one, as a single-precision value is
// assigned to a whole number. Values that are no numbers count as 0.
int roundHalfEven(float v) {
    if (!std::isfinite(v)) return 0;
    return static_cast<int>(std::nearbyint(v));
}

}  // namespace

namespace {

// Decoded pictures by path, each with the stamp of the file it was read from: the ribbon asks
// for every picture again on each redraw, and a file is decoded again only once it changed.
// The pictures of one file system are kept; using another starts afresh.
//
// What is kept grows with the galleries in use: a picture someone still holds (a gallery
// drawn, a bar's button) costs nothing more here and stays, and of the others the least
// recently asked for go once they pass kBudget. So a gallery of a thousand thumbnails opened
// again is a lookup per item, not a thousand decodings.
class PictureCache {
public:
    std::shared_ptr<const platform::Picture> load(const std::string& path) {
        platform::FileSystem& fs = platform::fileSystem();
        std::lock_guard lock(mutex_);
        follow(fs);
        const auto found = entries_.find(path);
        if (found != entries_.end()) {
            const std::optional<platform::FileStamp> stamp = fs.stamp(path);
            if (stamp && found->second.stamp == *stamp) {
                found->second.lastUse = ++uses_;
                return found->second.picture;
            }
            forget(found);
        }
        // One opening gives the contents and the stamp they were read under; a file that
        // changed while it was read has none and is not kept.
        std::optional<platform::FileSystem::StampedContents> read = fs.readAllStamped(path);
        if (!read) return nullptr;
        std::shared_ptr<const platform::Picture> picture = platform::decodePng(read->bytes, path);
        if (picture && read->stamp) add(path, *read->stamp, picture);
        return picture;
    }

    // A picture this process has just written to `path`, kept as if read from it, so that
    // the galleries showing a thumbnail that was just drawn need not read it back.
    void keep(const std::string& path, std::shared_ptr<const platform::Picture> picture) {
        platform::FileSystem& fs = platform::fileSystem();
        std::lock_guard lock(mutex_);
        follow(fs);
        if (const auto found = entries_.find(path); found != entries_.end()) forget(found);
        if (const std::optional<platform::FileStamp> stamp = fs.stamp(path)) add(path, *stamp, std::move(picture));
    }

    void clear() {
        std::lock_guard lock(mutex_);
        entries_.clear();
        bytes_ = 0;
        nextTrim_ = 0;
    }

private:
    static constexpr std::size_t kBudget = 64u << 20;  // bytes of pixels nobody else holds
    struct Entry {
        platform::FileStamp stamp;
        std::shared_ptr<const platform::Picture> picture;
        std::uint64_t lastUse = 0;
    };
    static std::size_t size(const platform::Picture& p) { return p.pixels.size() * sizeof(std::uint32_t); }

    void forget(std::unordered_map<std::string, Entry>::iterator entry) {
        bytes_ -= size(*entry->second.picture);
        entries_.erase(entry);
    }

    void add(const std::string& path, const platform::FileStamp& stamp,
             std::shared_ptr<const platform::Picture> picture) {
        bytes_ += size(*picture);
        entries_.emplace(path, Entry{stamp, std::move(picture), ++uses_});
        if (bytes_ > kBudget && bytes_ >= nextTrim_) trim();
    }

    // What was read through another file system says nothing of this one's files.
    void follow(const platform::FileSystem& fs) {
        if (&fs == fileSystem_) return;
        entries_.clear();
        bytes_ = 0;
        fileSystem_ = &fs;
    }

    // Lets go of the least recently used pictures nobody else holds, down to half the budget.
    // While the pictures in use alone pass the budget, the next look comes only after another
    // quarter of it was added.
    void trim() {
        std::vector<std::pair<std::uint64_t, std::string>> unused;
        std::size_t unusedBytes = 0;
        for (const auto& [path, entry] : entries_)
            if (entry.picture.use_count() == 1) {
                unused.emplace_back(entry.lastUse, path);
                unusedBytes += size(*entry.picture);
            }
        std::sort(unused.begin(), unused.end());
        for (const auto& [lastUse, path] : unused) {
            if (unusedBytes <= kBudget / 2) break;
            const auto found = entries_.find(path);
            unusedBytes -= size(*found->second.picture);
            forget(found);
        }
        nextTrim_ = bytes_ + kBudget / 4;
    }

    std::mutex mutex_;
    const platform::FileSystem* fileSystem_ = nullptr;
    std::unordered_map<std::string, Entry> entries_;
    std::size_t bytes_ = 0, nextTrim_ = 0;
    std::uint64_t uses_ = 0;
};

// Process-wide: the pictures do not depend on the add-in, only on their files. Never
// destroyed: a host ended at exit (by a static of its own) disconnects the add-in, which
// clears the cache after the statics of this file may already be gone.
PictureCache& pictureCache() {
    static PictureCache* const cache = new PictureCache;
    return *cache;
}

}  // namespace

std::shared_ptr<const platform::Picture> loadPictureGdiPlus(const std::string& path) {
    return pictureCache().load(path);
}

void clearPictureCache() { pictureCache().clear(); }

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
    const host::Clipboard::Contents held = clip.contents();
    clip.clear();

    // Copied shapes are drawn straight at the thumbnail's size from the clipboard's vector
    // picture: the same place and size as their bitmap scaled down, at a fraction of the cost
    // and sharper. A stored bitmap is scaled down.
    int sourceWidth = 0, sourceHeight = 0;
    if (held.bitmap) {
        sourceWidth = held.bitmap->width;
        sourceHeight = held.bitmap->height;
        if (sourceWidth < 1 || sourceHeight < 1 ||
            held.bitmap->pixels.size() !=
                static_cast<std::size_t>(sourceWidth) * static_cast<std::size_t>(sourceHeight))
            return thumbnailBadBitmap;
    } else if (!held.shapes.empty()) {
        std::tie(sourceWidth, sourceHeight) = host::renderedSize(held.shapes, host::kPixelsPerPointAt96Dpi);
    } else {
        return thumbnailNoBitmap;
    }

    const FitRect r = fitRectangle(sourceWidth, sourceHeight, width, height, false);

    // The canvas releases its surface on every way out.
    platform::Canvas thumbnail(width, height);
    if (!thumbnail.ok()) return thumbnailNoCanvas;
    if (held.bitmap) thumbnail.drawPicture(*held.bitmap, r.left, r.top, r.width, r.height);
    else host::drawShapes(held.shapes, host::kPixelsPerPointAt96Dpi, thumbnail, r.left, r.top, r.width, r.height);

    // The margins: left and right over the full height, above and below from the picture's
    // left edge to the box's right edge.
    const int right = r.left + r.width, bottom = r.top + r.height;
    thumbnail.fillRect(0, 0, r.left, height, argbBackground);
    thumbnail.fillRect(right, 0, width - right, height, argbBackground);
    thumbnail.fillRect(r.left, 0, width - r.left, r.top, argbBackground);
    thumbnail.fillRect(r.left, bottom, width - r.left, height - bottom, argbBackground);

    if (getEncoderClsid("image/png") < 1) return thumbnailNoEncoder;
    // Thumbnails are drawn again from their slides whenever they are missing or stale. They
    // are stored uncompressed: every gallery reads them, and compressing was most of a build.
    auto written = std::make_shared<platform::Picture>();
    if (!platform::saveStoredPng(thumbnail.toPicture(), path, platform::Durability::cached, written.get()))
        return thumbnailNotSaved;
    pictureCache().keep(path, std::move(written));
    return thumbnailWritten;
}

}  // namespace plorin
