// The library's start-up data on the ribbon: what onLoad loads and says, the styles of the
// menu file in the style drop-down, and the copyright list.
#include <gtest/gtest.h>

#include <filesystem>

#include "addin/addin_state.h"
#include "addin/connect.h"
#include "core/config.h"
#include "core/registry.h"
#include "libraries/menu_file.h"
#include "platform/text_files.h"
#include "platform/xml_dom.h"
#include "tests/core/core_fixture.h"

namespace {

using testing_core::CoreFixture;

constexpr const char* kTwoStyles =
    "<Varnotel>"
    "<style name=\"Corporate Blue\" folder=\"blue\"/>"
    "<menu name=\"Charts\"><submenu name=\"Bars\"><menuitem name=\"Bar\" file=\"c.ppt\" "
    "slideNo=\"1\"/></submenu></menu>"
    "<style name=\"Fresh Green\" folder=\"green\"/>"
    "</Varnotel>";

const host::IRibbonControl kStyleDropDown{"vn_1025", ""};

class RecordingRibbon : public host::IRibbonUI {
public:
    void Invalidate() override { invalidated.push_back("*"); }
    void InvalidateControl(const std::string& id) override { invalidated.push_back(id); }
    std::vector<std::string> invalidated;
};

class Library : public CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        startHost("14.0");
        addIn.OnConnection(*app, 0, nullptr);
        writeFile(root + "user/myelements/myelements.xml", "<Varnotel><group name=\"Miscellaneous\"/></Varnotel>");
    }
    void TearDown() override {
        addIn.OnDisconnection(0);
        CoreFixture::TearDown();
    }

    void menu(const std::string& xml) { writeFile(root + "customization/menu.xml", xml); }
    void load() { addIn.onLoad(&ribbon); }
    std::string label(int index) { return addIn.style_getItemLabel(kStyleDropDown, index); }
    int count() { return addIn.style_getItemCount(kStyleDropDown); }
    int selected() { return addIn.style_getSelectedItemIndex(kStyleDropDown); }
    void choose(int index) { addIn.style_onAction(kStyleDropDown, "", index); }
    std::shared_ptr<host::Presentation> window() { return app->Presentations().Add(true); }
    std::vector<std::string> messageTexts() const {
        std::vector<std::string> out;
        for (const auto& m : driver.messages) out.push_back(m.text);
        return out;
    }

    plorin::Connect addIn;
    RecordingRibbon ribbon;
    plorin::SharedState& s = plorin::state();
};

// ---- Menu files ---------------------------------------------------------------------------------

TEST_F(Library, TwoStylesFillTheDropDownInFileOrderAndTheFirstBecomesCurrent) {
    menu(kTwoStyles);
    plorin::setRegistry("thumbsWidth", "200", "");
    load();
    EXPECT_TRUE(driver.messages.empty());
    ASSERT_TRUE(s.menuDocument);
    EXPECT_EQ(s.ribbon, &ribbon);
    EXPECT_EQ(addIn.thumbnailSettings().width, 200) << "the thumbnail settings are read too";
    EXPECT_EQ(s.currentStyle, "Corporate Blue");
    EXPECT_EQ(count(), 3);
    EXPECT_EQ(label(0), "[No style selected]");
    EXPECT_EQ(label(1), "Corporate Blue");
    EXPECT_EQ(label(2), "Fresh Green");
    EXPECT_THROW(label(3), platform::NumberedError);
    EXPECT_EQ(plorin::styleFolderPath("Fresh Green"), root + "customization/styles/green/");
    EXPECT_EQ(plorin::styleFolderPath("fresh green"), "") << "names compare exactly";
    EXPECT_TRUE(addIn.getVisible(kStyleDropDown));
}

TEST_F(Library, AMenuFileWithoutStylesOffersOnlyNoStyle) {
    menu("<Varnotel><menu name=\"Charts\"/></Varnotel>");
    load();
    EXPECT_TRUE(driver.messages.empty());
    EXPECT_EQ(s.currentStyle, "");
    EXPECT_EQ(count(), 1);
    EXPECT_EQ(label(0), "[No style selected]");
    window();
    EXPECT_EQ(selected(), 0);
    EXPECT_EQ(s.currentStyle, "");
    EXPECT_FALSE(addIn.getVisible(kStyleDropDown));
}

