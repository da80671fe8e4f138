// The host stand-in's resize rule: a rotated shape keeps its own top-left corner in place.
#include <cmath>
#include <numbers>
#include <utility>

#include "geometry_fixture.h"

namespace {

using testing_tools::Frame;

// Where the frame's own top-left corner lies on the slide, turned with the shape.
std::pair<double, double> ownTopLeftCorner(const host::Shape& s) {
    const double a = s.Rotation() * std::numbers::pi / 180;
    const double cx = s.Left() + s.Width() / 2.0, cy = s.Top() + s.Height() / 2.0;
    const double x = -s.Width() / 2.0, y = -s.Height() / 2.0;
    return {cx + x * std::cos(a) - y * std::sin(a), cy + x * std::sin(a) + y * std::cos(a)};
}

class HostResize : public testing_tools::GeometryFixture {};

TEST_F(HostResize, AnUnrotatedShapeKeepsLeftAndTop) {
    auto s = addShape({10, 20, 200, 100});
    s->setWidth(50);
    s->setHeight(70);
    EXPECT_EQ(s->Left(), 10);
    EXPECT_EQ(s->Top(), 20);
    EXPECT_EQ(s->Width(), 50);
    EXPECT_EQ(s->Height(), 70);
}

TEST_F(HostResize, ARotatedShapeKeepsItsOwnTopLeftCorner) {
    for (float rotation : {30.0f, 90.0f, 135.0f, 180.0f, 270.0f, 300.5f}) {
        SCOPED_TRACE(rotation);
        auto s = addShape({10, 20, 200, 100, rotation});
        const auto corner = ownTopLeftCorner(*s);
        s->setWidth(150);
        EXPECT_NEAR(ownTopLeftCorner(*s).first, corner.first, 1e-4);
        EXPECT_NEAR(ownTopLeftCorner(*s).second, corner.second, 1e-4);
        s->setHeight(40);
        EXPECT_NEAR(ownTopLeftCorner(*s).first, corner.first, 1e-4);
        EXPECT_NEAR(ownTopLeftCorner(*s).second, corner.second, 1e-4);
        EXPECT_EQ(s->Width(), 150);
        EXPECT_EQ(s->Height(), 40);
    }
}

TEST_F(HostResize, AtARightAngleTheFrameMovesByExactHalves) {
    auto s = addShape({10, 20, 200, 100, 90});
    s->setWidth(150);  // the corner sits at the visible top right
    EXPECT_EQ(s->Left(), 35);
    EXPECT_EQ(s->Top(), -5);
}

}  // namespace
