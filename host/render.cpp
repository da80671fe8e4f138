// Drawing shapes with cairo. Coordinates are points on the slide; each shape is drawn in its
// own frame (origin at its centre, rotated clockwise, flipped), AutoShapes with their
// adjustment values as their host means them, freeforms through their nodes.
#include "host/render.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <sstream>

#include "host/autoshape.h"
#include "host/text.h"
#include "platform/picture.h"

namespace host {

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr double kDefaultTab = 72;  // points between default tab stops

struct Point {
    double x, y;
};

void polygon(cairo_t* cr, const std::vector<Point>& points) {
    cairo_move_to(cr, points.front().x, points.front().y);
    for (std::size_t i = 1; i < points.size(); ++i) cairo_line_to(cr, points[i].x, points[i].y);
    cairo_close_path(cr);
}

// An arrow pointing right in a box `len` long and `thick` across, centred at the origin,
// with its head `head` long and its shaft `shaft` thick; a notched arrow's tail is cut in by
// `notch`.
std::vector<Point> rightArrow(double len, double thick, bool twoHeads, double notch, double head, double shaft) {
    const double hl = len / 2, ht = thick / 2, hs = shaft / 2;
    std::vector<Point> p;
    if (twoHeads) {
        p = {{-hl, 0}, {-hl + head, -ht}, {-hl + head, -hs}, {hl - head, -hs}, {hl - head, -ht},
             {hl, 0},  {hl - head, ht},   {hl - head, hs},   {-hl + head, hs}, {-hl + head, ht}};
    } else {
        p = {{-hl, -hs}, {hl - head, -hs}, {hl - head, -ht}, {hl, 0}, {hl - head, ht}, {hl - head, hs}, {-hl, hs}};
        if (notch > 0) p.push_back({-hl + std::min(notch, len - head), 0});
    }
    return p;
}

// Turns points drawn pointing right into the direction wanted: 0 right, 1 left, 2 up, 3 down.
std::vector<Point> turn(std::vector<Point> points, int direction) {
    for (auto& p : points) {
        const Point q = p;
        switch (direction) {
            case 1: p = {-q.x, q.y}; break;
            case 2: p = {q.y, -q.x}; break;
            case 3: p = {-q.y, q.x}; break;
            default: break;
        }
    }
    return points;
}

void roundedRectangle(cairo_t* cr, double hw, double hh, double radius) {
    const double r = std::clamp(radius, 0.0, std::min(hw, hh));
    constexpr double pi = std::numbers::pi;
    cairo_new_sub_path(cr);
    cairo_arc(cr, hw - r, -hh + r, r, -pi / 2, 0);
    cairo_arc(cr, hw - r, hh - r, r, 0, pi / 2);
    cairo_arc(cr, -hw + r, hh - r, r, pi / 2, pi);
    cairo_arc(cr, -hw + r, -hh + r, r, pi, 3 * pi / 2);
    cairo_close_path(cr);
}

void setRgb(cairo_t* cr, std::uint32_t rgb) {
    cairo_set_source_rgb(cr, (rgb & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, ((rgb >> 16) & 0xFF) / 255.0);
}

// What a shape's colours become: in colour (mode 0) themselves, else through its
// black-and-white mode. Grey levels are the colour's luminance; light grayscale goes halfway
// to white, inverse grayscale turns the level over; automatic draws as grayscale.
struct Ink {
    enum Part { fill, line, text };
    int mode = 0;

    bool shown() const { return mode != msoBlackWhiteDontShow; }

    std::uint32_t operator()(Part part, std::uint32_t rgb) const {
        if (mode == 0) return rgb;
        constexpr std::uint32_t white = 0xFFFFFF, black = 0;
        const int level = static_cast<int>(
            std::lround(0.299 * (rgb & 0xFF) + 0.587 * ((rgb >> 8) & 0xFF) + 0.114 * ((rgb >> 16) & 0xFF)));
        const auto grey = [](int l) { return static_cast<std::uint32_t>(l * 0x010101); };
        switch (mode) {
            case msoBlackWhiteLightGrayScale: return grey((level + 256) / 2);
            case msoBlackWhiteInverseGrayScale: return grey(255 - level);
            case msoBlackWhiteGrayOutline: return part == fill ? white : grey(level);
            case msoBlackWhiteBlackTextAndLine: return part == fill ? grey(level) : black;
            case msoBlackWhiteHighContrast: return part == fill ? white : black;
            case msoBlackWhiteBlack: return black;
            case msoBlackWhiteWhite: return white;
            default: return grey(level);  // automatic and grayscale
        }
    }
};

}  // namespace

// Reaches into the shapes it draws: groups of copied shapes hold members outside any slide.
struct ShapePainter {
    // In the black-and-white view (`blackWhite`), a group's own mode, unless automatic,
    // stands for its members' modes.
    static void draw(cairo_t* cr, const Shape& s, AdjustmentMeaning meaning, bool blackWhite,
                     int groupMode = msoBlackWhiteAutomatic) {
        if (s.visible_ == msoFalse) return;
        const Ink ink{blackWhite ? (groupMode != msoBlackWhiteAutomatic ? groupMode : s.blackWhiteMode_) : 0};
        if (!ink.shown()) return;
        if (s.type_ == msoGroup) {
            // A live group leaves out members deleted since; a copy holds only live ones.
            for (const auto& m : s.groupItems_)
                if (m->parent_ || !s.parent_) draw(cr, *m, meaning, blackWhite, ink.mode);
            return;
        }
        const double hw = std::fabs(s.width_) / 2, hh = std::fabs(s.height_) / 2;
        cairo_save(cr);
        cairo_translate(cr, s.left_ + s.width_ / 2.0, s.top_ + s.height_ / 2.0);
        cairo_rotate(cr, s.rotation_ * std::numbers::pi / 180.0);
        cairo_save(cr);
        cairo_scale(cr, s.hflip_ == msoTrue ? -1 : 1, s.vflip_ == msoTrue ? -1 : 1);
        const bool closed = outline(cr, s, meaning, hw, hh);
        if (closed && s.fill_.Visible() == msoTrue) {
            setRgb(cr, ink(Ink::fill, s.fill_.ForeColor().RGB()));
            cairo_fill_preserve(cr);
        }
        if (s.line_.Visible() == msoTrue && s.line_.Weight() > 0) {
            setRgb(cr, ink(Ink::line, s.line_.ForeColor().RGB()));
            cairo_set_line_width(cr, s.line_.Weight());
            cairo_stroke_preserve(cr);
        }
        cairo_new_path(cr);
        cairo_restore(cr);  // text turns with the shape but is not mirrored
        if (s.text_ && s.text_->characterCount() > 0) text(cr, *s.text_, hw, hh, ink);
        cairo_restore(cr);
    }

