// A connected host with one slide in an active window, and helpers to put shapes on it,
// select them and read their visual boxes, for the geometry commands.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "addin/addin_state.h"
#include "host/host.h"
#include "tests/core/core_fixture.h"
#include "tools/efficiency_tools.h"

namespace testing_tools {

// A frame and rotation, as the host stores them.
struct Frame {
    float left, top, width, height, rotation = 0;
};

// A visual box, as the accessors read it.
struct Box {
    double left, top, width, height;
};

class GeometryFixture : public testing_core::CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        auto& host = startHost("14.0");
        plorin::state().application = &host;
        presentation = host.Presentations().Add();
        slide = presentation->Slides().Add(1, 1);
    }

    void TearDown() override {
        plorin::state().application = nullptr;
        CoreFixture::TearDown();
    }

    std::shared_ptr<host::Shape> addShape(const Frame& f) {
        auto shape = slide->Shapes().AddShape(host::msoShapeRectangle, f.left, f.top, f.width, f.height);
        if (f.rotation != 0) shape->setRotation(f.rotation);
        return shape;
    }

    // Selects the shapes in this order (the last one is the master). Written straight into
    // the selection: the host's own selectShapes is slow for very large selections.
    void select(const std::vector<std::shared_ptr<host::Shape>>& shapes) {
        auto& selection = app->ActiveWindow()->Selection();
        selection.type_ = host::ppSelectionShapes;
        selection.shapes_ = shapes;
        selection.slides_ = {slide};
    }

    Box box(host::Shape& shape) {
        return {tools.getLeft(shape).number(), tools.getTop(shape).number(), tools.getWidth(shape).number(),
                tools.getHeight(shape).number()};
    }

    static Frame frame(const host::Shape& s) { return {s.Left(), s.Top(), s.Width(), s.Height(), s.Rotation()}; }

    plorin::EfficiencyTools tools;
    std::shared_ptr<host::Presentation> presentation;
    std::shared_ptr<host::Slide> slide;
};

// The visual box of a turned shape carries the rounding of the geometry's value of pi and the
// host's single-precision storage; this is well below anything a user could see.
constexpr double kTolerance = 1e-4;

inline void expectBox(const Box& actual, const Box& expected, double tolerance = kTolerance) {
    EXPECT_NEAR(actual.left, expected.left, tolerance) << "left";
    EXPECT_NEAR(actual.top, expected.top, tolerance) << "top";
    EXPECT_NEAR(actual.width, expected.width, tolerance) << "width";
    EXPECT_NEAR(actual.height, expected.height, tolerance) << "height";
}

}  // namespace testing_tools
