// The style side of an agenda: the layout elements of a style's "agendawizard.xml" (format,
// optional subtitle box, row styles), read into typed values. The same elements are copied
// into the agenda document, from which the slide generator reads them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/xml_dom.h"

namespace plorin {

// The file name of a style's agenda template inside its style folder.
constexpr const char* kAgendaTemplateFile = "agendawizard.xml";

// Value forms of the layout attributes.
// A number: the longest numeric lead after leading blanks ("." decimal point, whatever the
// locale); a text that does not start with a number reads as 0.
double agendaNumber(const std::string& text);
// Whole numbers as the system converts them (halves to even); raise errTypeMismatch for a
// text that is not a number and errOverflow when it does not fit.
std::int16_t agendaInteger(const std::string& text);
std::int32_t agendaInteger32(const std::string& text);
// "1" is on, everything else off.
bool agendaFlag(const std::string& text);

// A colour text: "#RRGGBB" (either case; text after the seventh character is ignored) or a
// whole number naming a colour of the presentation's colour scheme.
struct AgendaColor {
    bool isRgb = false;
    std::uint32_t rgb = 0;  // 0x00BBGGRR, as the host keeps colours
    std::int32_t schemeIndex = 0;
    // A style's colour that is missing or no colour, as the report names it ("bar fillColor
    // \"#GG5597\""): setting it is skipped, the rest of the shape is drawn.
    std::optional<std::string> unreadable;
    bool operator==(const AgendaColor&) const = default;
};
// Raises errTypeMismatch for a "#" text whose six digits are not hexadecimal and for a
// scheme index that is not a number.
AgendaColor agendaColor(const std::string& text);

struct AgendaFormat {
    double left = 0, top = 0, width = 0, height = 0;
    double baseFontSize = 0, boxFontRatio = 0, boxBarSpacing = 0;
    std::string fontName;
    std::int16_t slideLayout = 0;
    std::string enumerate2ndLevel;    // "dot", "continuous" or anything else
    std::int16_t enumerateBreak = 0;  // 1 numbers breaks
    std::int16_t barOnly = 0;
    std::int16_t goldenCanon = 0;
};

struct AgendaFillLine {
    AgendaColor fillColor;
    bool fillVisible = false;
    AgendaColor lineColor;
    double lineWeight = 0;
    bool lineVisible = false;
};

struct AgendaSubtitleBox : AgendaFillLine {
    double left = 0, top = 0, width = 0, height = 0;
    std::int32_t align = 1;  // the host's paragraph alignment
    AgendaColor fontColor;
    double fontSize = 0;
    bool fontBold = false, fontItalic = false;
};

struct AgendaRun {
    bool fontBold = false, fontItalic = false;
};

struct AgendaRowStyle {
    struct Box : AgendaFillLine {
        AgendaColor fontColor;
        bool fontBold = false, fontItalic = false;
    } box;
    struct Bar : AgendaFillLine {
        AgendaColor fontColor;
        AgendaRun text, responsible, timeSlot, pageNo;
    } bar;
};

// "/Varnotel/agenda/format". A missing attribute reads as 0 or the empty text; raises error
// 91 when the document has no format element.
AgendaFormat readAgendaFormat(const platform::DomDocument& doc);
// "/Varnotel/agenda/subtitle", or nothing when the agenda has no subtitle box. Its colours
// and those of the row styles never fail the reading: a missing or unreadable one is kept as
// unreadable. A missing alignment is left-aligned.
std::optional<AgendaSubtitleBox> readAgendaSubtitle(const platform::DomDocument& doc);
// The row style for that kind of row, or nothing when the template has none.
std::optional<AgendaRowStyle> readAgendaRowStyle(const platform::DomDocument& doc, int level, bool selected,
                                                 bool isBreak);
// Whether any run of any style is bold (italic): then every row text is measured so.
bool agendaMeasureBold(const platform::DomDocument& doc);
bool agendaMeasureItalic(const platform::DomDocument& doc);

}  // namespace plorin
