// Managing My Elements: moves at every border, renames the dialog refuses, deletions that
// reach the library only on OK, Cancel that leaves everything as it was, names full of
// quotes and markup, a damaged index and a library that lacks a slide.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "addin/named_commands.h"
#include "libraries/library_menus.h"
#include "libraries/my_elements.h"
#include "libraries/my_elements_add.h"
#include "libraries/my_elements_manager.h"
#include "libraries/thumbnails.h"
#include "platform/filesystem.h"
#include "platform/services.h"
#include "platform/xml_dom.h"
#include "tests/libraries/library_fixture.h"
#include "tests/support/fault_fs.h"
#include "tests/support/file_reading.h"

namespace {

using testing_core::LibraryFixture;
using Manager = plorin::myElementsManager;
using Groups = std::vector<std::pair<std::string, std::vector<std::string>>>;

// The groups and elements of an index, one line each, elements indented.
std::vector<std::string> layoutOf(const platform::DomDocument& index) {
    std::vector<std::string> lines;
    for (const auto& group : index.selectNodes("/Varnotel/group")) {
        lines.push_back(group.getAttribute("name").value_or(""));
        for (const auto& element : group.selectNodes("element"))
            lines.push_back("  " + element.getAttribute("name").value_or(""));
    }
    return lines;
}

// The tree as the user sees it, the same way; the selected node marked with ">".
std::vector<std::string> treeOf(const Manager& d) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < d.elementsTree.nodes.size(); ++i) {
        const auto& node = d.elementsTree.nodes[i];
        lines.push_back(std::string(static_cast<int>(i) == d.elementsTree.selectedIndex ? ">" : "") +
                        (node.parentKey.empty() ? "" : "  ") + node.text);
    }
    return lines;
}

class ManageElements : public LibraryFixture {
protected:
    void SetUp() override {
        LibraryFixture::SetUp();
        yesToAll();
    }
    // Every question is answered Yes (and every other box OK).
    void yesToAll() {
        driver.onUnansweredMessage = [](const platform::MessageBoxCall& m) {
            return (m.style & 7) == platform::vbYesNo ? platform::vbYes : platform::vbOK;
        };
    }
    // A library with one slide per element (each slide's box placed after its element's
    // number) and an index naming them; ids_ maps element names to slide ids.
    void install(const Groups& groups) {
        std::vector<std::vector<testing_core::Box>> slides;
        for (const auto& g : groups)
            for (std::size_t i = 0; i < g.second.size(); ++i)
                slides.push_back({{static_cast<float>(10 + 20 * slides.size()), 10, 40, 30}});
        saveDeck(library(), slides);
        auto p = app->Presentations().Open(library(), true, false, false);
        std::string xml;
        int slide = 1;
        for (const auto& g : groups) {
            xml += "<group name=\"" + plorin::escapeXmlAttribute(g.first) + "\">";
            for (const auto& e : g.second) {
                const long id = p->Slides().Item(slide++)->SlideID();
                ids_[e] = id;
                xml +=
                    "<element name=\"" + plorin::escapeXmlAttribute(e) + "\" slideID=\"" + std::to_string(id) + "\"/>";
            }
            xml += "</group>";
        }
        p->Close();
        index(xml);
        ribbon.controls.clear();
    }
    // The next showing of the manager runs these steps.
    void onManager(std::function<void(Manager&)> steps) {
        driver.queueForm("myElementsManager", [steps](platform::Form& f) { steps(dynamic_cast<Manager&>(f)); });
    }
    void manage(std::function<void(Manager&)> steps) {
        onManager(std::move(steps));
        plorin::manageMyElements();
    }
    static void pick(Manager& d, const std::string& label) { platform::driver::choose(d, "elementsTree", label); }
    static void press(Manager& d, const char* button) { platform::driver::click(d, button); }
    static void up(Manager& d, const std::string& label) { pick(d, label), press(d, "btnUp"); }
    static void down(Manager& d, const std::string& label) { pick(d, label), press(d, "btnDown"); }
    static bool rename(Manager& d, const std::string& label, const std::string& name) {
        pick(d, label);
        press(d, "btnRename");
        const std::string before = d.elementsTree.nodes[static_cast<std::size_t>(d.elementsTree.selectedIndex)].text;
        platform::driver::editLabel(d, "elementsTree", name);
        return d.elementsTree.nodes[static_cast<std::size_t>(d.elementsTree.selectedIndex)].text != before;
    }

