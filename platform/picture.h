// Pictures as files and as drawings: PNG in and out, and a canvas that draws pictures scaled
// with a high-quality filter and fills areas with colours. Built on cairo; the canvas hands
// out its cairo context to code that draws shapes itself (the host's slide renderer).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/filesystem.h"
#include "platform/ui_forms.h"

// cairo's own opaque types, so that users of this header need not include cairo.
typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace platform {

// The picture in a PNG file (read through the platform's file system), with straight alpha;
// `source` is the path. nullptr when the file is missing or not a readable PNG.
std::shared_ptr<Picture> loadPng(const std::string& path);
// The same for a file's contents already read; `source` names the file.
std::shared_ptr<Picture> decodePng(const std::string& bytes, const std::string& source);

// Writes the picture as a PNG file, replacing any file there all at once, flushed as far as
// `durability` says. False when the picture is empty or malformed, there is no PNG encoder
// (see imageEncoders), or the file cannot be written.
bool savePng(const Picture& picture, const std::string& path, Durability durability = Durability::durable);
// The same with the pixels stored, not compressed (8-bit RGBA, unfiltered rows, stored
// blocks): about four bytes a pixel on the disk, but written and read again (loadPng) by
// copying, for pictures read far more often than they take room. The samples are those
// savePng's file holds. Sides above 32767 are refused, as cairo refuses them. `asRead`, when
// given and the file written, receives the picture loadPng gives for the file, without reading it.
bool saveStoredPng(const Picture& picture, const std::string& path, Durability durability = Durability::durable,
                   Picture* asRead = nullptr);

// The image encoders the system offers, by MIME type, in the system's order ("image/png"
// among them). Tests replace the list to play a system without some encoder.
std::vector<std::string> imageEncoders();
// Installs a list (nothing: the system's own) and returns the one installed before.
std::optional<std::vector<std::string>> useImageEncoders(std::optional<std::vector<std::string>> encoders);

// The font caches of cairo and fontconfig live until the process ends, which leak checkers
// count as leaks: the first call arranges their release at exit. Whoever draws or measures
// text calls it first.
void releaseFontCachesAtExit();

// The width in whole pixels (96 per inch, rounded up) that the text takes in that font at
// that size in points; 0 for the empty text. A font the system lacks is stood in for by its
// nearest match, so the width is always a drawable one.
int textWidth(const std::string& text, const std::string& fontName, double sizePoints);

// A picture being drawn: ARGB pixels, transparent black to begin with. Colours are ARGB with
// alpha in the top byte, as the system's drawing calls take them.
class Canvas {
public:
    // A canvas of that size; ok() is false when it could not be made (a size below 1, or too
    // large), and every drawing call then does nothing.
    Canvas(int width, int height);
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    ~Canvas();

    bool ok() const { return context_ != nullptr; }
    int width() const { return width_; }
    int height() const { return height_; }

    // Paints the colour over the whole canvas, or over a rectangle, as a solid brush does
    // (source over what is there: a transparent colour changes nothing).
    void fill(std::uint32_t argb);
    void fillRect(double left, double top, double width, double height, std::uint32_t argb);
    // Draws the picture scaled into the rectangle with the best filter cairo has; the edges
    // of the rectangle stay sharp. An empty or malformed picture draws nothing.
    void drawPicture(const Picture& picture, double left, double top, double width, double height);

    // The pixels drawn so far, with straight alpha (empty picture when !ok()).
    Picture toPicture() const;
    // For drawing with cairo directly (nullptr when !ok()). The canvas keeps ownership.
    cairo_t* context() const { return context_; }

private:
    int width_, height_;
    cairo_surface_t* surface_ = nullptr;
    cairo_t* context_ = nullptr;
};

}  // namespace platform