TEST_F(Library, AStyleLackingItsNameOrFolderIsLeftOutSoPositionsStayTogether) {
    menu("<Varnotel><style name=\"Half\"/><style folder=\"x\"/><style name=\"Whole\" folder=\"w\"/></Varnotel>");
    load();
    EXPECT_EQ(count(), 2);
    EXPECT_EQ(label(1), "Whole");
    EXPECT_EQ(plorin::styleFolderPath("Whole"), root + "customization/styles/w/");
}

TEST_F(Library, NamesWithQuotesAndMarkupAreComparedNotQueried) {
    menu("<Varnotel><style name=\"Say &quot;hi&quot; &amp; &lt;go&gt;\" folder=\"q\"/></Varnotel>");
    load();
    EXPECT_EQ(s.currentStyle, "Say \"hi\" & <go>");
    window();  // its activation takes the style of its (empty) tag
    EXPECT_EQ(selected(), 1);
    choose(1);
    EXPECT_EQ(app->ActivePresentation()->Tags().Item("plorin_style"), "Say \"hi\" & <go>");
}

TEST_F(Library, AMissingOrCorruptMenuFileIsToldOnceAndLeavesTheDropDownEmpty) {
    for (const char* content : {"", "<Varnotel><style name=\"a\" folder=\"b\"></Varnotel>"}) {
        std::filesystem::remove(root + "customization/menu.xml");
        if (*content) menu(content);
        driver.messages.clear();
        driver.onUnansweredMessage = [](const platform::MessageBoxCall&) { return platform::vbOK; };
        load();
        ASSERT_EQ(driver.messages.size(), 1u) << content;
        EXPECT_EQ(driver.messages[0].text, "The Slide Wizard configuration file \r\n\r\n" + root +
                                               "customization/menu.xml\r\n\r\n could not be found or is corrupted.");
        EXPECT_EQ(driver.messages[0].style, platform::vbCritical);
        EXPECT_EQ(driver.messages[0].title, "Varnotel for presentations");
        EXPECT_FALSE(s.menuDocument);
        EXPECT_EQ(s.styleNames.Count(), 0);
        EXPECT_EQ(count(), 0);
        EXPECT_EQ(label(0), "");
        window();
        EXPECT_EQ(selected(), 0) << "the host asks often: no second message";
        EXPECT_EQ(driver.messages.size(), 1u);
    }
}

TEST_F(Library, AMenuItemDirectlyUnderAMenuLoadsLikeAnyOther) {
    menu(
        "<Varnotel><style name=\"S\" folder=\"s\"/>"
        "<menu name=\"Titles\"><menuitem name=\"Bar\" file=\"t.ppt\" slideNo=\"4\"/>"
        "<submenu name=\"All\"><menuitem name=\"Title\" file=\"t.ppt\" slideNo=\"1\"/></submenu></menu></Varnotel>");
    load();
    EXPECT_TRUE(driver.messages.empty());
    ASSERT_TRUE(s.menuDocument);
    EXPECT_EQ(s.menuDocument->selectNodes("/Varnotel/menu/submenu/menuitem").length(), 1);
    EXPECT_EQ(s.menuDocument->selectNodes("/Varnotel/menu/menuitem").length(), 1);
}

// ---- What else onLoad loads and says -----------------------------------------------------------

TEST_F(Library, TheMyElementsIndexIsLoadedOrItsAbsenceOrDamageTold) {
    menu(kTwoStyles);
    const std::string index = root + "user/myelements/myelements.xml";
    load();
    EXPECT_TRUE(s.myElementsDocument);
    EXPECT_TRUE(driver.messages.empty());

    driver.onUnansweredMessage = [](const platform::MessageBoxCall&) { return platform::vbOK; };
    std::filesystem::remove(index);
    load();
    EXPECT_FALSE(s.myElementsDocument);
    writeFile(index, "<Varnotel><group>");
    load();
    EXPECT_FALSE(s.myElementsDocument);
    ASSERT_EQ(driver.messages.size(), 2u);
    EXPECT_EQ(driver.messages[0].text,
              "You haven't added any elements to 'My Elements' yet or the database could not be found.");
    EXPECT_EQ(driver.messages[0].style, platform::vbInformation);
    EXPECT_EQ(driver.messages[1].text,
              "The 'My Elements' database is corrupted.\r\nPlease contact us at " + plorin::supportEmail() + ".");
    EXPECT_EQ(driver.messages[1].style, platform::vbCritical);
}