    std::vector<long> librarySlideIds() {
        auto p = app->Presentations().Open(library(), true, false, false);
        std::vector<long> ids;
        for (const auto& s : p->Slides().all()) ids.push_back(s->SlideID());
        p->Close();
        return ids;
    }
    std::vector<std::string> savedLayout() {
        platform::DomDocument saved;
        EXPECT_TRUE(saved.load(indexPath()));
        return layoutOf(saved);
    }
    std::vector<std::string> sharedLayout() { return layoutOf(*plorin::state().myElementsDocument); }

    std::map<std::string, long> ids_;
};

// ---- The dialog -----------------------------------------------------------------------------

TEST_F(ManageElements, TheDialogsWordsAndATreeOfTwoLevels) {
    install({{"A", {"a1", "a2"}}, {"B", {}}});
    manage([](Manager& d) {
        EXPECT_EQ(d.Caption, "Manage My Elements");
        const std::vector<std::string> captions{d.btnAddGroup.Caption, d.btnRename.Caption, d.btnDelete.Caption,
                                                d.btnOK.Caption, d.btnCancel.Caption};
        EXPECT_EQ(captions, (std::vector<std::string>{"&Add group", "&Rename", "&Delete ", "&OK", "&Cancel"}));
        const std::vector<std::string> tips{d.btnAddGroup.ToolTipText, d.btnRename.ToolTipText, d.btnDelete.ToolTipText,
                                            d.btnUp.ToolTipText, d.btnDown.ToolTipText};
        EXPECT_EQ(tips, (std::vector<std::string>{"Add group", "Rename group or element", "Delete group or element",
                                                  "Move group or element up", "Move group or element down"}));
        EXPECT_EQ(d.info.Caption,
                  "My Elements are organized in groups. You can add, rename, reorder or delete groups. Elements can be "
                  "renamed, reordered or deleted.");
        EXPECT_EQ(treeOf(d), (std::vector<std::string>{"A", "  a1", "  a2", "B"}));
        std::vector<std::string> keys, parents;
        for (const auto& n : d.elementsTree.nodes) {
            keys.push_back(n.key);
            parents.push_back(n.parentKey);
            EXPECT_TRUE(n.expanded);
            EXPECT_EQ(n.image, n.parentKey.empty() ? 1 : 2);
        }
        EXPECT_EQ(keys, (std::vector<std::string>{"1ID", "2ID", "3ID", "4ID"}));
        EXPECT_EQ(parents, (std::vector<std::string>{"", "1ID", "1ID", ""}));
        EXPECT_FALSE(d.treeRedrawLocked());
        press(d, "btnCancel");
    });
    EXPECT_EQ(driver.modalForms, std::vector<std::string>{"myElementsManager"});
}

TEST_F(ManageElements, TheRibbonsButtonCountsTheUseRunsTheUndoFixAndMakesAMissingIndex) {
    onManager([](Manager& d) {
        EXPECT_EQ(treeOf(d), std::vector<std::string>{"Miscellaneous"});
        press(d, "btnOK");
    });
    addIn.onAction({"vn_1029", ""});
    EXPECT_EQ(driver.modalForms, std::vector<std::string>{"myElementsManager"});
    EXPECT_EQ(setting("statsMyElements"), "1");
    EXPECT_EQ(app->macrosRun(), std::vector<std::string>{"plorinUndoFix.ppt!plorin.plorinUndoFix"});
    EXPECT_EQ(savedLayout(), std::vector<std::string>{"Miscellaneous"});
    EXPECT_TRUE(reportedLocations().empty());
}

TEST_F(ManageElements, ADamagedIndexIsRefusedAndNeverWrittenOver) {
    writeFile(indexPath(), "<Varnotel><group name=\"A\">");
    plorin::loadMyElementsIndex();
    driver.messages.clear();
    plorin::manageMyElements();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], plorin::corruptedDatabaseMessage());
    EXPECT_EQ(driver.messages[0].style, platform::vbCritical);
    EXPECT_TRUE(driver.modalForms.empty());
    EXPECT_EQ(test_support::readFile(indexPath()), "<Varnotel><group name=\"A\">");
    EXPECT_TRUE(reportedLocations().empty());
}

