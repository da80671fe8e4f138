// Writes the sample installation's library data through the host stand-in's own object
// model, so the files are in exactly the format the host reads:
//
//   sample_installation templates INSTALL-FOLDER
//       the template presentations of both styles (customization/styles/<folder>/), their
//       copyright notices, their agenda templates ("agendawizard.xml"), the removal list of old
//       notices (customization/copyright_remove.txt), and the My Elements
//       library with its index (user/myelements/).
//       Run by hand after changing a design; the output is kept in the source tree as text.
//   sample_installation icons FOLDER
//       the 16 by 16 pictures the menu file names for the command bars' items (drawn at
//       build time into the staged installation, not kept as binaries).
//
// Every template has the same slides in both styles; "install/customization/menu.xml" names
// them by file and slide number, and "copyright.txt" holds one line per copyright slide.
#include <cairo.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "host/host.h"
#include "host/text.h"
#include "stored_png.h"

namespace {

// ---- Palettes ------------------------------------------------------------------------------

// Colours as written on paper, 0xRRGGBB; the host keeps them as 0xBBGGRR.
std::uint32_t bgr(std::uint32_t rgb) { return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF); }

// Text is drawn in black, so it only ever sits on the lighter colours (mid and paler);
// dark and primary carry bars, arrows and outlines.
struct Palette {
    const char* folder;
    std::uint32_t dark, primary, mid, light, pale, accent, paper;
    int box;  // the AutoShape of plain boxes: the styles differ in their corners too
};

const Palette kCorporateBlue{
    "corporate_blue", 0x1F3864, 0x2F5597, 0x8FAADC, 0xB4C7E7, 0xDAE3F3, 0xF4B183, 0xFFFFFF, host::msoShapeRectangle};
const Palette kFreshGreen{"fresh_green", 0x375623, 0x548235,
                          0xA9D18E,      0xC5E0B4, 0xE2F0D9,
                          0xFFD966,      0xFFFFFF, host::msoShapeRoundedRectangle};

// ---- Drawing on a slide --------------------------------------------------------------------

constexpr std::uint32_t kNone = 0xFFFFFFFFu;  // no fill, or no outline

class Slide {
public:
    Slide(host::Slide& slide, const Palette& palette) : c(palette), slide_(slide) {}

    // An AutoShape with a fill (kNone: none), an outline (kNone: none) and text.
    host::Shape& shape(int autoShape, float l, float t, float w, float h, std::uint32_t fill,
                       std::uint32_t line = kNone, const std::string& text = {}, float weight = 1.5f) {
        auto s = slide_.Shapes().AddShape(autoShape, l, t, w, h);
        paint(*s, fill, line, weight);
        if (!text.empty()) s->TextFrame().TextRange().setText(text);
        return *s;
    }
    host::Shape& box(float l, float t, float w, float h, std::uint32_t fill, std::uint32_t line = kNone,
                     const std::string& text = {}) {
        return shape(c.box, l, t, w, h, fill, line, text);
    }
    // Text without fill or outline.
    host::Shape& label(float l, float t, float w, float h, const std::string& text) {
        auto s = slide_.Shapes().AddTextbox(1, l, t, w, h);
        s->TextFrame().TextRange().setText(text);
        return *s;
    }
    // A straight line from (x1, y1) to (x2, y2), left to right or top to bottom.
    host::Shape& line(float x1, float y1, float x2, float y2, std::uint32_t colour, float weight) {
        auto s = slide_.Shapes().addOfType(host::msoLine, 1, x1, y1, x2 - x1, y2 - y1);
        paint(*s, kNone, colour, weight);
        return *s;
    }

    const Palette& c;

private:
    static void paint(host::Shape& s, std::uint32_t fill, std::uint32_t line, float weight) {
        s.Fill().setVisible(fill == kNone ? host::msoFalse : host::msoTrue);
        if (fill != kNone) s.Fill().ForeColor().setRGB(bgr(fill));
        s.Line().setVisible(line == kNone ? host::msoFalse : host::msoTrue);
        if (line != kNone) {
            s.Line().ForeColor().setRGB(bgr(line));
            s.Line().setWeight(weight);
        }
    }
    host::Slide& slide_;
};