    static const std::vector<float>& adjustments(const Shape& s, AdjustmentMeaning meaning) {
        return s.outline_ && s.outline_->adjustments ? *s.outline_->adjustments
                                                     : defaultAdjustments(s.autoShapeType_, meaning);
    }

    // Lays the shape's outline down as the current path; false for an open one (a line, or
    // a freeform of two nodes). AutoShapes follow their adjustment values as the host
    // family means them; a freeform runs through its nodes, closed.
    static bool outline(cairo_t* cr, const Shape& s, AdjustmentMeaning meaning, double hw, double hh) {
        const double w = 2 * hw, h = 2 * hh;
        if (s.type_ == msoLine) {
            cairo_move_to(cr, -hw, -hh);
            cairo_line_to(cr, hw, hh);
            return false;
        }
        if (s.type_ == msoFreeform && s.outline_ && s.outline_->nodes.size() >= 2) {
            const auto& nodes = s.outline_->nodes;
            cairo_move_to(cr, -hw + nodes.front().first * w, -hh + nodes.front().second * h);
            for (std::size_t i = 1; i < nodes.size(); ++i)
                cairo_line_to(cr, -hw + nodes[i].first * w, -hh + nodes[i].second * h);
            if (nodes.size() == 2) return false;
            cairo_close_path(cr);
            return true;
        }
        if (s.type_ != msoAutoShape) {
            cairo_rectangle(cr, -hw, -hh, w, h);
            return true;
        }
        const std::vector<float>& values = adjustments(s, meaning);
        const double a = values.empty() ? 0.5 : values.front();
        const int type = s.autoShapeType_;
        const BlockArrowGeometry arrow = blockArrowGeometry(meaning, type, values, w, h);
        const auto across = [&](double len, double thick, bool twoHeads, double notch = 0) {
            return rightArrow(len, thick, twoHeads, notch, arrow.head, arrow.shaft);
        };
        switch (type) {
            case msoShapeRoundedRectangle: roundedRectangle(cr, hw, hh, cornerRadius(a, w, h)); break;
            case msoShapeOval:
                if (hw > 0 && hh > 0) {
                    cairo_save(cr);
                    cairo_scale(cr, hw, hh);
                    cairo_arc(cr, 0, 0, 1, 0, 2 * std::numbers::pi);
                    cairo_restore(cr);  // the path stays; the line width is not scaled
                } else {
                    cairo_rectangle(cr, -hw, -hh, w, h);
                }
                break;
            case msoShapeRightArrow: polygon(cr, across(w, h, false)); break;
            case msoShapeLeftArrow: polygon(cr, turn(across(w, h, false), 1)); break;
            case msoShapeUpArrow: polygon(cr, turn(across(h, w, false), 2)); break;
            case msoShapeDownArrow: polygon(cr, turn(across(h, w, false), 3)); break;
            case msoShapeLeftRightArrow: polygon(cr, across(w, h, true)); break;
            case msoShapeUpDownArrow: polygon(cr, turn(across(h, w, true), 2)); break;
            case msoShapeNotchedRightArrow: polygon(cr, across(w, h, false, std::min(w, h) / 4)); break;
            case msoShapeStripedRightArrow: {
                // Two stripes at the tail, then the arrow.
                const double unit = std::min(w, h) / 32, hs = arrow.shaft / 2;
                cairo_rectangle(cr, -hw, -hs, unit, 2 * hs);
                cairo_rectangle(cr, -hw + 2 * unit, -hs, 2 * unit, 2 * hs);
                const double tail = std::min(5 * unit, w - arrow.head);
                auto body = rightArrow(w - tail, h, false, 0, arrow.head, arrow.shaft);
                for (auto& p : body) p.x += tail / 2;
                polygon(cr, body);
                break;
            }
            case msoShapePentagon: {
                const double d = std::clamp(processArrowTip(meaning, a, w, h), 0.0, w);
                polygon(cr, {{-hw, -hh}, {hw - d, -hh}, {hw, 0}, {hw - d, hh}, {-hw, hh}});
                break;
            }
            case msoShapeChevron: {
                const double d = std::clamp(processArrowTip(meaning, a, w, h), 0.0, w);
                polygon(cr, {{-hw, -hh}, {hw - d, -hh}, {hw, 0}, {hw - d, hh}, {-hw, hh}, {-hw + d, 0}});
                break;
            }
            default: cairo_rectangle(cr, -hw, -hh, w, h); break;  // any other AutoShape: its frame
        }
        return true;
    }

