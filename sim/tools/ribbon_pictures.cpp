// Draws the ribbon's control pictures at build time: one 32 by 32 PNG per control of the
// ribbon definition that asks for a picture, named after the control's id. Every picture is
// drawn from a few primitives in one palette, so the set stays consistent; a control without
// a drawing of its own gets its label's initials.
//
// The command bars' custom pictures are the same drawings at 16 by 16, written as
// OUTPUT-FOLDER/buttons/bar_N.png by their picture number (the My Elements popup's two fixed
// entries as myelements_1.png and myelements_2.png).
//
// usage: ribbon_pictures DEFINITION.xml OUTPUT-FOLDER
#include <cairo.h>
#include <pugixml.hpp>

#include "stored_png.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>

namespace {

constexpr int kSize = 32;
constexpr double kPi = 3.14159265358979;

struct Rgb {
    double r, g, b;
};
constexpr Rgb kInk{0.20, 0.24, 0.31};     // outlines and text
constexpr Rgb kMaster{0.16, 0.42, 0.69};  // the master shape, the main accent
constexpr Rgb kShape{0.82, 0.87, 0.93};   // shapes being changed
constexpr Rgb kGuide{0.89, 0.36, 0.16};   // edges, arrows and marks
constexpr Rgb kPaper{1.0, 1.0, 1.0};
constexpr Rgb kGreen{0.22, 0.56, 0.33};

class Pen {
public:
    explicit Pen(cairo_t* cr) : cr_(cr) {}
    void color(Rgb c, double alpha = 1.0) { cairo_set_source_rgba(cr_, c.r, c.g, c.b, alpha); }
    void width(double w) { cairo_set_line_width(cr_, w); }