using Design = std::function<void(Slide&)>;

// ---- process.ppt: steps, phases, cycles, milestones ----------------------------------------

void threeSteps(Slide& s) {
    const char* steps[] = {"Plan", "Build", "Launch"};
    const char* notes[] = {"Goals\rScope", "Prototype\rReview", "Roll-out\rSupport"};
    const std::uint32_t fills[] = {s.c.mid, s.c.light, s.c.accent};
    for (int i = 0; i < 3; ++i) {
        const float x = 70 + 190.0f * i;
        s.shape(host::msoShapeChevron, x, 170, 200, 90, fills[i], kNone, steps[i])
            .setName(std::string("Step ") + steps[i]);
        s.box(x + 15, 290, 170, 110, s.c.pale, s.c.mid, notes[i]);
    }
}

void fourSteps(Slide& s) {
    const char* steps[] = {"Idea", "Design", "Test", "Ship"};
    const std::uint32_t fills[] = {s.c.pale, s.c.light, s.c.mid, s.c.accent};
    for (int i = 0; i < 4; ++i) {
        const float x = 62 + 145.0f * i;
        s.shape(host::msoShapeChevron, x, 200, 160, 80, fills[i], kNone, steps[i]);
        s.label(x + 20, 300, 120, 30, "Week " + std::to_string(2 * i + 1));
    }
    s.line(82, 340, 638, 340, s.c.primary, 2);
}

void phaseHeaders(Slide& s) {
    const char* phases[] = {"Phase 1", "Phase 2", "Phase 3"};
    const char* work[] = {"Analysis\rConcept", "Design\rBuild", "Test\rLaunch"};
    const std::uint32_t fills[] = {s.c.mid, s.c.light, s.c.accent};
    for (int i = 0; i < 3; ++i) {
        const float x = 60 + 205.0f * i;
        s.shape(host::msoShapePentagon, x, 150, 195, 60, fills[i], kNone, phases[i]);
        s.box(x, 225, 180, 160, s.c.paper, s.c.primary, work[i]);
    }
}

void inputProcessOutput(Slide& s) {
    const char* stages[] = {"Input", "Process", "Output"};
    const std::uint32_t fills[] = {s.c.light, s.c.mid, s.c.accent};
    for (int i = 0; i < 3; ++i)
        s.shape(host::msoShapeOval, 40 + 245.0f * i, 200, 150, 100, fills[i], s.c.primary, stages[i]);
    for (int i = 0; i < 2; ++i) s.shape(host::msoShapeRightArrow, 200 + 245.0f * i, 225, 75, 50, s.c.primary);
}

void planDoCheckAct(Slide& s) {
    s.shape(host::msoShapeOval, 130, 110, 150, 90, s.c.mid, kNone, "Plan");
    s.shape(host::msoShapeOval, 440, 110, 150, 90, s.c.light, kNone, "Do");
    s.shape(host::msoShapeOval, 440, 330, 150, 90, s.c.accent, kNone, "Check");
    s.shape(host::msoShapeOval, 130, 330, 150, 90, s.c.pale, s.c.mid, "Act");
    s.shape(host::msoShapeRightArrow, 295, 135, 130, 40, s.c.primary);
    s.shape(host::msoShapeDownArrow, 495, 210, 40, 110, s.c.primary);
    s.shape(host::msoShapeLeftArrow, 295, 355, 130, 40, s.c.primary);
    s.shape(host::msoShapeUpArrow, 185, 210, 40, 110, s.c.primary);
    s.box(300, 235, 120, 60, s.c.paper, s.c.primary, "Improve");
}