// ---- Moving ---------------------------------------------------------------------------------

TEST_F(ManageElements, ElementsMoveWithinTheirGroupAndAcrossOneBorderPerClick) {
    install({{"A", {"a1", "a2", "a3"}}, {"B", {"b1", "b2"}}, {"C", {}}});
    manage([](Manager& d) {
        up(d, "a1");  // the first element of the first group stays
        EXPECT_EQ(treeOf(d), (std::vector<std::string>{"A", ">  a1", "  a2", "  a3", "B", "  b1", "  b2", "C"}));
        up(d, "a3");  // within its group
        EXPECT_EQ(treeOf(d), (std::vector<std::string>{"A", "  a1", ">  a3", "  a2", "B", "  b1", "  b2", "C"}));
        up(d, "b1");  // first of the second group: to the end of the first
        EXPECT_EQ(treeOf(d), (std::vector<std::string>{"A", "  a1", "  a3", "  a2", ">  b1", "B", "  b2", "C"}));
        press(d, "btnDown");  // last of the first group: first in the second
        EXPECT_EQ(treeOf(d), (std::vector<std::string>{"A", "  a1", "  a3", "  a2", "B", ">  b1", "  b2", "C"}));
        down(d, "b2");  // into the empty last group
        EXPECT_EQ(treeOf(d), (std::vector<std::string>{"A", "  a1", "  a3", "  a2", "B", "  b1", "C", ">  b2"}));
        press(d, "btnDown");  // the last element of the last group stays
        EXPECT_EQ(treeOf(d), (std::vector<std::string>{"A", "  a1", "  a3", "  a2", "B", "  b1", "C", ">  b2"}));
        press(d, "btnUp");
        press(d, "btnUp");  // one border per click: now above b1
        EXPECT_EQ(treeOf(d), (std::vector<std::string>{"A", "  a1", "  a3", "  a2", "B", ">  b2", "  b1", "C"}));
        press(d, "btnOK");
    });
    EXPECT_EQ(savedLayout(), (std::vector<std::string>{"A", "  a1", "  a3", "  a2", "B", "  b2", "  b1", "C"}));
    EXPECT_EQ(sharedLayout(), savedLayout());
    EXPECT_EQ(ribbon.controls, std::vector<std::string>{"vn_1027"});
    EXPECT_EQ(librarySlideIds().size(), 5u) << "moves delete no slide";
}

TEST_F(ManageElements, GroupsMoveOnlyAmongGroupsWithTheirElements) {
    install({{"A", {"a1"}}, {"B", {"b1"}}, {"C", {}}});
    manage([](Manager& d) {
        up(d, "A");    // the first group stays
        down(d, "C");  // so does the last
        EXPECT_EQ(treeOf(d), (std::vector<std::string>{"A", "  a1", "B", "  b1", ">C"}));
        down(d, "A");
        EXPECT_EQ(treeOf(d), (std::vector<std::string>{"B", "  b1", ">A", "  a1", "C"}));
        press(d, "btnDown");
        EXPECT_EQ(treeOf(d), (std::vector<std::string>{"B", "  b1", "C", ">A", "  a1"}));
        up(d, "B");
        EXPECT_EQ(treeOf(d), (std::vector<std::string>{">B", "  b1", "C", "A", "  a1"}));
        d.elementsTree.selectNode(-1);
        press(d, "btnUp");  // nothing selected: nothing moves
        press(d, "btnOK");
    });
    EXPECT_EQ(savedLayout(), (std::vector<std::string>{"B", "  b1", "C", "A", "  a1"}));
    EXPECT_TRUE(reportedLocations().empty());
}

// ---- Renaming and new groups ----------------------------------------------------------------

