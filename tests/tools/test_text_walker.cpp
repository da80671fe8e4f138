// The text walker's reach: which text frames a selection reaches, in which order, for which
// operation; and what happens with nothing selected or a failing frame.
#include <stdexcept>

#include "host/table.h"
#include "text_fixture.h"
#include "tools/text_walker.h"

namespace {

using Names = std::vector<std::string>;

class TextWalker : public testing_tools::TextFixture {
protected:
    // The names of the shapes whose frames the walk reaches, in order.
    Names reached(const plorin::TextWalkObject& object, const std::string& operation) {
        Names names;
        plorin::walkTextFrames(object, operation,
                               [&](const host::TextFrame& frame) { names.push_back(frame.Parent()->Name()); });
        return names;
    }
    Names reachedFromSelection(const std::string& operation) { return reached(&window().Selection(), operation); }

    std::shared_ptr<host::Shape> named(const std::string& name, const std::shared_ptr<host::Slide>& on = nullptr) {
        auto shape = textBox(name, 20, on);
        shape->setName(name);
        return shape;
    }

    // A table whose cells are named "r,c".
    std::shared_ptr<host::Shape> table(int rows, int columns, const std::shared_ptr<host::Slide>& on) {
        auto shape = on->Shapes().AddTable(rows, columns, 0, 300, 300, 100);
        for (int r = 1; r <= rows; ++r)
            for (int c = 1; c <= columns; ++c)
                shape->Table().Cell(r, c).Shape()->setName(std::to_string(r) + "," + std::to_string(c));
        return shape;
    }
};

TEST_F(TextWalker, TwoSelectedSlidesReachEveryShapeOfBothThroughGroupsAndTables) {
    auto second = presentation->Slides().Add(2, 1);
    named("A");
    auto b = named("B"), c = named("C"), d = named("D");
    auto inner = host::ShapeRange({c, d}).Group();
    host::ShapeRange({b, inner}).Group();
    slide->Shapes().addOfType(host::msoPicture, 1, 0, 0, 10, 10);  // no text frame: passed over
    slide->Shapes().addOfType(host::msoLine, 1, 0, 0, 10, 10);
    table(2, 2, second);
    named("E", second);
    slide->NotesPage().Item(1)->Shapes().Item(1)->setName("notes 1");
    second->NotesPage().Item(1)->Shapes().Item(1)->setName("notes 2");
    window().selectSlides({slide, second});

    EXPECT_EQ(reachedFromSelection("beautifyIndents"), (Names{"A", "B", "C", "D", "1,1", "1,2", "2,1", "2,2", "E"}));
    // Only the language reaches the notes pages, each after its slide.
    EXPECT_EQ(reachedFromSelection("setLanguage"),
              (Names{"A", "B", "C", "D", "notes 1", "1,1", "1,2", "2,1", "2,2", "E", "notes 2"}));
    EXPECT_EQ(reachedFromSelection("setMargins"), reachedFromSelection("addIndent"));
    EXPECT_EQ(reachedFromSelection("no such operation").size(), 9u);  // visited all the same
}

TEST_F(TextWalker, ATableReachesItsSelectedCellsOrAllWhenNoneIsSelected) {
    auto grid = table(2, 3, slide);
    named("after");
    select({grid, slide->Shapes().Item(2)});
    EXPECT_EQ(reachedFromSelection("addIndent"), (Names{"1,1", "1,2", "1,3", "2,1", "2,2", "2,3", "after"}));
    grid->Table().Cell(2, 1).select(true);
    grid->Table().Cell(1, 3).select(true);
    EXPECT_EQ(reachedFromSelection("addIndent"), (Names{"1,3", "2,1", "after"}));  // row by row
}

TEST_F(TextWalker, TextBeingEditedReachesTheWholeFrameThatHoldsIt) {
    named("other");
    auto edited = textBox("first\rsecond");
    edited->setName("edited");
    window().selectText(edited, 3, 2);
    EXPECT_EQ(reachedFromSelection("removeIndent"), Names{"edited"});
    // In a table the text stands in a cell.
    auto grid = table(1, 2, slide);
    grid->Table().Cell(1, 2).select(true);
    window().selectText(grid, 1, 0);
    EXPECT_EQ(reachedFromSelection("removeIndent"), Names{"1,2"});
}

TEST_F(TextWalker, WithNothingSelectedOnlyTheLanguageWalksTheCurrentSlide) {
    named("A");
    window().setViewType(host::ppViewSlideSorter);
    window().selectNone();  // nothing selected, and no slide in view in the sorter
    for (const char* operation : {"beautifyIndents", "addIndent", "setMargins", "setLanguage"}) {
        SCOPED_TRACE(operation);
        driver.messages.clear();
        EXPECT_EQ(reachedFromSelection(operation), Names{});
        ASSERT_EQ(messages(), Names{"Please select one or more slides or shapes first."});
        EXPECT_EQ(driver.messages[0].style, platform::vbInformation);
        EXPECT_EQ(driver.messages[0].title, "Varnotel for presentations");
    }
    EXPECT_TRUE(plorin::reportedErrors().empty());  // the host's refusal means "no slide"

    // Nothing selected in normal view: the host's selection still names the slide in view.
    window().setViewType(host::ppViewNormal);
    window().selectNone();
    driver.messages.clear();
    EXPECT_EQ(reachedFromSelection("setLanguage"), Names{"A"});
    EXPECT_EQ(reachedFromSelection("addIndent"), Names{});
    EXPECT_EQ(messages(), Names{"Please select one or more slides or shapes first."});
}

TEST_F(TextWalker, AFailingObjectIsReportedOnceAndTheWalkGoesOn) {
    named("A");
    named("B");
    named("C");
    window().selectSlides({slide});
    Names names;
    plorin::walkTextFrames(&window().Selection(), "beautifyIndents", [&](const host::TextFrame& frame) {
        names.push_back(frame.Parent()->Name());
        if (frame.Parent()->Name() == "B") throw host::HostError(host::E_FAIL, "refused");
    });
    EXPECT_EQ(names, (Names{"A", "B", "C"}));
    EXPECT_EQ(reportedLocations(), Names{"EfficiencyTools, iterate"});

    // A selection of slides that holds none: the host's refusal is an error like any other.
    plorin::reportedErrors().clear();
    window().setViewType(host::ppViewSlideSorter);
    window().Selection().slides_.clear();
    EXPECT_EQ(reachedFromSelection("beautifyIndents"), Names{});
    EXPECT_EQ(reportedLocations(), Names{"EfficiencyTools, iterate"});
    EXPECT_EQ(plorin::reportedErrors()[0].error.Number, host::PP_E_INVALIDREQUEST);
}

}  // namespace