void milestones(Slide& s) {
    const char* events[] = {"Kick-off", "Design", "Build", "Test", "Launch"};
    const char* months[] = {"Jan", "Mar", "May", "Jul", "Sep"};
    s.line(60, 270, 660, 270, s.c.primary, 3);
    for (int i = 0; i < 5; ++i) {
        const float x = 100 + 130.0f * i;
        s.shape(host::msoShapeOval, x - 12, 258, 24, 24, s.c.accent, s.c.primary);
        s.label(x - 60, 215, 120, 30, events[i]);
        s.label(x - 60, 295, 120, 30, months[i]);
    }
}

// ---- text.ppt: columns, points, messages ---------------------------------------------------

void twoColumns(Slide& s) {
    s.box(60, 110, 290, 50, s.c.mid, kNone, "Today");
    s.box(370, 110, 290, 50, s.c.accent, kNone, "Tomorrow");
    s.box(60, 170, 290, 220, s.c.pale, s.c.light, "Manual reports\rSlow approvals\rScattered data");
    s.box(370, 170, 290, 220, s.c.pale, s.c.light, "One dashboard\rSame-day sign-off\rOne source");
}

void threeColumns(Slide& s) {
    const char* heads[] = {"People", "Process", "Tools"};
    const char* bodies[] = {"Skills\rRoles\rTeams", "Steps\rRules\rHand-overs", "Systems\rData\rReports"};
    for (int i = 0; i < 3; ++i) {
        const float x = 45 + 215.0f * i;
        s.box(x, 110, 200, 50, s.c.mid, kNone, heads[i]);
        s.shape(host::msoShapeRectangle, x, 160, 200, 6, s.c.primary);
        s.box(x, 176, 200, 200, s.c.pale, kNone, bodies[i]);
    }
}

void numberedPoints(Slide& s) {
    const char* points[] = {"First point", "Second point", "Third point", "Fourth point"};
    for (int i = 0; i < 4; ++i) {
        const float y = 100 + 85.0f * i;
        s.shape(host::msoShapeOval, 60, y, 60, 60, s.c.accent, s.c.primary, std::to_string(i + 1));
        s.box(140, y + 5, 520, 50, s.c.pale, s.c.light, points[i]);
    }
}

void keyMessage(Slide& s) {
    s.box(104, 135, 160, 30, s.c.accent, kNone, "Key message");
    s.shape(host::msoShapeRectangle, 90, 170, 14, 200, s.c.primary);
    s.shape(host::msoShapeRectangle, 104, 170, 526, 200, s.c.pale, kNone, "One clear message\rsays more than ten");
}

void quote(Slide& s) {
    s.line(160, 170, 560, 170, s.c.primary, 2);
    s.label(110, 185, 500, 110, "\"Quality is never\ran accident.\"");
    s.line(160, 310, 560, 310, s.c.primary, 2);
    s.label(110, 320, 500, 30, "- John Ruskin");
}

// ---- tables.ppt: matrices and grids made of shapes ------------------------------------------

void matrix(Slide& s) {
    s.box(160, 110, 200, 150, s.c.accent, kNone, "Quick wins");
    s.box(370, 110, 200, 150, s.c.mid, kNone, "Major projects");
    s.box(160, 270, 200, 150, s.c.pale, kNone, "Fill-ins");
    s.box(370, 270, 200, 150, s.c.light, kNone, "Thankless tasks");
    s.line(145, 110, 145, 420, s.c.primary, 2);
    s.line(160, 435, 570, 435, s.c.primary, 2);
    s.label(40, 250, 100, 30, "Impact");
    s.label(300, 445, 140, 30, "Effort");
}

void grid(Slide& s) {
    const char* options[] = {"Option A", "Option B", "Option C"};
    const char* criteria[] = {"Cost", "Speed", "Risk"};
    const char* values[3][3] = {{"Low", "Medium", "High"}, {"High", "Medium", "Low"}, {"Medium", "Low", "High"}};
    for (int col = 0; col < 3; ++col) s.box(220 + 150.0f * col, 110, 140, 50, s.c.mid, kNone, options[col]);
    for (int row = 0; row < 3; ++row) {
        const float y = 170 + 70.0f * row;
        s.box(60, y, 150, 60, s.c.light, kNone, criteria[row]);
        for (int col = 0; col < 3; ++col)
            s.box(220 + 150.0f * col, y, 140, 60, col == 1 ? s.c.accent : s.c.pale, kNone, values[row][col]);
    }
}