    // One line of a paragraph: pieces of text in one format, split at tabs.
    struct Piece {
        std::string text;
        const CharFormat* format;
        bool afterTab;
    };
    struct Line {
        std::vector<Piece> pieces;
        int alignment = ppAlignLeft;
        double height = 0, ascent = 0;
        float indent = 0;
    };

    static double pieceWidth(cairo_t* cr, const Piece& p) {
        selectFont(cr, p.format->fontName, p.format->size, p.format->bold, p.format->italic);
        cairo_text_extents_t ext;
        cairo_text_extents(cr, p.text.c_str(), &ext);
        return ext.x_advance;
    }

    static std::vector<Line> layOut(cairo_t* cr, const TextBody& body) {
        std::vector<Line> out;
        for (const Paragraph& p : body.paragraphs()) {
            Line line;
            line.alignment = p.alignment;
            line.indent = body.ruler[static_cast<std::size_t>(std::clamp(p.indentLevel, 1, TextBody::kRulerLevels) - 1)]
                              .leftMargin;
            const auto finish = [&](const CharFormat& mark) {
                const CharFormat& tallest = line.pieces.empty() ? mark : *line.pieces.front().format;
                double size = tallest.size;
                for (const auto& piece : line.pieces) size = std::max<double>(size, piece.format->size);
                selectFont(cr, tallest.fontName, size, false, false);
                cairo_font_extents_t font;
                cairo_font_extents(cr, &font);
                line.height = font.height;
                line.ascent = font.ascent;
                out.push_back(line);
                line.pieces.clear();
            };
            bool tab = false;
            for (std::size_t i = 0; i < p.chars.size(); ++i) {
                const char32_t c = p.chars[i];
                if (c == U'\v') {
                    finish(p.formats[i]);
                    continue;
                }
                if (c == U'\t') {
                    tab = true;
                    continue;
                }
                if (line.pieces.empty() || tab || !(*line.pieces.back().format == p.formats[i]))
                    line.pieces.push_back({{}, &p.formats[i], tab});
                line.pieces.back().text += encodeUtf8(std::u32string(1, c));
                tab = false;
            }
            finish(p.mark);
        }
        return out;
    }

