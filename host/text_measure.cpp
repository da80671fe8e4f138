// Text widths for BoundWidth: cairo's toy font interface on a scratch surface, or the
// measurer a test installs.
#include <cairo.h>

#include <mutex>

#include "host/text.h"

namespace host {

namespace {

struct Measuring {
    std::mutex lock;
    TextMeasurer custom;
    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;
};

Measuring& measuring() {
    static Measuring m;
    return m;
}

}  // namespace

void setTextMeasurer(TextMeasurer measurer) {
    std::lock_guard<std::mutex> guard(measuring().lock);
    measuring().custom = std::move(measurer);
}

double measureText(const std::string& utf8, const std::string& fontName, double size, bool bold, bool italic) {
    Measuring& m = measuring();
    std::unique_lock<std::mutex> guard(m.lock);
    if (m.custom) {
        TextMeasurer custom = m.custom;
        guard.unlock();
        return custom(utf8, fontName, size, bold, italic);
    }
    if (utf8.empty()) return 0;
    if (!m.cr) {
        m.surface = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
        m.cr = cairo_create(m.surface);
    }
    cairo_select_font_face(m.cr, fontName.empty() ? kDefaultFontName : fontName.c_str(),
                           italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(m.cr, size);  // one cairo unit is one point here
    cairo_text_extents_t extents;
    cairo_text_extents(m.cr, utf8.c_str(), &extents);
    return extents.x_advance;
}

}  // namespace host
