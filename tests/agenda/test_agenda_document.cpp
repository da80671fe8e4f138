// The agenda's document and its style's layout, without the dialog: value forms, the
// template readers, the tree's labels and running times, typed times, and taking a style.
#include <gtest/gtest.h>

#include "agenda/agenda_document.h"
#include "agenda/agenda_template.h"
#include "agenda_fixture.h"

namespace {

using testing_agenda::agendaXml;
using testing_agenda::item;

std::unique_ptr<platform::DomDocument> parse(const std::string& xml) {
    auto doc = std::make_unique<platform::DomDocument>();
    EXPECT_TRUE(doc->loadXML(xml)) << xml;
    return doc;
}

std::vector<std::string> labelsOf(const platform::DomDocument& doc, plorin::AgendaTreeOptions options) {
    std::vector<std::string> out;
    for (const auto& row : plorin::buildAgendaTree(doc, options).rows) out.push_back(row.label);
    return out;
}

TEST(AgendaValues, NumbersReadTheirNumericLeadWhateverTheLocaleAndColoursTakeBothForms) {
    EXPECT_DOUBLE_EQ(plorin::agendaNumber("  12.5pt"), 12.5);
    EXPECT_DOUBLE_EQ(plorin::agendaNumber("-3"), -3);
    EXPECT_DOUBLE_EQ(plorin::agendaNumber("wide"), 0);
    EXPECT_DOUBLE_EQ(plorin::agendaNumber(""), 0);
    EXPECT_DOUBLE_EQ(plorin::agendaNumber("1,5"), 1);  // the comma is no decimal point

    const plorin::AgendaColor red = plorin::agendaColor("#FF0000");
    EXPECT_TRUE(red.isRgb);
    EXPECT_EQ(red.rgb, 0x0000FFu);  // kept as the host keeps colours: red in the lowest byte
    EXPECT_EQ(plorin::agendaColor("#00ff80trailing").rgb, 0x80FF00u);
    const plorin::AgendaColor scheme = plorin::agendaColor("4");
    EXPECT_FALSE(scheme.isRgb);
    EXPECT_EQ(scheme.schemeIndex, 4);
    EXPECT_THROW(plorin::agendaColor("#12"), platform::NumberedError);
    EXPECT_THROW(plorin::agendaColor("#GG0000"), platform::NumberedError);
    EXPECT_THROW(plorin::agendaColor(""), platform::NumberedError);
}

TEST(AgendaTemplate, FormatSubtitleAndRowStylesReadWithTheirDefaults) {
    auto doc = parse(
        "<Varnotel><agenda><format left=\"36\" top=\" 126.5\" fontName=\"Arial\" slideLayout=\"11\" "
        "enumerate2ndLevel=\"dot\" enumerateBreak=\"1\"/><styles>"
        "<style level=\"2\" selected=\"1\" break=\"0\"><box fillColor=\"3\" fontBold=\"1\" lineColor=\"#000000\" "
        "fontColor=\"1\"/>"
        "<bar fillColor=\"#0000FF\" lineColor=\"1\" fontColor=\"2\"><pageNo fontBold=\"1\"/><text "
        "fontItalic=\"1\"/></bar>"
        "</style></styles></agenda></Varnotel>");
    const plorin::AgendaFormat f = plorin::readAgendaFormat(*doc);
    EXPECT_DOUBLE_EQ(f.left, 36);
    EXPECT_DOUBLE_EQ(f.top, 126.5);
    EXPECT_DOUBLE_EQ(f.width, 0);  // missing reads as 0
    EXPECT_EQ(f.fontName, "Arial");
    EXPECT_EQ(f.slideLayout, 11);
    EXPECT_EQ(f.enumerateBreak, 1);
    EXPECT_EQ(f.barOnly, 0);
    EXPECT_EQ(f.goldenCanon, 0);
    EXPECT_FALSE(plorin::readAgendaSubtitle(*doc));

    EXPECT_FALSE(plorin::readAgendaRowStyle(*doc, 1, false, false));
    const auto style = plorin::readAgendaRowStyle(*doc, 2, true, false);
    ASSERT_TRUE(style);
    EXPECT_EQ(style->box.fillColor.schemeIndex, 3);
    EXPECT_TRUE(style->box.fontBold);
    EXPECT_EQ(style->bar.fillColor.rgb, 0xFF0000u);
    EXPECT_TRUE(style->bar.pageNo.fontBold);
    EXPECT_TRUE(style->bar.text.fontItalic);
    EXPECT_FALSE(style->bar.responsible.fontBold);
    // A single bold page-number run makes every measurement bold.
    EXPECT_TRUE(plorin::agendaMeasureBold(*doc));
    EXPECT_TRUE(plorin::agendaMeasureItalic(*doc));

    auto none = parse("<Varnotel><agenda/></Varnotel>");
    EXPECT_THROW(plorin::readAgendaFormat(*none), platform::NumberedError);
}

TEST(AgendaTree, DotNumberingWithBreaksHiddenItemsResponsiblesAndTimeSlots) {
    auto doc = parse(agendaXml(item("Opening", 1, 30, "a", false, true, "Chair") + item("Plan", 2, 0, "b") +
                               item("Budget", 2, 45, "c", false, true, "Finance") + item("Coffee", 1, 15, "d", true) +
                               item("Secret", 1, 10, "e", false, false) + item("Close", 1, 20, "f")));
    EXPECT_EQ(labelsOf(*doc, {true, true, true, 9 * 60}),
              (std::vector<std::string>{"1. Opening (Chair, 09:00 - 09:30)", "1.1 Plan",
                                        "1.2 Budget (Finance, 09:30 - 10:15)", "Coffee (10:15 - 10:30)",
                                        "[HIDDEN] Secret (10:30 - 10:40)", "2. Close (10:40 - 11:00)"}));
    // Without numbers hidden items carry no marker; without columns the label is the text.
    EXPECT_EQ(labelsOf(*doc, {false, false, false, 0})[4], "Secret");
    const plorin::AgendaTree tree = plorin::buildAgendaTree(*doc, {false, false, false, 9 * 60});
    EXPECT_EQ(tree.endMinutes, 11 * 60);
    EXPECT_FALSE(tree.rows[0].child);
    EXPECT_TRUE(tree.rows[1].child);
}

TEST(AgendaTree, ContinuousNumberingNumberedBreaksRestartSubNumbersAndOtherLevelsOnlyCountTime) {
    auto continuous =
        parse(agendaXml(item("A", 1, 10, "a") + item("B", 2, 10, "b") + item("C", 2, 10, "c") + item("D", 1, 10, "d"),
                        "enumerate2ndLevel=\"continuous\" enumerateBreak=\"0\""));
    EXPECT_EQ(labelsOf(*continuous, {true, false, false, 0}),
              (std::vector<std::string>{"1. A", "2. B", "3. C", "4. D"}));

    // A numbered break starts a new main number, and its sub-items count from 1 again, as on
    // the agenda slides.
    auto breaks = parse(agendaXml(item("A", 1, 10, "a") + item("B", 2, 10, "b") + item("Lunch", 1, 60, "l", true) +
                                      item("C", 2, 10, "c") + item("Deep", 3, 30, "x") + item("Tea", 2, 10, "t", true),
                                  "enumerate2ndLevel=\"dot\" enumerateBreak=\"1\""));
    const plorin::AgendaTree tree = plorin::buildAgendaTree(*breaks, {true, false, true, 0});
    std::vector<std::string> got;
    for (const auto& r : tree.rows) got.push_back(r.label);
    EXPECT_EQ(got,
              (std::vector<std::string>{"1. A (00:00 - 00:10)", "1.1 B (00:10 - 00:20)", "2. Lunch (00:20 - 01:20)",
                                        "2.1 C (01:20 - 01:30)", "2.2 Tea (02:00 - 02:10)"}));
    EXPECT_EQ(tree.endMinutes, 130);  // the level-3 item is not shown but its half hour counts

    auto unnumbered = parse(
        agendaXml(item("A", 1, 10, "a") + item("B", 2, 10, "b"), "enumerate2ndLevel=\"none\" enumerateBreak=\"0\""));
    EXPECT_EQ(labelsOf(*unnumbered, {true, false, false, 0})[1], "B");
}

TEST(AgendaTree, TimeSlotsCrossMidnightAndLongAgendasDoNotOverflow) {
    auto doc = parse(agendaXml(item("Late", 1, 90, "a") + item("Later", 1, 60, "b")));
    EXPECT_EQ(labelsOf(*doc, {false, false, true, 23 * 60})[1], "Later (00:30 - 01:30)");

    std::string many;
    for (int i = 0; i < 23; ++i) many += item("Day " + std::to_string(i), 1, 1440, "d" + std::to_string(i));
    auto week = parse(agendaXml(many));
    const plorin::AgendaTree tree = plorin::buildAgendaTree(*week, {false, false, true, 1439});
    EXPECT_EQ(tree.endMinutes, 1439 + 23 * 1440);
    EXPECT_EQ(plorin::clockText(tree.endMinutes), "23:59");
    EXPECT_EQ(tree.rows.back().label, "Day 22 (23:59 - 23:59)");
}

TEST(AgendaTree, ItemsThatCannotBeReadAreErrors) {
    EXPECT_THROW(plorin::buildAgendaTree(*parse(agendaXml("<item text=\"x\" level=\"1\"/>")), {}),
                 platform::NumberedError);
    EXPECT_THROW(plorin::buildAgendaTree(*parse(agendaXml(item("x", 1, 1441, "a"))), {}), platform::NumberedError);
    EXPECT_THROW(plorin::buildAgendaTree(*parse(agendaXml(item("x", 1, -1, "a"))), {}), platform::NumberedError);
}

TEST(AgendaTimes, TypedTimesAndDates) {
    EXPECT_DOUBLE_EQ(*plorin::dateValue("07:05"), 425.0 / 1440);
    EXPECT_DOUBLE_EQ(*plorin::dateValue("7:5"), 425.0 / 1440);
    EXPECT_DOUBLE_EQ(*plorin::dateValue(" 23:59 "), 1439.0 / 1440);
    EXPECT_DOUBLE_EQ(*plorin::dateValue("2:30 pm"), 870.0 / 1440);
    EXPECT_DOUBLE_EQ(*plorin::dateValue("12:00 AM"), 0);
    EXPECT_FALSE(plorin::dateValue("24:00"));
    EXPECT_FALSE(plorin::dateValue("25:00"));
    EXPECT_FALSE(plorin::dateValue("9"));
    EXPECT_FALSE(plorin::dateValue("9:60"));
    EXPECT_FALSE(plorin::dateValue(""));
    EXPECT_FALSE(plorin::dateValue("13:00 PM"));
    EXPECT_DOUBLE_EQ(*plorin::dateValue("1900-01-01"), 2);
    EXPECT_DOUBLE_EQ(*plorin::dateValue("1/1/1900 12:00"), 2.5);
    EXPECT_DOUBLE_EQ(*plorin::dateValue("31.12.1899"), 1);
    EXPECT_FALSE(plorin::dateValue("2023-02-29"));
    EXPECT_EQ(plorin::clockText(-15), "23:45");
    EXPECT_EQ(plorin::clockText(1440 + 65), "01:05");
}

TEST(AgendaDocument, TakingAStyleReplacesOnlyItsLayoutAndRenewingGivesFreshIdentifiers) {
    auto agenda = parse(agendaXml(item("Keep", 1, 30, "k1"), "enumerate2ndLevel=\"dot\" enumerateBreak=\"0\"", false,
                                  " extra=\"kept\""));
    auto green =
        parse(agendaXml(item("Template item", 1, 5, "t"), "enumerate2ndLevel=\"continuous\" enumerateBreak=\"1\""));
    plorin::takeAgendaStyle(*agenda, *green);
    const platform::DomNode a = agenda->selectSingleNode("/Varnotel/agenda");
    EXPECT_EQ(a.selectSingleNode("format").getAttribute("enumerate2ndLevel"), "continuous");
    EXPECT_TRUE(a.selectSingleNode("subtitle"));  // appended: the agenda had none
    EXPECT_EQ(a.selectNodes("items/item").length(), 1);
    EXPECT_EQ(a.selectSingleNode("items/item").getAttribute("text"), "Keep");
    EXPECT_EQ(a.getAttribute("extra"), "kept");
    // The template is not changed by lending its elements.
    EXPECT_TRUE(green->selectSingleNode("/Varnotel/agenda/format"));

    // A style without a subtitle leaves the agenda's own alone.
    auto plain = parse(agendaXml("", "enumerate2ndLevel=\"x\" enumerateBreak=\"0\"", false));
    plorin::takeAgendaStyle(*agenda, *plain);
    EXPECT_TRUE(agenda->selectSingleNode("/Varnotel/agenda/subtitle"));

    const auto old = plorin::renewAgendaItemIds(*agenda, "s_");
    EXPECT_EQ(old, std::vector<std::string>{"k1"});
    const std::string id = *agenda->selectSingleNode("/Varnotel/agenda/items/item").getAttribute("slideID");
    EXPECT_EQ(id.size(), 38u);
    EXPECT_EQ(id.rfind("s_", 0), 0u);

    // Identifiers are matched as values: an apostrophe cannot break the query.
    auto quoted = parse(agendaXml(item("Q", 1, 5, "it's")));
    EXPECT_TRUE(plorin::findAgendaItem(*quoted, "it's"));
    EXPECT_FALSE(plorin::findAgendaItem(*quoted, "' or '1'='1"));
}

TEST(AgendaDocument, NormalisingShowsEveryItemThatGeneratesASlide) {
    auto doc = parse(agendaXml(item("Slide but hidden", 1, 5, "a", false, false, "", true) +
                               item("Hidden", 1, 5, "b", false, false, "", false)));
    plorin::normaliseAgendaItems(*doc);
    const auto items = doc->selectNodes("/Varnotel/agenda/items/item");
    EXPECT_EQ(items.item(0).getAttribute("showAgendaItem"), "1");
    EXPECT_EQ(items.item(1).getAttribute("showAgendaItem"), "0");
}

}  // namespace
