// The agenda slides: measuring, generating, keeping them current and detaching them, with
// a fixed-width measurer (half the font size per character) so that numbers are exact.
#include <gtest/gtest.h>

#include "addin/agenda_upkeep.h"
#include "addin/named_commands.h"
#include "host/text.h"
#include "tests/agenda/agenda_fixture.h"

namespace {

using testing_agenda::agendaXml;
using testing_agenda::item;

double halfWidth(const std::string& text, const std::string&, double size, bool, bool) {
    return static_cast<double>(host::decodeUtf8(text).size()) * size * 0.5;
}

class AgendaSlides : public testing_agenda::AgendaFixture {
protected:
    void SetUp() override {
        AgendaFixture::SetUp();
        host::setTextMeasurer(halfWidth);
    }
    void TearDown() override {
        host::setTextMeasurer({});
        AgendaFixture::TearDown();
    }

    // Loads the stored agenda and presses OK, answering the new-slides message.
    void generate(const std::string& xml) {
        driver.messageAnswers.push_back(platform::vbOK);
        loadStored(xml).OK();
    }
    void regenerate() {
        driver.messageAnswers.push_back(platform::vbOK);
        load().OK();
    }

    static std::vector<std::shared_ptr<host::Shape>> role(const host::Slide& slide, const std::string& name) {
        std::vector<std::shared_ptr<host::Shape>> out;
        for (const auto& s : slide.Shapes().all())
            if (s->Tags().Item(plorin::kRoleTag) == name) out.push_back(s);
        return out;
    }
    // The bars' texts from top to bottom.
    static std::vector<std::string> rows(const host::Slide& slide) {
        auto bars = role(slide, "bar");
        std::sort(bars.begin(), bars.end(), [](auto& a, auto& b) { return a->Top() < b->Top(); });
        std::vector<std::string> out;
        for (const auto& b : bars) out.push_back(b->TextFrame().TextRange().Text());
        return out;
    }
    std::vector<std::shared_ptr<host::Slide>> agendaSlides() const {
        std::vector<std::shared_ptr<host::Slide>> out;
        for (const auto& s : deck->Slides().all())
            if (s->Tags().Item(plorin::kRoleTag) == plorin::kAgendaSlideRole) out.push_back(s);
        return out;
    }
};

// The agenda with page numbers in place of time slots.
std::string withPageNumbers(std::string xml) {
    const std::string from = "showTimeSlots=\"1\" showPageNumbers=\"0\"";
    return xml.replace(xml.find(from), from.size(), "showTimeSlots=\"0\" showPageNumbers=\"1\"");
}

std::string threeItems() {
    return item("Intro", 1, 30, "a") + item("Hidden", 1, 0, "b", false, false, "", false) + item("Detail", 2, 45, "c");
}

// ---- Measuring ------------------------------------------------------------------------------

plorin::AgendaMetrics area(double height, int items, double fontSize = 20) {
    plorin::AgendaMetrics m;
    m.format.width = 600;
    m.format.height = height;
    m.format.boxFontRatio = 2;
    m.format.boxBarSpacing = 5;
    m.fontSize = fontSize;
    m.boxSize = fontSize * 2;
    m.rowGap = m.boxSize;
    m.textInset = fontSize * 0.4;
    m.visibleItemCount = items;
    return m;
}

TEST(AgendaMetrics, RowsThatDoNotFitShrinkTheGapFirstThenTheFont) {
    // Five rows of 40 with gaps of 40 need 360; in 300 the gap shrinks to 25.
    auto m = area(300, 5);
    plorin::fitAgendaMetrics(m, {100});
    EXPECT_DOUBLE_EQ(m.fontSize, 20);
    EXPECT_DOUBLE_EQ(m.rowGap, 25);
    EXPECT_DOUBLE_EQ(m.goldenOffset, 0);

    // In 200 the gap would fall below a fifth of the box: the font becomes a whole number
    // and the rows fill the height exactly.
    auto small = area(200, 5);
    plorin::fitAgendaMetrics(small, {100});
    EXPECT_DOUBLE_EQ(small.fontSize, 17);  // trunc(200 / (4 * 8 + 5 * 40) * 20)
    EXPECT_DOUBLE_EQ(small.boxSize, 34);
    EXPECT_DOUBLE_EQ(small.rowGap, 7.5);
    EXPECT_NEAR(4 * small.rowGap + 5 * small.boxSize, 200, 1e-9);
}

TEST(AgendaMetrics, OneRowNeverDividesByZeroAndTheFontNeverDropsBelowOne) {
    auto one = area(30, 1);  // the box of 40 is taller than the area
    plorin::fitAgendaMetrics(one, {100});
    EXPECT_DOUBLE_EQ(one.fontSize, 15);
    EXPECT_DOUBLE_EQ(one.rowGap, 0);
    EXPECT_TRUE(std::isfinite(one.goldenOffset));

    // Three columns in a narrow area: the font would be 0 or less.
    auto narrow = area(300, 3);
    narrow.format.width = 50;
    plorin::fitAgendaMetrics(narrow, {400, 100, 80, 0, 2, true, true});
    EXPECT_DOUBLE_EQ(narrow.fontSize, 1);
    EXPECT_TRUE(std::isfinite(narrow.textColumnWidth));
}

TEST(AgendaMetrics, WideTextsShrinkTheFontAndSetTheColumns) {
    auto m = area(1000, 2);
    // available = 600 - 40 - 5 - 16 - 2 * 20 = 499; needed 998: the font halves.
    plorin::fitAgendaMetrics(m, {700, 200, 98, 0, 2, true, true});
    EXPECT_DOUBLE_EQ(m.fontSize, 10);
    EXPECT_DOUBLE_EQ(m.textColumnWidth, 499.0 * 700 / 998 + 10);
    EXPECT_EQ(m.hasRightColumn, 1);

    auto timeOnly = area(1000, 2);
    plorin::fitAgendaMetrics(timeOnly, {100, 0, 50, 0, 1, false, true});
    EXPECT_EQ(timeOnly.textColumnWidth, 0);
    EXPECT_EQ(timeOnly.hasRightColumn, 1);
}

TEST(AgendaMetrics, TheGoldenCanonMovesRowsThatFitAThirdOfTheFreeHeightDown) {
    auto m = area(400, 3);
    m.format.goldenCanon = 1;
    plorin::fitAgendaMetrics(m, {100});
    EXPECT_DOUBLE_EQ(m.goldenOffset, (400 - 5 * 40) / 3.0);
    auto off = area(400, 3);
    plorin::fitAgendaMetrics(off, {100});
    EXPECT_DOUBLE_EQ(off.goldenOffset, 0);
}

TEST_F(AgendaSlides, MeasuringUsesTheTemplatesFontAndLeavesNoSlideBehind) {
    auto& w = loadStored(agendaXml(item("A fairly long agenda item", 1, 10, "a") + item("Short", 2, 10, "b")));
    const int slides = deck->Slides().Count();
    ASSERT_TRUE(plorin::calculateMetrics(w.slideOptions(), w.metrics()));
    EXPECT_EQ(deck->Slides().Count(), slides);
    const auto& m = w.metrics();
    EXPECT_EQ(m.visibleItemCount, 2);
    // "A fairly long agenda item" is 25 characters of 9 points at size 18: 225 > 5 * 9 + 32.4 + 6.
    EXPECT_DOUBLE_EQ(m.fontSize, 18);
    EXPECT_EQ(m.hasRightColumn, 1);  // time slots are shown

    // A failure while measuring is reported, removes the measuring slide too, and OK then
    // generates nothing.
    w.agendaDocument()
        ->selectSingleNode("/Varnotel/agenda/format")
        .parentNode()
        .removeChild(w.agendaDocument()->selectSingleNode("/Varnotel/agenda/format"));
    EXPECT_FALSE(plorin::calculateMetrics(w.slideOptions(), w.metrics()));
    EXPECT_EQ(deck->Slides().Count(), slides);
    w.OK();
    EXPECT_EQ(deck->Slides().Count(), slides);
    EXPECT_EQ(reportedLocations(),
              (std::vector<std::string>{"AgendaWizard, calculateMetrics", "AgendaWizard, calculateMetrics"}));
    EXPECT_FALSE(w.loaded());
}

// ---- Generating -----------------------------------------------------------------------------

TEST_F(AgendaSlides, EachItemThatAsksGetsASlideShowingTheWholeAgendaWithItsRowHighlighted) {
    generate(agendaXml(threeItems()));
    const auto slides = agendaSlides();
    ASSERT_EQ(slides.size(), 2u);  // the hidden item has none
    EXPECT_EQ(deck->Slides().Count(), 5);
    EXPECT_EQ(driver.messages.back().text,
              "New agenda slides have been inserted at the end of the presentation.\r\n"
              "Please move them to the appropriate positions within the presentation.");
    // Hidden items take no row but their time counts; the sub-item is numbered 1.1.
    const std::vector<std::string> expected{"Intro\t09:00 \u2013 09:30", "Detail\t09:30 \u2013 10:15"};
    for (const auto& slide : slides) EXPECT_EQ(rows(*slide), expected);
    auto boxes = role(*slides[1], "box");
    std::sort(boxes.begin(), boxes.end(), [](auto& a, auto& b) { return a->Top() < b->Top(); });
    EXPECT_EQ(boxes[1]->TextFrame().TextRange().Text(), "1.1");
    // The second slide belongs to "Detail": its row's text is bold there, "Intro" is not.
    auto bars = role(*slides[1], "bar");
    std::sort(bars.begin(), bars.end(), [](auto& a, auto& b) { return a->Top() < b->Top(); });
    EXPECT_EQ(bars[0]->TextFrame().TextRange().Characters(1, 5).Font().Bold(), host::msoFalse);
    EXPECT_EQ(bars[1]->TextFrame().TextRange().Characters(1, 6).Font().Bold(), host::msoTrue);
    // The items now name their slides; the title carries the dialog's title.
    platform::DomDocument stored;
    ASSERT_TRUE(stored.loadXML(deck->Tags().Item(plorin::kAgendaXmlTag)));
    EXPECT_EQ(stored.selectNodes("/Varnotel/agenda/items/item").item(0).getAttribute("slideID"),
              slides[0]->Tags().Item(plorin::kSlideIdTag));
    EXPECT_EQ(role(*slides[0], "title").at(0)->TextFrame().TextRange().Text(), "Agenda");
    EXPECT_EQ(deck->Tags().Item(plorin::kSlideOrderTag), "");  // page numbers are off
    EXPECT_TRUE(reportedLocations().empty());
}

TEST_F(AgendaSlides, GeneratingAgainGivesTheSameSlidesAndKeepsTheUsersShapesInFront) {
    generate(agendaXml(threeItems()));
    auto slides = agendaSlides();
    const auto own = slides[0]->Shapes().AddShape(host::msoShapeOval, 10, 10, 20, 20);
    own->Tags().Add("mine", "1");
    const auto shapesBefore = [&](const host::Slide& s) {
        std::vector<std::string> out;
        for (const auto& sh : s.Shapes().all())
            out.push_back(sh->Tags().Item(plorin::kRoleTag) + "|" + sh->TextFrame().TextRange().Text() + "|" +
                          plorin::shapePropertiesText(*sh));
        return out;
    };
    const auto first = shapesBefore(*slides[1]);
    const std::string stored = deck->Tags().Item(plorin::kAgendaXmlTag);
    const int messages = static_cast<int>(driver.messages.size());

    load().OK();  // no new slide: no message
    EXPECT_EQ(static_cast<int>(driver.messages.size()), messages);
    EXPECT_EQ(agendaSlides(), slides);
    EXPECT_EQ(shapesBefore(*slides[1]), first);
    EXPECT_EQ(deck->Tags().Item(plorin::kAgendaXmlTag), stored);
    // The user's oval survived and stays on top of the generated rows.
    EXPECT_EQ(slides[0]->Shapes().all().back(), own);
    EXPECT_EQ(role(*slides[0], "bar").size(), 2u);
    EXPECT_EQ(role(*slides[0], "title").size(), 1u);
    EXPECT_TRUE(reportedLocations().empty());
}

TEST_F(AgendaSlides, ItemsThatLoseTheirSlideOrAreDeletedTakeItAlong) {
    generate(agendaXml(threeItems()));
    const auto slides = agendaSlides();
    ASSERT_EQ(slides.size(), 2u);

    // "Generate agenda slide" off for Intro: its slide goes and it gets a new identifier.
    auto& w = load();
    w.tvItems.selectedIndex = 0;
    act("check", "cbGenerateAgendaSlide", "0");
    const std::string oldId = attr(itemAt(0), "slideID");
    w.OK();
    EXPECT_EQ(agendaSlides(), std::vector<std::shared_ptr<host::Slide>>{slides[1]});
    platform::DomDocument stored;
    ASSERT_TRUE(stored.loadXML(deck->Tags().Item(plorin::kAgendaXmlTag)));
    const std::string newId =
        stored.selectNodes("/Varnotel/agenda/items/item").item(0).getAttribute("slideID").value_or("");
    EXPECT_NE(newId, oldId);
    EXPECT_EQ(plorin::findSlide(*deck, newId), nullptr);

    // Deleting Detail in the dialog removes its slide on OK.
    auto& again = load();
    again.tvItems.selectedIndex = 2;  // the tree shows the hidden item too
    act("click", "btnDeleteItem");
    again.OK();
    EXPECT_TRUE(agendaSlides().empty());
    EXPECT_EQ(deck->Slides().Count(), 3);
    EXPECT_TRUE(reportedLocations().empty());
}

TEST_F(AgendaSlides, PageNumbersAreRightAfterDeletionsAndFollowMovedSlides) {
    generate(withPageNumbers(agendaXml(item("A", 1, 10, "a") + item("B", 1, 10, "b") + item("C", 1, 10, "c"))));
    ASSERT_EQ(agendaSlides().size(), 3u);  // slides 4, 5 and 6
    EXPECT_EQ(rows(*agendaSlides()[0]), (std::vector<std::string>{"A\t4", "B\t5", "C\t6"}));

    // A is deleted: its slide goes before any number is written, so B and C read 4 and 5 on
    // every remaining slide.
    auto& w = load();
    w.tvItems.selectedIndex = 0;
    act("click", "btnDeleteItem");
    w.OK();
    for (const auto& slide : agendaSlides()) EXPECT_EQ(rows(*slide), (std::vector<std::string>{"B\t4", "C\t5"}));

    // C's slide moves to the front; updating the page numbers follows it, and the slide
    // order lists every slide first to last.
    agendaSlides()[1]->MoveTo(1);
    plorin::agendaUpdatePagenumbers();
    for (const auto& slide : agendaSlides()) EXPECT_EQ(rows(*slide), (std::vector<std::string>{"B\t5", "C\t1"}));
    std::string order;
    for (const auto& s : deck->Slides().all()) order += std::to_string(s->SlideID()) + ";";
    EXPECT_EQ(deck->Tags().Item(plorin::kSlideOrderTag), order);
    EXPECT_TRUE(reportedLocations().empty());
}

TEST_F(AgendaSlides, BarOnlyRowsCarryTheNumberAsTextOrABulletWithTheStaircase) {
    const std::string format = "enumerate2ndLevel=\"dot\" enumerateBreak=\"0\" barOnly=\"1\"";
    generate(agendaXml(item("Intro", 1, 30, "a") + item("Detail", 2, 45, "c"), format));
    auto slide = agendaSlides()[0];
    EXPECT_TRUE(role(*slide, "box").empty());
    EXPECT_EQ(rows(*slide),
              (std::vector<std::string>{"1.\tIntro\t09:00 \u2013 09:30", "1.1\tDetail\t09:30 \u2013 10:15"}));
    auto bar = role(*slide, "bar")[0];
    host::TabStops stops = bar->TextFrame().Ruler().TabStops();
    ASSERT_EQ(stops.Count(), 2);  // after the number, and the right-aligned time column
    EXPECT_EQ(stops.Item(2).Type(), host::ppTabStopRight);
    EXPECT_EQ(bar->TextFrame().TextRange().ParagraphFormat().Bullet().Visible(), host::msoFalse);

    // Without item numbers the rows are bullets on level 2 with the indent staircase.
    std::string plain = agendaXml(item("Intro", 1, 30, "a"), format);
    plain.replace(plain.find("showItemNumbers=\"1\""), 19, "showItemNumbers=\"0\"");
    deck = userDeck(1);
    generate(plain);
    bar = role(*agendaSlides()[0], "bar")[0];
    EXPECT_EQ(rows(*agendaSlides()[0]), std::vector<std::string>{"Intro\t09:00 \u2013 09:30"});
    EXPECT_EQ(bar->TextFrame().TextRange().ParagraphFormat().Bullet().Visible(), host::msoTrue);
    EXPECT_EQ(bar->TextFrame().TextRange().IndentLevel(), 2);
    EXPECT_GT(bar->TextFrame().Ruler().Levels(2).LeftMargin(), 0);
    EXPECT_TRUE(reportedLocations().empty());
}

TEST_F(AgendaSlides, AFailureHalfWayKeepsTheIdentifiersOfTheSlidesMadeSoNoRunDuplicatesThem) {
    // A subtitle box whose alignment is no number fails once the slides exist.
    std::string xml = agendaXml(item("A", 1, 10, "a") + item("B", 1, 10, "b"));
    xml.replace(xml.find("align=\"1\""), 9, "align=\"x\"");
    generate(xml);
    EXPECT_EQ(reportedLocations(), std::vector<std::string>{"AgendaWizard, OK"});
    EXPECT_FALSE(wizard->loaded());
    ASSERT_EQ(agendaSlides().size(), 2u);
    platform::DomDocument stored;
    ASSERT_TRUE(stored.loadXML(deck->Tags().Item(plorin::kAgendaXmlTag)));
    EXPECT_EQ(stored.selectNodes("/Varnotel/agenda/items/item").item(1).getAttribute("slideID"),
              agendaSlides()[1]->Tags().Item(plorin::kSlideIdTag));

    load().OK();
    EXPECT_EQ(agendaSlides().size(), 2u);
    EXPECT_EQ(deck->Slides().Count(), 5);
}

TEST_F(AgendaSlides, ItemsOfOtherLevelsCountForTheTimesAndNothingElse) {
    // A stored agenda (from another tool) holds a level-3 item that asks for a slide, and a
    // slide made for it earlier.
    const auto stale = deck->Slides().Add(4, 12);
    stale->Tags().Add(plorin::kRoleTag, plorin::kAgendaSlideRole);
    const std::string deepId = "s_DEEP0000-0000-0000-0000-000000000000";
    stale->Tags().Add(plorin::kSlideIdTag, deepId);
    generate(
        agendaXml(item("A", 1, 30, "a") + item("Deep", 3, 60, deepId, false, true, "Team") + item("B", 1, 15, "b")));
    EXPECT_EQ(wizard->metrics().visibleItemCount, 2);
    const auto slides = agendaSlides();
    ASSERT_EQ(slides.size(), 2u);  // none for the level-3 item, and its old one is gone
    EXPECT_EQ(stale->Parent(), nullptr);
    for (const auto& slide : slides) {
        EXPECT_EQ(rows(*slide), (std::vector<std::string>{"A\t09:00 \u2013 09:30", "B\t10:30 \u2013 10:45"}));
        EXPECT_EQ(role(*slide, "box").size(), 2u);
    }
    EXPECT_TRUE(reportedLocations().empty());

    // Updating the page numbers, as a save does, draws the same and reports nothing.
    plorin::agendaUpdatePagenumbers();
    EXPECT_EQ(agendaSlides(), slides);
    EXPECT_EQ(rows(*slides[1]), (std::vector<std::string>{"A\t09:00 \u2013 09:30", "B\t10:30 \u2013 10:45"}));
    EXPECT_TRUE(reportedLocations().empty());
}

TEST_F(AgendaSlides, AColourThatCannotBeReadCostsOnlyThatColourAndIsReportedOncePerRun) {
    const std::string items = item("A", 1, 10, "a") + item("B", 1, 10, "b") + item("C", 1, 10, "c");
    struct Case {
        const char* what;
        std::string from, to;
        std::string named;  // in the one report
    } cases[] = {
        {"a row style's fill is no colour", "<bar fillColor=\"#FFFFFF\"", "<bar fillColor=\"#GG5597\"",
         "bar fillColor \"#GG5597\""},
        {"a row style's font colour is missing", " fontColor=\"2\"><text", "><text", "bar fontColor missing"},
        {"a row style's scheme colour is out of the host's range", " fontColor=\"2\"><text", " fontColor=\"99\"><text",
         "scheme colour 99"},
        {"a subtitle box without any attribute, as a received agenda may hold",
         "<subtitle left=\"1\" top=\"84\" width=\"600\" height=\"30\" fillColor=\"#FF0000\" fillVisible=\"0\" "
         "lineColor=\"#000000\" lineWeight=\"0\" lineVisible=\"0\" align=\"1\" fontColor=\"2\" fontSize=\"16\" "
         "fontBold=\"0\" fontItalic=\"1\"/>",
         "<subtitle/>", "subtitle fillColor missing, subtitle lineColor missing, subtitle fontColor missing"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        deck = userDeck(1);
        plorin::reportedErrors().clear();
        std::string xml = agendaXml(items);
        std::size_t at = 0;
        while ((at = xml.find(c.from, at)) != std::string::npos) {
            xml.replace(at, c.from.size(), c.to);
            at += c.to.size();
        }
        generate(xml);
        const auto slides = agendaSlides();
        ASSERT_EQ(slides.size(), 3u);
        for (const auto& slide : slides) {
            EXPECT_EQ(rows(*slide).size(), 3u);
            EXPECT_EQ(role(*slide, "subtitle").size(), 1u);
        }
        ASSERT_EQ(plorin::reportedErrors().size(), 1u);
        EXPECT_EQ(plorin::reportedErrors()[0].location, "AgendaWizard, setColor");
        EXPECT_EQ(plorin::reportedErrors()[0].error.Number, plorin::errTypeMismatch);
        EXPECT_NE(plorin::reportedErrors()[0].error.Description.find(c.named), std::string::npos)
            << plorin::reportedErrors()[0].error.Description;
    }
    // The colours that could be read are set; the one that could not leaves the host's own.
    const auto bar = role(*agendaSlides()[0], "bar")[0];
    EXPECT_EQ(bar->Line().ForeColor().RGB(), 0xDCAA8Fu);  // #8FAADC
    const auto subtitle = role(*agendaSlides()[0], "subtitle")[0];
    EXPECT_EQ(subtitle->TextFrame().TextRange().ParagraphFormat().Alignment(), host::ppAlignLeft);
}

TEST_F(AgendaSlides, AStyleWithoutItsRowStylesFailsEveryRowButIsReportedOncePerRun) {
    std::string xml = agendaXml(item("A", 1, 10, "a") + item("B", 1, 10, "b") + item("C", 1, 10, "c"));
    const auto from = xml.find("<styles>"), to = xml.find("</styles>");
    xml.replace(from, to - from, "<styles>");
    plorin::reportedErrors().clear();
    generate(xml);
    ASSERT_EQ(agendaSlides().size(), 3u);  // nine rows fail alike
    ASSERT_EQ(plorin::reportedErrors().size(), 1u);
    EXPECT_EQ(plorin::reportedErrors()[0].location, "AgendaWizard, addAgendaItem");
}

TEST_F(AgendaSlides, RunningTimesPastTheSixteenBitRangeGoOnRoundTheClock) {
    // From 23:00, 23 whole days of hidden items take the running time to 34,500 minutes.
    std::string items;
    for (int i = 0; i < 23; ++i)
        items += item("Day " + std::to_string(i), 1, 1440, "d" + std::to_string(i), false, false, "", false);
    std::string xml = agendaXml(items + item("Late", 1, 30, "late"));
    xml.replace(xml.find("startTime=\"540\""), 15, "startTime=\"1380\"");
    generate(xml);
    ASSERT_EQ(agendaSlides().size(), 1u);
    EXPECT_EQ(rows(*agendaSlides()[0]), std::vector<std::string>{"Late\t23:00 \u2013 23:30"});
    EXPECT_EQ(load().lEnd.Caption, "23:30");
    EXPECT_TRUE(reportedLocations().empty());
}

// ---- Upkeep ---------------------------------------------------------------------------------

TEST_F(AgendaSlides, ManualChangesAreToldApartByTextAndPosition) {
    generate(agendaXml(item("A", 1, 10, "a") + item("B", 1, 10, "b")));
    load();
    const auto slide = agendaSlides()[0];
    const auto bar = role(*slide, "bar")[0];
    const auto title = role(*slide, "title")[0];
    EXPECT_EQ(plorin::checkForManualChanges(*deck), 0);

    // Retyping a row's text as it was changes nothing; moving the title is never reported.
    bar->TextFrame().TextRange().setText(bar->TextFrame().TextRange().Text());
    title->setTop(title->Top() + 50);
    EXPECT_EQ(plorin::checkForManualChanges(*deck), 0);

    title->TextFrame().TextRange().setText("My agenda");
    EXPECT_EQ(plorin::checkForManualChanges(*deck), 1);
    title->TextFrame().TextRange().setText("Agenda");

    bar->setLeft(bar->Left() + 1);  // nudged by one point
    EXPECT_EQ(plorin::checkForManualChanges(*deck), 2);
    title->TextFrame().TextRange().setText("My agenda");
    EXPECT_EQ(plorin::checkForManualChanges(*deck), 3);

    // A user's shape without the role tag is never inspected.
    bar->setLeft(bar->Left() - 1);
    title->TextFrame().TextRange().setText("Agenda");
    auto own = slide->Shapes().AddShape(host::msoShapeRectangle, 1, 1, 1, 1);
    own->Tags().Add(plorin::kContentTag, "/other");
    EXPECT_EQ(plorin::checkForManualChanges(*deck), 0);
}

TEST(AgendaUpkeep, ThePropertiesTagIsWrittenInOneNumberFormAndReadInBoth) {
    EXPECT_EQ(plorin::invariantNumber(36), " 36");
    EXPECT_EQ(plorin::invariantNumber(120.5f), " 120.5");
    EXPECT_EQ(plorin::invariantNumber(-3.25f), "-3.25");
    EXPECT_EQ(plorin::invariantNumber(1.0f / 3), " 0.3333333");
    EXPECT_EQ(plorin::invariantNumber(0), " 0");

    host::Application app("14.0");
    auto p = app.Presentations().Add();
    auto shape = p->Slides().Add(1, 12)->Shapes().AddShape(host::msoShapeRectangle, 36, 120.5f, 648, 40);
    plorin::saveShapeProperties(*shape);
    EXPECT_EQ(shape->Tags().Item(plorin::kPropertiesTag), " 36/ 120.5/ 648/ 40");
    EXPECT_TRUE(plorin::checkShapeProperties(*shape));
    shape->Tags().Add(plorin::kPropertiesTag, " 36/ 120,5/ 648/ 40");  // written with a decimal comma
    EXPECT_TRUE(plorin::checkShapeProperties(*shape));
    shape->setTop(120.25f);
    EXPECT_FALSE(plorin::checkShapeProperties(*shape));
    shape->Tags().Delete(plorin::kPropertiesTag);
    EXPECT_TRUE(plorin::checkShapeProperties(*shape));
}

TEST(AgendaUpkeep, ColourTextsAndTabStops) {
    plorin::reportedErrors().clear();
    host::Application app("14.0");
    auto p = app.Presentations().Add();
    auto shape = p->Slides().Add(1, 12)->Shapes().AddShape(host::msoShapeRectangle, 0, 0, 100, 40);
    plorin::setColor(shape->Fill().ForeColor(), "#0080FF");
    EXPECT_EQ(shape->Fill().ForeColor().RGB(), 0xFF8000u);  // red 0, green 128, blue 255
    plorin::setColor(shape->Line().ForeColor(), "3");
    EXPECT_EQ(shape->Line().ForeColor().SchemeColor(), 3);
    shape->TextFrame().TextRange().setText("x");
    plorin::setColor(shape->TextFrame().TextRange().Font().Color(), "#FF0000trailing");
    EXPECT_EQ(shape->TextFrame().TextRange().Font().Color().RGB(), 0x0000FFu);
    // "#" without hexadecimal pairs is reported and leaves the colour alone.
    plorin::setColor(shape->Fill().ForeColor(), "#GG0000");
    EXPECT_EQ(shape->Fill().ForeColor().RGB(), 0xFF8000u);
    ASSERT_EQ(plorin::reportedErrors().size(), 1u);
    EXPECT_EQ(plorin::reportedErrors()[0].location, "AgendaWizard, setColor");

    host::TabStops stops = shape->TextFrame().Ruler().TabStops();
    for (int i = 1; i <= 5; ++i) stops.Add(host::ppTabStopLeft, 20.0f * i);
    plorin::removeTabs(*shape);
    EXPECT_EQ(stops.Count(), 0);
    plorin::reportedErrors().clear();
}

// ---- Commands and the save handler ----------------------------------------------------------

TEST_F(AgendaSlides, DisconnectingRemovesOnlyTheAgendaTagsOfTheSelectedAgendaSlides) {
    generate(agendaXml(item("A", 1, 10, "a") + item("B", 1, 10, "b")));
    const auto slides = agendaSlides();
    const auto user = deck->Slides().Item(1);
    user->Tags().Add("mine", "1");
    window().selectSlides({user, slides[0]});

    driver.messageAnswers = {platform::vbNo};
    plorin::disconnectAgendaSlides();
    EXPECT_EQ(agendaSlides().size(), 2u);
    EXPECT_EQ(driver.messages.back().style, platform::vbYesNo | platform::vbQuestion | platform::vbDefaultButton2);

    driver.messageAnswers = {platform::vbYes};
    plorin::disconnectAgendaSlides();
    EXPECT_EQ(agendaSlides(), std::vector<std::shared_ptr<host::Slide>>{slides[1]});
    EXPECT_EQ(slides[0]->Tags().Count(), 0);
    for (const auto& shape : slides[0]->Shapes().all()) EXPECT_EQ(shape->Tags().Count(), 0);
    EXPECT_EQ(slides[0]->Shapes().Count(), slides[1]->Shapes().Count());  // the shapes stay
    EXPECT_EQ(user->Tags().Item("mine"), "1");
    EXPECT_TRUE(reportedLocations().empty());

    // The next run gives the detached item a new slide of its own.
    regenerate();
    EXPECT_EQ(agendaSlides().size(), 2u);
    EXPECT_EQ(deck->Slides().Count(), 6);
}

TEST_F(AgendaSlides, DisconnectingEveryAgendaSlideAndSavingKeepsTheAgendaForTheWizard) {
    generate(withPageNumbers(agendaXml(item("A", 1, 10, "a") + item("B", 1, 10, "b"))));
    const auto slides = agendaSlides();
    const std::string stored = deck->Tags().Item(plorin::kAgendaXmlTag);
    window().selectSlides(slides);
    driver.messageAnswers = {platform::vbYes};
    plorin::disconnectAgendaSlides();
    ASSERT_TRUE(agendaSlides().empty());

    // Saved and opened again: no question, the agenda as it was, its slide order gone.
    const int asked = static_cast<int>(driver.messages.size());
    deck->SaveAs(root + "disconnected.ppt");
    deck->Close();
    deck = app->Presentations().Open(root + "disconnected.ppt");
    EXPECT_EQ(static_cast<int>(driver.messages.size()), asked);
    EXPECT_EQ(deck->Tags().Item(plorin::kAgendaXmlTag), stored);
    EXPECT_EQ(deck->Tags().Item(plorin::kSlideOrderTag), "");
    load();
    EXPECT_EQ(labels(), (std::vector<std::string>{"1. A", "2. B"}));
    EXPECT_TRUE(reportedLocations().empty());
}

}  // namespace