TEST_F(Library, OnLoadFillsTheCopyrightLines) {
    menu(kTwoStyles);
    writeFile(root + "customization/copyright.txt", "# notices\n(c) One\n  (c) Two  \n");
    load();
    ASSERT_EQ(s.copyrightLines.Count(), 2);
    EXPECT_EQ(s.copyrightLines.Item(2), "(c) Two");
    std::filesystem::remove(root + "customization/copyright.txt");
    load();
    EXPECT_EQ(s.copyrightLines.Count(), 0);
    EXPECT_TRUE(driver.messages.empty()) << "a missing list is no error";
}

TEST_F(Library, ACopyrightListInUtf16GivesTheSameNoticesAndAnotherEncodingIsRefusedByName) {
    menu(kTwoStyles);
    // "Notice A", "Notice B" as an editor saves UTF-16: little endian with its mark.
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("Notice A\r\nNotice B\r\n")) utf16 += std::string{c, '\0'};
    writeFile(root + "customization/copyright.txt", utf16);
    load();
    ASSERT_EQ(s.copyrightLines.Count(), 2);
    EXPECT_EQ(s.copyrightLines.Item(2), "Notice B");
    EXPECT_TRUE(driver.messages.empty());

    writeFile(root + "customization/copyright.txt", "Caf\xE9\n");  // Latin-1
    driver.onUnansweredMessage = [](const platform::MessageBoxCall&) { return platform::vbOK; };
    load();
    EXPECT_EQ(s.copyrightLines.Count(), 0);
    ASSERT_EQ(driver.messages.size(), 1u);
    EXPECT_NE(driver.messages[0].text.find(root + "customization/copyright.txt"), std::string::npos);
}

// ---- Choosing and showing the style ------------------------------------------------------------

TEST_F(Library, ChoosingAStyleTagsTheActivePresentation) {
    menu(kTwoStyles);
    load();
    auto deck = window();
    choose(2);
    EXPECT_EQ(s.currentStyle, "Fresh Green");
    EXPECT_EQ(deck->Tags().Item("plorin_style"), "Fresh Green");
    EXPECT_EQ(selected(), 2);
    choose(1);
    EXPECT_EQ(deck->Tags().Item("plorin_style"), "Corporate Blue");
    EXPECT_EQ(selected(), 1);
    EXPECT_THROW(choose(3), platform::NumberedError);
    EXPECT_EQ(s.currentStyle, "Corporate Blue");
}

TEST_F(Library, ChoosingNoStyleDeletesTheTagUntilTheDropDownIsAskedAgain) {
    menu(kTwoStyles);
    load();
    auto deck = window();
    choose(2);
    choose(0);
    EXPECT_EQ(s.currentStyle, "");
    EXPECT_EQ(deck->Tags().Count(), 0);
    EXPECT_EQ(selected(), 1) << "with a presentation open a real style is always shown";
    EXPECT_EQ(s.currentStyle, "Corporate Blue");
}

TEST_F(Library, AStyleUnknownToTheMenuFileFallsBackToTheFirst) {
    menu(kTwoStyles);
    load();
    window();
    s.currentStyle = "Retired style";
    EXPECT_EQ(selected(), 1);
    EXPECT_EQ(s.currentStyle, "Corporate Blue");
}

TEST_F(Library, WithoutAPresentationAChoiceChangesNothingAndTheDropDownIsRedrawn) {
    menu(kTwoStyles);
    load();
    choose(2);
    EXPECT_EQ(s.currentStyle, "Corporate Blue");
    EXPECT_EQ(ribbon.invalidated, std::vector<std::string>{"vn_1025"});
    EXPECT_EQ(selected(), 0);
    app->Presentations().Add(false);  // a presentation without a window shows no style either
    EXPECT_EQ(selected(), 0);
}

