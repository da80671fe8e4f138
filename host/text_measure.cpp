// Text widths for BoundWidth and the renderer's fonts: cairo's toy font interface on a
// scratch surface, or the measurer a test installs.
#include <cairo.h>

#include <cstdlib>
#include <mutex>

#include "host/text.h"
#include "platform/picture.h"

namespace host {

namespace {

struct Measuring {
    std::mutex lock;
    TextMeasurer custom;
};

Measuring& measuring() {
    static Measuring m;
    return m;
}

}  // namespace

// Leak checkers count cairo's and fontconfig's font caches as leaks: released once at exit.
void noteFontUse() { platform::releaseFontCachesAtExit(); }

void selectFont(cairo_t* cr, const std::string& fontName, double size, bool bold, bool italic) {
    noteFontUse();
    cairo_select_font_face(cr, fontName.empty() ? kDefaultFontName : fontName.c_str(),
                           italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);  // one cairo unit is one point here
}

void setTextMeasurer(TextMeasurer measurer) {
    std::lock_guard<std::mutex> guard(measuring().lock);
    measuring().custom = std::move(measurer);
}

double measureText(const std::string& utf8, const std::string& fontName, double size, bool bold, bool italic) {
    TextMeasurer custom;
    {
        std::lock_guard<std::mutex> guard(measuring().lock);
        custom = measuring().custom;
    }
    if (custom) return custom(utf8, fontName, size, bold, italic);
    if (utf8.empty()) return 0;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
    cairo_t* cr = cairo_create(surface);
    selectFont(cr, fontName, size, bold, italic);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, utf8.c_str(), &extents);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return extents.x_advance;
}

}  // namespace host