    // The text in its fonts and colours, each paragraph aligned as it says, tabs to the
    // frame's tab stops (else every inch), the block anchored in the frame.
    static void text(cairo_t* cr, const TextBody& body, double hw, double hh, const Ink& ink) {
        const double left = -hw + body.marginLeft, right = hw - body.marginRight;
        const double top = -hh + body.marginTop, bottom = hh - body.marginBottom;
        const std::vector<Line> lines = layOut(cr, body);
        double total = 0;
        for (const auto& l : lines) total += l.height;
        double y = body.verticalAnchor == msoAnchorMiddle   ? (top + bottom - total) / 2
                   : body.verticalAnchor >= msoAnchorBottom ? bottom - total
                                                            : top;
        for (const auto& line : lines) {
            std::vector<double> widths;
            double lineWidth = 0;
            for (const auto& piece : line.pieces) lineWidth += widths.emplace_back(pieceWidth(cr, piece));
            double x = line.alignment == ppAlignCenter  ? (left + right - lineWidth) / 2
                       : line.alignment == ppAlignRight ? right - lineWidth
                                                        : left + line.indent;
            for (std::size_t i = 0; i < line.pieces.size(); ++i) {
                const Piece& piece = line.pieces[i];
                if (piece.afterTab) {
                    // The rest of the line up to the next tab lines up at the next stop.
                    double run = 0;
                    for (std::size_t k = i; k < line.pieces.size() && (k == i || !line.pieces[k].afterTab); ++k)
                        run += widths[k];
                    const auto stop =
                        std::find_if(body.tabStops.begin(), body.tabStops.end(), [&](const TabStopValues& t) {
                            return left + t.position > x + (t.type == ppTabStopRight ? run : 0);
                        });
                    if (stop == body.tabStops.end())
                        x = left + (std::floor((x - left) / kDefaultTab) + 1) * kDefaultTab;
                    else if (stop->type == ppTabStopRight) x = left + stop->position - run;
                    else if (stop->type == ppTabStopCenter) x = left + stop->position - run / 2;
                    else x = left + stop->position;
                }
                selectFont(cr, piece.format->fontName, piece.format->size, piece.format->bold, piece.format->italic);
                setRgb(cr, ink(Ink::text, piece.format->color));
                cairo_move_to(cr, x, y + line.ascent);
                cairo_show_text(cr, piece.text.c_str());
                x += widths[i];
            }
            y += line.height;
        }
        cairo_new_path(cr);
    }

    static int backgroundMode(const Slide& slide) { return slide.backgroundBlackWhiteMode_; }

    // The meaning of the values where the shapes live; copies outside any slide (the
    // clipboard's) are drawn as the later hosts mean them unless one of them has a slide.
    static AdjustmentMeaning meaningOf(const std::vector<const Shape*>& shapes) {
        for (const Shape* s : shapes)
            if (s->parent_ && s->parent_->Parent()) return adjustmentMeaning(s->parent_->Parent()->app());
        return AdjustmentMeaning::ofShorterSide;
    }

