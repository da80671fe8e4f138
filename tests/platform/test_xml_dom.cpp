// The XML document the add-in keeps its menu, library index and agenda in: navigation by
// elements, attributes that may be missing or empty, queries with bound names, and edits.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/filesystem.h"
#include "platform/services.h"
#include "platform/xml_dom.h"
#include "tests/support/temp_folder.h"

using namespace platform;

namespace {

const char* kIndex = R"(<?xml version="1.0"?>
<Varnotel xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance"
          xsi:schemaLocation="http://maker.example/plorinown/myelements.xsd"
          xmlns="http://maker.example/plorinown" addinVersion="1.0">
  <!-- groups in display order -->
  <group name="Miscellaneous">
    <element name="Logo" slideID="256"/>
    text between
    <element name="Footer" slideID="257"/>
  </group>
  <group name="Empty"/>
</Varnotel>)";

std::vector<std::string> names(const DomNodeList& list) {
    std::vector<std::string> out;
    for (const auto& n : list) out.push_back(n.getAttribute("name").value_or("?"));
    return out;
}

class XmlDomFiles : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return dir_.file(name); }
    test_support::TempFolder dir_{"varnotel-dom"};
};

}  // namespace

TEST(XmlDom, ChildrenAndSiblingsAreElementsOnly) {
    DomDocument doc;
    ASSERT_TRUE(doc.loadXML(kIndex));
    const auto root = doc.documentElement();
    EXPECT_EQ(root.nodeName(), "Varnotel");
    EXPECT_TRUE(root.parentNode().isDocument());
    EXPECT_EQ(root.childNodes().length(), 2);  // the comment is not counted

    const auto misc = root.firstChild();
    EXPECT_EQ(misc.getAttribute("name"), "Miscellaneous");
    EXPECT_FALSE(misc.previousSibling());
    const auto logo = misc.firstChild();
    const auto footer = logo.nextSibling();  // the text between is skipped
    EXPECT_EQ(footer.getAttribute("name"), "Footer");
    EXPECT_EQ(footer.previousSibling(), logo);
    EXPECT_FALSE(footer.nextSibling());
    EXPECT_EQ(misc.lastChild(), footer);
    EXPECT_EQ(footer.parentNode(), misc);

    const auto empty = misc.nextSibling();
    EXPECT_FALSE(empty.hasChildNodes());
    EXPECT_FALSE(empty.firstChild());
    EXPECT_EQ(empty.childNodes().length(), 0);
    EXPECT_TRUE(misc.hasChildNodes());
    EXPECT_FALSE(root.childNodes().item(2));  // out of range gives a null node
}

TEST(XmlDom, MissingAttributeIsToldApartFromEmptyOne) {
    DomDocument doc;
    ASSERT_TRUE(doc.loadXML(R"(<a empty="" full="x"/>)"));
    auto a = doc.documentElement();
    EXPECT_EQ(a.getAttribute("missing"), std::nullopt);
    EXPECT_EQ(a.getAttribute("empty"), std::optional<std::string>(""));
    EXPECT_EQ(a.getAttribute("full"), "x");
    a.setAttribute("missing", "now");
    a.removeAttribute("full");
    a.removeAttribute("never-there");
    EXPECT_EQ(a.xml(), R"(<a empty="" missing="now"/>)");
    EXPECT_THROW(a.setAttribute("bad name", "v"), DomError);
}

TEST(XmlDom, WholePathQueriesMatchDespiteTheDefaultNamespace) {
    DomDocument doc;
    ASSERT_TRUE(doc.loadXML(kIndex));
    EXPECT_EQ(names(doc.selectNodes("/Varnotel/group")), (std::vector<std::string>{"Miscellaneous", "Empty"}));
    EXPECT_EQ(names(doc.selectNodes("/Varnotel/group/element")), (std::vector<std::string>{"Logo", "Footer"}));
    EXPECT_EQ(doc.selectNodes("/Varnotel/group/element/@slideID").item(1).text(), "257");
    EXPECT_EQ(doc.documentElement().getAttribute("xsi:schemaLocation"),
              "http://maker.example/plorinown/myelements.xsd");
    // Relative queries from an element.
    const auto misc = doc.selectSingleNode("/Varnotel/group");
    EXPECT_EQ(misc.selectNodes("element").length(), 2);
    EXPECT_FALSE(doc.selectSingleNode("/Varnotel/menu"));
}

TEST(XmlDom, NamesAreFoundByValueWhateverCharactersTheyHold) {
    DomDocument doc;
    ASSERT_TRUE(doc.loadXML("<Varnotel/>"));
    const std::vector<std::string> awkward = {R"(Say "hi")", "It's", R"(<b>&amp; 'both" </b>)", "]]>", ""};
    for (const auto& name : awkward) {
        auto g = doc.documentElement().appendChild(doc.createElement("group"));
        g.setAttribute("name", name);
    }
    // Round trip through text, as the file would.
    DomDocument reread;
    ASSERT_TRUE(reread.loadXML(doc.xml()));
    for (const auto& name : awkward) {
        const auto found = reread.selectNodes("/Varnotel/group[@name=$name]", {{"name", name}});
        ASSERT_EQ(found.length(), 1) << name;
        EXPECT_EQ(found.item(0).getAttribute("name"), name);
    }
    EXPECT_EQ(reread.selectNodes("/Varnotel/group[@name=$n]", {{"n", "It"}}).length(), 0);
    EXPECT_THROW(reread.selectNodes("/Varnotel/group[@name=$unbound]"), DomError);
    EXPECT_THROW(reread.selectNodes("/Varnotel/group["), DomError);
    EXPECT_THROW(reread.selectNodes("count(/Varnotel/group)"), DomError);
}

