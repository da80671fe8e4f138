// The indent commands: the staircase ruler by host version, paragraphs moving one level in
// or out within each version's limits, the newer hosts' staircase after every change, and
// only the selected paragraphs moving while text is edited.
#include "addin/ribbon_dispatch.h"
#include "host/table.h"
#include "text_fixture.h"

namespace {

using Levels = std::vector<int>;
using Steps = std::vector<std::pair<float, float>>;

class Indents : public testing_tools::TextFixture {};

// The default ruler: each level half an inch further in, first line and the others alike.
Steps defaultRuler(int count) {
    Steps steps;
    for (int n = 0; n < count; ++n) steps.emplace_back(36.0f * n, 36.0f * n);
    return steps;
}

TEST_F(Indents, BeautifyLaysOutAStaircaseOfTheFirstCharactersSize) {
    struct Row {
        const char* version;
        Steps ruler;
    } rows[] = {
        {"11.0", {{0, 0}, {0, 20}, {20, 40}, {40, 60}, {60, 80}}},
        {"14.0", {{0, 0}, {0, 20}, {20, 40}, {40, 60}, {60, 80}, {80, 100}, {100, 120}, {120, 140}, {140, 160}}},
        // An unknown host: level 1 only, the others as they were.
        {"15.0", {{0, 0}, {36, 36}, {72, 72}, {108, 108}, {144, 144}, {180, 180}, {216, 216}, {252, 252}, {288, 288}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.version);
        start(row.version);
        auto shape = textBox("Title\rPoint", 20);  // the rest in 10 points
        select({shape});
        tools.beautifyIndents();
        EXPECT_EQ(ruler(*shape), row.ruler);
        EXPECT_EQ(levels(*shape), (Levels{1, 1}));  // the paragraphs stay where they are
    }
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(Indents, AnEmptyFrameStepsByTheSizeTheHostReportsForItsEnd) {
    auto empty = slide->Shapes().AddShape(host::msoShapeRectangle, 0, 0, 100, 100);
    select({empty});
    tools.beautifyIndents();
    EXPECT_EQ(ruler(*empty)[2], (std::pair<float, float>{18, 36}));
}

TEST_F(Indents, AStepTheRulerRefusesIsReportedOnceAndTheLevelsBeforeItStay) {
    auto shape = textBox("Huge", 1000);  // level 6 would start at 4000, level 7 beyond the ruler
    select({shape});
    tools.beautifyIndents();
    EXPECT_EQ(reportedLocations(), std::vector<std::string>{"EfficiencyTools, beautify"});
    const Steps steps = ruler(*shape);
    EXPECT_EQ(steps[5], (std::pair<float, float>{4000, 180}));  // its first margin set, then refused
    EXPECT_EQ(steps[6], (std::pair<float, float>{216, 216}));
}

TEST_F(Indents, ParagraphsMoveWithinEachVersionsLimits) {
    struct Row {
        const char* version;
        Levels before, afterAdd, afterRemove;
    } rows[] = {
        {"11.0", {1, 2, 4, 5}, {2, 3, 5, 5}, {1, 1, 3, 4}},
        {"14.0", {1, 2, 8, 9}, {2, 3, 9, 9}, {1, 1, 7, 8}},
        {"12.0", {1, 5, 9}, {2, 6, 9}, {1, 4, 8}},
        // Any other host: nothing moves.
        {"15.0", {1, 3}, {1, 3}, {1, 3}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.version);
        start(row.version);
        auto adding = outline(row.before), removing = outline(row.before);
        select({adding});
        tools.addIndent();
        EXPECT_EQ(levels(*adding), row.afterAdd);
        select({removing});
        tools.removeIndent();
        EXPECT_EQ(levels(*removing), row.afterRemove);
    }
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(Indents, NewerHostsLayTheStaircaseAfterEveryIndentChangeOlderOnesDoNot) {
    for (const char* version : {"11.0", "14.0"}) {
        SCOPED_TRACE(version);
        start(version);
        const bool newer = std::string(version) == "14.0";
        const int count = newer ? 9 : 5;
        for (auto command : {&plorin::EfficiencyTools::addIndent, &plorin::EfficiencyTools::removeIndent}) {
            auto shape = outline({1, 2});
            select({shape});
            (tools.*command)();
            const Steps staircase{{0, 0},    {0, 20},    {20, 40},   {40, 60},  {60, 80},
                                  {80, 100}, {100, 120}, {120, 140}, {140, 160}};
            EXPECT_EQ(ruler(*shape), newer ? staircase : defaultRuler(count));
        }
        // Even a paragraph already at the limit is followed by the layout.
        auto deepest = outline({count});
        select({deepest});
        tools.addIndent();
        EXPECT_EQ(ruler(*deepest)[1].second, newer ? 20 : 36);
    }
}

TEST_F(Indents, WhileTextIsEditedOnlyTheSelectedParagraphsMove) {
    for (const char* version : {"11.0", "14.0"}) {
        SCOPED_TRACE(version);
        start(version);
        auto shape = outline({1, 1, 1, 1});  // "a\rb\rc\rd"
        auto other = outline({1});
        window().selectText(shape, 4, 3);  // "\rc\r": from the end of b into c's mark
        tools.addIndent();
        EXPECT_EQ(levels(*shape), (Levels{1, 2, 2, 1}));
        window().selectText(shape, 7, 0);  // the insertion point before d
        tools.addIndent();
        EXPECT_EQ(levels(*shape), (Levels{1, 2, 2, 2}));
        window().selectText(shape, 3, 1);  // b alone
        tools.removeIndent();
        EXPECT_EQ(levels(*shape), (Levels{1, 1, 2, 2}));
        EXPECT_EQ(levels(*other), Levels{1});  // another frame is not reached

        // The staircase covers the whole frame.
        window().selectText(other, 1, 1);
        tools.beautifyIndents();
        EXPECT_EQ(ruler(*other)[1], (std::pair<float, float>{0, 20}));
    }
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(Indents, SelectedSlidesIndentEveryFrameOnThem) {
    auto second = presentation->Slides().Add(2, 1);
    auto a = outline({1}), b = textBox("x", 20, second);
    auto grid = second->Shapes().AddTable(1, 2, 0, 0, 100, 50);
    grid->Table().Cell(1, 2).Shape()->TextFrame().TextRange().setText("cell");
    window().selectSlides({slide, second});
    tools.addIndent();
    EXPECT_EQ(levels(*a), Levels{2});
    EXPECT_EQ(levels(*b), Levels{2});
    EXPECT_EQ(levels(*grid->Table().Cell(1, 2).Shape()), Levels{2});
    // The notes are no outline: they stay.
    EXPECT_EQ(slide->NotesPage().Item(1)->Shapes().Item(1)->TextFrame().TextRange().IndentLevel(), 1);
}

TEST_F(Indents, WithNothingSelectedTheCommandsOnlyGuide) {
    auto shape = outline({1, 2});
    window().selectNone();
    tools.addIndent();
    tools.removeIndent();
    tools.beautifyIndents();
    EXPECT_EQ(messages(), std::vector<std::string>(3, "Please select one or more slides or shapes first."));
    EXPECT_EQ(levels(*shape), (Levels{1, 2}));
    EXPECT_EQ(ruler(*shape), defaultRuler(9));
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(Indents, WithoutAHostOrAWindowTheCommandReportsOnce) {
    plorin::state().application = nullptr;
    tools.addIndent();
    ASSERT_EQ(reportedLocations(), std::vector<std::string>{"EfficiencyTools, addIndent"});
    EXPECT_EQ(plorin::reportedErrors()[0].error.Number, plorin::errObjectNotSet);

    plorin::state().application = app.get();
    presentation->Close();
    plorin::reportedErrors().clear();
    // The host's refusal for want of a window is no fault: the user is told plainly.
    driver.messageAnswers.push_back(platform::vbOK);
    tools.beautifyIndents();
    EXPECT_TRUE(plorin::reportedErrors().empty());
    ASSERT_EQ(driver.messages.size(), 1u);
    EXPECT_EQ(driver.messages[0].text, plorin::kNoPresentationMessage);
}

TEST_F(Indents, TheRibbonAndTheCommandBarsReachTheCommands) {
    auto shape = outline({1, 2});
    select({shape});
    plorin::addInState().tools = std::make_unique<plorin::EfficiencyTools>();
    EXPECT_TRUE(plorin::dispatchCommand(1091));  // add
    EXPECT_EQ(levels(*shape), (Levels{2, 3}));
    EXPECT_TRUE(plorin::dispatchCommand(1090));  // remove
    EXPECT_EQ(levels(*shape), (Levels{1, 2}));
    plorin::addInState().tools->callByName("RemoveIndent");
    EXPECT_EQ(levels(*shape), (Levels{1, 1}));
    EXPECT_TRUE(plorin::dispatchCommand(1089));
    EXPECT_EQ(ruler(*shape)[1], (std::pair<float, float>{0, 20}));
    plorin::addInState().tools.reset();
}

}  // namespace