    // The shape's box on the slide, rotation included.
    static Bounds box(const Shape& s) {
        const double a = s.rotation_ * std::numbers::pi / 180.0;
        const double w = std::fabs(s.width_), h = std::fabs(s.height_);
        const double bw = w * std::fabs(std::cos(a)) + h * std::fabs(std::sin(a));
        const double bh = w * std::fabs(std::sin(a)) + h * std::fabs(std::cos(a));
        const double cx = s.left_ + s.width_ / 2.0, cy = s.top_ + s.height_ / 2.0;
        return {cx - bw / 2, cy - bh / 2, bw, bh};
    }
};

namespace {

// The picture's size in pixels for an area at that scale.
std::pair<int, int> pixelSize(const Bounds& area, double scale) {
    if (!std::isfinite(scale) || scale <= 0) throw HostError(E_FAIL, "The scale of a picture must be above 0.");
    const double w = std::max(1.0, std::round(area.width * scale));
    const double h = std::max(1.0, std::round(area.height * scale));
    if (w > 32767 || h > 32767) throw HostError(E_FAIL, "The picture would be too large.");
    return {static_cast<int>(w), static_cast<int>(h)};
}

// The shapes over the area on white; in the black-and-white view over the slide's background
// in its mode (`backgroundMode`), the background being the scheme's background colour.
platform::Picture render(const std::vector<const Shape*>& shapes, const Bounds& area, double scale,
                         ColorView view = ColorView::color, int backgroundMode = msoBlackWhiteAutomatic) {
    const auto [w, h] = pixelSize(area, scale);
    platform::Canvas canvas(w, h);
    if (!canvas.ok()) throw HostError(E_FAIL, "The picture could not be made.");
    canvas.fill(kWhite);
    cairo_t* cr = canvas.context();
    const bool blackWhite = view == ColorView::blackAndWhite;
    if (const Ink background{backgroundMode}; blackWhite && background.shown()) {
        setRgb(cr, background(Ink::fill, schemeColorRGB(1)));
        cairo_paint(cr);
    }
    cairo_scale(cr, scale, scale);
    cairo_translate(cr, -area.left, -area.top);
    const AdjustmentMeaning meaning = ShapePainter::meaningOf(shapes);
    for (const Shape* s : shapes) ShapePainter::draw(cr, *s, meaning, blackWhite);
    return canvas.toPicture();
}

}  // namespace

Bounds boundingBox(const std::vector<std::shared_ptr<const Shape>>& shapes) {
    if (shapes.empty()) return {};
    double left = INFINITY, top = INFINITY, right = -INFINITY, bottom = -INFINITY;
    for (const auto& s : shapes) {
        const Bounds b = ShapePainter::box(*s);
        left = std::min(left, b.left);
        top = std::min(top, b.top);
        right = std::max(right, b.left + b.width);
        bottom = std::max(bottom, b.top + b.height);
    }
    return {left, top, right - left, bottom - top};
}

platform::Picture renderShapes(const std::vector<std::shared_ptr<const Shape>>& shapes, double scale) {
    if (shapes.empty()) return {};
    std::vector<const Shape*> list;
    for (const auto& s : shapes) list.push_back(s.get());
    return render(list, boundingBox(shapes), scale);
}

std::pair<int, int> renderedSize(const std::vector<std::shared_ptr<const Shape>>& shapes, double scale) {
    if (shapes.empty()) return {0, 0};
    return pixelSize(boundingBox(shapes), scale);
}

void drawShapes(const std::vector<std::shared_ptr<const Shape>>& shapes, double scale, platform::Canvas& canvas,
                double left, double top, double width, double height) {
    if (shapes.empty() || !canvas.ok() || width <= 0 || height <= 0) return;
    const Bounds area = boundingBox(shapes);
    const auto [w, h] = pixelSize(area, scale);
    cairo_t* cr = canvas.context();
    cairo_save(cr);
    cairo_rectangle(cr, left, top, width, height);
    cairo_clip(cr);
    // The picture renderShapes makes, stretched into the rectangle as a picture would be.
    cairo_translate(cr, left, top);
    cairo_scale(cr, width / w, height / h);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_scale(cr, scale, scale);
    cairo_translate(cr, -area.left, -area.top);
    std::vector<const Shape*> list;
    for (const auto& s : shapes) list.push_back(s.get());
    const AdjustmentMeaning meaning = ShapePainter::meaningOf(list);
    for (const Shape* s : list) ShapePainter::draw(cr, *s, meaning, false);
    cairo_restore(cr);
}

platform::Picture renderSlide(const Slide& slide, double scale, ColorView view) {
    const Presentation* p = slide.Parent();
    if (!p) throw HostError(E_FAIL, "Slide (unknown member) : The object does not exist.");
    std::vector<const Shape*> list;
    for (const auto& s : slide.Shapes().all()) list.push_back(s.get());
    auto picture =
        render(list, {0, 0, p->SlideWidth(), p->SlideHeight()}, scale, view, ShapePainter::backgroundMode(slide));
    std::ostringstream source;
    source << "slide " << slide.SlideID();
    picture.source = source.str();
    return picture;
}

}  // namespace host
