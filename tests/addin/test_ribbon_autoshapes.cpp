// The Shapes group's buttons reach the AutoShape commands: each click shows its command's
// dialog, or changes the selected shapes.
#include <gtest/gtest.h>

#include "addin/addin_state.h"
#include "addin/connect.h"
#include "host/autoshape.h"
#include "tests/core/core_fixture.h"
#include "tools/efficiency_tools.h"
#include "tools/shape_dialogs.h"

namespace {

class ShapesGroup : public testing_core::CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        startHost("14.0");
        addIn.OnConnection(*app, 0, nullptr);
        auto p = app->Presentations().Add(true);
        slide = p->Slides().Add(1, 12);
        app->ActiveWindow()->showSlide(slide);
        driver.onUnscriptedForm = [](platform::Form& f) { f.Hide(); };
        driver.onUnansweredMessage = [](const platform::MessageBoxCall&) { return platform::vbOK; };
    }
    void TearDown() override {
        addIn.OnDisconnection(0);
        CoreFixture::TearDown();
    }
    void click(int n) { addIn.onAction({"vn_" + std::to_string(n), ""}); }
    std::shared_ptr<host::Shape> add(int type, float width) { return slide->Shapes().AddShape(type, 0, 0, width, 50); }

    plorin::Connect addIn;
    std::shared_ptr<host::Slide> slide;
};

TEST_F(ShapesGroup, DialogCommandsOpenTheirDialogs) {
    auto a = add(host::msoShapeRoundedRectangle, 100), b = add(host::msoShapeRoundedRectangle, 50);
    app->ActiveWindow()->selectShapes({a, b});
    for (int n : {1081, 1082, 1109}) click(n);
    EXPECT_EQ(driver.modalForms,
              (std::vector<std::string>{"roundedRectanglesInput", "SwitchObjectsInput", "AutoShapeAdjustments"}));
    auto arrow = add(host::msoShapeRightArrow, 100);
    app->ActiveWindow()->selectShapes({arrow});
    click(1076);
    ASSERT_NE(plorin::addInState().tools->blockArrowsDialog(), nullptr);
    EXPECT_TRUE(plorin::addInState().tools->blockArrowsDialog()->Visible());
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(ShapesGroup, OneClickCommandsChangeTheShapes) {
    auto a = add(host::msoShapeRoundedRectangle, 100), b = add(host::msoShapeRoundedRectangle, 200);
    b->Adjustments().setItem(1, 0.2f);
    app->ActiveWindow()->selectShapes({a, b});
    for (int n : {1078, 1080}) {
        a->Adjustments().setItem(1, 0.5f);
        click(n);
        EXPECT_FLOAT_EQ(a->Adjustments().Item(1), 0.2f) << n;
    }
    auto c1 = slide->Shapes().AddShape(host::msoShapeChevron, 0, 0, 100, 50);
    auto c2 = slide->Shapes().AddShape(host::msoShapeChevron, 200, 30, 100, 50);
    c2->Adjustments().setItem(1, 0.25f);
    app->ActiveWindow()->selectShapes({c1, c2});
    for (int n : {1071, 1073}) {
        c1->Adjustments().setItem(1, 0.5f);
        click(n);
        EXPECT_FLOAT_EQ(c1->Adjustments().Item(1), 0.25f) << n;
    }
    click(1074);
    EXPECT_FLOAT_EQ(c1->Width(), 212.5f);  // 200 - 0 + 0.25 x 50
    EXPECT_FLOAT_EQ(c1->Top(), 30);
    auto pentagon = slide->Shapes().AddShape(host::msoShapePentagon, 0, 0, 100, 50);
    app->ActiveWindow()->selectShapes({pentagon, c1});
    click(1075);
    EXPECT_EQ(driver.messages.size(), 1u);  // nothing appropriate: no header box
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

}  // namespace