void comparison(Slide& s) {
    const char* before[] = {"Paper forms", "Weekly reports", "Email approvals"};
    const char* after[] = {"Online forms", "Live dashboard", "One-click sign-off"};
    s.box(90, 110, 220, 50, s.c.light, kNone, "Before");
    s.box(410, 110, 220, 50, s.c.mid, kNone, "After");
    for (int i = 0; i < 3; ++i) {
        const float y = 170 + 75.0f * i;
        s.box(90, y, 220, 60, s.c.pale, s.c.light, before[i]);
        s.shape(host::msoShapeRightArrow, 325, y + 15, 70, 30, s.c.primary);
        s.box(410, y, 220, 60, s.c.pale, s.c.accent, after[i]);
    }
}

// ---- titles.ppt: title, section, closing, title bar ----------------------------------------

void titleAndSubtitle(Slide& s) {
    s.shape(host::msoShapeRectangle, 0, 0, 720, 40, s.c.dark);
    s.shape(host::msoShapeRectangle, 60, 170, 600, 100, s.c.pale, kNone, "Presentation title");
    s.shape(host::msoShapeRectangle, 60, 280, 200, 8, s.c.accent);
    s.label(60, 300, 600, 40, "Subtitle and date");
    s.shape(host::msoShapeRectangle, 0, 500, 720, 40, s.c.primary);
}

void sectionDivider(Slide& s) {
    s.shape(host::msoShapeRectangle, 0, 0, 240, 540, s.c.dark);
    s.shape(host::msoShapeOval, 60, 210, 120, 120, s.c.accent, kNone, "01");
    s.box(280, 220, 380, 100, s.c.light, kNone, "Section title");
    s.label(280, 330, 380, 40, "What this part covers");
}

void closing(Slide& s) {
    s.shape(host::msoShapeRoundedRectangle, 160, 150, 400, 120, s.c.mid, kNone, "Thank you");
    s.label(160, 290, 400, 40, "Questions and discussion");
    s.line(260, 350, 460, 350, s.c.accent, 3);
    s.label(160, 365, 400, 30, "name@example.com");
}

void titleBar(Slide& s) {
    s.shape(host::msoShapeRectangle, 0, 30, 720, 70, s.c.light, kNone, "Slide title");
    s.shape(host::msoShapeRectangle, 0, 100, 720, 6, s.c.primary);
}

// ---- Copyright notices: one slide per line of copyright.txt ---------------------------------

const std::vector<std::string> kNotices = {
    "\xC2\xA9 Varnotel Example Ltd. All rights reserved.",
    "Confidential - for internal use only",
    "Draft - not for distribution",
};

// A notice for slide masters sits in the lower right corner, one for title masters centred.
Design notice(const std::string& text, bool title) {
    return [text, title](Slide& s) {
        auto& n = title ? s.label(110, 500, 500, 28, text) : s.label(280, 505, 430, 28, text);
        n.setName("Copyright notice");
    };
}

// ---- Files --------------------------------------------------------------------------------

struct Template {
    const char* file;
    std::vector<Design> slides;
};

std::vector<Template> templates() {
    std::vector<Template> list = {
        {"process.ppt", {threeSteps, fourSteps, phaseHeaders, inputProcessOutput, planDoCheckAct, milestones}},
        {"text.ppt", {twoColumns, threeColumns, numberedPoints, keyMessage, quote}},
        {"tables.ppt", {matrix, grid, comparison}},
        {"titles.ppt", {titleAndSubtitle, sectionDivider, closing, titleBar}},
        {"copyright_slide.ppt", {}},
        {"copyright_title.ppt", {}},
    };
    for (const auto& text : kNotices) {
        list[4].slides.push_back(notice(text, false));
        list[5].slides.push_back(notice(text, true));
    }
    return list;
}