TEST_F(ManageElements, RenamingRefusesEmptyAndTakenNames) {
    install({{"A", {"a1"}}, {"B", {"b1"}}});
    manage([this](Manager& d) {
        EXPECT_FALSE(rename(d, "a1", ""));
        EXPECT_FALSE(rename(d, "a1", "\x01\x0b"));  // nothing left once what XML cannot carry goes
        EXPECT_FALSE(rename(d, "a1", "b1"));        // another group's element
        EXPECT_FALSE(rename(d, "a1",
                            "b\x7f"
                            "1"));
        EXPECT_FALSE(rename(d, "a1", "a1"));  // unchanged
        EXPECT_FALSE(rename(d, "A", "B"));
        EXPECT_TRUE(rename(d, "a1", "B"));          // a group's name is free for an element
        EXPECT_TRUE(rename(d, "A", "Sec\x0bond"));  // a pasted VT would empty the group's gallery
        EXPECT_EQ(messages(),
                  (std::vector<std::string>{"The name can't be empty. Please specify a name.",
                                            "The name can't be empty. Please specify a name.",
                                            "The specified name already exists. Please specify a new name.",
                                            "The specified name already exists. Please specify a new name.",
                                            "The specified name already exists. Please specify a new name.",
                                            "The specified name already exists. Please specify a new name."}));
        for (const auto& m : driver.messages) EXPECT_EQ(m.style, platform::vbCritical);
        EXPECT_EQ(treeOf(d), (std::vector<std::string>{">Second", "  B", "B", "  b1"}));
        press(d, "btnOK");
    });
    EXPECT_EQ(savedLayout(), (std::vector<std::string>{"Second", "  B", "B", "  b1"}));
}

TEST_F(ManageElements, ANewGroupIsEditedAtOnceAndOnlyOneWaitsForItsName) {
    install({{"A", {"a1"}}});
    manage([this](Manager& d) {
        press(d, "btnAddGroup");
        EXPECT_EQ(treeOf(d), (std::vector<std::string>{"A", "  a1", "><New group>"}));
        EXPECT_EQ(d.elementsTree.editingIndex(), 2);
        d.elementsTree.cancelLabelEdit();  // Escape: the group keeps "<New group>"
        press(d, "btnAddGroup");
        EXPECT_EQ(messages(),
                  std::vector<std::string>{"Before creating a new group you need to rename the group '<New group>'."});
        EXPECT_EQ(driver.messages[0].style, platform::vbInformation);
        EXPECT_EQ(d.elementsTree.nodes.size(), 3u);
        EXPECT_TRUE(rename(d, "<New group>", "Charts"));
        press(d, "btnAddGroup");
        platform::driver::editLabel(d, "elementsTree", "Tables");  // typed straight away
        EXPECT_EQ(treeOf(d), (std::vector<std::string>{"A", "  a1", "Charts", ">Tables"}));
        press(d, "btnOK");
    });
    EXPECT_EQ(savedLayout(), (std::vector<std::string>{"A", "  a1", "Charts", "Tables"}));
}

// ---- Deleting and OK ------------------------------------------------------------------------

TEST_F(ManageElements, OkDeletesExactlyTheQueuedSlidesAndTheOtherThumbnailsStillMatch) {
    install({{"A", {"a1", "a2"}}, {"B", {"b1", "b2", "b3"}}, {"C", {"c1"}}});
    plorin::ThumbnailSettings settings = plorin::readThumbnailSettings();
    plorin::createMyElementsThumbs(settings);
    std::map<std::string, std::string> before;
    for (const auto& [name, id] : ids_) before[name] = test_support::readFile(plorin::myElementsThumbPath(id));

    driver.onUnansweredMessage = nullptr;
    driver.messageAnswers = {platform::vbNo, platform::vbYes, platform::vbYes};
    manage([](Manager& d) {
        pick(d, "a2");
        press(d, "btnDelete");  // No: stays
        pick(d, "B");
        press(d, "btnDelete");
        EXPECT_EQ(treeOf(d), (std::vector<std::string>{"A", "  a1", "  a2", ">C", "  c1"}));
        pick(d, "a1");
        press(d, "btnDelete");
        EXPECT_EQ(treeOf(d), (std::vector<std::string>{"A", ">  a2", "C", "  c1"}));
        press(d, "btnOK");
    });
    EXPECT_EQ(messages(), (std::vector<std::string>{
                              "Are you sure you want to delete the selected element 'a2'?",
                              "Are you sure you want to delete the selected group 'B' including all elements?",
                              "Are you sure you want to delete the selected element 'a1'?"}));
    EXPECT_EQ(driver.messages[0].style, platform::vbYesNo | platform::vbQuestion | platform::vbDefaultButton2);
    EXPECT_EQ(librarySlideIds(), (std::vector<long>{ids_["a2"], ids_["c1"]}));
    EXPECT_EQ(savedLayout(), (std::vector<std::string>{"A", "  a2", "C", "  c1"}));
    EXPECT_EQ(sharedLayout(), savedLayout());
    EXPECT_EQ(app->Presentations().Count(), 0) << "the library was closed";

    yesToAll();
    settings.myElementsDate = 0;  // draw them all again from the changed library
    plorin::createMyElementsThumbs(settings);
    EXPECT_EQ(messages().size(), 3u) << "no thumbnail failed";
    for (const char* name : {"a2", "c1"}) {
        EXPECT_FALSE(before[name].empty());
        EXPECT_EQ(test_support::readFile(plorin::myElementsThumbPath(ids_[name])), before[name]) << name;
    }
}

