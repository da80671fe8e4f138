// Adjustments, freeform nodes and the stacking order, as the add-in relies on them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/autoshape.h"
#include "host/clipboard.h"
#include "host/host.h"

namespace {

class AutoShapeHost : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        app = std::make_unique<host::Application>(GetParam());
        presentation = app->Presentations().Add();
        slide = presentation->Slides().Add(1, 1);
    }
    std::shared_ptr<host::Shape> add(int type) { return slide->Shapes().AddShape(type, 10, 20, 200, 100); }

    long errorOf(const std::function<void()>& f) {
        try {
            f();
        } catch (const host::HostError& e) {
            return e.number();
        }
        return 0;
    }

    std::unique_ptr<host::Application> app;
    std::shared_ptr<host::Presentation> presentation;
    std::shared_ptr<host::Slide> slide;
};

TEST_P(AutoShapeHost, EachTypeHasItsOwnNumberOfAdjustments) {
    struct Expect {
        int type;
        int count;
    };
    for (const Expect& e : {Expect{host::msoShapeRectangle, 0},
                            {host::msoShapeOval, 0},
                            {host::msoShapeRoundedRectangle, 1},
                            {host::msoShapePentagon, 1},
                            {host::msoShapeChevron, 1},
                            {host::msoShapeRightArrow, 2},
                            {host::msoShapeUpDownArrow, 2},
                            {host::msoShapeStripedRightArrow, 2},
                            {host::msoShapeNotchedRightArrow, 2},
                            {109, 4}}) {
        auto s = add(e.type);
        EXPECT_EQ(s->Adjustments().Count(), e.count) << "type " << e.type;
        // One past the end, and 0, are invalid arguments: number 5, the value the add-in tests for.
        EXPECT_EQ(errorOf([&] { s->Adjustments().Item(e.count + 1); }), host::kInvalidArgument);
        EXPECT_EQ(errorOf([&] { s->Adjustments().setItem(0, 0.5f); }), host::kInvalidArgument);
    }
    auto picture = slide->Shapes().addOfType(host::msoPicture, host::msoShapeRectangle, 0, 0, 10, 10);
    EXPECT_EQ(picture->Adjustments().Count(), 0);

    // Each family starts an arrow as it means its values: a head a quarter of the frame long
    // and a shaft half as thick before 12.0, head and shaft at half from 12.0 on.
    const bool older = GetParam() == "11.0";
    auto arrow = add(host::msoShapeRightArrow);
    EXPECT_FLOAT_EQ(arrow->Adjustments().Item(1), older ? 0.75f : 0.5f);
    EXPECT_FLOAT_EQ(arrow->Adjustments().Item(2), older ? 0.25f : 0.5f);
    EXPECT_FLOAT_EQ(add(host::msoShapeLeftRightArrow)->Adjustments().Item(1), older ? 0.2f : 0.5f);
    EXPECT_FLOAT_EQ(add(host::msoShapePentagon)->Adjustments().Item(1), older ? 0.75f : 0.5f);
    EXPECT_FLOAT_EQ(add(host::msoShapeRoundedRectangle)->Adjustments().Item(1), 0.16667f);
}

TEST_P(AutoShapeHost, AdjustmentsAreStoredAsSinglesAndMarkTheDeck) {
    auto s = add(host::msoShapeRoundedRectangle);
    presentation->setSaved(true);
    s->Adjustments().setItem(1, 0.25f);
    EXPECT_FLOAT_EQ(s->Adjustments().Item(1), 0.25f);
    EXPECT_FALSE(presentation->Saved());
    EXPECT_EQ(errorOf([&] { s->Adjustments().setItem(1, NAN); }), host::E_FAIL);
    EXPECT_FLOAT_EQ(s->Adjustments().Item(1), 0.25f);
    // A new AutoShape type brings its own values.
    s->setAutoShapeType(host::msoShapeRightArrow);
    EXPECT_EQ(s->Adjustments().Count(), 2);
    // A copy keeps the values and is not tied to the original.
    s->Adjustments().setItem(2, 0.75f);
    host::ShapeRange({s}).Copy();
    auto pasted = slide->Shapes().Paste().Item(1);
    s->Adjustments().setItem(2, 0.1f);
    EXPECT_FLOAT_EQ(pasted->Adjustments().Item(2), 0.75f);
    s->Delete();
    EXPECT_EQ(errorOf([&] { s->Adjustments().Item(1); }), host::E_FAIL);
}

