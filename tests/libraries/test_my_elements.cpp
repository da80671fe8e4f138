// Adding the selection to My Elements: the index and the library made on first use, the
// dialog's checks, new groups, refused placeholders, the ".ppt" library converted on ribbon
// hosts, and a damaged index that is never written over.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "addin/named_commands.h"
#include "libraries/my_elements.h"
#include "libraries/my_elements_add.h"
#include "platform/filesystem.h"
#include "platform/services.h"
#include "platform/xml_dom.h"
#include "tests/libraries/library_fixture.h"
#include "tests/support/fault_fs.h"
#include "tests/support/file_reading.h"

namespace {

using testing_core::Box;
using testing_core::LibraryFixture;

const std::string kSupport = "support@varnotel.example";

class AddElements : public LibraryFixture {
protected:
    // The user's deck with a rectangle and a text box selected (and a placeholder, if asked).
    void selectShapes(bool withPlaceholder = false) {
        auto slide = userDeck(1)->Slides().Item(1);
        std::vector<std::shared_ptr<host::Shape>> shapes{
            slide->Shapes().AddShape(host::msoShapeRectangle, 10, 20, 30, 40),
            slide->Shapes().AddTextbox(1, 50, 60, 70, 80)};
        if (withPlaceholder) shapes.push_back(slide->Shapes().addOfType(host::msoPlaceholder, 1, 0, 0, 600, 80));
        window().selectShapes(shapes);
        ribbon.controls.clear();  // the selection redraws the whole ribbon
    }
    // The next showing of the dialog runs these steps.
    void onDialog(std::function<void(plorin::myElementsAdd&)> steps) {
        driver.queueForm("myElementsAdd",
                         [steps](platform::Form& f) { steps(dynamic_cast<plorin::myElementsAdd&>(f)); });
    }
    static void accept(plorin::myElementsAdd& d) { platform::driver::click(d, "btnAddElement"); }

    // The index as saved.
    platform::DomDocument& savedIndex() {
        EXPECT_TRUE(saved.load(indexPath()));
        return saved;
    }
    // The slide ids of a library file.
    std::vector<long> slideIds(const std::string& path) {
        auto p = app->Presentations().Open(path, true, false, false);
        std::vector<long> ids;
        for (const auto& s : p->Slides().all()) ids.push_back(s->SlideID());
        p->Close();
        return ids;
    }
    platform::DomDocument saved;
};

TEST_F(AddElements, FirstUseMakesTheIndexWithMiscellaneousAndTheLibrary) {
    selectShapes();
    onDialog([](plorin::myElementsAdd& d) {
        EXPECT_EQ(d.Caption, "Add to My Elements");
        EXPECT_EQ(d.groupList.items, std::vector<std::string>{"Miscellaneous"});
        EXPECT_EQ(d.groupList.ListIndex(), 0);
        EXPECT_EQ(d.elemName.Text(), "New element");
        accept(d);
    });
    plorin::addMyElements();

    EXPECT_TRUE(messages().empty());
    const platform::DomNode rootNode = savedIndex().documentElement();
    std::vector<std::string> attributes;
    for (auto a : rootNode.pugiNode().attributes()) attributes.push_back(std::string(a.name()) + "=" + a.value());
    EXPECT_EQ(attributes,
              (std::vector<std::string>{"xmlns:xsi=http://www.w3.org/2001/XMLSchema-instance",
                                        "xsi:schemaLocation=http://www.varnotel.example/plorinown/myelements.xsd",
                                        "xmlns=http://www.varnotel.example/plorinown", "addinVersion=1.0"}));
    const auto element = saved.selectSingleNode("/Varnotel/group[@name='Miscellaneous']/element");
    ASSERT_TRUE(element);
    EXPECT_EQ(element.getAttribute("name"), "New element");

    auto lib = app->Presentations().Open(library(), true, false, false);
    ASSERT_EQ(lib->Slides().Count(), 1);
    const auto slide = lib->Slides().Item(1);
    EXPECT_EQ(element.getAttribute("slideID"), std::to_string(slide->SlideID()));
    EXPECT_EQ(slide->Layout(), 12);
    ASSERT_EQ(slide->Shapes().Count(), 2);
    EXPECT_EQ(slide->Shapes().Item(2)->Left(), 50);
    EXPECT_EQ(slide->Shapes().Item(2)->Height(), 80);
    lib->Close();
    EXPECT_EQ(app->Presentations().Count(), 1) << "the library was closed";
    EXPECT_EQ(ribbon.controls, std::vector<std::string>{"vn_1027"});
}

TEST_F(AddElements, TheDialogsWordsAndTheNewGroupBoxsTitleAndOffer) {
    // A user who also notes each input box's title and offered text.
    struct NotingDriver : platform::ScriptedDriver {
        std::vector<std::pair<std::string, std::string>> offers;
        std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                            const std::string& defaultText) override {
            offers.emplace_back(title, defaultText);
            return ScriptedDriver::inputBox(prompt, title, defaultText);
        }
    } user;
    selectShapes();
    platform::ScopedUiDriver use(user);
    user.inputAnswers = {std::nullopt};
    user.queueForm("myElementsAdd", [](platform::Form& f) {
        auto& d = dynamic_cast<plorin::myElementsAdd&>(f);
        const std::vector<std::string> captions{d.Caption,        d.Label1.Caption,        d.btnAddGroup.Caption,
                                                d.Label2.Caption, d.btnAddElement.Caption, d.btnCancel.Caption};
        EXPECT_EQ(captions, (std::vector<std::string>{"Add to My Elements", "Add to group", "New &group",
                                                      "Element name", "&Add element", "&Cancel"}));
        const std::vector<std::string> tips{d.groupList.ToolTipText, d.btnAddGroup.ToolTipText, d.elemName.ToolTipText,
                                            d.btnAddElement.ToolTipText};
        EXPECT_EQ(tips, (std::vector<std::string>{"Select destination group", "Add new group",
                                                  "Please specify the name for the element to be added",
                                                  "Add element to selected group"}));
        EXPECT_TRUE(d.btnAddElement.Default);
        EXPECT_TRUE(d.btnCancel.Cancel);
        platform::driver::click(d, "btnAddGroup");
        platform::driver::click(d, "btnCancel");
    });
    plorin::addMyElements();
    EXPECT_EQ(user.offers,
              (std::vector<std::pair<std::string, std::string>>{{"Varnotel for presentations", "<New group>"}}));
    EXPECT_EQ(user.modalForms, std::vector<std::string>{"myElementsAdd"});
}