TEST(XmlDom, AFailedLoadLeavesNoDocument) {
    DomDocument doc;
    ASSERT_TRUE(doc.loadXML(kIndex));
    for (const char* bad : {"<Varnotel><group></Varnotel>", "", "<!-- only a comment -->", "plain text"}) {
        EXPECT_FALSE(doc.loadXML(bad)) << bad;
        EXPECT_FALSE(doc.documentElement()) << bad;
        EXPECT_EQ(doc.xml(), "") << bad;
        EXPECT_FALSE(doc.parseError().empty());
        EXPECT_EQ(doc.selectNodes("/Varnotel/group").length(), 0);
    }
    EXPECT_FALSE(doc.load("/nonexistent/folder/menu.xml"));
    EXPECT_FALSE(doc.documentElement());
}

TEST(XmlDom, BuildingANewDocumentAndMovingNodes) {
    DomDocument doc;
    auto root = doc.appendChild(doc.createElement("Varnotel"));
    auto a = doc.createElement("group");
    a.setAttribute("name", "A");
    auto b = doc.createElement("group");
    b.setAttribute("name", "B");
    EXPECT_FALSE(a.parentNode());                       // not in the tree yet
    EXPECT_EQ(doc.selectNodes("//group").length(), 0);  // nor found by queries

    root.appendChild(b);
    root.insertBefore(a, b);
    EXPECT_EQ(names(root.childNodes()), (std::vector<std::string>{"A", "B"}));
    root.insertBefore(b, a);  // moving a node already in the tree
    EXPECT_EQ(names(root.childNodes()), (std::vector<std::string>{"B", "A"}));
    root.insertBefore(doc.createElement("group"), DomNode());  // a null reference appends
    EXPECT_EQ(root.childNodes().length(), 3);

    auto attr = doc.createAttribute("addinVersion");
    attr.setText("1.0");
    root.setAttributeNode(attr);
    EXPECT_EQ(root.getAttribute("addinVersion"), "1.0");

    // The removed node stays usable and can be put back.
    auto removed = root.removeChild(a);
    EXPECT_FALSE(removed.parentNode());
    EXPECT_EQ(doc.selectNodes("//group").length(), 2);
    removed.setAttribute("name", "A2");
    root.appendChild(removed);
    EXPECT_EQ(doc.selectNodes("/Varnotel/group").item(2).getAttribute("name"), "A2");
}

TEST(XmlDom, RefusedEdits) {
    DomDocument doc, other;
    ASSERT_TRUE(doc.loadXML("<r><a><b/></a><c/></r>"));
    ASSERT_TRUE(other.loadXML("<x/>"));
    auto a = doc.selectSingleNode("/r/a");
    auto b = doc.selectSingleNode("/r/a/b");
    auto c = doc.selectSingleNode("/r/c");
    EXPECT_THROW(b.appendChild(a), DomError);                              // into its own descendant
    EXPECT_THROW(a.appendChild(a), DomError);                              // into itself
    EXPECT_THROW(a.appendChild(other.documentElement()), DomError);        // another document's node
    EXPECT_THROW(a.insertBefore(c, c), DomError);                          // reference is no child of a
    EXPECT_THROW(c.removeChild(b), DomError);                              // not c's child
    EXPECT_THROW(doc.appendChild(doc.createElement("second")), DomError);  // a second root
    EXPECT_THROW(a.appendChild(DomNode()), DomError);
    EXPECT_THROW(DomNode().firstChild(), DomError);
    EXPECT_THROW(doc.createElement("1st"), DomError);
    EXPECT_EQ(doc.xml(), "<r><a><b/></a><c/></r>");  // nothing changed
}