TEST_F(ManageElements, ASlideTheLibraryLacksIsSkippedAndOkStillFinishes) {
    install({{"A", {"a1", "a2"}}});
    plorin::state().myElementsDocument->selectSingleNode("//element[@name='a1']").setAttribute("slideID", "987654");
    manage([](Manager& d) {
        pick(d, "a1");
        press(d, "btnDelete");
        pick(d, "a2");
        press(d, "btnDelete");
        press(d, "btnOK");
        EXPECT_FALSE(d.loaded());
    });
    EXPECT_EQ(librarySlideIds(), std::vector<long>{ids_["a1"]}) << "only a2's slide, which the index named";
    EXPECT_EQ(savedLayout(), std::vector<std::string>{"A"});
    EXPECT_EQ(app->Presentations().Count(), 0);
    EXPECT_TRUE(reportedLocations().empty());
    EXPECT_EQ(ribbon.controls, std::vector<std::string>{"vn_1027"});

    // A library that cannot be opened is reported, after the index is saved and the menu redrawn.
    install({{"A", {"a1"}}});
    std::filesystem::remove(library());
    manage([](Manager& d) {
        pick(d, "a1");
        press(d, "btnDelete");
        press(d, "btnOK");
        EXPECT_FALSE(d.loaded());
    });
    EXPECT_EQ(savedLayout(), std::vector<std::string>{"A"});
    EXPECT_EQ(reportedLocations(), std::vector<std::string>{"myElementsManager, btnOK_Click"});
    EXPECT_EQ(ribbon.controls, std::vector<std::string>{"vn_1027"});
    EXPECT_EQ(app->Presentations().Count(), 0);
}

TEST_F(ManageElements, OkNeverReReadsTheIndexWritesItOnceAndStopsWhenItCannotBeWritten) {
    install({{"A", {"a1", "a2", "a3"}}, {"B", {"b1"}}});
    using test_support::FsCall;
    test_support::FaultyFileSystem counting(
        test_support::failCall(FsCall::writeAll, 1, true, ENOSPC, "myelements.xml"));
    test_support::UsingFileSystem using_(counting);

    // An index that cannot be written: reported, and nothing else changes; Cancel still closes.
    const std::string sharedText = plorin::state().myElementsDocument->xml();
    manage([](Manager& d) {
        pick(d, "a1");
        press(d, "btnDelete");
        press(d, "btnOK");
        EXPECT_TRUE(d.loaded());
        press(d, "btnCancel");
    });
    EXPECT_EQ(reportedLocations(), std::vector<std::string>{"myElementsManager, btnOK_Click"});
    EXPECT_EQ(plorin::state().myElementsDocument->xml(), sharedText);
    EXPECT_EQ(librarySlideIds().size(), 4u) << "no slide deleted";
    plorin::reportedErrors().clear();

    counting.arm({});
    counting.forgetCalls();
    manage([](Manager& d) {
        for (const char* name : {"a1", "a2", "b1"}) {
            pick(d, name);
            press(d, "btnDelete");
        }
        down(d, "a3");
        press(d, "btnOK");
    });
    auto ofIndex = [&](FsCall kind) {
        const auto paths = counting.pathsOf(kind);
        return std::count(paths.begin(), paths.end(), indexPath());
    };
    EXPECT_EQ(ofIndex(FsCall::readAll), 0) << "the loaded index is used";
    EXPECT_EQ(ofIndex(FsCall::writeAll), 1);
    EXPECT_EQ(librarySlideIds(), std::vector<long>{ids_["a3"]});
    EXPECT_EQ(savedLayout(), (std::vector<std::string>{"A", "B", "  a3"}));
    EXPECT_TRUE(reportedLocations().empty());
}