    // A box filled and outlined, on half pixels so the outline stays crisp.
    void box(double x, double y, double w, double h, Rgb fill, Rgb line = kInk) {
        cairo_rectangle(cr_, x + 0.5, y + 0.5, w - 1, h - 1);
        color(fill);
        cairo_fill_preserve(cr_);
        color(line);
        width(1);
        cairo_stroke(cr_);
    }
    void roundBox(double x, double y, double w, double h, double r, Rgb fill, Rgb line = kInk) {
        x += 0.5, y += 0.5, w -= 1, h -= 1;
        cairo_new_sub_path(cr_);
        cairo_arc(cr_, x + w - r, y + r, r, -kPi / 2, 0);
        cairo_arc(cr_, x + w - r, y + h - r, r, 0, kPi / 2);
        cairo_arc(cr_, x + r, y + h - r, r, kPi / 2, kPi);
        cairo_arc(cr_, x + r, y + r, r, kPi, 3 * kPi / 2);
        cairo_close_path(cr_);
        color(fill);
        cairo_fill_preserve(cr_);
        color(line);
        width(1);
        cairo_stroke(cr_);
    }
    void line(double x1, double y1, double x2, double y2, Rgb c = kGuide, double w = 2) {
        color(c);
        width(w);
        cairo_move_to(cr_, x1, y1);
        cairo_line_to(cr_, x2, y2);
        cairo_stroke(cr_);
    }
    void dashed(double x1, double y1, double x2, double y2, Rgb c = kGuide) {
        const double dash[] = {2.0, 2.0};
        cairo_set_dash(cr_, dash, 2, 0);
        line(x1, y1, x2, y2, c, 1);
        cairo_set_dash(cr_, nullptr, 0, 0);
    }
    // A line with a filled head at its end.
    void arrow(double x1, double y1, double x2, double y2, Rgb c = kGuide) {
        const double a = std::atan2(y2 - y1, x2 - x1);
        const double head = 5;
        line(x1, y1, x2 - std::cos(a) * head * 0.6, y2 - std::sin(a) * head * 0.6, c, 2);
        polygon({{x2, y2},
                 {x2 - head * std::cos(a - 0.5), y2 - head * std::sin(a - 0.5)},
                 {x2 - head * std::cos(a + 0.5), y2 - head * std::sin(a + 0.5)}},
                c);
    }
    void polygon(std::initializer_list<std::pair<double, double>> points, Rgb fill, bool outline = false) {
        bool first = true;
        for (auto [x, y] : points) {
            if (first) cairo_move_to(cr_, x, y);
            else cairo_line_to(cr_, x, y);
            first = false;
        }
        cairo_close_path(cr_);
        paint(fill, outline);
    }
    void circle(double x, double y, double r, Rgb fill, bool outline = true) {
        cairo_new_sub_path(cr_);
        cairo_arc(cr_, x, y, r, 0, 2 * kPi);
        paint(fill, outline);
    }
    // Fills the current path, with a thin ink outline when asked.
    void paint(Rgb fill, bool outline) {
        color(fill);
        if (outline) {
            cairo_fill_preserve(cr_);
            color(kInk);
            width(1);
            cairo_stroke(cr_);
        } else {
            cairo_fill(cr_);
        }
    }
    // Text centred on (x, y).
    void text(const std::string& t, double x, double y, double size, Rgb c = kInk, bool bold = true) {
        cairo_select_font_face(cr_, "Sans", CAIRO_FONT_SLANT_NORMAL,
                               bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(cr_, size);
        cairo_text_extents_t e;
        cairo_text_extents(cr_, t.c_str(), &e);
        color(c);
        cairo_move_to(cr_, x - e.width / 2 - e.x_bearing, y - e.height / 2 - e.y_bearing);
        cairo_show_text(cr_, t.c_str());
    }
    // Lines of text as grey bars.
    void textLines(double x, double y, double w, int lines, double gap = 4) {
        for (int i = 0; i < lines; ++i)
            line(x, y + i * gap, x + (i == lines - 1 ? w * 0.6 : w), y + i * gap, kInk, 1.5);
    }
    cairo_t* cr() const { return cr_; }

private:
    cairo_t* cr_;
};

// ---- The drawings -------------------------------------------------------------------------

// Bars lined up against an edge: 0 left, 1 centre, 2 right, 3 top, 4 middle, 5 bottom.
void align(Pen& p, int edge) {
    const double lengths[] = {14, 22, 10};
    const bool vertical = edge >= 3;
    const int side = edge % 3;
    for (int i = 0; i < 3; ++i) {
        const double len = lengths[i];
        const double start = side == 0 ? 7 : side == 1 ? 16 - len / 2 : 25 - len;
        const double across = 5 + i * 8;
        Rgb fill = i == 2 ? kMaster : kShape;
        if (vertical) p.box(across, start, 7, len, fill);
        else p.box(start, across, len, 7, fill);
    }
    const double at = side == 0 ? 5 : side == 1 ? 16 : 27;
    if (vertical) p.line(2, at, 30, at);
    else p.line(at, 2, at, 30);
}

// Two boxes made the same size: 0 width, 1 height, 2 both.
void sameSize(Pen& p, int what) {
    p.box(3, 4, 12, 16, kShape);
    p.box(17, 8, 12, 20, kMaster);
    if (what != 1) p.arrow(4, 26, 14, 26), p.arrow(14, 26, 4, 26);
    if (what != 0) p.arrow(10, 22, 10, 6);
}

// A shape whose edge is pulled to the master's edge: 0 left, 2 right, 3 top, 5 bottom; with
// `facing` to the master's opposite edge.
void stretch(Pen& p, int edge, bool facing) {
    const bool horizontal = edge <= 2;
    if (horizontal) {
        p.box(4, 3, 24, 8, kMaster);
        const bool left = edge == 0;
        const double target = facing ? (left ? 28 : 4) : (left ? 4 : 28);
        p.box(left ? 14 : 6, 17, 12, 10, kShape);
        p.arrow(left ? 14 : 18, 22, left ? target + 1 : target - 1, 22);
        p.dashed(target, 11, target, 30);
    } else {
        p.box(3, 4, 8, 24, kMaster);
        const bool top = edge == 3;
        const double target = facing ? (top ? 28 : 4) : (top ? 4 : 28);
        p.box(17, top ? 14 : 6, 10, 12, kShape);
        p.arrow(22, top ? 14 : 18, 22, top ? target + 1 : target - 1);
        p.dashed(11, target, 30, target);
    }
}

// A shape moved next to the master: 0 to its right, 1 left, 2 below, 3 above.
void moveBeside(Pen& p, int where) {
    if (where <= 1) {
        const bool right = where == 0;
        p.box(right ? 3 : 19, 9, 10, 14, kMaster);
        p.box(right ? 19 : 3, 9, 10, 14, kShape);
        p.arrow(right ? 22 : 10, 27, right ? 14 : 18, 27);
    } else {
        const bool below = where == 2;
        p.box(9, below ? 3 : 19, 14, 10, kMaster);
        p.box(9, below ? 19 : 3, 14, 10, kShape);
        p.arrow(27, below ? 22 : 10, 27, below ? 14 : 18);
    }
}

void stack(Pen& p, bool horizontal) {
    for (int i = 0; i < 3; ++i) {
        Rgb fill = i == 0 ? kMaster : kShape;
        if (horizontal) p.box(3 + i * 9, 10, 9, 12, fill);
        else p.box(9, 3 + i * 9, 14, 9, fill);
    }
}

void chevron(Pen& p, double x, double y, double w, double h, Rgb fill) {
    p.polygon(
        {{x, y}, {x + w - h / 2, y}, {x + w, y + h / 2}, {x + w - h / 2, y + h}, {x, y + h}, {x + h / 2, y + h / 2}},
        fill, true);
}

void pentagon(Pen& p, double x, double y, double w, double h, Rgb fill) {
    p.polygon({{x, y}, {x + w - h / 2, y}, {x + w, y + h / 2}, {x + w - h / 2, y + h}, {x, y + h}}, fill, true);
}

void blockArrow(Pen& p) {
    p.polygon({{3, 12}, {18, 12}, {18, 5}, {29, 16}, {18, 27}, {18, 20}, {3, 20}}, kMaster, true);
}

void slide(Pen& p, double x, double y, double w, double h, Rgb fill = kPaper) {
    p.box(x, y, w, h, fill);
    p.line(x + 3, y + 4, x + w - 3, y + 4, kMaster, 2);
}

void envelope(Pen& p, double x, double y) {
    p.box(x, y, 16, 11, kPaper);
    p.line(x + 1, y + 1, x + 8, y + 6, kInk, 1);
    p.line(x + 15, y + 1, x + 8, y + 6, kInk, 1);
}

void folder(Pen& p) { p.polygon({{3, 8}, {12, 8}, {14, 11}, {29, 11}, {29, 26}, {3, 26}}, {0.96, 0.78, 0.35}, true); }

void eye(Pen& p, bool crossed) {
    cairo_t* cr = p.cr();
    cairo_move_to(cr, 3, 16);
    cairo_curve_to(cr, 10, 6, 22, 6, 29, 16);
    cairo_curve_to(cr, 22, 26, 10, 26, 3, 16);
    cairo_close_path(cr);
    p.color(kPaper);
    cairo_fill_preserve(cr);
    p.color(kInk);
    p.width(1.2);
    cairo_stroke(cr);
    p.circle(16, 16, 4.5, kMaster, false);
    if (crossed) p.line(5, 27, 27, 5, kGuide, 2.5);
}

void gear(Pen& p) {
    cairo_t* cr = p.cr();
    for (int i = 0; i < 8; ++i) {
        const double a = i * kPi / 4;
        cairo_save(cr);
        cairo_translate(cr, 16, 16);
        cairo_rotate(cr, a);
        cairo_rectangle(cr, -2.5, -13, 5, 6);
        cairo_restore(cr);
    }
    p.color(kInk);
    cairo_fill(cr);
    p.circle(16, 16, 9, kInk, false);
    p.circle(16, 16, 4, kPaper, false);
}

void badge(Pen& p, const std::string& t, Rgb fill) {
    p.circle(16, 16, 13, fill, false);
    p.text(t, 16, 16, 16, kPaper);
}

void plusMark(Pen& p, double x, double y) {
    p.circle(x, y, 6, kGreen, false);
    p.line(x - 3.5, y, x + 3.5, y, kPaper, 2);
    p.line(x, y - 3.5, x, y + 3.5, kPaper, 2);
}

// A tile with a label's initials: the fallback for controls without a drawing.
void initials(Pen& p, const std::string& label) {
    std::string t;
    bool start = true;
    for (char c : label) {
        if (start && std::isalnum(static_cast<unsigned char>(c)) && t.size() < 2)
            t += static_cast<char>(std::toupper(c));
        start = c == ' ';
    }
    p.roundBox(3, 3, 26, 26, 5, kMaster, kMaster);
    p.text(t.empty() ? "?" : t, 16, 16, 12, kPaper);
}

using Drawing = std::function<void(Pen&)>;

const std::map<int, Drawing>& drawings() {
    static const std::map<int, Drawing> d = {
        // Slide Wizard and My Elements
        {1003,
         [](Pen& p) {
             slide(p, 3, 5, 20, 15, kShape);
             slide(p, 9, 11, 20, 15);
         }},
        {1025,
         [](Pen& p) {
             for (int i = 0; i < 3; ++i) p.circle(9 + i * 7, 16, 5, i == 0 ? kMaster : i == 1 ? kGuide : kGreen);
         }},
        {2001,
         [](Pen& p) {
             slide(p, 3, 5, 20, 15, kShape);
             slide(p, 9, 11, 20, 15);
             p.polygon({{24, 2}, {26, 6}, {30, 6}, {27, 9}, {28, 13}, {24, 11}, {20, 13}, {21, 9}, {18, 6}, {22, 6}},
                       kGuide);
         }},
        {1027,
         [](Pen& p) {
             p.roundBox(4, 4, 24, 24, 4, kPaper);
             p.polygon(
                 {{16, 7}, {19, 13}, {25, 13}, {20, 17}, {22, 24}, {16, 20}, {10, 24}, {12, 17}, {7, 13}, {13, 13}},
                 kMaster);
         }},
        {1028,
         [](Pen& p) {
             p.box(3, 3, 18, 18, kShape);
             p.box(8, 8, 10, 10, kMaster);
             plusMark(p, 23, 23);
         }},
        {1029,
         [](Pen& p) {
             for (int i = 0; i < 3; ++i)
                 p.box(4, 5 + i * 8, 6, 6, kMaster), p.line(13, 8 + i * 8, 28, 8 + i * 8, kInk, 2);
         }},
        // Agenda
        {1004,
         [](Pen& p) {
             p.box(5, 3, 22, 26, kPaper);
             p.textLines(9, 9, 14, 4, 5);
         }},
        {1018,
         [](Pen& p) {
             p.box(4, 3, 20, 26, kPaper);
             for (int i = 0; i < 4; ++i)
                 p.circle(8, 9 + i * 5, 1.3, kMaster, false), p.line(11, 9 + i * 5, 20, 9 + i * 5, kInk, 1.5);
             p.circle(24, 24, 6, kPaper);
             p.line(24, 24, 24, 20, kGuide, 1.5);
             p.line(24, 24, 27, 24, kGuide, 1.5);
         }},
        {1020,
         [](Pen& p) {
             p.roundBox(2, 11, 13, 9, 4, kPaper);
             p.roundBox(17, 11, 13, 9, 4, kPaper);
             p.line(14, 6, 18, 26, kGuide, 2);
         }},
        {1021,
         [](Pen& p) {
             slide(p, 3, 5, 26, 20);
             p.text("12", 23, 20, 9, kGuide);
         }},
        // Align
        {1031, [](Pen& p) { align(p, 0); }},
        {1032, [](Pen& p) { align(p, 0); }},
        {1033, [](Pen& p) { align(p, 1); }},
        {1034, [](Pen& p) { align(p, 2); }},
        {1036, [](Pen& p) { align(p, 3); }},
        {1037, [](Pen& p) { align(p, 4); }},
        {1038, [](Pen& p) { align(p, 5); }},
        {1040, [](Pen& p) { sameSize(p, 0); }},
        {1041, [](Pen& p) { sameSize(p, 1); }},
        {1042, [](Pen& p) { sameSize(p, 2); }},
        // Stretch and move
        {1035, [](Pen& p) { stretch(p, 0, false); }},
        {1044, [](Pen& p) { stretch(p, 0, false); }},
        {1046, [](Pen& p) { stretch(p, 0, false); }},
        {1047, [](Pen& p) { stretch(p, 2, false); }},
        {1048, [](Pen& p) { stretch(p, 3, false); }},
        {1049, [](Pen& p) { stretch(p, 5, false); }},
        {1051, [](Pen& p) { moveBeside(p, 0); }},
        {1053, [](Pen& p) { moveBeside(p, 0); }},
        {1054, [](Pen& p) { moveBeside(p, 1); }},
        {1055, [](Pen& p) { moveBeside(p, 2); }},
        {1056, [](Pen& p) { moveBeside(p, 3); }},
        {1058, [](Pen& p) { stack(p, true); }},
        {1059, [](Pen& p) { stack(p, false); }},
        {1061,
         [](Pen& p) {
             p.box(3, 3, 26, 26, kPaper);
             p.dashed(3, 19, 29, 19);
             p.box(10, 15, 12, 8, kMaster);
         }},
        {1063, [](Pen& p) { stretch(p, 0, true); }},
        {1065, [](Pen& p) { stretch(p, 0, true); }},
        {1066, [](Pen& p) { stretch(p, 2, true); }},
        {1067, [](Pen& p) { stretch(p, 3, true); }},
        {1068, [](Pen& p) { stretch(p, 5, true); }},
        // Shapes
        {1039,
         [](Pen& p) {
             chevron(p, 2, 9, 16, 14, kShape);
             chevron(p, 14, 9, 16, 14, kMaster);
         }},
        {1070,
         [](Pen& p) {
             chevron(p, 2, 9, 16, 14, kShape);
             chevron(p, 14, 9, 16, 14, kMaster);
         }},
        {1071,
         [](Pen& p) {
             pentagon(p, 2, 4, 24, 10, kShape);
             pentagon(p, 2, 18, 24, 10, kMaster);
             p.dashed(29, 2, 29, 30);
         }},
        {1073,
         [](Pen& p) {
             chevron(p, 2, 4, 24, 10, kShape);
             chevron(p, 2, 18, 24, 10, kMaster);
             p.dashed(29, 2, 29, 30);
         }},
        {1074,
         [](Pen& p) {
             chevron(p, 1, 10, 12, 12, kMaster);
             chevron(p, 10, 10, 12, 12, kShape);
             chevron(p, 19, 10, 12, 12, kShape);
         }},
        {1075,
         [](Pen& p) {
             pentagon(p, 2, 6, 28, 20, kPaper);
             p.polygon({{3, 7}, {20, 7}, {24, 11}, {3, 11}}, kMaster);
         }},
        {1076, [](Pen& p) { blockArrow(p); }},
        {1077, [](Pen& p) { p.roundBox(3, 7, 26, 18, 6, kMaster); }},
        {1078,
         [](Pen& p) {
             p.roundBox(2, 4, 16, 12, 4, kShape);
             p.roundBox(12, 14, 18, 14, 4, kMaster);
         }},
        {1080,
         [](Pen& p) {
             p.roundBox(2, 4, 16, 12, 4, kShape);
             p.roundBox(12, 14, 18, 14, 4, kMaster);
         }},
        {1081,
         [](Pen& p) {
             p.roundBox(3, 7, 26, 18, 7, kShape);
             p.text("mm", 16, 16, 9, kInk);
         }},
        {1082,
         [](Pen& p) {
             p.box(2, 14, 10, 12, kShape);
             p.box(20, 14, 10, 12, kMaster);
             p.arrow(7, 11, 25, 11);
             p.arrow(25, 6, 7, 6);
         }},
        {1109,
         [](Pen& p) {
             pentagon(p, 2, 8, 26, 16, kShape);
             p.polygon({{19, 4}, {23, 8}, {19, 12}, {15, 8}}, {1.0, 0.84, 0.0}, true);
         }},
        {1111,
         [](Pen& p) {
             p.circle(7, 24, 4, kMaster);
             const double dash[] = {2.0, 2.0};
             cairo_set_dash(p.cr(), dash, 2, 0);
             p.color(kGuide);
             p.width(1.5);
             cairo_move_to(p.cr(), 10, 20);
             cairo_curve_to(p.cr(), 14, 6, 22, 6, 26, 10);
             cairo_stroke(p.cr());
             cairo_set_dash(p.cr(), nullptr, 0, 0);
             p.polygon({{28, 12}, {24, 12}, {27, 7}}, kGuide);
         }},
        // Text
        {1057, [](Pen& p) { p.text("A", 16, 16, 20, kMaster); }},
        {1085,
         [](Pen& p) {
             p.box(5, 8, 22, 16, kPaper);
             p.textLines(8, 13, 16, 2, 5);
             p.arrow(16, 4, 16, 8);
             p.arrow(16, 28, 16, 24);
         }},
        {1086,
         [](Pen& p) {
             p.textLines(4, 8, 20, 1);
             p.color(kGuide);
             p.width(2);
             cairo_move_to(p.cr(), 24, 8);
             cairo_curve_to(p.cr(), 31, 8, 31, 16, 24, 16);
             cairo_line_to(p.cr(), 12, 16);
             cairo_stroke(p.cr());
             p.polygon({{9, 16}, {13, 13}, {13, 19}}, kGuide);
             p.textLines(4, 24, 14, 1);
         }},
        {1087,
         [](Pen& p) {
             p.box(3, 3, 26, 26, kShape);
             p.dashed(8, 8, 24, 8);
             p.dashed(8, 24, 24, 24);
             p.dashed(8, 8, 8, 24);
             p.dashed(24, 8, 24, 24);
         }},
        {1089,
         [](Pen& p) {
             for (int i = 0; i < 3; ++i) {
                 const double x = i == 1 ? 10 : 4;
                 p.circle(x + 1, 8 + i * 8, 1.6, kMaster, false);
                 p.line(x + 5, 8 + i * 8, 28, 8 + i * 8, kInk, 1.5);
             }
         }},
        {1090,
         [](Pen& p) {
             p.textLines(14, 8, 14, 4, 5);
             p.arrow(11, 16, 3, 16);
         }},
        {1091,
         [](Pen& p) {
             p.textLines(14, 8, 14, 4, 5);
             p.arrow(3, 16, 11, 16);
         }},
        {1112,
         [](Pen& p) {
             p.box(3, 6, 26, 20, kPaper);
             p.text("123", 16, 16, 10, kMaster);
         }},
        // Slides
        {1060,
         [](Pen& p) {
             slide(p, 3, 5, 20, 15, kShape);
             slide(p, 9, 11, 20, 15);
         }},
        {1098,
         [](Pen& p) {
             slide(p, 3, 3, 20, 15);
             envelope(p, 13, 17);
         }},
        {1100,
         [](Pen& p) {
             slide(p, 3, 3, 20, 15);
             envelope(p, 13, 17);
         }},
        {1101,
         [](Pen& p) {
             slide(p, 3, 3, 20, 15);
             p.box(13, 15, 16, 15, kMaster);
             p.box(17, 15, 8, 5, kPaper);
         }},
        {1102, [](Pen& p) { folder(p); }},
        {1117,
         [](Pen& p) {
             p.box(6, 5, 20, 24, {0.86, 0.72, 0.52});
             p.box(11, 3, 10, 5, kShape);
             slide(p, 10, 12, 14, 11);
         }},
        {1108,
         [](Pen& p) {
             p.box(5, 3, 20, 26, kPaper);
             p.textLines(9, 10, 12, 3, 5);
             p.line(18, 18, 28, 28, kGuide, 2.5);
             p.line(28, 18, 18, 28, kGuide, 2.5);
         }},
        {1114, [](Pen& p) { eye(p, true); }},
        {1115, [](Pen& p) { eye(p, false); }},
        // Tools
        {1069, [](Pen& p) { gear(p); }},
        {1104,
         [](Pen& p) {
             p.line(7, 25, 21, 11, kInk, 4);
             p.circle(23, 9, 5, kInk, false);
             p.circle(6, 26, 3, kGuide, false);
         }},
        {1110,
         [](Pen& p) {
             p.circle(16, 16, 12, kPaper);
             cairo_arc(p.cr(), 16, 16, 12, kPi / 2, 3 * kPi / 2);
             cairo_close_path(p.cr());
             p.color(kInk);
             cairo_fill(p.cr());
         }},
        {1105, [](Pen& p) { badge(p, "\xC2\xA9", kMaster); }},
        // Varnotel
        {1009, [](Pen& p) { badge(p, "V", kMaster); }},
        {1002, [](Pen& p) { badge(p, "i", kMaster); }},
        {1011, [](Pen& p) { gear(p); }},
        {1013, [](Pen& p) { badge(p, "?", kGreen); }},
        {1014, [](Pen& p) { badge(p, "?", kMaster); }},
        {1019,
         [](Pen& p) {
             p.box(6, 3, 20, 26, kPaper);
             p.box(6, 3, 4, 26, kMaster, kMaster);
             p.textLines(13, 9, 10, 4, 5);
         }},
        {1015,
         [](Pen& p) {
             p.roundBox(3, 6, 26, 20, 3, kInk, kInk);
             p.polygon({{13, 11}, {21, 16}, {13, 21}}, kPaper);
         }},
        {1006,
         [](Pen& p) {
             p.polygon({{16, 4}, {29, 15}, {3, 15}}, kGuide);
             p.box(7, 15, 18, 13, kPaper);
             p.box(14, 20, 5, 8, kMaster);
         }},
        {1007,
         [](Pen& p) {
             p.roundBox(3, 5, 26, 17, 4, kPaper);
             p.polygon({{9, 21}, {15, 21}, {8, 28}}, kInk);
             p.textLines(8, 11, 16, 2, 5);
         }},
        {1008,
         [](Pen& p) {
             p.polygon(
                 {{16, 3}, {20, 12}, {29, 12}, {22, 18}, {25, 28}, {16, 22}, {7, 28}, {10, 18}, {3, 12}, {12, 12}},
                 kGuide);
         }},
        {1005,
         [](Pen& p) {
             cairo_arc(p.cr(), 16, 16, 10, 0.3, 2 * kPi - 0.6);
             p.color(kGreen);
             p.width(3);
             cairo_stroke(p.cr());
             p.polygon({{27, 5}, {28, 14}, {19, 11}}, kGreen);
         }},
    };
    return d;
}

// The command bars' custom pictures (16 by 16), by picture number: the ribbon control whose
// drawing a bar button shares, since both run the same command.
constexpr std::pair<int, int> kBarPictures[] = {
    {1, 1002},  {2, 1032},  {3, 1033},  {4, 1034},  {5, 1036},  {6, 1037},  {7, 1038},  {8, 1040},
    {9, 1041},  {10, 1042}, {11, 1071}, {12, 1074}, {13, 1075}, {14, 1046}, {15, 1047}, {16, 1048},
    {17, 1049}, {18, 1053}, {19, 1054}, {20, 1055}, {21, 1056}, {22, 1065}, {23, 1066}, {24, 1067},
    {25, 1068}, {26, 1082}, {29, 1085}, {30, 1086}, {31, 1087}, {32, 1089}, {33, 1090}, {34, 1091},
    {35, 1101}, {36, 1100}, {37, 1102}, {38, 1114}, {39, 1115}, {40, 1108}, {41, 1076}, {42, 1104},
    {43, 1111}, {44, 1112}, {46, 1117}, {47, 1061}, {49, 1109}, {50, 1110}, {51, 1080},
};

bool draw(int number, const std::string& label, const std::string& path, int size = kSize) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, static_cast<double>(size) / kSize, static_cast<double>(size) / kSize);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    Pen pen(cr);
    auto it = drawings().find(number);
    if (it != drawings().end()) it->second(pen);
    else initials(pen, label);
    cairo_destroy(cr);
    const bool ok = tools::writeStoredPng(surface, path);
    cairo_surface_destroy(surface);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s DEFINITION.xml OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    pugi::xml_document doc;
    if (!doc.load_file(argv[1])) {
        std::fprintf(stderr, "%s: cannot read the ribbon definition %s\n", argv[0], argv[1]);
        return 1;
    }
    const std::string folder = std::string(argv[2]) + "/";
    std::set<std::string> written;
    for (const auto& found : doc.select_nodes("//*[@getImage and starts-with(@id, 'vn_')]")) {
        const pugi::xml_node el = found.node();
        const std::string id = el.attribute("id").value();
        const int number = std::atoi(id.c_str() + 3);
        if (number >= 1093 && number <= 1095) continue;  // the language buttons draw their own
        if (!draw(number, el.attribute("label").value(), folder + id + ".png")) {
            std::fprintf(stderr, "%s: cannot write %s%s.png\n", argv[0], folder.c_str(), id.c_str());
            return 1;
        }
        written.insert(id + ".png");
    }
    const std::string buttons = folder + "buttons/";
    std::error_code made;
    std::filesystem::create_directories(buttons, made);
    for (const auto& [picture, number] : kBarPictures) {
        const std::string path = buttons + "bar_" + std::to_string(picture) + ".png";
        if (!draw(number, "", path, 16)) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], path.c_str());
            return 1;
        }
    }
    // The two fixed entries of the bar's "My Elements" popup, as the ribbon's buttons.
    for (const auto& [picture, number] : {std::pair{1, 1028}, std::pair{2, 1029}}) {
        const std::string path = buttons + "myelements_" + std::to_string(picture) + ".png";
        if (!draw(number, "", path, 16)) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], path.c_str());
            return 1;
        }
    }
    // Pictures of controls the definition no longer has would only mislead.
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("vn_", 0) == 0 && entry.path().extension() == ".png" && !written.count(name))
            std::filesystem::remove(entry.path(), ec);
    }
    std::printf("%zu ribbon pictures and %zu command-bar pictures drawn into %s\n", written.size(),
                std::size(kBarPictures), folder.c_str());
    return 0;
}