TEST_F(Library, TheDropDownIsReachedByItsCallbackNames) {
    menu(kTwoStyles);
    load();
    window();
    EXPECT_EQ(std::get<int>(addIn.invokeCallback("style_getItemCount", kStyleDropDown, {})), 3);
    EXPECT_EQ(std::get<std::string>(addIn.invokeCallback("style_getItemLabel", kStyleDropDown, {2})), "Fresh Green");
    addIn.invokeCallback("style_onAction", kStyleDropDown, {std::string(""), 2});
    EXPECT_EQ(std::get<int>(addIn.invokeCallback("style_getSelectedItemIndex", kStyleDropDown, {})), 2);
}

// ---- The copyright list ------------------------------------------------------------------------

TEST(CopyrightList, KeepsNoticesAndSkipsCommentsAndBlankLines) {
    struct Case {
        const char* what;
        const char* text;
        std::vector<std::string> notices;
    } cases[] = {
        {"comment, empty, blanks and a padded notice", "# comment\n\n   \n  (c) Acme  \n", {"(c) Acme"}},
        {"a blank before # makes a notice", " # not a comment\n", {"# not a comment"}},
        {"a # inside a line is text", "Acme # 1\n", {"Acme # 1"}},
        {"CR LF, CR and LF all end lines", "One\r\nTwo\rThree\nFour", {"One", "Two", "Three", "Four"}},
        {"a byte-order mark is not part of the first line", "\xEF\xBB\xBF# comment\nA\n", {"A"}},
        {"tabs count as blanks", "\t\t\n\tA\t\n", {"A"}},
        {"no text, no notices", "", {}},
        {"control characters are dropped", "(c)\x01 Acme\x07\n\x1B\n", {"(c) Acme"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> got;
        for (const auto& n : plorin::parseCopyrightList(c.text)) got.push_back(n.text);
        EXPECT_EQ(got, c.notices) << c.what;
    }
    // The bars' caption (the line as read) follows the same rule as the ribbon's label.
    EXPECT_EQ(plorin::parseCopyrightList(" (c)\x02 Acme\n")[0].line, " (c) Acme");
}

TEST(TextFiles, DecodeUtf8AndUtf16WithTheirMarksAndRefuseTheRest) {
    struct Case {
        const char* what;
        std::string bytes;
        std::optional<std::string> text;
    } cases[] = {
        {"plain UTF-8", "Caf\xC3\xA9", "Caf\xC3\xA9"},
        {"UTF-8 with its mark",
         "\xEF\xBB\xBF"
         "A",
         "A"},
        {"UTF-16 little endian",
         std::string("\xFF\xFE"
                     "A\0\xE9\0",
                     6),
         "A\xC3\xA9"},
        {"UTF-16 big endian", std::string("\xFE\xFF\0A\x20\xAC", 6), "A\xE2\x82\xAC"},
        {"UTF-16 surrogate pair", std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6), "\xF0\x9F\x98\x80"},
        {"UTF-16 lone surrogate",
         std::string("\xFF\xFE\x3D\xD8"
                     "A\0",
                     6),
         std::nullopt},
        {"UTF-16 odd length",
         std::string("\xFF\xFE"
                     "A",
                     3),
         std::nullopt},
        {"UTF-16 without its mark", std::string("A\0B\0", 4), std::nullopt},
        {"Latin-1", "Caf\xE9", std::nullopt},
        {"overlong UTF-8", "\xC0\xAF", std::nullopt},
        {"UTF-8 surrogate", "\xED\xA0\x80", std::nullopt},
        {"truncated UTF-8", "\xE2\x82", std::nullopt},
        {"nothing", "", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(platform::decodeTextFile(c.bytes), c.text) << c.what;
}

TEST(CopyrightList, KeepsEachLineAsWrittenForTheCommandBars) {
    const auto notices = plorin::parseCopyrightList("#x\n  (c) Acme  \r\nB");
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[0].line, "  (c) Acme  ");
    EXPECT_EQ(notices[0].text, "(c) Acme");
    EXPECT_EQ(notices[1].line, "B");
}

}  // namespace
