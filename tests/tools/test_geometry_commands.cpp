// The align, stretch, move and stack commands, each run by name over a selection whose
// last shape is the master.
#include <string>
#include <vector>

#include "geometry_fixture.h"
#include "platform/ui_driver.h"
#include "platform/ui_forms.h"

namespace {

using testing_tools::Box;
using testing_tools::expectBox;
using testing_tools::Frame;

class GeometryCommands : public testing_tools::GeometryFixture {};

struct Case {
    const char* command;
    std::vector<Frame> shapes;  // the master last
    std::vector<Box> after;     // visual boxes of the other shapes afterwards
    std::size_t messages = 0;   // rotation messages shown
};

// Master frames used below: m1 at visual (100, 100) sized 50 x 40.
const Frame m1{100, 100, 50, 40};
// A 45-degree shape whose size cannot be set; it must come out as it went in.
const Frame turned45{0, 0, 200, 100, 45};
const Box turned45Box{100 - 106.0660172, 50 - 106.0660172, 212.1320344, 212.1320344};

const Case kCases[] = {
    {"alignLefts", {{0, 0, 20, 10}, {300, 300, 40, 20, 90}, m1}, {{100, 0, 20, 10}, {100, 290, 20, 40}}},
    {"alignCenters", {{0, 0, 20, 10}, m1}, {{115, 0, 20, 10}}},
    {"alignRights", {{0, 0, 20, 10}, m1}, {{130, 0, 20, 10}}},
    {"alignTops", {{0, 0, 20, 10}, m1}, {{0, 100, 20, 10}}},
    {"alignMiddles", {{0, 0, 20, 10}, m1}, {{0, 115, 20, 10}}},
    {"alignBottoms", {{0, 0, 20, 10}, m1}, {{0, 130, 20, 10}}},
    {"alignWidths", {{0, 0, 200, 100, 90}, turned45, m1}, {{50, -50, 50, 200}, turned45Box}, 1},
    {"alignHeights", {{0, 0, 20, 10}, {10, 20, 200, 100, 180}, m1}, {{0, 0, 20, 40}, {10, 20, 200, 40}}},
    {"alignWidthsAndHeights",
     {{0, 0, 20, 10}, {0, 0, 200, 100, 270}, turned45, m1},
     {{0, 0, 50, 40}, {50, -50, 50, 40}, turned45Box},
     1},
    // The first shape lies wholly left of the master's left edge: it would vanish, so it stays.
    {"stretchLeft",
     {{0, 0, 50, 10}, {150, 0, 50, 10}, {300, 0, 200, 100, 270}, m1},
     {{0, 0, 50, 10}, {100, 0, 100, 10}, {100, -50, 350, 200}}},
    {"stretchRight",
     {{0, 0, 50, 10}, {0, 0, 200, 100, 90}, {100, 100, 100, 40}},
     {{0, 0, 200, 10}, {50, -50, 150, 200}}},
    {"stretchTop", {{0, 200, 20, 30}, m1}, {{0, 100, 20, 130}}},
    {"stretchBottom", {{0, 0, 20, 30}, m1}, {{0, 0, 20, 140}}},
    {"moveLeftToMasterRight", {{0, 0, 20, 10}, m1}, {{150, 0, 20, 10}}},
    {"moveRightToMasterLeft", {{0, 0, 20, 10}, m1}, {{80, 0, 20, 10}}},
    {"moveTopToMasterBottom", {{0, 0, 20, 10}, m1}, {{0, 140, 20, 10}}},
    {"moveBottomToMasterTop", {{0, 0, 20, 40}, {100, 200, 50, 50}}, {{0, 160, 20, 40}}},
    {"stretchLeftToMasterRight", {{200, 0, 100, 10}, m1}, {{150, 0, 150, 10}}},
    {"stretchRightToMasterLeft", {{100, 0, 200, 10}, {250, 0, 50, 50}}, {{100, 0, 150, 10}}},
    {"stretchTopToMasterBottom", {{0, 200, 20, 30}, m1}, {{0, 140, 20, 90}}},
    {"stretchBottomToMasterTop", {{0, 0, 20, 30}, m1}, {{0, 0, 20, 100}}},
    // Visual middles at 38.197, the smaller golden section of the master's height.
    {"alignVerticallyInGoldenSection",
     {{0, 0, 20, 20}, {300, 300, 10, 30}, {100, 0, 50, 100}},
     {{0, 28.1966011, 20, 20}, {300, 23.1966011, 10, 30}}},
    // First shape right of the master: shape 2 at the master's right edge, shape 1 after it.
    {"stackHorizontally",
     {{400, 0, 30, 10}, {300, 50, 20, 10}, {100, 0, 50, 10}},
     {{170, 0, 30, 10}, {150, 50, 20, 10}}},
    {"stackHorizontally", {{0, 0, 30, 10}, {300, 50, 20, 10}, {100, 0, 50, 10}}, {{50, 0, 30, 10}, {80, 50, 20, 10}}},
    {"stackVertically", {{0, 400, 10, 30}, {50, 300, 10, 20}, {0, 100, 10, 50}}, {{0, 170, 10, 30}, {50, 150, 10, 20}}},
    {"stackVertically", {{0, 0, 10, 30}, {50, 300, 10, 20}, {0, 100, 10, 50}}, {{0, 50, 10, 30}, {50, 80, 10, 20}}},
};

// Turned shapes meet at the edges of their visible boxes. Worked by hand: a frame (l, t, w, h)
// turned by a shows a box of w|cos a| + h|sin a| by w|sin a| + h|cos a| about its centre.
// The master M at 135 degrees: centre (250, 220), each side 140 x 0.7071068 = 98.9949494, so
// its box spans 200.5025253 to 299.4974747 across and 170.5025253 to 269.4974747 down.
const Frame turnedMaster{200, 200, 100, 40, 135};
// At 30 degrees: 86.6025404 + 25 = 111.6025404 wide, 50 + 43.3012702 = 93.3012702 high about (50, 25).
const Frame turned30{0, 0, 100, 50, 30};
const Box turned30Box{-5.8012702, -21.6506351, 111.6025404, 93.3012702};
// At 135 degrees: 100 x 0.7071068 = 70.7106781 square about (40, 310).
const Frame turned135{0, 300, 80, 20, 135};
const Box turned135Box{4.6446609, 274.6446609, 70.7106781, 70.7106781};

Box movedTo(const Box& b, double left, double top) { return {left, top, b.width, b.height}; }

const Case kTurnedCases[] = {
    {"alignLefts",
     {turned30, turned135, turnedMaster},
     {movedTo(turned30Box, 200.5025253, turned30Box.top), movedTo(turned135Box, 200.5025253, turned135Box.top)}},
    // 250 - 111.6025404 / 2
    {"alignCenters", {turned30, turnedMaster}, {movedTo(turned30Box, 194.1987298, turned30Box.top)}},
    // 299.4974747 - 111.6025404 and - 70.7106781
    {"alignRights",
     {turned30, turned135, turnedMaster},
     {movedTo(turned30Box, 187.8949343, turned30Box.top), movedTo(turned135Box, 228.7867966, turned135Box.top)}},
    {"alignTops",
     {turned30, turned45, turnedMaster},
     {movedTo(turned30Box, turned30Box.left, 170.5025253), movedTo(turned45Box, turned45Box.left, 170.5025253)}},
    // 220 - 93.3012702 / 2 and 220 - 70.7106781 / 2
    {"alignMiddles",
     {turned30, turned135, turnedMaster},
     {movedTo(turned30Box, turned30Box.left, 173.3493649), movedTo(turned135Box, turned135Box.left, 184.6446609)}},
    // 269.4974747 - 93.3012702
    {"alignBottoms", {turned30, turnedMaster}, {movedTo(turned30Box, turned30Box.left, 176.1962045)}},
    {"moveLeftToMasterRight", {turned30, turnedMaster}, {movedTo(turned30Box, 299.4974747, turned30Box.top)}},
    // 200.5025253 - 111.6025404
    {"moveRightToMasterLeft", {turned30, turnedMaster}, {movedTo(turned30Box, 88.8999849, turned30Box.top)}},
    {"moveTopToMasterBottom", {turned135, turnedMaster}, {movedTo(turned135Box, turned135Box.left, 269.4974747)}},
    // 170.5025253 - 93.3012702
    {"moveBottomToMasterTop", {turned30, turnedMaster}, {movedTo(turned30Box, turned30Box.left, 77.2012551)}},
    // Middles at 170.5025253 + 98.9949494 x 0.3819660 = 208.3152313.
    {"alignVerticallyInGoldenSection",
     {turned30, turned135, turnedMaster},
     {movedTo(turned30Box, turned30Box.left, 161.6645962), movedTo(turned135Box, turned135Box.left, 172.9598922)}},
    // Left of the master: it ends at the master's left edge, 200.5025253 - 212.1320344.
    {"stackHorizontally", {turned45, turnedMaster}, {movedTo(turned45Box, -11.6295090, turned45Box.top)}},
    {"stackHorizontally", {{400, 0, 100, 50, 30}, turnedMaster}, {movedTo(turned30Box, 299.4974747, turned30Box.top)}},
    {"stackVertically", {turned135, turnedMaster}, {movedTo(turned135Box, turned135Box.left, 269.4974747)}},
};

// The stretch commands leave a shape whose size the host refuses where it is: moving it
// without resizing it would move both its edges. The message comes once per command.
const Case kRefusedSizeCases[] = {
    {"stretchLeft", {turned45, {150, 0, 50, 10}, m1}, {turned45Box, {100, 0, 100, 10}}, 1},
    {"stretchRight", {turned45, {0, 0, 50, 10}, m1}, {turned45Box, {0, 0, 150, 10}}, 1},
    {"stretchTop", {turned45, {0, 200, 20, 30}, m1}, {turned45Box, {0, 100, 20, 130}}, 1},
    {"stretchBottom", {turned45, {0, 0, 20, 30}, m1}, {turned45Box, {0, 0, 20, 140}}, 1},
    {"stretchLeftToMasterRight", {turned45, {200, 0, 100, 10}, m1}, {turned45Box, {150, 0, 150, 10}}, 1},
    {"stretchRightToMasterLeft", {turned45, {100, 0, 200, 10}, {250, 0, 50, 50}}, {turned45Box, {100, 0, 150, 10}}, 1},
    {"stretchTopToMasterBottom", {turned45, {0, 200, 20, 30}, m1}, {turned45Box, {0, 140, 20, 90}}, 1},
    {"stretchBottomToMasterTop", {turned45, {0, 0, 20, 30}, m1}, {turned45Box, {0, 0, 20, 100}}, 1},
};

TEST_F(GeometryCommands, EachCommandMovesTheOtherShapesAndNeverTheMaster) {
    std::vector<const Case*> all;
    for (const Case& c : kCases) all.push_back(&c);
    for (const Case& c : kTurnedCases) all.push_back(&c);
    for (const Case& c : kRefusedSizeCases) all.push_back(&c);
    for (const Case* each : all) {
        const Case& c = *each;
        SCOPED_TRACE(c.command + std::string(" ") + std::to_string(c.shapes.size()) + " shapes, first turned " +
                     std::to_string(c.shapes.front().rotation));
        std::vector<std::shared_ptr<host::Shape>> shapes;
        for (const Frame& f : c.shapes) shapes.push_back(addShape(f));
        select(shapes);
        const Frame master = frame(*shapes.back());
        driver.messages.clear();
        driver.messageAnswers.assign(c.messages, platform::vbOK);

        tools.callByName(c.command);

        ASSERT_EQ(c.after.size() + 1, shapes.size());
        for (std::size_t i = 0; i < c.after.size(); ++i) {
            SCOPED_TRACE("shape " + std::to_string(i + 1));
            expectBox(box(*shapes[i]), c.after[i]);
        }
        const Frame now = frame(*shapes.back());
        EXPECT_EQ(now.left, master.left);
        EXPECT_EQ(now.top, master.top);
        EXPECT_EQ(now.width, master.width);
        EXPECT_EQ(now.height, master.height);
        EXPECT_EQ(now.rotation, master.rotation);
        EXPECT_EQ(driver.messages.size(), c.messages);
        EXPECT_TRUE(plorin::reportedErrors().empty());
    }
}

TEST_F(GeometryCommands, EveryRibbonAndCommandBarNameReachesItsCommand) {
    const char* names[] = {"alignLefts",
                           "alignCenters",
                           "alignRights",
                           "alignTops",
                           "alignMiddles",
                           "alignBottoms",
                           "alignWidths",
                           "alignHeights",
                           "alignWidthsAndHeights",
                           "stretchLeft",
                           "stretchRight",
                           "stretchTop",
                           "stretchBottom",
                           "moveLeftToMasterRight",
                           "moveRightToMasterLeft",
                           "moveTopToMasterBottom",
                           "moveBottomToMasterTop",
                           "stretchLeftToMasterRight",
                           "stretchRightToMasterLeft",
                           "stretchTopToMasterBottom",
                           "stretchBottomToMasterTop",
                           "stackHorizontally",
                           "stackVertically",
                           "alignVerticallyInGoldenSection"};
    for (const char* name : names) EXPECT_TRUE(plorin::EfficiencyTools::hasMethod(name)) << name;

    auto a = addShape({0, 0, 20, 10});
    auto master = addShape(m1);
    select({a, master});
    tools.callByName("ALIGNRIGHTS");
    EXPECT_EQ(a->Left(), 130);
    EXPECT_THROW(tools.callByName("alignLefts", std::string("1")), platform::NumberedError);
}

TEST_F(GeometryCommands, WithOneShapeSelectedNothingChanges) {
    auto only = addShape({5, 6, 7, 8});
    select({only});
    for (const Case& c : kCases) tools.callByName(c.command);
    const Frame f = frame(*only);
    EXPECT_EQ(f.left, 5);
    EXPECT_EQ(f.top, 6);
    EXPECT_EQ(f.width, 7);
    EXPECT_EQ(f.height, 8);
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(GeometryCommands, AModeNoWorkerHandlesLeavesEveryShape) {
    auto a = addShape({0, 0, 20, 10});
    select({a, addShape(m1)});
    tools.alignSizes(3);
    tools.alignSizes(9);
    EXPECT_EQ(a->Width(), 20);
    EXPECT_EQ(a->Height(), 10);
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(GeometryCommands, WithoutSelectedShapesTheHostsRefusalIsReportedOnce) {
    app->ActiveWindow()->selectNone();
    struct Row {
        const char* command;
        const char* location;
    } rows[] = {
        {"alignLefts", "EfficiencyTools, align"},
        {"alignWidths", "EfficiencyTools, alignSizes"},
        {"stretchTop", "EfficiencyTools, stretch"},
        {"moveLeftToMasterRight", "EfficiencyTools, moveToMaster"},
        {"stretchBottomToMasterTop", "EfficiencyTools, stretchToMaster"},
        {"alignVerticallyInGoldenSection", "EfficiencyTools, alignVerticallyInGoldenSection"},
        {"stackVertically", "EfficiencyTools, stackVertically"},
    };
    for (const auto& row : rows) {
        plorin::reportedErrors().clear();
        tools.callByName(row.command);
        ASSERT_EQ(reportedLocations(), std::vector<std::string>{row.location}) << row.command;
        EXPECT_EQ(plorin::reportedErrors()[0].error.Number, host::PP_E_INVALIDREQUEST);
    }
}

// A master so far right that its right edge lies beyond the single range: placing the first
// shape fails, which is reported once, and the command ends before the second shape.
TEST_F(GeometryCommands, AFailureEndsTheCommandWithOneReport) {
    auto a = addShape({0, 0, 20, 10});
    auto b = addShape({5, 5, 20, 10});
    auto master = addShape({3e38f, 0, 3e38f, 10});
    select({a, b, master});
    tools.moveLeftToMasterRight();
    ASSERT_EQ(reportedLocations(), std::vector<std::string>{"EfficiencyTools, setLeft"});
    EXPECT_EQ(plorin::reportedErrors()[0].error.Number, plorin::errOverflow);
    EXPECT_EQ(a->Left(), 0);
    EXPECT_EQ(b->Left(), 5);
}

TEST_F(GeometryCommands, SelectionsBeyondThe16BitRangeAreHandled) {
    std::vector<std::shared_ptr<host::Shape>> shapes;
    for (int i = 0; i < 40000; ++i) shapes.push_back(addShape({static_cast<float>(i % 500), 0, 2, 2}));
    shapes.push_back(addShape({10, 20, 5, 5}));
    select(shapes);
    tools.alignTops();
    tools.alignLefts();
    EXPECT_TRUE(plorin::reportedErrors().empty());
    EXPECT_EQ(shapes[0]->Left(), 10);
    EXPECT_EQ(shapes[39999]->Left(), 10);
    EXPECT_EQ(shapes[39999]->Top(), 20);
}

}  // namespace