TEST_F(ManageElements, OnACommandBarHostOkDeletesFromThePptLibraryAndLeavesTheRibbonAlone) {
    addIn.OnDisconnection(0);
    connect("11.0");
    install({{"A", {"a1", "a2"}}});
    std::filesystem::rename(library(), library("ppt"));
    manage([](Manager& d) {
        pick(d, "a1");
        press(d, "btnDelete");
        press(d, "btnOK");
    });
    auto p = app->Presentations().Open(library("ppt"), true, false, false);
    ASSERT_EQ(p->Slides().Count(), 1);
    EXPECT_EQ(p->Slides().Item(1)->SlideID(), ids_["a2"]);
    p->Close();
    EXPECT_TRUE(ribbon.controls.empty());
    EXPECT_TRUE(reportedLocations().empty());
}

// ---- Cancel ---------------------------------------------------------------------------------

TEST_F(ManageElements, CancelLeavesIndexLibraryAndMenuAsTheyWereAlsoAfterALaterAdd) {
    install({{"A", {"a1", "a2"}}, {"B", {"b1"}}});
    const std::string indexText = test_support::readFile(indexPath()), libraryText = test_support::readFile(library());
    const std::string sharedText = plorin::state().myElementsDocument->xml();
    manage([this](Manager& d) {
        rename(d, "a1", "renamed");
        down(d, "a2");
        press(d, "btnAddGroup");
        pick(d, "b1");
        press(d, "btnDelete");
        pick(d, "A");
        press(d, "btnDelete");
        EXPECT_EQ(d.pendingSlideIds(), std::to_string(ids_["b1"]) + ";" + std::to_string(ids_["a1"]) + ";");
        press(d, "btnCancel");
    });
    EXPECT_EQ(test_support::readFile(indexPath()), indexText);
    EXPECT_EQ(test_support::readFile(library()), libraryText);
    EXPECT_EQ(plorin::state().myElementsDocument->xml(), sharedText);
    EXPECT_TRUE(ribbon.controls.empty());

    // The next add saves the shared index: still without the cancelled edits.
    auto slide = userDeck(1)->Slides().Item(1);
    window().selectShapes({slide->Shapes().AddShape(host::msoShapeRectangle, 1, 2, 3, 4)});
    driver.queueForm("myElementsAdd", [](platform::Form& f) {
        platform::driver::setText(f, "elemName", "added");
        platform::driver::click(f, "btnAddElement");
    });
    plorin::addMyElements();
    EXPECT_EQ(savedLayout(), (std::vector<std::string>{"A", "  a1", "  a2", "  added", "B", "  b1"}));
    EXPECT_EQ(librarySlideIds().size(), 4u);
}

// ---- Names are values -----------------------------------------------------------------------

TEST_F(ManageElements, NamesWithApostrophesQuotesAndMarkupGoThroughRenameMoveAndDelete) {
    const std::string group = "Bob's \"best\" <b>&amp;</b>";
    const std::string odd = "it's <x/> \"q\" ' or '1'='1";
    install({{group, {odd, "plain"}}, {"]'/..", {"x"}}});
    const std::string renamed = "a'b\"c<d>&e";
    manage([&](Manager& d) {
        EXPECT_EQ(treeOf(d), (std::vector<std::string>{group, "  " + odd, "  plain", "]'/..", "  x"}));
        EXPECT_TRUE(rename(d, odd, renamed));
        EXPECT_FALSE(rename(d, "plain", renamed)) << "taken, however it is quoted";
        down(d, renamed);
        down(d, renamed);  // into the second group
        up(d, "]'/..");
        pick(d, "x");
        press(d, "btnDelete");
        EXPECT_TRUE(rename(d, group, "Group's"));
        press(d, "btnOK");
    });
    EXPECT_EQ(savedLayout(), (std::vector<std::string>{"]'/..", "  " + renamed, "Group's", "  plain"}));
    EXPECT_EQ(librarySlideIds(), (std::vector<long>{ids_[odd], ids_["plain"]}));
    EXPECT_TRUE(reportedLocations().empty());
}

}  // namespace