// Writes a presentation whose slides are drawn by `designs` (blank layout).
void writePresentation(host::Application& app, const std::string& path, const Palette& palette,
                       const std::vector<Design>& designs) {
    auto p = app.Presentations().Add(false);
    for (std::size_t i = 0; i < designs.size(); ++i) {
        auto slide = p->Slides().Add(static_cast<int>(i) + 1, 12);
        Slide s(*slide, palette);
        designs[i](s);
    }
    p->SaveAs(path);
    p->Close();
    std::printf("wrote %s\n", path.c_str());
}

// My Elements: style-free elements with neutral colours, and the index that names them.
void writeMyElements(host::Application& app, const std::string& folder) {
    const Palette neutral{
        "", 0x404040, 0x595959, 0xBFBFBF, 0xD9D9D9, 0xF2F2F2, 0xFFC000, 0xFFFFFF, host::msoShapeRoundedRectangle};
    const std::vector<Design> elements = {
        [](Slide& s) {  // traffic lights
            s.shape(host::msoShapeRoundedRectangle, 300, 120, 120, 300, s.c.dark);
            s.shape(host::msoShapeOval, 320, 140, 80, 80, 0xE04040);
            s.shape(host::msoShapeOval, 320, 230, 80, 80, 0xF0C020);
            s.shape(host::msoShapeOval, 320, 320, 80, 80, 0x40A040);
        },
        [](Slide& s) {  // signature box
            s.box(160, 200, 400, 140, s.c.paper, s.c.primary);
            s.line(190, 290, 400, 290, s.c.primary, 1.5f);
            s.line(420, 290, 530, 290, s.c.primary, 1.5f);
            s.label(190, 295, 210, 30, "Signature");
            s.label(420, 295, 110, 30, "Date");
        },
        [](Slide& s) {  // done, doing, to do
            const char* heads[] = {"Done", "Doing", "To do"};
            const std::uint32_t fills[] = {0xA9D18E, 0xFFD966, 0xD9D9D9};
            for (int i = 0; i < 3; ++i) {
                const float x = 80 + 195.0f * i;
                s.box(x, 120, 170, 50, fills[i], kNone, heads[i]);
                s.box(x, 180, 170, 240, s.c.pale, s.c.light);
            }
        },
    };
    std::filesystem::create_directories(folder);
    // Both library files hold the same slides: hosts 12.0 and later read the ".pptx", older
    // ones the ".ppt".
    for (const char* name : {"myelements.pptx", "myelements.ppt"})
        writePresentation(app, folder + name, neutral, elements);

    std::ofstream index(folder + "myelements.xml");
    index << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<Varnotel xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
             "xsi:schemaLocation=\"http://www.varnotel.example/plorinown/myelements.xsd\" "
             "xmlns=\"http://www.varnotel.example/plorinown\" addinVersion=\"1.0\">\n"
             "  <group name=\"Miscellaneous\">\n"
             "    <element name=\"Traffic lights\" slideID=\"256\"/>\n"
             "    <element name=\"Signature box\" slideID=\"257\"/>\n"
             "  </group>\n"
             "  <group name=\"Status\">\n"
             "    <element name=\"Done, doing, to do\" slideID=\"258\"/>\n"
             "  </group>\n"
             "</Varnotel>\n";
    std::printf("wrote %smyelements.xml\n", folder.c_str());
}

// ---- Agenda templates: the agenda slides' layout in the style's colours ---------------------

std::string hex(std::uint32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", rgb & 0xFFFFFFu);
    return text;
}