TEST_F(AddElements, CancelAddsNothingButWhatFirstUseMade) {
    selectShapes();
    onDialog([](plorin::myElementsAdd& d) { platform::driver::click(d, "btnCancel"); });
    plorin::addMyElements();
    EXPECT_FALSE(savedIndex().selectSingleNode("//element"));
    EXPECT_TRUE(slideIds(library()).empty()) << "the new library stays, empty";
    EXPECT_TRUE(ribbon.controls.empty());
    EXPECT_EQ(app->Presentations().Count(), 1);
}

TEST_F(AddElements, WithoutShapesSelectedTheUserIsToldAndNothingIsMade) {
    plorin::addMyElements();  // no window: nothing at all
    EXPECT_TRUE(messages().empty());
    userDeck(1);
    plorin::addMyElements();
    EXPECT_EQ(messages(),
              std::vector<std::string>{"If you would like to add an element to 'My Elements', please select "
                                       "one or more shapes first."});
    EXPECT_EQ(driver.messages[0].style, platform::vbInformation);
    EXPECT_FALSE(std::filesystem::exists(indexPath()));
    EXPECT_TRUE(driver.modalForms.empty());
}

TEST_F(AddElements, TheDialogRefusesAnEmptyNameAndANameOfAnyGroupsElement) {
    index(R"(<group name="A"><element name="Taken" slideID="256"/></group><group name="B"/>)");
    selectShapes();
    onDialog([](plorin::myElementsAdd& d) {
        platform::driver::choose(d, "groupList", "B");
        for (const char* name : {"", "\x01\x02", "Taken", "Ta\x0bken",
                                 "Fr\x01"
                                 "esh"}) {
            platform::driver::setText(d, "elemName", name);
            accept(d);
            EXPECT_EQ(d.Visible(), d.elemName.Text() != "Fresh") << name;
        }
    });
    plorin::addMyElements();
    EXPECT_EQ(messages(), (std::vector<std::string>{
                              "The 'Element name' can't be empty. Please specify a name for the element to be added.",
                              "The 'Element name' can't be empty. Please specify a name for the element to be added.",
                              "The specified element name already exists. Please specify a new name.",
                              "The specified element name already exists. Please specify a new name."}));
    EXPECT_EQ(driver.messages[0].style, platform::vbCritical);
    EXPECT_EQ(savedIndex().selectSingleNode("/Varnotel/group[@name='B']/element").getAttribute("name"), "Fresh");
}

TEST_F(AddElements, WithoutGroupsTheUserIsAskedToMakeOne) {
    index("");
    selectShapes();
    onDialog([](plorin::myElementsAdd& d) {
        accept(d);
        platform::driver::click(d, "btnCancel");
    });
    plorin::addMyElements();
    EXPECT_EQ(messages(), std::vector<std::string>{"Before adding the element, please create a new group."});
}

