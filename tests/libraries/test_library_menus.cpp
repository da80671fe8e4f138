// The library menus as the host gets them: the content of the Slide Wizard, copyright and My
// Elements menus, and the galleries' item counts, labels and pictures by 0-based index.
#include <gtest/gtest.h>

#include <filesystem>
#include <pugixml.hpp>

#include "core/shared_state.h"
#include "libraries/library_menus.h"
#include "platform/picture.h"
#include "tests/libraries/library_fixture.h"

namespace {

using testing_core::Box;
using testing_core::LibraryFixture;

host::IRibbonControl gallery(const std::string& tag) { return {"gallery", tag}; }

class LibraryMenus : public LibraryFixture {
protected:
    // The content parsed: its root must be a menu of the ribbon namespace with nothing else.
    pugi::xml_node parse(const std::string& xml) {
        EXPECT_TRUE(doc.load_string(xml.c_str())) << xml;
        const auto root = doc.document_element();
        EXPECT_STREQ(root.name(), "menu");
        EXPECT_STREQ(root.attribute("xmlns").value(), plorin::kRibbonNamespace);
        return root;
    }
    // Every id below the root, in document order.
    static std::vector<std::string> ids(pugi::xml_node root) {
        std::vector<std::string> out;
        for (auto n : root.select_nodes(".//*[@id]")) out.push_back(n.node().attribute("id").value());
        return out;
    }
    static std::vector<std::string> attributeNames(pugi::xml_node n) {
        std::vector<std::string> out;
        for (auto a : n.attributes()) out.push_back(a.name());
        return out;
    }
    static std::string menuItems(int count) {
        std::string items;
        for (int i = 1; i <= count; ++i)
            items += "<menuitem name=\"item " + std::to_string(i) + "\" file=\"a.ppt\" slideNo=\"" + std::to_string(i) +
                     "\"/>";
        return items;
    }
    pugi::xml_document doc;
};

const std::string kOpening = std::string("<menu xmlns=\"") + plorin::kRibbonNamespace + "\" >";

TEST_F(LibraryMenus, TheSlideWizardMenuIsWrittenAsTheHostExpectsIt) {
    menu(
        R"(<style name="Blue" folder="blue"/><menu name="Charts"><submenu name="Bars"/><submenu name="Pies"/></menu>)");
    const std::string rest =
        " onAction=\"slideWizard_onAction\" getItemCount=\"slideWizard_getItemCount\""
        " getItemLabel=\"slideWizard_getItemLabel\" getItemImage=\"slideWizard_getItemImage\""
        " columns=\"2\" itemWidth=\"160\" itemHeight=\"120\"/>";
    EXPECT_EQ(addIn.slideWizard_getContent({}),
              kOpening + "<menu id=\"slideWizard_1\" label=\"Charts\" >" +
                  "<gallery id=\"slideWizard_1_1\" label=\"Bars\" tag=\"Charts\\Bars\"" + rest +
                  "<gallery id=\"slideWizard_1_2\" label=\"Pies\" tag=\"Charts\\Pies\"" + rest + "</menu></menu>");
}

TEST_F(LibraryMenus, GalleriesAreNumberedAcrossMenusAndEveryMenuGetsOne) {
    menu(R"(<style name="Blue" folder="blue"/>
            <menu name="A"><submenu name="A1"/><submenu name="A2"/><menuitem name="loose" file="a.ppt" slideNo="1"/></menu>
            <menu name="B"><submenu name="B1"/><submenu name="B2"/></menu><menu name="C"/>)");
    const auto root = parse(addIn.slideWizard_getContent({}));
    EXPECT_EQ(ids(root),
              (std::vector<std::string>{"slideWizard_1", "slideWizard_1_1", "slideWizard_1_2", "slideWizard_2",
                                        "slideWizard_2_3", "slideWizard_2_4", "slideWizard_3"}));
    EXPECT_EQ(attributeNames(root.child("menu").child("gallery")),
              (std::vector<std::string>{"id", "label", "tag", "onAction", "getItemCount", "getItemLabel",
                                        "getItemImage", "columns", "itemWidth", "itemHeight"}));
}

TEST_F(LibraryMenus, MyElementsHasAGalleryPerGroupWithElementsOnly) {
    index(
        R"(<group name="Empty"/><group name="Two"><element name="a" slideID="256"/><element name="b" slideID="257"/></group>
             <group name="One"><element name="c" slideID="258"/></group>)");
    const auto root = parse(addIn.myElements_getContent({}));
    EXPECT_EQ(ids(root), (std::vector<std::string>{"myElements_1", "myElements_2"}));
    EXPECT_STREQ(root.first_child().attribute("label").value(), "Two");
    EXPECT_STREQ(root.last_child().attribute("tag").value(), "One");
    EXPECT_EQ(attributeNames(root.first_child()),
              (std::vector<std::string>{"id", "label", "tag", "onAction", "getItemCount", "getItemLabel",
                                        "getItemImage", "columns", "itemWidth", "itemHeight"}));
    EXPECT_STREQ(root.first_child().attribute("getItemImage").value(), "myElements_getItemImage");
}

TEST_F(LibraryMenus, TheCopyrightMenuHasAButtonPerNoticeTaggedWithItsNumber) {
    EXPECT_EQ(addIn.copyright_getContent({}), kOpening + "</menu>") << "no notices";
    plorin::state().copyrightLines.Add("(c) R&D <draft>");
    plorin::state().copyrightLines.Add("Internal");
    EXPECT_EQ(addIn.copyright_getContent({}),
              kOpening +
                  "<button id=\"copyright_1\" tag=\"1\" label=\"(c) R&amp;D &lt;draft&gt;\" "
                  "onAction=\"copyright_onAction\" />" +
                  "<button id=\"copyright_2\" tag=\"2\" label=\"Internal\" onAction=\"copyright_onAction\" /></menu>");
}

TEST_F(LibraryMenus, CharactersXmlCannotCarryAreDroppedFromLabelsAndTheOtherNoticesKept) {
    // A control character and a byte-order mark read the wrong way round.
    const char text[] =
        "(c) A\nPlain\nbell\x07 \xEF\xBF\xBE"
        "end\n";
    writeFile(root + "customization/copyright.txt", std::string(text, sizeof text - 1));
    plorin::loadCopyrightLines();
    const auto menuRoot = parse(addIn.copyright_getContent({}));
    std::vector<std::string> labels;
    for (auto button : menuRoot.children("button")) labels.push_back(button.attribute("label").value());
    EXPECT_EQ(labels, (std::vector<std::string>{"(c) A", "Plain", "bell end"}));
}

TEST_F(LibraryMenus, TheThumbnailSizeOfTheSettingsSizesEveryGallery) {
    plorin::setRegistry("thumbsWidth", "200", "");
    plorin::setRegistry("thumbsHeight", "150", "");
    writeFile(root + "customization/menu.xml",
              R"(<Varnotel><style name="Blue" folder="blue"/><menu name="M"><submenu name="S"/></menu></Varnotel>)");
    writeFile(indexPath(), R"(<Varnotel><group name="G"><element name="e" slideID="256"/></group></Varnotel>)");
    addIn.onLoad(&ribbon);
    for (const std::string& xml : {addIn.slideWizard_getContent({}), addIn.myElements_getContent({})}) {
        const auto g = parse(xml).select_node("//gallery").node();
        EXPECT_STREQ(g.attribute("itemWidth").value(), "200") << xml;
        EXPECT_STREQ(g.attribute("itemHeight").value(), "150") << xml;
    }
}

// Names as users write them: quotes, apostrophes and markup must survive the way into the
// ribbon and back into the lookups.
TEST_F(LibraryMenus, NamesWithQuotesApostrophesAndMarkupRoundTrip) {
    for (const std::string name : {"Tom's", "say \"hi\"", "<b>bold</b> & co", "<New group>", "it's \"both\""}) {
        SCOPED_TRACE(name);
        const std::string attr = plorin::escapeXmlAttribute(name);
        menu("<style name=\"Blue\" folder=\"blue\"/><menu name=\"" + attr + "\"><submenu name=\"" + attr + "\">" +
             menuItems(2) + "</submenu></menu>");
        index("<group name=\"" + attr + "\"><element name=\"" + attr + "\" slideID=\"256\"/></group>");

        const auto wizard = parse(addIn.slideWizard_getContent({})).select_node("//gallery").node();
        EXPECT_EQ(wizard.attribute("label").value(), name);
        const std::string tag = wizard.attribute("tag").value();
        EXPECT_EQ(tag, name + "\\" + name);
        EXPECT_EQ(addIn.slideWizard_getItemCount(gallery(tag)), 2);
        EXPECT_EQ(addIn.slideWizard_getItemLabel(gallery(tag), 1), "item 2");

        const auto mine = parse(addIn.myElements_getContent({})).select_node("//gallery").node();
        EXPECT_EQ(mine.attribute("label").value(), name);
        EXPECT_EQ(addIn.myElements_getItemCount(gallery(mine.attribute("tag").value())), 1);
        EXPECT_EQ(addIn.myElements_getItemLabel(gallery(name), 0), name);
    }
}

// An index written by an earlier version with a pasted ^A or VT in its names: the names lose
// them on reading, as the labels do, so that every gallery still finds its group; a name
// that then meets another is numbered.
TEST_F(LibraryMenus, NamesWrittenEarlierWithControlCharactersKeepTheirGalleries) {
    index(
        R"(<group name="Charts&#11;"><element name="pie&#01;" slideID="256"/><element name="bar" slideID="257"/></group>
             <group name="Charts"><element name="pie" slideID="258"/></group>)");
    const auto root = parse(addIn.myElements_getContent({}));
    std::vector<std::string> tags;
    for (auto g : root.children("gallery")) tags.push_back(g.attribute("tag").value());
    EXPECT_EQ(tags, (std::vector<std::string>{"Charts (2)", "Charts"}));
    EXPECT_EQ(addIn.myElements_getItemCount(gallery("Charts (2)")), 2);
    EXPECT_EQ(addIn.myElements_getItemLabel(gallery("Charts (2)"), 0), "pie (2)");
    EXPECT_EQ(addIn.myElements_getItemCount(gallery("Charts")), 1);
    EXPECT_EQ(addIn.myElements_getItemLabel(gallery("Charts"), 0), "pie");
}

TEST_F(LibraryMenus, ItemsAreFoundByZeroBasedIndexWithTheirThumbnails) {
    menu("<style name=\"Blue\" folder=\"blue\"/><menu name=\"M\"><submenu name=\"S\">" + menuItems(3) +
         "</submenu></menu>");
    index(R"(<group name="G"><element name="first" slideID="300"/><element name="second" slideID="257"/></group>)");
    const platform::Picture dot{4, 3, std::vector<std::uint32_t>(12, 0xFF000000u), ""};
    std::filesystem::create_directories(root + "customization/styles/thumbs");
    std::filesystem::create_directories(root + "user/myelements/thumbs");
    ASSERT_TRUE(platform::savePng(dot, root + "customization/styles/thumbs/a.ppt_1.png"));
    ASSERT_TRUE(platform::savePng(dot, root + "user/myelements/thumbs/300.png"));

    EXPECT_EQ(addIn.slideWizard_getItemCount(gallery("M\\S")), 3);
    EXPECT_EQ(addIn.slideWizard_getItemLabel(gallery("M\\S"), 0), "item 1");
    EXPECT_EQ(addIn.slideWizard_getItemLabel(gallery("M\\S"), 2), "item 3");
    ASSERT_TRUE(addIn.slideWizard_getItemImage(gallery("M\\S"), 0));
    EXPECT_EQ(addIn.slideWizard_getItemImage(gallery("M\\S"), 0)->width, 4);
    EXPECT_FALSE(addIn.slideWizard_getItemImage(gallery("M\\S"), 1)) << "no thumbnail, no picture";
    EXPECT_THROW(addIn.slideWizard_getItemLabel(gallery("M\\S"), 3), platform::NumberedError);
    EXPECT_EQ(addIn.slideWizard_getItemCount(gallery("M\\Other")), 0);

    EXPECT_EQ(addIn.myElements_getItemCount(gallery("G")), 2);
    EXPECT_EQ(addIn.myElements_getItemLabel(gallery("G"), 1), "second");
    EXPECT_TRUE(addIn.myElements_getItemImage(gallery("G"), 0));
    EXPECT_FALSE(addIn.myElements_getItemImage(gallery("G"), 1));
    EXPECT_EQ(addIn.myElements_getItemCount(gallery("g")), 0) << "group names compare exactly";
    EXPECT_THROW(addIn.myElements_getItemLabel(gallery("G"), 2), platform::NumberedError);

    // Every change of the index shows at once, whether made in place or by a new document.
    platform::DomDocument& shared = *plorin::state().myElementsDocument;
    platform::DomNode group = shared.selectSingleNode("/Varnotel/group");
    group.lastChild().setAttribute("name", "renamed");
    EXPECT_EQ(addIn.myElements_getItemLabel(gallery("G"), 1), "renamed");
    group.appendChild(shared.createElement("element"));
    EXPECT_EQ(addIn.myElements_getItemCount(gallery("G")), 3);
    EXPECT_THROW(addIn.myElements_getItemLabel(gallery("G"), 2), platform::NumberedError) << "no name";
    group.setAttribute("name", "H");
    EXPECT_EQ(addIn.myElements_getItemCount(gallery("G")), 0);
    EXPECT_EQ(addIn.myElements_getItemCount(gallery("H")), 3);
    index(R"(<group name="G"><element name="only" slideID="300"/></group>)");
    EXPECT_EQ(addIn.myElements_getItemCount(gallery("G")), 1);
    EXPECT_EQ(addIn.myElements_getItemLabel(gallery("G"), 0), "only");
}

TEST_F(LibraryMenus, WithoutTheirDocumentsTheGalleriesAreEmpty) {
    EXPECT_EQ(addIn.slideWizard_getContent({}), kOpening + "</menu>");
    EXPECT_EQ(addIn.myElements_getContent({}), "");
    EXPECT_EQ(addIn.slideWizard_getItemCount(gallery("M\\S")), 0);
    EXPECT_EQ(addIn.myElements_getItemCount(gallery("G")), 0);
    EXPECT_EQ(addIn.slideWizard_getItemLabel(gallery("M\\S"), 0), "");
    EXPECT_EQ(addIn.myElements_getItemLabel(gallery("G"), 0), "");
    EXPECT_FALSE(addIn.slideWizard_getItemImage(gallery("M\\S"), 0));
    EXPECT_FALSE(addIn.myElements_getItemImage(gallery("G"), 0));
}

TEST_F(LibraryMenus, OpeningTheMenusBuildsTheirThumbnailsTheSlideWizardsOnce) {
    menu("<style name=\"Blue\" folder=\"blue\"/><menu name=\"M\"><submenu name=\"S\">" + menuItems(1) +
         "</submenu></menu>");
    saveDeck(styleFile("a.ppt"), {{{10, 10, 100, 50}}});
    const std::string thumb = root + "customization/styles/thumbs/a.ppt_1.png";
    addIn.slideWizard_getContent({});
    ASSERT_TRUE(std::filesystem::exists(thumb));
    std::filesystem::remove(thumb);
    addIn.slideWizard_getContent({});
    EXPECT_FALSE(std::filesystem::exists(thumb)) << "built once per start of the add-in";

    saveDeck(library(), {{{10, 10, 100, 50}}});
    index(R"(<group name="G"><element name="e" slideID="256"/></group>)");
    addIn.myElements_getContent({});
    EXPECT_TRUE(std::filesystem::exists(root + "user/myelements/thumbs/256.png"));
    EXPECT_EQ(app->Presentations().Count(), 0) << "the sources are closed again";
}

}  // namespace
