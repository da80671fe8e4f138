// The visual box of rotated shapes and the accessors that read and set it.
#include <cmath>
#include <string>

#include "geometry_fixture.h"
#include "platform/ui_driver.h"
#include "platform/ui_forms.h"

namespace {

using testing_tools::Box;
using testing_tools::expectBox;
using testing_tools::Frame;

class ShapeMetrics : public testing_tools::GeometryFixture {};

TEST_F(ShapeMetrics, TheVisualBoxIsTheAxisParallelBoxAroundTheTurnedFrame) {
    const double d = 150 * std::sqrt(2.0);  // (200 + 100) / sqrt 2, the extents at 45 + 90 degrees
    struct Row {
        float rotation;
        Frame frame;
        Box expected;
    } rows[] = {
        {0, {0, 0, 200, 100}, {0, 0, 200, 100}},
        {30, {0, 0, 100, 50}, {50 - 111.6025404 / 2, 25 - 93.3012702 / 2, 111.6025404, 93.3012702}},
        {90, {0, 0, 200, 100}, {50, -50, 100, 200}},
        {135, {0, 0, 200, 100}, {100 - d / 2, 50 - d / 2, d, d}},
        {135,
         {0, 0, 100, 100},
         {50 - 100 / std::sqrt(2.0), 50 - 100 / std::sqrt(2.0), 100 * std::sqrt(2.0), 100 * std::sqrt(2.0)}},
        {180, {0, 0, 200, 100}, {0, 0, 200, 100}},
        {270, {0, 0, 200, 100}, {50, -50, 100, 200}},
        {360, {0, 0, 200, 100}, {0, 0, 200, 100}},
        {-90, {0, 0, 200, 100}, {50, -50, 100, 200}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE("rotation " + std::to_string(row.rotation));
        Frame f = row.frame;
        f.rotation = row.rotation;
        auto shape = addShape(f);
        expectBox(box(*shape), row.expected);
    }
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(ShapeMetrics, TheHostReadsRotationsBackWithinOneTurn) {
    auto shape = addShape({0, 0, 10, 10});
    for (auto [set, read] : {std::pair{360.0f, 0.0f}, {-90.0f, 270.0f}, {450.0f, 90.0f}, {-0.0f, 0.0f}}) {
        shape->setRotation(set);
        EXPECT_EQ(shape->Rotation(), read) << set;
    }
}

TEST_F(ShapeMetrics, SetLeftAndSetTopPlaceTheVisibleEdgesAndKeepTheSize) {
    for (float rotation : {0.0f, 30.0f, 90.0f, 135.0f, 200.0f}) {
        SCOPED_TRACE(rotation);
        auto shape = addShape({10, 20, 200, 100, rotation});
        const Box before = box(*shape);
        tools.setLeft(*shape, 123.5);
        tools.setTop(*shape, -40.25);
        expectBox(box(*shape), {123.5, -40.25, before.width, before.height});
        EXPECT_EQ(shape->Width(), 200);
        EXPECT_EQ(shape->Height(), 100);
    }
}

// Sizing at a right angle keeps the visible left and top edges where they were.
TEST_F(ShapeMetrics, SizingAtARightAngleKeepsTheVisibleLeftAndTopEdges) {
    for (float rotation : {0.0f, 90.0f, 180.0f, 270.0f}) {
        SCOPED_TRACE(rotation);
        auto shape = addShape({10, 20, 200, 100, rotation});
        const Box before = box(*shape);
        tools.setWidth(*shape, 150);
        expectBox(box(*shape), {before.left, before.top, 150, before.height});
        tools.setHeight(*shape, 60);
        expectBox(box(*shape), {before.left, before.top, 150, 60});
    }
    EXPECT_TRUE(driver.messages.empty());
}

TEST_F(ShapeMetrics, AtNinetyDegreesTheVisibleWidthIsTheFramesHeight) {
    auto shape = addShape({0, 0, 200, 100, 90});
    tools.setWidth(*shape, 80);
    EXPECT_EQ(shape->Height(), 80);
    EXPECT_EQ(shape->Width(), 200);
    tools.setHeight(*shape, 120);
    EXPECT_EQ(shape->Width(), 120);
}

TEST_F(ShapeMetrics, SizingAtAnyOtherAngleShowsAMessageAndChangesNothing) {
    struct Row {
        float rotation;
        bool width;
        const char* text;
    } rows[] = {
        {45, true, "Shape width can only be set if shape is rotated by a multiple of 90 degrees."},
        {89.5f, false, "Shape height can only be set if shape is rotated by a multiple of 90 degrees."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.rotation);
        driver.messages.clear();
        driver.messageAnswers = {platform::vbOK};
        auto shape = addShape({10, 20, 200, 100, row.rotation});
        if (row.width) tools.setWidth(*shape, 50);
        else tools.setHeight(*shape, 50);
        ASSERT_EQ(driver.messages.size(), 1u);
        EXPECT_EQ(driver.messages[0].text, row.text);
        EXPECT_EQ(driver.messages[0].style, platform::vbCritical);
        EXPECT_EQ(driver.messages[0].title, "Varnotel for presentations");
        const Frame after = frame(*shape);
        EXPECT_EQ(after.left, 10);
        EXPECT_EQ(after.top, 20);
        EXPECT_EQ(after.width, 200);
        EXPECT_EQ(after.height, 100);
    }
}

TEST_F(ShapeMetrics, AValueBeyondTheSingleRangeIsReportedWithTheAccessorsLocation) {
    auto shape = addShape({10, 20, 200, 100});
    tools.setLeft(*shape, 1e39);
    tools.setWidth(*shape, -1e40);
    ASSERT_EQ(reportedLocations(), (std::vector<std::string>{"EfficiencyTools, setLeft", "EfficiencyTools, setWidth"}));
    EXPECT_EQ(plorin::reportedErrors()[0].error.Number, plorin::errOverflow);
    EXPECT_EQ(shape->Left(), 10);
    EXPECT_EQ(shape->Width(), 200);
}

TEST_F(ShapeMetrics, AMessageThatCannotBeShownIsReportedAndTheShapeKept) {
    auto shape = addShape({0, 0, 10, 10, 45});
    tools.setWidth(*shape, 5);  // nobody answers the message box
    EXPECT_EQ(reportedLocations(), std::vector<std::string>{"EfficiencyTools, setWidth"});
    EXPECT_EQ(shape->Width(), 10);
}

}  // namespace