TEST_F(AddElements, ANewGroupIsSavedAtOnceWhateverItsNameHolds) {
    index(R"(<group name="A"/>)");
    selectShapes();
    const std::string name = "It's <new> \"one\" & co";
    // Pasted control characters go: they would empty the group's gallery.
    driver.inputAnswers = {std::nullopt,     std::string(),        std::string("\x01"),
                           std::string("A"), std::string("A\x0b"), "It's <new>\x01 \"one\" & co"};
    onDialog([&](plorin::myElementsAdd& d) {
        for (int i = 0; i < 6; ++i) platform::driver::click(d, "btnAddGroup");
        EXPECT_EQ(d.groupList.items, (std::vector<std::string>{"A", name}));
        EXPECT_EQ(d.groupList.ListIndex(), 1);
        EXPECT_TRUE(savedIndex().selectSingleNode("/Varnotel/group[@name=$n]", {{"n", name}}))
            << "before the dialog closes";
        platform::driver::click(d, "btnCancel");
    });
    plorin::addMyElements();
    EXPECT_EQ(driver.inputPrompts,
              std::vector<std::string>(6, "Please enter a name for the group you would like to add."));
    EXPECT_EQ(messages(),
              (std::vector<std::string>{"The group name cannot be empty.", "The group name cannot be empty.",
                                        "The group name 'A' already exists. Please specify a new group name.",
                                        "The group name 'A' already exists. Please specify a new group name."}));
    EXPECT_EQ(savedIndex().selectNodes("/Varnotel/group").length(), 2) << "cancelling the dialog keeps the group";

    // An element in it goes through the My Elements menu and back.
    onDialog([](plorin::myElementsAdd& d) {
        platform::driver::choose(d, "groupList", 1);
        platform::driver::setText(d, "elemName", "Bob's \"chart\" <1>");
        accept(d);
    });
    plorin::addMyElements();
    pugi::xml_document menu;
    ASSERT_TRUE(menu.load_string(addIn.myElements_getContent({}).c_str()));
    const auto gallery = menu.document_element().first_child();
    EXPECT_EQ(gallery.attribute("label").value(), name);
    EXPECT_EQ(addIn.myElements_getItemLabel({"g", gallery.attribute("tag").value()}, 0), "Bob's \"chart\" <1>");
}