TEST(XmlDom, ImportingAndReplacingNodes) {
    DomDocument agenda, style;
    ASSERT_TRUE(agenda.loadXML(R"(<Varnotel><item title="old"/><item title="keep"/></Varnotel>)"));
    ASSERT_TRUE(style.loadXML(R"(<Varnotel><item title="new"><font size="12"/></item></Varnotel>)"));

    auto copy = agenda.importNode(style.selectSingleNode("/Varnotel/item"));
    auto old = agenda.selectSingleNode("/Varnotel/item");
    auto out = agenda.documentElement().replaceChild(copy, old);
    EXPECT_EQ(out, old);
    EXPECT_FALSE(old.parentNode());
    EXPECT_EQ(agenda.xml(), R"(<Varnotel><item title="new"><font size="12"/></item><item title="keep"/></Varnotel>)");
    // The source is untouched and independent.
    copy.setAttribute("title", "changed");
    EXPECT_EQ(style.selectSingleNode("/Varnotel/item").getAttribute("title"), "new");

    auto shallow = agenda.importNode(style.selectSingleNode("/Varnotel/item"), false);
    EXPECT_EQ(shallow.xml(), R"(<item title="new"/>)");
    auto clone = agenda.selectSingleNode("/Varnotel/item").cloneNode(true);
    agenda.documentElement().appendChild(clone);
    EXPECT_EQ(agenda.selectNodes("/Varnotel/item/font").length(), 2);

    // Replacing the document element itself.
    auto newRoot = agenda.createElement("Varnotel");
    agenda.node().replaceChild(newRoot, agenda.documentElement());
    EXPECT_EQ(agenda.xml(), "<Varnotel/>");
}

TEST(XmlDom, TextOfElementsAndAttributes) {
    DomDocument doc;
    ASSERT_TRUE(doc.loadXML("<a>one<b>two</b><![CDATA[<three>]]></a>"));
    auto a = doc.documentElement();
    EXPECT_EQ(a.text(), "onetwo<three>");
    a.setText("x & y");
    EXPECT_EQ(a.xml(), "<a>x &amp; y</a>");
    EXPECT_EQ(a.childNodes().length(), 0);
    a.setAttribute("q", R"(say "x")");
    EXPECT_EQ(a.getAttributeNode("q").xml(), R"(q="say &quot;x&quot;")");
}

TEST_F(XmlDomFiles, SavedFileLoadsBackAsUtf8) {
    DomDocument doc;
    ASSERT_TRUE(doc.loadXML(kIndex));
    doc.selectSingleNode("/Varnotel/group")
        .setAttribute("name",
                      "Gr\xC3\xBC\xC3\x9F"
                      "e");
    ASSERT_TRUE(doc.save(path("myelements.xml")));

    DomDocument reread;
    ASSERT_TRUE(reread.load(path("myelements.xml")));
    EXPECT_EQ(reread.selectSingleNode("/Varnotel/group").getAttribute("name"),
              "Gr\xC3\xBC\xC3\x9F"
              "e");
    EXPECT_EQ(reread.documentElement().getAttribute("xmlns"), "http://maker.example/plorinown");
    EXPECT_EQ(reread.selectNodes("/Varnotel/group/element").length(), 2);

    int error = 0;
    const auto text = readFileBytes(path("myelements.xml"), error);
    ASSERT_TRUE(text);
    EXPECT_EQ(text->rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u);
    EXPECT_NE(text->find("<!-- groups in display order -->"), std::string::npos);

    // A failed save reports it and leaves the earlier file.
    EXPECT_FALSE(doc.save(path("missing-folder/myelements.xml")));
}

TEST_F(XmlDomFiles, DeclaredLatin1FileIsReadAsText) {
    std::ofstream(path("latin1.xml"), std::ios::binary)
        << "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><Varnotel name=\"Gr\xFC\xDF"
           "e\"/>";
    DomDocument doc;
    ASSERT_TRUE(doc.load(path("latin1.xml")));
    EXPECT_EQ(doc.documentElement().getAttribute("name"),
              "Gr\xC3\xBC\xC3\x9F"
              "e");
}

TEST_F(XmlDomFiles, NestingIsBoundedWhenLoadingAndSaving) {
    auto nested = [](std::size_t depth) {
        std::string text;
        for (std::size_t i = 0; i < depth; ++i) text += "<group name=\"g\">";
        text += "x";
        for (std::size_t i = 0; i < depth; ++i) text += "</group>";
        return text;
    };
    DomDocument doc;
    ASSERT_TRUE(doc.loadXML(nested(kMaxXmlDepth)));
    EXPECT_EQ(doc.documentElement().text(), "x");
    ASSERT_TRUE(doc.save(path("deepest.xml")));
    int error = 0;
    const auto saved = readFileBytes(path("deepest.xml"), error);
    ASSERT_TRUE(saved);
    EXPECT_LT(saved->size(), 100000u);  // the indentation stays bounded
    ASSERT_TRUE(doc.load(path("deepest.xml")));

    // A hostile index nesting groups 100,000 deep is refused with a reason, not read.
    std::ofstream(path("hostile.xml")) << nested(100000);
    EXPECT_FALSE(doc.load(path("hostile.xml")));
    EXPECT_NE(doc.parseError().find("deep"), std::string::npos);
    EXPECT_FALSE(doc.documentElement());

    // A document edited one level deeper than can be loaded is not saved.
    ASSERT_TRUE(doc.loadXML(nested(kMaxXmlDepth)));
    auto innermost = doc.selectSingleNode("//group[not(group)]");
    innermost.appendChild(doc.createElement("group"));
    EXPECT_FALSE(doc.save(path("deepest.xml")));
    DomDocument earlier;
    EXPECT_TRUE(earlier.load(path("deepest.xml")));  // the file saved before is still whole
}
