#include <functional>
#include <regex>
// The agenda dialog worked as a user would: which agenda it opens with, the tree, editing,
// the coupled check boxes, the typed fields, the style change, import, delete and OK.
#include <gtest/gtest.h>

#include "agenda_fixture.h"

namespace {

using testing_agenda::agendaXml;
using testing_agenda::item;

class AgendaDialog : public testing_agenda::AgendaFixture {};

const std::string kCorruptTemplate =
    "The Agenda Wizard template seems to be corrupted. Please contact us at support@varnotel.example.";
const std::string kCorruptData =
    "The Agenda Wizard data seems to be corrupted. Please contact us at support@varnotel.example.";

// ---- Which agenda the dialog opens with -------------------------------------------------

TEST_F(AgendaDialog, WithoutTagsTheCurrentStylesTemplateStartsTheAgendaWithFreshIdentifiersAndCancelWritesNothing) {
    plorin::state().currentStyle = "Blue";
    // The template's item asks for a slide but is hidden: it starts the agenda shown.
    writeTemplate("blue", agendaXml(item("Welcome", 1, 15, "1", false, false)));
    auto& w = load();
    EXPECT_FALSE(w.failed());
    EXPECT_EQ(w.cbStyle.Text(), "Blue");
    EXPECT_EQ(labels(), std::vector<std::string>{"1. Welcome (09:00 - 09:15)"});
    // The template's id "1" would name the user's first slide: the item gets a new one.
    const std::string id = attr(itemAt(0), "slideID");
    EXPECT_EQ(id.size(), 38u);
    EXPECT_EQ(id.rfind("s_", 0), 0u);
    EXPECT_EQ(attr(itemAt(0), "showAgendaItem"), "1");
    EXPECT_EQ(w.tbSubtitle.Enabled, true);
    EXPECT_EQ(w.lEnd.Caption, "09:15");

    act("click", "btnCancel");
    EXPECT_FALSE(w.loaded());
    EXPECT_EQ(deck->Tags().Count(), 1);  // only the style tag the deck came with
    EXPECT_TRUE(driver.messages.empty());
}

TEST_F(AgendaDialog, AStoredAgendaOpensWithItsStyleOrTheFirstWhenItsStyleIsGone) {
    auto& w = loadStored(agendaXml(item("Stored", 1, 20, "x1")), "Green");
    EXPECT_EQ(w.cbStyle.Text(), "Green");
    EXPECT_EQ(labels(), std::vector<std::string>{"1. Stored (09:00 - 09:20)"});
    EXPECT_EQ(attr(itemAt(0), "slideID"), "x1");  // the user's own agenda keeps its identifiers

    auto& gone = loadStored(agendaXml(item("Stored", 1, 20, "x1")), "Purple");
    EXPECT_EQ(gone.cbStyle.Text(), "Blue");
    gone.OK();
    EXPECT_EQ(deck->Tags().Item(plorin::kAgendaStyleTag), "Blue");
}

TEST_F(AgendaDialog, CorruptOrMissingDocumentsTellTheUserAndCloseTheDialog) {
    struct Case {
        const char* what;
        std::string tag;
        std::string blueTemplate;
        bool removeTemplate;
        std::string message;
    } cases[] = {
        {"corrupt tag", "<Varnotel><agenda", agendaXml(""), false, kCorruptData},
        {"tag without an agenda", "<Varnotel/>", agendaXml(""), false, kCorruptData},
        {"corrupt template", "", "<Varnotel>", false, kCorruptTemplate},
        {"missing template", "", "", true, kCorruptTemplate},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        driver.messages.clear();
        deck->Tags().Delete(plorin::kAgendaXmlTag);
        if (!c.tag.empty()) deck->Tags().Add(plorin::kAgendaXmlTag, c.tag);
        if (c.removeTemplate) std::filesystem::remove(root + "customization/styles/blue/agendawizard.xml");
        else writeTemplate("blue", c.blueTemplate);
        plorin::state().currentStyle = "Blue";
        auto& w = load();
        EXPECT_TRUE(w.failed());
        ASSERT_EQ(driver.messages.size(), 1u);
        EXPECT_EQ(driver.messages[0].text, c.message);
        EXPECT_EQ(driver.messages[0].style, platform::vbCritical);
        w.Show(true);  // activation closes it
        EXPECT_FALSE(w.loaded());
    }
}

TEST_F(AgendaDialog, NoPresentationAndNoStyles) {
    deck->Close();
    auto& w = load();
    EXPECT_TRUE(w.failed());
    ASSERT_EQ(driver.messages.size(), 1u);
    EXPECT_EQ(driver.messages[0].text, "Please open a presentation first.");

    // No style at all: there is no template to start from.
    deck = userDeck(1);
    driver.messages.clear();
    plorin::state().styleNames.Clear();
    plorin::state().styleFolders.Clear();
    EXPECT_TRUE(load().failed());
    ASSERT_EQ(driver.messages.size(), 1u);
    EXPECT_EQ(driver.messages[0].text, kCorruptTemplate);
}

TEST_F(AgendaDialog, OKAfterAFailedPreparationLeavesTheStoredAgendaAlone) {
    deck->Tags().Add(plorin::kAgendaXmlTag, "<Varnotel><agenda broken");
    auto& w = load();
    ASSERT_TRUE(w.failed());
    w.OK();
    EXPECT_EQ(deck->Tags().Item(plorin::kAgendaXmlTag), "<Varnotel><agenda broken");
    EXPECT_EQ(deck->Slides().Count(), 3) << "nothing generated";

    // A stored agenda missing a required attribute is reported, and OK stores nothing either.
    const std::string missing = "<Varnotel><agenda title=\"t\"><format/><styles/><items/></agenda></Varnotel>";
    deck->Tags().Add(plorin::kAgendaXmlTag, missing);
    auto& again = load();
    EXPECT_TRUE(again.failed());
    EXPECT_EQ(reportedLocations(), std::vector<std::string>{"AgendaWizard, Form_Load"});
    again.OK();
    EXPECT_EQ(deck->Tags().Item(plorin::kAgendaXmlTag), missing);
}

TEST_F(AgendaDialog, CancelClosesTheDialogWhateverAFieldOrTheStyleBoxHolds) {
    writeTemplate("green", "<broken");
    const std::string stored = agendaXml(item("A", 1, 30, "a"));
    struct Case {
        const char* what;
        std::function<void()> steps;
    } cases[] = {
        {"letters in the duration", [&] { act("text", "tbDuration", "abc"); }},
        {"a start of 25:00", [&] { act("text", "tbStart", "25:00"); }},
        {"a style whose template is broken", [&] { act("choose", "cbStyle", "Green"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        driver.messages.clear();
        auto& w = loadStored(stored);
        c.steps();
        EXPECT_TRUE(act("click", "btnCancel"));
        EXPECT_FALSE(w.loaded());
        EXPECT_TRUE(driver.messages.empty());  // nothing was checked on the way out
        EXPECT_EQ(deck->Tags().Item(plorin::kAgendaXmlTag), stored);
        EXPECT_EQ(deck->Tags().Item(plorin::kAgendaStyleTag), "Blue");
    }
}

TEST_F(AgendaDialog, ManualChangesAreWarnedAboutWhenTheDialogLoads) {
    driver.messageAnswers = {platform::vbOK};  // the new slide's message
    loadStored(agendaXml(item("A", 1, 5, "a"))).OK();
    const auto slide = deck->Slides().Item(deck->Slides().Count());
    for (const auto& shape : slide->Shapes().all())
        if (shape->Tags().Item(plorin::kRoleTag) == "bar") {
            shape->setLeft(shape->Left() + 1);
            shape->TextFrame().TextRange().setText("Edited");
        }
    driver.messages.clear();
    load();
    ASSERT_EQ(driver.messages.size(), 1u);
    EXPECT_EQ(driver.messages[0].style, platform::vbExclamation);
    EXPECT_EQ(driver.messages[0].text.rfind("Attention:\r\n\r\nSome agenda slides were changed manually, both", 0), 0u);
}

// ---- OK, round trips and user text ------------------------------------------------------

TEST_F(AgendaDialog, OKGeneratesThenStoresTheAgendaAndWhatTheDialogDoesNotKnowGoesBackAsItCame) {
    const std::string stored =
        "<?xml version=\"1.0\"?>\n<Varnotel xmlns:x=\"urn:x\" addinVersion=\"2.0\"><!-- note --><agenda title=\"T\" "
        "subtitle=\"S\" startTime=\"540\" showItemNumbers=\"1\" showResponsible=\"0\" showTimeSlots=\"0\" "
        "showPageNumbers=\"1\" future=\"yes\"><format enumerate2ndLevel=\"dot\" enumerateBreak=\"0\" left=\"3\"/>"
        "<subtitle top=\"1\"/><styles><style level=\"1\"><unknown deep=\"1\"/></style></styles><items>"
        "<item text=\"A\" level=\"1\" responsible=\"\" duration=\"30\" break=\"0\" slideID=\"a\" showAgendaItem=\"1\" "
        "generateAgendaSlide=\"0\" colour=\"red\"/></items><notes>kept</notes></agenda></Varnotel>";
    auto& w = loadStored(stored);
    const auto slide = deck->Slides().Item(2);
    window().selectSlides({slide});
    w.OK();
    EXPECT_FALSE(w.loaded());
    EXPECT_EQ(deck->Tags().Item(plorin::kAgendaXmlTag), stored);
    // Generated with page numbers on: the slide order is kept for the save handler.
    EXPECT_FALSE(deck->Tags().Item(plorin::kSlideOrderTag).empty());
}

TEST_F(AgendaDialog, AnAgendaTooLongForItsSlidesIsRefusedWithTheDialogStillOpenToShortenIt) {
    // 101 items with a slide each would draw 10,201 rows; a received file may ask for more.
    std::string items;
    for (int i = 0; i < 101; ++i) items += item("Item " + std::to_string(i), 1, 5, "long" + std::to_string(i));
    driver.onUnansweredMessage = [](const platform::MessageBoxCall&) { return platform::vbOK; };
    auto& w = loadStored(agendaXml(items));
    const int slidesBefore = deck->Slides().Count();
    w.OK();
    EXPECT_TRUE(w.loaded()) << "the user can still edit the agenda";
    EXPECT_EQ(deck->Slides().Count(), slidesBefore);
    ASSERT_EQ(driver.messages.size(), 1u);
    EXPECT_NE(driver.messages[0].text.find("10201 rows"), std::string::npos) << driver.messages[0].text;
    // Without slides for two items the agenda fits: 99 slides of 101 rows.
    for (int i : {99, 100})
        w.agendaDocument()->selectNodes("/Varnotel/agenda/items/item").item(i).setAttribute("generateAgendaSlide", "0");
    w.OK();
    EXPECT_FALSE(w.loaded());
    EXPECT_EQ(deck->Slides().Count(), slidesBefore + 99);
    ASSERT_EQ(driver.messages.size(), 2u);
    EXPECT_EQ(driver.messages[1].text.rfind("New agenda slides have been inserted", 0), 0u);
}

TEST_F(AgendaDialog, TypedTextsReachTheDocumentUnchanged) {
    auto& w = loadStored(agendaXml(item("A", 1, 30, "a")));
    const std::string text = "Bob's \"plan\" <b>&amp;</b> ']";
    act("text", "tbAgendaItem", text);
    act("text", "tbResponsible", "O'Neil & <Co>");
    act("text", "tbTitle", "It's <the> \"agenda\"");
    w.OK();
    platform::DomDocument back;
    ASSERT_TRUE(back.loadXML(deck->Tags().Item(plorin::kAgendaXmlTag)));
    const auto node = back.selectSingleNode("/Varnotel/agenda/items/item");
    EXPECT_EQ(node.getAttribute("text"), text);
    EXPECT_EQ(node.getAttribute("responsible"), "O'Neil & <Co>");
    EXPECT_EQ(back.selectSingleNode("/Varnotel/agenda").getAttribute("title"), "It's <the> \"agenda\"");
}

TEST_F(AgendaDialog, ControlCharactersNeverReachTheAgendaAndAnEarlierAgendasAreDropped) {
    // Stored by an earlier version: a ^A in a text and a VT in the title.
    std::string xml = agendaXml(item("Bud&#1;get", 1, 30, "a", false, true, "Fin&#11;ance") + item("B", 1, 30, "b"));
    xml.replace(xml.find("title=\"Agenda\""), 14, "title=\"Age&#11;nda\"");
    auto& w = loadStored(xml);
    EXPECT_EQ(w.tbTitle.Text(), "Agenda");
    EXPECT_EQ(w.tbAgendaItem.Text(), "Budget");
    EXPECT_EQ(w.tbResponsible.Text(), "Finance");
    EXPECT_EQ(labels()[0], "1. Budget (09:00 - 09:30)");

    // Typed or pasted: dropped from the field at once (tab, line breaks and the rest stay).
    w.tvItems.selectNode(1);
    act("text", "tbAgendaItem",
        "Next\x01 st\x7f"
        "eps\tà");
    EXPECT_EQ(w.tbAgendaItem.Text(), "Next steps\tà");
    act("text", "tbSubtitle",
        "Q\x0b"
        "3 \xEF\xBF\xBF");
    EXPECT_EQ(w.tbSubtitle.Text(), "Q3 ");
    w.OK();
    const std::string stored = deck->Tags().Item(plorin::kAgendaXmlTag);
    // No reference to a character XML 1.0 cannot carry (the tab's is one it can).
    EXPECT_FALSE(std::regex_search(stored, std::regex("&#0*([0-8]|1[124-9]|2[0-9]|3[01]|127);"))) << stored;
    platform::DomDocument back;
    ASSERT_TRUE(back.loadXML(stored));
    EXPECT_EQ(back.selectNodes("/Varnotel/agenda/items/item").item(1).getAttribute("text"), "Next steps\tà");
    EXPECT_EQ(back.selectSingleNode("/Varnotel/agenda").getAttribute("subtitle"), "Q3 ");
    EXPECT_EQ(back.selectSingleNode("/Varnotel/agenda").getAttribute("title"), "Agenda");
}

TEST_F(AgendaDialog, ItemsWithoutAnIdentifierOfTheirOwnGetOneWhenTheAgendaLoads) {
    auto& w =
        loadStored(agendaXml(item("Empty", 1, 10, "") + item("First", 1, 10, "same") + item("Second", 1, 10, "same")));
    EXPECT_EQ(attr(itemAt(0), "slideID").size(), 36u);
    EXPECT_EQ(attr(itemAt(1), "slideID"), "same");  // the first keeps its own
    EXPECT_EQ(attr(itemAt(2), "slideID").size(), 36u);
    EXPECT_NE(attr(itemAt(0), "slideID"), attr(itemAt(2), "slideID"));
    // Each node fills the fields with its own item.
    EXPECT_EQ(w.tvItems.selectedIndex, 0);
    EXPECT_EQ(w.tbAgendaItem.Text(), "Empty");
    w.tvItems.selectNode(2);
    EXPECT_EQ(w.tbAgendaItem.Text(), "Second");
    act("text", "tbAgendaItem", "Third");
    EXPECT_EQ(attr(itemAt(1), "text"), "First");
    EXPECT_EQ(attr(itemAt(2), "text"), "Third");
    EXPECT_TRUE(reportedLocations().empty());
}

// ---- Editing --------------------------------------------------------------------------

TEST_F(AgendaDialog, AnEmptyAgendaShowsDefaultsAndAddStartsAMainItem) {
    auto& w = loadStored(agendaXml(""));
    EXPECT_TRUE(w.tvItems.nodes.empty());
    EXPECT_EQ(w.tbDuration.Text(), "30");
    EXPECT_EQ(w.cbShowAgendaItem.Value(), 1);
    EXPECT_EQ(w.cbGenerateAgendaSlide.Value(), 1);
    EXPECT_FALSE(w.tbAgendaItem.Enabled);
    EXPECT_FALSE(w.btnUp.Enabled);
    EXPECT_TRUE(w.btnDeleteItem.Enabled);
    act("click", "btnDeleteItem");  // nothing selected: nothing happens

    act("click", "btnAddItem");
    EXPECT_EQ(labels(), std::vector<std::string>{"1. <new item> (09:00 - 09:30)"});
    EXPECT_EQ(attr(itemAt(0), "level"), "1");
    EXPECT_EQ(attr(itemAt(0), "slideID").size(), 36u);
    EXPECT_TRUE(w.tbAgendaItem.Enabled);
    EXPECT_EQ(w.tbAgendaItem.Text(), "<new item>");
}

TEST_F(AgendaDialog, AddingUnderAMainItemWithSubItemsAndDeletingDownToNothing) {
    auto& w = loadStored(agendaXml(item("A", 1, 10, "a") + item("A1", 2, 10, "a1") + item("B", 1, 10, "b")));
    act("choose", "tvItems", "1. A (09:00 - 09:10)");
    act("click", "btnAddItem");
    EXPECT_EQ(attr(itemAt(1), "text"), "<new item>");
    EXPECT_EQ(attr(itemAt(1), "level"), "1");
    EXPECT_EQ(labels()[2], "2.1 A1 (09:40 - 09:50)");  // A1 now belongs to the new item
    EXPECT_EQ(w.tvItems.selectedIndex, 1);

    // A sub-item selected: the new item is a sub-item too.
    w.tvItems.selectNode(2);
    act("click", "btnAddItem");
    EXPECT_EQ(attr(itemAt(3), "level"), "2");

    // Deleting selects the next item, or the previous one for the last; ids are queued.
    w.tvItems.selectNode(4);
    act("click", "btnDeleteItem");
    EXPECT_EQ(w.tvItems.selectedIndex, 3);
    while (!w.tvItems.nodes.empty()) act("click", "btnDeleteItem");
    EXPECT_FALSE(w.tbAgendaItem.Enabled);
    EXPECT_EQ(w.tbDuration.Text(), "30");
    EXPECT_EQ(std::count(w.obsoleteSlides().begin(), w.obsoleteSlides().end(), ';'), 5);
    EXPECT_NE(w.obsoleteSlides().find("a;"), std::string::npos);
    EXPECT_EQ(w.lEnd.Caption, "09:00");
}

TEST_F(AgendaDialog, MovesKeepTheirLevelRules) {
    auto& w = loadStored(agendaXml(item("A", 1, 10, "a") + item("B", 2, 10, "b") + item("C", 2, 10, "c")));
    // The first item cannot move up or left, nor right (no main item before it).
    w.tvItems.selectNode(0);
    act("click", "btnUp");
    act("click", "btnLeft");
    act("click", "btnRight");
    EXPECT_EQ(attr(itemAt(0), "text"), "A");
    EXPECT_EQ(attr(itemAt(0), "level"), "1");

    // Moving the first item down makes its level-2 successor a main item.
    act("click", "btnDown");
    EXPECT_EQ(attr(itemAt(0), "text"), "B");
    EXPECT_EQ(attr(itemAt(0), "level"), "1");
    EXPECT_EQ(w.tvItems.nodes[static_cast<std::size_t>(w.tvItems.selectedIndex)].key, "s_a");  // selection follows

    // Moving a level-2 item into first place makes it level 1; the last cannot move down.
    w.tvItems.selectNode(2);
    EXPECT_EQ(w.tvItems.nodes[2].key, "s_c");
    act("click", "btnDown");
    act("click", "btnUp");
    EXPECT_EQ(attr(itemAt(1), "text"), "C");
    EXPECT_EQ(attr(itemAt(1), "level"), "2");
    act("click", "btnUp");
    EXPECT_EQ(attr(itemAt(0), "text"), "C");
    EXPECT_EQ(attr(itemAt(0), "level"), "1");

    // Right and left between the levels.
    w.tvItems.selectNode(1);  // B, a main item after C
    act("click", "btnRight");
    EXPECT_EQ(attr(itemAt(1), "level"), "2");
    EXPECT_FALSE(w.tvItems.nodes[1].parentKey.empty());
    act("click", "btnLeft");
    EXPECT_EQ(attr(itemAt(1), "level"), "1");
}

TEST_F(AgendaDialog, ALevelTwoItemStandingFirstIsShownAtTheTopAndOtherLevelsOnlyCount) {
    auto& w = loadStored(agendaXml(item("Sub", 2, 10, "s") + item("Deep", 3, 50, "d") + item("Main", 1, 10, "m")));
    ASSERT_EQ(w.tvItems.nodes.size(), 2u);
    EXPECT_TRUE(w.tvItems.nodes[0].parentKey.empty());
    EXPECT_EQ(labels()[1], "1. Main (10:00 - 10:10)");
    driver.messageAnswers = {platform::vbOK};
    w.OK();
    EXPECT_NE(deck->Tags().Item(plorin::kAgendaXmlTag).find("Deep"), std::string::npos);
    EXPECT_EQ(deck->Slides().Count(), 5);  // slides for Sub and Main only
    EXPECT_TRUE(reportedLocations().empty());
}

TEST_F(AgendaDialog, AnItemThatCannotBeShownIsReportedAndTheTreeIsLeftAsItWasAndUnlocked) {
    auto& w = loadStored(agendaXml(item("A", 1, 10, "a") + item("B", 1, 10, "b")));
    itemAt(1).setAttribute("duration", "soon");
    act("text", "tbAgendaItem", "A2");
    EXPECT_EQ(reportedLocations(), std::vector<std::string>{"AgendaWizard, xml2treeview"});
    EXPECT_FALSE(w.treeRedrawLocked());
    EXPECT_EQ(labels(), (std::vector<std::string>{"1. A (09:00 - 09:10)", "2. B (09:10 - 09:20)"}));
    EXPECT_EQ(attr(itemAt(0), "text"), "A2");  // the edit itself is kept
}

// ---- Coupled check boxes and the options --------------------------------------------------

TEST_F(AgendaDialog, CheckBoxesCoupleBothWays) {
    auto& w = loadStored(agendaXml(item("A", 1, 10, "a")));
    act("check", "cbShowPageNumbers", "1");
    EXPECT_EQ(w.cbShowTimeSlots.Value(), 0);
    act("check", "cbShowTimeSlots", "1");
    EXPECT_EQ(w.cbShowPageNumbers.Value(), 0);
    const auto agenda = w.agendaDocument()->selectSingleNode("/Varnotel/agenda");
    EXPECT_EQ(attr(agenda, "showTimeSlots"), "1");
    EXPECT_EQ(attr(agenda, "showPageNumbers"), "0");

    act("check", "cbShowAgendaItem", "0");
    EXPECT_EQ(w.cbGenerateAgendaSlide.Value(), 0);
    EXPECT_EQ(attr(itemAt(0), "showAgendaItem"), "0");
    EXPECT_EQ(attr(itemAt(0), "generateAgendaSlide"), "0");
    EXPECT_EQ(labels()[0], "[HIDDEN] A (09:00 - 09:10)");
    act("check", "cbGenerateAgendaSlide", "1");
    EXPECT_EQ(w.cbShowAgendaItem.Value(), 1);
    EXPECT_EQ(attr(itemAt(0), "showAgendaItem"), "1");
}

TEST_F(AgendaDialog, BothColumnsStoredOnOpenWithPageNumbersOnly) {
    std::string xml = agendaXml(item("A", 1, 10, "a"));
    xml.replace(xml.find("showPageNumbers=\"0\""), 19, "showPageNumbers=\"1\"");
    auto& w = loadStored(xml);
    EXPECT_EQ(w.cbShowPageNumbers.Value(), 1);
    EXPECT_EQ(w.cbShowTimeSlots.Value(), 0);
    // OK stores the agenda as the dialog showed it.
    driver.messageAnswers = {platform::vbOK};
    w.OK();
    platform::DomDocument back;
    ASSERT_TRUE(back.loadXML(deck->Tags().Item(plorin::kAgendaXmlTag)));
    EXPECT_EQ(back.selectSingleNode("/Varnotel/agenda").getAttribute("showTimeSlots"), "0");
    EXPECT_EQ(back.selectSingleNode("/Varnotel/agenda").getAttribute("showPageNumbers"), "1");
}

// ---- Typed durations and start times ------------------------------------------------------

TEST_F(AgendaDialog, DurationsAreCheckedWhenTheFocusLeavesTheField) {
    auto& w = loadStored(agendaXml(item("A", 1, 30, "a")));
    struct Case {
        const char* typed;
        const char* message;  // nullptr: accepted
        const char* shown;
    } cases[] = {
        {"", "Please enter a numeric value.", ""},
        {"abc", "Please enter a numeric value.", "abc"},
        {"-5", "Please enter a value between 0 and 1440 minutes.", "-5"},
        {"1441", "Please enter a value between 0 and 1440 minutes.", "1441"},
        {"1440", nullptr, "1440"},
        {"22.5", nullptr, "22"},
        {"0", nullptr, "0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        driver.messages.clear();
        act("text", "tbDuration", c.typed);
        const bool moved = act("click", "btnAddItem");
        if (c.message) {
            EXPECT_EQ(w.tbDuration.Text(), c.shown);
            EXPECT_FALSE(moved);  // the click that would have left the field has no effect
            ASSERT_EQ(driver.messages.size(), 1u);
            EXPECT_EQ(driver.messages[0].text, c.message);
            EXPECT_EQ(w.tvItems.nodes.size(), 1u);
            act("text", "tbDuration", "30");
            act("click", "tbTitle");
        } else {
            EXPECT_TRUE(moved);
            EXPECT_EQ(attr(itemAt(0), "duration"), c.shown);
            act("click", "btnDeleteItem");  // the added item goes again
            w.tvItems.selectNode(0);
        }
    }
    // The up-down steps the duration within its range and writes it at once.
    act("scroll", "udDuration", "-45");
    EXPECT_EQ(w.tbDuration.Text(), "45");
    EXPECT_EQ(attr(itemAt(0), "duration"), "45");
}

TEST_F(AgendaDialog, StartTimesAreCheckedAndMoveEveryTimeSlot) {
    auto& w = loadStored(agendaXml(item("A", 1, 30, "a") + item("B", 1, 45, "b")));
    struct Case {
        const char* typed;
        const char* message;
        int minutes;
    } cases[] = {
        {"24:00", "Please enter a valid time (hh:mm).", 540},
        {"25:00", "Please enter a valid time (hh:mm).", 540},
        {"", "Please enter a valid time (hh:mm).", 540},
        {"2024-05-01 10:00", "Please enter a valid time between 00:00 and 23:59.", 540},
        {"7:5", nullptr, 425},
        {"07:05", nullptr, 425},
        {"23:59", nullptr, 1439},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        driver.messages.clear();
        act("text", "tbStart", c.typed);
        const bool moved = act("click", "tbTitle");
        EXPECT_EQ(moved, c.message == nullptr);
        if (c.message) {
            ASSERT_EQ(driver.messages.size(), 1u);
            EXPECT_EQ(driver.messages[0].text, c.message);
            act("text", "tbStart", "09:00");
            act("click", "tbTitle");
        }
        EXPECT_EQ(attr(w.agendaDocument()->selectSingleNode("/Varnotel/agenda"), "startTime"),
                  std::to_string(c.minutes));
    }
    EXPECT_EQ(w.tbStart.Text(), "23:59");
    EXPECT_EQ(labels()[1], "2. B (00:29 - 01:14)");
    EXPECT_EQ(w.lEnd.Caption, "01:14");
}

// ---- Style change, import, delete ------------------------------------------------------------

TEST_F(AgendaDialog, ChoosingAnotherStyleKeepsItemsAndOptionsAndTakesItsLayout) {
    auto& w = loadStored(agendaXml(item("A", 1, 10, "a") + item("B", 2, 10, "b"),
                                   "enumerate2ndLevel=\"dot\" enumerateBreak=\"0\"", false));
    EXPECT_FALSE(w.tbSubtitle.Enabled);
    EXPECT_EQ(w.tbSubtitle.Text(), plorin::AgendaWizard::kNoSubtitle);
    act("choose", "cbStyle", "Green");
    act("click", "tbTitle");  // the focus leaves the style box
    EXPECT_EQ(w.agendaStyle(), "Green");
    EXPECT_EQ(labels()[1], "2. B (09:10 - 09:20)");  // green numbers on
    EXPECT_EQ(attr(itemAt(0), "slideID"), "a");
    EXPECT_EQ(attr(itemAt(1), "slideID"), "b");

    // Back to a style with a subtitle box: the field opens, empty, and the placeholder never
    // reaches the agenda.
    act("choose", "cbStyle", "Blue");
    act("click", "tbTitle");
    EXPECT_TRUE(w.tbSubtitle.Enabled);
    EXPECT_EQ(w.tbSubtitle.Text(), "");
    w.OK();
    const std::string stored = deck->Tags().Item(plorin::kAgendaXmlTag);
    EXPECT_EQ(stored.find("not supported"), std::string::npos);
    EXPECT_EQ(deck->Tags().Item(plorin::kAgendaStyleTag), "Blue");

    // A style whose template is broken is refused and the agenda stays as it was.
    writeTemplate("green", "<broken");
    auto& again = loadStored(stored, "Blue");
    act("choose", "cbStyle", "Green");
    EXPECT_FALSE(act("click", "tbTitle"));
    EXPECT_EQ(driver.messages.back().text, kCorruptTemplate);
    EXPECT_EQ(again.agendaStyle(), "Blue");
}

TEST_F(AgendaDialog, ImportReplacesTheAgendaRenewsIdentifiersAndQueuesTheOldSlides) {
    // The other presentation, saved with an agenda and its slide.
    auto other = app->Presentations().Add(false);
    other->Slides().Add(1, 12)->Tags().Add("plorin_agendaWizard", "agendaSlide");
    other->Tags().Add(plorin::kAgendaXmlTag,
                      agendaXml(item("Imported", 1, 20, "i1") + item("Two", 2, 5, "i2", false, false, "", true)));
    other->SaveAs(root + "other.ppt");
    other->Close();
    auto empty = app->Presentations().Add(false);
    empty->SaveAs(root + "empty.ppt");
    empty->Close();

    // The other presentation is opened only to be read.
    struct Opened : host::ApplicationEvents {
        std::vector<bool> readOnly;
        void PresentationOpen(host::Presentation& p) override { readOnly.push_back(p.ReadOnly()); }
    } opened;
    app->advise(&opened);

    auto& w = loadStored(agendaXml(item("Mine", 1, 10, "m1")));
    driver.fileAnswers = {std::nullopt, root + "missing.ppt", root + "empty.ppt", root + "other.ppt"};
    act("click", "btnImport");  // cancelled
    act("click", "btnImport");
    act("click", "btnImport");
    EXPECT_EQ(labels(), std::vector<std::string>{"1. Mine (09:00 - 09:10)"});
    ASSERT_EQ(driver.messages.size(), 2u);
    EXPECT_EQ(driver.messages[0].text, "Could not read file '" + root + "missing.ppt'.");
    EXPECT_EQ(driver.messages[1].text, "The specified PowerPoint presentation does not contain agenda information.");

    act("click", "btnImport");
    ASSERT_EQ(w.tvItems.nodes.size(), 2u);
    EXPECT_EQ(attr(itemAt(0), "text"), "Imported");
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(attr(itemAt(i), "slideID").size(), 38u);
        EXPECT_EQ(attr(itemAt(i), "slideID").rfind("s_", 0), 0u);
    }
    EXPECT_EQ(attr(itemAt(1), "showAgendaItem"), "1");  // an item with a slide is shown
    EXPECT_EQ(w.obsoleteSlides(), "m1;");
    // Only read: the other presentation is closed again and unchanged.
    EXPECT_EQ(app->Presentations().Count(), 1);
    EXPECT_EQ(opened.readOnly, (std::vector<bool>{true, true}));
    app->unadvise(&opened);

    // An agenda that is not one leaves the current agenda in place.
    auto bad = app->Presentations().Add(false);
    bad->Slides().Add(1, 12)->Tags().Add("plorin_agendaWizard", "agendaSlide");
    bad->Tags().Add(plorin::kAgendaXmlTag, "<Varnotel><agenda");
    bad->SaveAs(root + "bad.ppt");
    bad->Close();
    driver.fileAnswers = {root + "bad.ppt"};
    act("click", "btnImport");
    EXPECT_EQ(driver.messages.back().text,
              "The agenda information in the specified PowerPoint presentation does not seem to be valid.");
    EXPECT_EQ(attr(itemAt(0), "text"), "Imported");

    // The slide of the replaced item goes with OK.
    auto mine = deck->Slides().Add(1, 12);
    mine->Tags().Add(plorin::kSlideIdTag, "m1");
    mine->Tags().Add(plorin::kRoleTag, plorin::kAgendaSlideRole);
    const long mineId = mine->SlideID();
    w.OK();
    for (const auto& slide : deck->Slides().all()) EXPECT_NE(slide->SlideID(), mineId);
}

TEST_F(AgendaDialog, DeletingTheAgendaRemovesItsSlidesAlsoOfItemsDeletedBeforeAndItsTags) {
    const std::string longId = "s_0123456789ABCDEF0123456789ABCDEF0123";
    deck->Slides().Item(2)->Tags().Add("plorin_slideID", longId);
    deck->Slides().Item(3)->Tags().Add("plorin_slideID", "s_DELETED-EARLIER-0123456789ABCDEF01234");
    deck->Tags().Add(plorin::kSlideOrderTag, "x;");
    auto& w =
        loadStored(agendaXml(item("A", 1, 10, longId) + item("B", 1, 10, "s_DELETED-EARLIER-0123456789ABCDEF01234") +
                             item("C", 1, 10, "no-such-slide")));
    window().selectSlides({deck->Slides().Item(1)});

    driver.messageAnswers = {platform::vbCancel};
    act("click", "btnDeleteAgenda");
    EXPECT_TRUE(w.loaded());
    EXPECT_EQ(driver.messages[0].style, platform::vbOKCancel | platform::vbQuestion | platform::vbDefaultButton2);

    w.tvItems.selectNode(1);
    act("click", "btnDeleteItem");
    driver.messageAnswers = {platform::vbOK, platform::vbOK};
    act("click", "btnDeleteAgenda");
    EXPECT_FALSE(w.loaded());
    EXPECT_EQ(deck->Slides().Count(), 1);
    EXPECT_EQ(driver.messages.back().text,
              "The agenda has successfully been deleted and 2 agenda slides have been removed from the presentation.");
    EXPECT_EQ(deck->Tags().Item(plorin::kAgendaXmlTag), "");
    EXPECT_EQ(deck->Tags().Item(plorin::kAgendaStyleTag), "");
    EXPECT_EQ(deck->Tags().Item(plorin::kSlideOrderTag), "");
}

TEST_F(AgendaDialog, FindSlideTakesShortIdentifiersAsTheHostsSlideIdsOfAgendaSlidesOnly) {
    const auto second = deck->Slides().Item(2);
    // The user's own slide that carries the number is never taken for an item's slide.
    EXPECT_EQ(plorin::findSlide(*deck, std::to_string(second->SlideID())), nullptr);
    second->Tags().Add(plorin::kRoleTag, plorin::kAgendaSlideRole);
    EXPECT_EQ(plorin::findSlide(*deck, std::to_string(second->SlideID())), second);
    EXPECT_EQ(plorin::findSlide(*deck, ""), nullptr);
    EXPECT_EQ(plorin::findSlide(*deck, "99999"), nullptr);
    EXPECT_EQ(plorin::findSlide(*deck, "not a number"), nullptr);
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

}  // namespace

namespace {

class AgendaCommands : public testing_agenda::AgendaFixture {};

TEST_F(AgendaCommands, TheRibbonsButtonCountsTheUseAndOpensTheDialogWhoseOKStoresTheAgenda) {
    plorin::state().currentStyle = "Blue";
    driver.queueForm("AgendaWizard", [](platform::Form& f) {
        platform::driver::click(f, "btnAddItem");
        platform::driver::setText(f, "tbAgendaItem", "Budget");
        platform::driver::click(f, "btnOK");
    });
    driver.messageAnswers = {platform::vbOK};  // the new slides' message
    addIn.onAction({"vn_1018", ""});
    EXPECT_EQ(driver.modalForms, std::vector<std::string>{"AgendaWizard"});
    EXPECT_EQ(setting("statsAgendaWizard"), "1");
    platform::DomDocument stored;
    ASSERT_TRUE(stored.loadXML(deck->Tags().Item(plorin::kAgendaXmlTag)));
    EXPECT_EQ(stored.selectNodes("/Varnotel/agenda/items/item").length(), 2);
    EXPECT_EQ(deck->Tags().Item(plorin::kAgendaStyleTag), "Blue");
    EXPECT_TRUE(reportedLocations().empty());
}

TEST_F(AgendaCommands, WithoutAPresentationInAWindowEveryCommandSaysSoAndAsksNothing) {
    deck->Close();
    auto windowless = app->Presentations().Add(false);
    for (const bool open : {true, false}) {
        if (!open) windowless->Close();
        for (const char* control : {"vn_1018", "vn_1020", "vn_1021"}) {
            SCOPED_TRACE(std::string(control) + (open ? " beside a presentation without a window" : ""));
            driver.messages.clear();
            addIn.onAction({control, ""});
            EXPECT_EQ(messages(), std::vector<std::string>{"Please open a presentation first."});
            EXPECT_EQ(driver.messages[0].style, platform::vbInformation);
            EXPECT_TRUE(driver.modalForms.empty());
            EXPECT_TRUE(reportedLocations().empty());
        }
    }
}

TEST_F(AgendaCommands, UpdatingThePageNumbersWithoutAnAgendaSaysSoAndChangesNothing) {
    plorin::state().currentStyle = "Blue";
    addIn.onAction({"vn_1021", ""});
    EXPECT_EQ(messages(), std::vector<std::string>{"There is no agenda to update in this presentation."});
    EXPECT_EQ(driver.messages[0].style, platform::vbInformation);
    EXPECT_EQ(deck->Slides().Count(), 3);
    EXPECT_EQ(deck->Tags().Item(plorin::kAgendaXmlTag), "");
}

TEST_F(AgendaCommands, UpdatingThePageNumbersRunsOKWithoutTheDialog) {
    const std::string stored = agendaXml(item("A", 1, 10, "a"));
    deck->Tags().Add(plorin::kAgendaXmlTag, stored);
    driver.messageAnswers = {platform::vbOK};
    addIn.onAction({"vn_1021", ""});
    EXPECT_TRUE(driver.modalForms.empty());
    ASSERT_EQ(deck->Slides().Count(), 4) << "the item's slide was made";
    // The item's new slide is the one thing OK changes in the stored agenda.
    const auto slide = deck->Slides().Item(deck->Slides().Count());
    const std::string id = slide->Tags().Item(plorin::kSlideIdTag);
    EXPECT_EQ(deck->Tags().Item(plorin::kAgendaXmlTag),
              std::regex_replace(stored, std::regex("slideID=\"a\""), "slideID=\"" + id + "\""));
    EXPECT_TRUE(reportedLocations().empty());
}

}  // namespace