TEST_F(AddElements, APlaceholderIsRefusedAndNothingIsAdded) {
    index(R"(<group name="A"/>)");
    saveDeck(library(), {{{1, 2, 3, 4}}});
    const std::string indexBefore = test_support::readFile(indexPath()),
                      libraryBefore = test_support::readFile(library());
    selectShapes(true);
    onDialog(accept);
    plorin::addMyElements();
    EXPECT_EQ(messages(), std::vector<std::string>{"Placeholders can not be added to 'My Elements'."});
    EXPECT_EQ(driver.messages[0].style, platform::vbInformation);
    EXPECT_EQ(test_support::readFile(indexPath()), indexBefore);
    EXPECT_EQ(test_support::readFile(library()), libraryBefore);
    EXPECT_FALSE(plorin::state().myElementsDocument->selectSingleNode("//element"));
    EXPECT_EQ(app->Presentations().Count(), 1) << "the library was closed";
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(AddElements, OnARibbonHostAnOldPptLibraryBecomesAPptxKeepingItsSlideIds) {
    saveDeck(library("ppt"), {{{1, 1, 1, 1}}, {{2, 2, 2, 2}}});
    index(R"(<group name="A"><element name="one" slideID="256"/><element name="two" slideID="257"/></group>)");
    selectShapes();
    onDialog([](plorin::myElementsAdd& d) {
        platform::driver::setText(d, "elemName", "three");
        accept(d);
    });
    plorin::addMyElements();
    EXPECT_EQ(slideIds(library("ppt")), (std::vector<long>{256, 257})) << "the old file stays as it was";
    EXPECT_EQ(slideIds(library("pptx")), (std::vector<long>{256, 257, 258}));
    EXPECT_EQ(savedIndex().selectSingleNode("//element[@name='three']").getAttribute("slideID"), "258");

    // Inserting now takes the ".pptx".
    window().showSlide(app->ActivePresentation()->Slides().Item(1));
    addIn.myElements_onAction({"g", "A"}, "", 1);
    EXPECT_EQ(window().currentSlide()->Shapes().all().back()->Left(), 2);
    EXPECT_EQ(app->Presentations().Count(), 1);
}

TEST_F(AddElements, OnACommandBarHostTheLibraryIsThePptFile) {
    addIn.OnDisconnection(0);
    connect("11.0");
    selectShapes();
    onDialog(accept);
    plorin::addMyElements();
    EXPECT_EQ(slideIds(library("ppt")).size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(library("pptx")));
    EXPECT_TRUE(ribbon.controls.empty()) << "the command bars rebuild their own menu";
}

TEST_F(AddElements, ADamagedIndexIsNeverWrittenOverAndNothingIsMade) {
    writeFile(indexPath(), "<Varnotel><group name=\"A\">");  // cut off
    plorin::loadMyElementsIndex();
    ASSERT_FALSE(plorin::state().myElementsDocument);
    driver.messages.clear();
    selectShapes();
    plorin::addMyElements();
    EXPECT_EQ(messages(),
              std::vector<std::string>{"The 'My Elements' database seems to be corrupted.\r\nPlease contact us at " +
                                       kSupport + "."});
    EXPECT_EQ(driver.messages[0].style, platform::vbCritical);
    EXPECT_EQ(test_support::readFile(indexPath()), "<Varnotel><group name=\"A\">");
    EXPECT_FALSE(std::filesystem::exists(library()));
    EXPECT_TRUE(driver.modalForms.empty());
    EXPECT_FALSE(plorin::state().myElementsDocument);

    // Mended meanwhile: it is read when adding.
    writeFile(indexPath(), R"(<Varnotel><group name="A"/></Varnotel>)");
    onDialog(accept);
    plorin::addMyElements();
    EXPECT_TRUE(savedIndex().selectSingleNode("/Varnotel/group[@name='A']/element"));
}

TEST_F(AddElements, AnIndexLostWhileTheDialogIsOpenEndsItWithNothingAdded) {
    index(R"(<group name="A"/>)");
    selectShapes();
    onDialog([](plorin::myElementsAdd& d) {
        plorin::state().myElementsDocument.reset();
        accept(d);
        EXPECT_FALSE(d.okPressed);
        EXPECT_FALSE(d.Visible());
    });
    plorin::addMyElements();
    EXPECT_EQ(messages(),
              std::vector<std::string>{"The 'My Elements' database seems to be corrupted.\r\nPlease contact us at " +
                                       kSupport + "."});
    EXPECT_FALSE(savedIndex().selectSingleNode("//element"));
    EXPECT_TRUE(slideIds(library()).empty());
}

TEST_F(AddElements, WhatTheIndexFileCannotTakeIsNotKeptEither) {
    index(R"(<group name="A"/>)");
    test_support::FaultyFileSystem refusing(
        test_support::failCall(test_support::FsCall::writeAll, 1, true, ENOSPC, "myelements.xml"));
    platform::useFileSystem(&refusing);
    selectShapes();
    driver.inputAnswers = {std::string("B")};
    onDialog([](plorin::myElementsAdd& d) {
        platform::driver::click(d, "btnAddGroup");
        EXPECT_EQ(d.groupList.items, std::vector<std::string>{"A"});
        accept(d);
    });
    plorin::addMyElements();
    platform::useFileSystem(nullptr);
    EXPECT_EQ(reportedLocations(),
              (std::vector<std::string>{"myElementsAdd, btnAddGroup_Click", "SlideWizard, addMyElements"}));
    const auto& kept = *plorin::state().myElementsDocument;
    EXPECT_EQ(kept.selectNodes("/Varnotel/group").length(), 1);
    EXPECT_FALSE(kept.selectSingleNode("//element"));
    EXPECT_EQ(app->Presentations().Count(), 1);
}

TEST_F(AddElements, TheRibbonsButtonCountsTheUseAndShowsTheDialog) {
    selectShapes();
    onDialog(accept);
    addIn.onAction({"vn_1028", ""});
    EXPECT_EQ(driver.modalForms, std::vector<std::string>{"myElementsAdd"});
    EXPECT_EQ(setting("statsMyElements"), "1");
    EXPECT_TRUE(savedIndex().selectSingleNode("//element"));
}

}  // namespace

TEST_F(AddElements, ALibraryWithoutSlideIdsLeftAddsNothingAndSaysSo) {
    index(R"(<group name="A"/>)");
    saveDeck(library(), {{{1, 2, 3, 4}}});
    std::string text = test_support::readFile(library());
    const auto at = text.find("nextSlideId=\"");
    ASSERT_NE(at, std::string::npos);
    const auto end = text.find('"', at + 13);
    text.replace(at + 13, end - at - 13, "2147483648");  // every id up to 2^31 - 1 used
    writeFile(library(), text);
    selectShapes();
    onDialog(accept);
    plorin::addMyElements();
    EXPECT_EQ(reportedLocations(), std::vector<std::string>{"SlideWizard, addMyElements"});
    EXPECT_FALSE(plorin::state().myElementsDocument->selectSingleNode("//element"));
    EXPECT_FALSE(savedIndex().selectSingleNode("//element"));
    EXPECT_EQ(test_support::readFile(library()), text);
    EXPECT_EQ(app->Presentations().Count(), 1) << "the library was closed";
}