// One row style: the number box and the bar, with the runs of the bar's text.
std::string rowStyle(int level, bool selected, bool isBreak, const Palette& c) {
    const std::uint32_t boxFill = isBreak ? c.accent : selected ? c.dark : level == 1 ? c.primary : c.mid;
    const std::uint32_t barFill = isBreak ? c.pale : selected ? c.light : c.paper;
    const std::uint32_t text = selected || (!isBreak && level == 1) ? 0xFFFFFF : 0x000000;
    const std::string bold = selected ? "1" : "0";
    std::string s = "      <style level=\"" + std::to_string(level) + "\" selected=\"" + (selected ? "1" : "0") +
                    "\" break=\"" + (isBreak ? "1" : "0") + "\">\n";
    s += "        <box fillColor=\"" + hex(boxFill) + "\" fillVisible=\"1\" lineColor=\"" + hex(c.dark) +
         "\" lineWeight=\"0.75\" lineVisible=\"0\" fontColor=\"" + hex(text) + "\" fontBold=\"1\" fontItalic=\"0\"/>\n";
    s += "        <bar fillColor=\"" + hex(barFill) + "\" fillVisible=\"1\" lineColor=\"" + hex(c.mid) +
         "\" lineWeight=\"0.75\" lineVisible=\"1\" fontColor=\"#000000\">\n";
    s += "          <text fontBold=\"" + bold + "\" fontItalic=\"0\"/>\n";
    s += "          <responsible fontBold=\"0\" fontItalic=\"1\"/>\n";
    s += "          <timeSlot fontBold=\"0\" fontItalic=\"0\"/>\n";
    s += "          <pageNo fontBold=\"0\" fontItalic=\"0\"/>\n";
    s += "        </bar>\n      </style>\n";
    return s;
}

// Corporate Blue numbers sub-items "1.1" and has a subtitle box; Fresh Green numbers them on
// ("2", "3") in bars that hold their numbers, and has no subtitle.
void writeAgendaTemplate(const std::string& folder, const Palette& c) {
    const bool blue = &c == &kCorporateBlue;
    std::string x = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Varnotel>\n";
    x += "  <agenda title=\"Agenda\" subtitle=\"\" startTime=\"540\" showItemNumbers=\"1\" showResponsible=\"0\" "
         "showTimeSlots=\"1\" showPageNumbers=\"0\">\n";
    x += std::string(
             "    <format left=\"36\" top=\"126\" width=\"648\" height=\"360\" baseFontSize=\"18\" "
             "boxFontRatio=\"1.8\" boxBarSpacing=\"6\" fontName=\"Arial\" slideLayout=\"11\" ") +
         "enumerate2ndLevel=\"" + (blue ? "dot" : "continuous") + "\" enumerateBreak=\"0\" barOnly=\"" +
         (blue ? "0" : "1") + "\" goldenCanon=\"" + (blue ? "1" : "0") + "\"/>\n";
    if (blue)
        x += "    <subtitle left=\"36\" top=\"84\" width=\"648\" height=\"30\" fillColor=\"" + hex(c.pale) +
             "\" fillVisible=\"0\" lineColor=\"" + hex(c.mid) +
             "\" lineWeight=\"0.75\" lineVisible=\"0\" align=\"1\" "
             "fontColor=\"" +
             hex(c.dark) + "\" fontSize=\"16\" fontBold=\"0\" fontItalic=\"1\"/>\n";
    x += "    <styles>\n";
    for (int level : {1, 2})
        for (bool selected : {false, true})
            for (bool isBreak : {false, true}) x += rowStyle(level, selected, isBreak, c);
    x += "    </styles>\n    <items>\n";
    x += "      <item text=\"Welcome\" level=\"1\" responsible=\"\" duration=\"15\" break=\"0\" slideID=\"1\" "
         "showAgendaItem=\"1\" generateAgendaSlide=\"1\"/>\n";
    x += "    </items>\n  </agenda>\n</Varnotel>\n";
    std::ofstream(folder + "agendawizard.xml", std::ios::binary) << x;
    std::printf("wrote %sagendawizard.xml\n", folder.c_str());
}

// Old notices the copyright command removes from the masters besides its own tagged ones.
void writeRemovalList(const std::string& folder) {
    std::ofstream(folder + "copyright_remove.txt", std::ios::binary)
        << "# Old copyright notices to remove from the masters before a notice is inserted, one per\n"
           "# line: a master shape whose text (without the blanks around it) or whose name equals a\n"
           "# line is removed. Lines that start with \"#\" and blank lines are skipped; compared exactly.\n"
           "\n"
           "\xC2\xA9 Varnotel Example Ltd. 2019\n"
           "Old copyright notice\n";
    std::printf("wrote %scopyright_remove.txt\n", folder.c_str());
}