TEST_P(AutoShapeHost, AClosedPolylineKeepsItsClosingNodeFromVersion12On) {
    auto box = slide->Shapes().AddPolyline({{10, 10}, {110, 10}, {110, 40}, {10, 40}, {10, 10}});
    EXPECT_EQ(box->Type(), host::msoFreeform);
    EXPECT_EQ(box->AutoShapeType(), host::msoShapeNotPrimitive);
    const bool ribbonHost = GetParam() == "14.0";
    EXPECT_EQ(box->Nodes().Count(), ribbonHost ? 5 : 4);
    EXPECT_FLOAT_EQ(box->Left(), 10);
    EXPECT_FLOAT_EQ(box->Width(), 100);
    EXPECT_FLOAT_EQ(box->Height(), 30);
    // Other shapes have no nodes; a freeform has no adjustments.
    EXPECT_EQ(add(host::msoShapeRectangle)->Nodes().Count(), 0);
    EXPECT_EQ(box->Adjustments().Count(), 0);
    EXPECT_EQ(errorOf([&] { box->Nodes().Item(6); }), host::kInvalidArgument);
    EXPECT_EQ(errorOf([&] { slide->Shapes().AddPolyline({{1, 1}}); }), host::E_FAIL);
}

TEST_P(AutoShapeHost, MovingANodeReframesTheFreeformAndTheNodesFollowItsFrame) {
    auto box = slide->Shapes().AddPolyline({{10, 10}, {110, 10}, {110, 40}, {10, 40}});
    box->Nodes().SetPosition(3, 150, 60);
    EXPECT_FLOAT_EQ(box->Width(), 140);
    EXPECT_FLOAT_EQ(box->Height(), 50);
    EXPECT_EQ(box->Nodes().Item(3).Points(), (std::pair<float, float>{150, 60}));
    EXPECT_EQ(box->Nodes().Item(4).Points(), (std::pair<float, float>{10, 40}));
    // The outline moves with its frame.
    box->setLeft(20);
    EXPECT_EQ(box->Nodes().Item(1).Points(), (std::pair<float, float>{20, 10}));
    EXPECT_EQ(errorOf([&] { box->Nodes().SetPosition(1, INFINITY, 0); }), host::E_FAIL);
}

TEST_P(AutoShapeHost, AdjustmentsAndNodesSurviveSavingAndOpening) {
    auto rounded = add(host::msoShapeRoundedRectangle);
    rounded->Adjustments().setItem(1, 0.123f);
    auto untouched = add(host::msoShapeRightArrow);
    auto box = slide->Shapes().AddPolyline({{10, 10}, {110, 10}, {110, 40}, {10, 40}});
    box->Nodes().SetPosition(3, 150, 60);
    const std::string file = ::testing::TempDir() + "autoshape-" + GetParam() + ".ppt";
    presentation->SaveAs(file);
    auto reopened = app->Presentations().Open(file);
    auto& shapes = reopened->Slides().Item(1)->Shapes();
    EXPECT_FLOAT_EQ(shapes.Item(1)->Adjustments().Item(1), 0.123f);
    EXPECT_EQ(shapes.Item(2)->Adjustments().Count(), 2);
    EXPECT_EQ(shapes.Item(3)->Nodes().Count(), 4);
    EXPECT_EQ(shapes.Item(3)->Nodes().Item(3).Points(), (std::pair<float, float>{150, 60}));
    std::remove(file.c_str());
}

TEST_P(AutoShapeHost, SingleStepsMoveOneLayerAndStopAtTheEnds) {
    auto a = add(1), b = add(1), c = add(1);
    EXPECT_EQ(a->ZOrderPosition(), 1);
    EXPECT_EQ(c->ZOrderPosition(), 3);
    a->ZOrder(host::msoBringForward);
    EXPECT_EQ(a->ZOrderPosition(), 2);
    EXPECT_EQ(b->ZOrderPosition(), 1);
    c->ZOrder(host::msoBringForward);  // already on top
    EXPECT_EQ(c->ZOrderPosition(), 3);
    c->ZOrder(host::msoSendToBack);
    EXPECT_EQ(slide->Shapes().Item(1), c);
    b->ZOrder(host::msoSendBackward);
    EXPECT_EQ(b->ZOrderPosition(), 1);
    a->ZOrder(host::msoBringToFront);
    EXPECT_EQ(slide->Shapes().Item(3), a);
    EXPECT_EQ(errorOf([&] { a->ZOrder(7); }), host::E_FAIL);
    // Group members have no place of their own in the slide's order.
    auto group = host::ShapeRange({b, c}).Group();
    EXPECT_EQ(errorOf([&] { b->ZOrderPosition(); }), host::E_FAIL);
}

TEST_P(AutoShapeHost, ARangeReadsOneAutoShapeTypeOrMixed) {
    auto a = add(host::msoShapeRoundedRectangle), b = add(host::msoShapeRoundedRectangle), c = add(host::msoShapeOval);
    EXPECT_EQ(host::ShapeRange({a, b}).AutoShapeType(), host::msoShapeRoundedRectangle);
    EXPECT_EQ(host::ShapeRange({a, c}).AutoShapeType(), host::msoTriStateMixed);
}

INSTANTIATE_TEST_SUITE_P(BothFamilies, AutoShapeHost, ::testing::Values("11.0", "14.0"));

}  // namespace
