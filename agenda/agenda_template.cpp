#include "agenda/agenda_template.h"

#include <cctype>
#include <charconv>

#include "core/errors.h"
#include "core/numbers.h"

namespace plorin {

double agendaNumber(const std::string& text) {
    std::size_t i = text.find_first_not_of(" \t\r\n");
    if (i == std::string::npos) return 0;
    bool negative = false;
    if (text[i] == '+' || text[i] == '-') {
        negative = text[i] == '-';
        ++i;
    }
    double value = 0;
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    // from_chars takes the longest number at the start and never looks at the locale.
    if (first == last || std::from_chars(first, last, value, std::chars_format::general).ec != std::errc()) return 0;
    return negative ? -value : value;
}

std::int16_t agendaInteger(const std::string& text) { return toInteger16(text); }
std::int32_t agendaInteger32(const std::string& text) { return toInteger32(text); }
bool agendaFlag(const std::string& text) { return text == "1"; }

AgendaColor agendaColor(const std::string& text) {
    AgendaColor c;
    if (!text.empty() && text[0] == '#') {
        if (text.size() < 7) raiseError(errTypeMismatch, "Type mismatch");
        std::uint32_t parts[3] = {};
        for (int k = 0; k < 3; ++k) {
            const char* at = text.data() + 1 + 2 * k;
            if (!std::isxdigit(static_cast<unsigned char>(at[0])) || !std::isxdigit(static_cast<unsigned char>(at[1])))
                raiseError(errTypeMismatch, "Type mismatch");
            std::from_chars(at, at + 2, parts[k], 16);
        }
        c.isRgb = true;
        c.rgb = parts[0] | (parts[1] << 8) | (parts[2] << 16);
        return c;
    }
    c.schemeIndex = toInteger32(text);
    return c;
}

namespace {

std::string attr(const platform::DomNode& node, const char* name) { return node.getAttribute(name).value_or(""); }

// A style's colour: one that cannot be read costs only itself, not the shape or the run.
AgendaColor styleColor(const platform::DomNode& node, const char* name) {
    const std::optional<std::string> text = node.getAttribute(name);
    if (text) {
        try {
            return agendaColor(*text);
        } catch (const platform::NumberedError&) {
        }
    }
    AgendaColor color;
    color.unreadable = node.nodeName() + " " + name + (text ? " \"" + *text + "\"" : std::string(" missing"));
    return color;
}

void readFillLine(const platform::DomNode& node, AgendaFillLine& out) {
    out.fillColor = styleColor(node, "fillColor");
    out.fillVisible = agendaFlag(attr(node, "fillVisible"));
    out.lineColor = styleColor(node, "lineColor");
    out.lineWeight = agendaNumber(attr(node, "lineWeight"));
    out.lineVisible = agendaFlag(attr(node, "lineVisible"));
}

AgendaRun readRun(const platform::DomNode& bar, const char* name) {
    AgendaRun run;
    if (platform::DomNode node = bar.selectSingleNode(name)) {
        run.fontBold = agendaFlag(attr(node, "fontBold"));
        run.fontItalic = agendaFlag(attr(node, "fontItalic"));
    }
    return run;
}

// Optional integers read as 0 when absent.
std::int16_t optionalInteger(const platform::DomNode& node, const char* name) {
    const auto value = node.getAttribute(name);
    return value ? agendaInteger(*value) : std::int16_t{0};
}

}  // namespace

AgendaFormat readAgendaFormat(const platform::DomDocument& doc) {
    const platform::DomNode node = doc.selectSingleNode("/Varnotel/agenda/format");
    if (!node) raiseObjectNotSet();
    AgendaFormat f;
    f.left = agendaNumber(attr(node, "left"));
    f.top = agendaNumber(attr(node, "top"));
    f.width = agendaNumber(attr(node, "width"));
    f.height = agendaNumber(attr(node, "height"));
    f.baseFontSize = agendaNumber(attr(node, "baseFontSize"));
    f.boxFontRatio = agendaNumber(attr(node, "boxFontRatio"));
    f.boxBarSpacing = agendaNumber(attr(node, "boxBarSpacing"));
    f.fontName = attr(node, "fontName");
    f.slideLayout = optionalInteger(node, "slideLayout");
    f.enumerate2ndLevel = attr(node, "enumerate2ndLevel");
    f.enumerateBreak = optionalInteger(node, "enumerateBreak");
    f.barOnly = optionalInteger(node, "barOnly");
    f.goldenCanon = optionalInteger(node, "goldenCanon");
    return f;
}

std::optional<AgendaSubtitleBox> readAgendaSubtitle(const platform::DomDocument& doc) {
    const platform::DomNode node = doc.selectSingleNode("/Varnotel/agenda/subtitle");
    if (!node) return std::nullopt;
    AgendaSubtitleBox s;
    s.left = agendaNumber(attr(node, "left"));
    s.top = agendaNumber(attr(node, "top"));
    s.width = agendaNumber(attr(node, "width"));
    s.height = agendaNumber(attr(node, "height"));
    readFillLine(node, s);
    if (const auto align = node.getAttribute("align")) s.align = agendaInteger32(*align);
    s.fontColor = styleColor(node, "fontColor");
    s.fontSize = agendaNumber(attr(node, "fontSize"));
    s.fontBold = agendaFlag(attr(node, "fontBold"));
    s.fontItalic = agendaFlag(attr(node, "fontItalic"));
    return s;
}

std::optional<AgendaRowStyle> readAgendaRowStyle(const platform::DomDocument& doc, int level, bool selected,
                                                 bool isBreak) {
    const platform::DomNode style = doc.selectSingleNode(
        "/Varnotel/agenda/styles/style[@level=$level and @selected=$selected and @break=$break]",
        {{"level", std::to_string(level)}, {"selected", selected ? "1" : "0"}, {"break", isBreak ? "1" : "0"}});
    if (!style) return std::nullopt;
    AgendaRowStyle r;
    if (platform::DomNode box = style.selectSingleNode("box")) {
        readFillLine(box, r.box);
        r.box.fontColor = styleColor(box, "fontColor");
        r.box.fontBold = agendaFlag(attr(box, "fontBold"));
        r.box.fontItalic = agendaFlag(attr(box, "fontItalic"));
    }
    if (platform::DomNode bar = style.selectSingleNode("bar")) {
        readFillLine(bar, r.bar);
        r.bar.fontColor = styleColor(bar, "fontColor");
        r.bar.text = readRun(bar, "text");
        r.bar.responsible = readRun(bar, "responsible");
        r.bar.timeSlot = readRun(bar, "timeSlot");
        r.bar.pageNo = readRun(bar, "pageNo");
    }
    return r;
}

bool agendaMeasureBold(const platform::DomDocument& doc) {
    return static_cast<bool>(doc.selectSingleNode("/Varnotel/agenda/styles/style/bar/*[@fontBold='1']"));
}

bool agendaMeasureItalic(const platform::DomDocument& doc) {
    return static_cast<bool>(doc.selectSingleNode("/Varnotel/agenda/styles/style/bar/*[@fontItalic='1']"));
}

}  // namespace plorin