int writeTemplates(const std::string& install) {
    host::Application app("14.0");
    for (const Palette* palette : {&kCorporateBlue, &kFreshGreen}) {
        const std::string folder = install + "/customization/styles/" + palette->folder + "/";
        std::filesystem::create_directories(folder);
        for (const auto& t : templates()) writePresentation(app, folder + t.file, *palette, t.slides);
        writeAgendaTemplate(folder, *palette);
    }
    writeRemovalList(install + "/customization/");
    writeMyElements(app, install + "/user/myelements/");
    return 0;
}

// ---- Command-bar pictures ------------------------------------------------------------------

void rgb(cairo_t* cr, std::uint32_t c) {
    cairo_set_source_rgb(cr, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, (c & 0xFF) / 255.0);
}

void rectangle(cairo_t* cr, double x, double y, double w, double h, std::uint32_t fill) {
    cairo_rectangle(cr, x, y, w, h);
    rgb(cr, fill);
    cairo_fill(cr);
}

int drawIcons(const std::string& folder) {
    std::filesystem::create_directories(folder);
    const std::vector<std::pair<const char*, std::function<void(cairo_t*)>>> icons = {
        {"steps.png",
         [](cairo_t* cr) {
             for (int i = 0; i < 3; ++i) {
                 const double x = 1 + 5 * i;
                 cairo_move_to(cr, x, 4);
                 cairo_line_to(cr, x + 4, 4);
                 cairo_line_to(cr, x + 7, 8);
                 cairo_line_to(cr, x + 4, 12);
                 cairo_line_to(cr, x, 12);
                 cairo_line_to(cr, x + 3, 8);
                 cairo_close_path(cr);
                 rgb(cr, i == 2 ? 0xE07020 : 0x2F5597);
                 cairo_fill(cr);
             }
         }},
        {"columns.png",
         [](cairo_t* cr) {
             for (int i = 0; i < 2; ++i) {
                 rectangle(cr, 1 + 8 * i, 2, 6, 3, 0x2F5597);
                 for (int row = 0; row < 3; ++row)
                     rectangle(cr, 1 + 8 * i, 7 + 3 * row, row == 2 ? 4 : 6, 1.5, 0x404040);
             }
         }},
        {"grid.png",
         [](cairo_t* cr) {
             for (int row = 0; row < 3; ++row)
                 for (int col = 0; col < 3; ++col)
                     rectangle(cr, 1 + 5 * col, 1 + 5 * row, 4, 4,
                               row == 0   ? 0x2F5597
                               : col == 1 ? 0xE07020
                                          : 0xB4C7E7);
         }},
        {"title.png",
         [](cairo_t* cr) {
             rectangle(cr, 0, 1, 16, 14, 0xFFFFFF);
             rectangle(cr, 0, 1, 16, 3, 0x1F3864);
             rectangle(cr, 2, 6, 12, 4, 0xB4C7E7);
             rectangle(cr, 2, 11, 6, 1.5, 0xE07020);
         }},
    };
    for (const auto& [name, draw] : icons) {
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 16, 16);
        cairo_t* cr = cairo_create(surface);
        draw(cr);
        cairo_destroy(cr);
        const std::string path = folder + "/" + name;
        const bool ok = tools::writeStoredPng(surface, path);
        cairo_surface_destroy(surface);
        if (!ok) {
            std::fprintf(stderr, "sample_installation: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc == 3 ? argv[1] : "";
    try {
        if (mode == "templates") return writeTemplates(argv[2]);
        if (mode == "icons") return drawIcons(argv[2]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "sample_installation: %s\n", e.what());
        return 1;
    }
    std::fprintf(stderr, "usage: sample_installation templates INSTALL-FOLDER | icons FOLDER\n");
    return 2;
}
