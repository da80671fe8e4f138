// Pictures for the ribbon and the library galleries: loading an image file into a picture
// object, and turning the bitmap that was just copied to the clipboard (a slide's shapes)
// into a PNG thumbnail of a fixed size.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/ui_forms.h"

namespace plorin {

// The picture in a PNG file, or nullptr when the file cannot be read as one. A file read
// before and unchanged since (same file, size and change times) is not decoded again: callers
// share the decoded picture, which never changes.
std::shared_ptr<const platform::Picture> loadPictureGdiPlus(const std::string& path);
// Lets go of every decoded picture kept (at disconnection, and in tests).
void clearPictureCache();

// Where a picture is drawn in a box.
struct FitRect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const FitRect&) const = default;
};

// A picture that fits the box and may not be enlarged keeps its size; otherwise it is scaled
// to the box keeping its aspect ratio (ties go to the box's height). Never narrower or lower
// than one pixel; centred, with an odd spare pixel going to the right or bottom margin.
FitRect fitRectangle(int pictureWidth, int pictureHeight, int boxWidth, int boxHeight, bool enlarge);

// The position (from 1) of the encoder for the MIME type (compared without regard to case)
// among the system's image encoders, or -1 when there is none.
int getEncoderClsid(const std::string& mimeType);

// Steps of saveClipboardAsPng that can fail; the routine returns the first that did.
enum ThumbnailStep : int {
    thumbnailWritten = 0,
    thumbnailNoBitmap = 4,   // the clipboard offered no bitmap
    thumbnailBadBitmap = 5,  // the bitmap had no pixels
    thumbnailNoCanvas = 7,   // a width by height image could not be made
    thumbnailNoEncoder = 9,  // the system has no PNG encoder
    thumbnailNotSaved = 10,  // the file could not be written
};

// Writes the clipboard's bitmap as a width by height PNG file: scaled down (never up) to
// fit with its aspect ratio kept, centred, the margins painted with `argbBackground` (alpha
// in the top byte: 0 leaves them transparent). Empties the clipboard once it has read it.
// Returns thumbnailWritten (0), else the number of the step that failed; nothing is written
// then.
int saveClipboardAsPng(std::int16_t width, std::int16_t height, std::uint32_t argbBackground, const std::string& path);

}  // namespace plorin
