// Switching two shapes by a reference point, with and without their layers.
#include "autoshape_fixture.h"

namespace {

using testing_tools::AutoShapeFixture;

class SwitchObjects : public AutoShapeFixture {
protected:
    void SetUp() override {
        AutoShapeFixture::SetUp();
        start("14.0");
        first = add(host::msoShapeRectangle, 0, 0, 100, 50);
        second = add(host::msoShapeRectangle, 300, 200, 20, 20);
    }
    // Chooses the reference point and the layer option, then presses the button.
    void choose(int reference, bool layer, const char* button = "btnOK") {
        driver.queueForm("SwitchObjectsInput", [=](platform::Form& f) {
            f.get<platform::OptionButton>("obReference(" + std::to_string(reference) + ")").click();
            f.get<platform::CheckBox>("cbZorder").setValue(layer ? 1 : 0);
            f.get<platform::CommandButton>(button).click();
        });
    }
    std::pair<float, float> at(const std::shared_ptr<host::Shape>& s) {
        return {static_cast<float>(tools.getLeft(*s).number()), static_cast<float>(tools.getTop(*s).number())};
    }
    std::shared_ptr<host::Shape> first, second;
};

TEST_F(SwitchObjects, EachReferencePointLandsWhereTheOthersWas) {
    // By column (left, centre, right) and row (top, middle, bottom): where the 100 x 50 shape
    // at (0, 0) and the 20 x 20 shape at (300, 200) go.
    const float firstLeft[] = {300, 260, 220}, firstTop[] = {200, 185, 170};
    const float secondLeft[] = {0, 40, 80}, secondTop[] = {0, 15, 30};
    for (int k = 0; k < 9; ++k) {
        first->setLeft(0), first->setTop(0), second->setLeft(300), second->setTop(200);
        select({first, second});
        choose(k, false);
        tools.SwitchObjects();
        EXPECT_EQ(at(first), (std::pair<float, float>{firstLeft[k % 3], firstTop[k / 3]})) << k;
        EXPECT_EQ(at(second), (std::pair<float, float>{secondLeft[k % 3], secondTop[k / 3]})) << k;
    }
    EXPECT_TRUE(reportedLocations().empty());
}

TEST_F(SwitchObjects, ATurnedShapeSwitchesByItsVisibleBox) {
    first->setRotation(90);  // visible box 50 x 100 at (25, -25)
    select({first, second});
    choose(0, false);
    tools.SwitchObjects();
    EXPECT_EQ(at(first), (std::pair<float, float>{300, 200}));
    EXPECT_EQ(at(second), (std::pair<float, float>{25, -25}));
}

TEST_F(SwitchObjects, LayersTradePlacesAcrossOtherShapesWhichKeepTheirOrder) {
    auto between1 = add(host::msoShapeOval, 0, 0, 5, 5);
    auto between2 = add(host::msoShapeOval, 0, 0, 5, 5);
    auto top = add(host::msoShapeOval, 0, 0, 5, 5);
    // Order: first, second, between1, between2, top. Move second up to the top of the gap.
    second->ZOrder(host::msoBringForward);
    second->ZOrder(host::msoBringForward);
    const std::vector<std::shared_ptr<host::Shape>> before = slide->Shapes().all();
    for (const auto& pair : {std::vector{first, second}, std::vector{first, second}, std::vector{second, first}}) {
        select(pair);
        choose(0, true);
        tools.SwitchObjects();
    }
    // Three switches: the two have traded places once overall.
    std::vector<std::shared_ptr<host::Shape>> expected = before;
    std::swap(expected[0], expected[3]);
    EXPECT_EQ(slide->Shapes().all(), expected);
    // Across one shape: the stacking positions are traded; without the option nothing moves.
    select({between1, first});
    choose(0, true);
    tools.SwitchObjects();
    std::swap(expected[1], expected[3]);
    EXPECT_EQ(slide->Shapes().all(), expected);
    select({between1, top});
    choose(0, false);
    tools.SwitchObjects();
    EXPECT_EQ(slide->Shapes().all(), expected);
}

TEST_F(SwitchObjects, AfterCancelTheNextSwitchWorks) {
    select({first, second});
    choose(0, true, "btnCancel");
    tools.SwitchObjects();
    EXPECT_EQ(at(first), (std::pair<float, float>{0, 0}));
    choose(0, false);
    tools.SwitchObjects();
    EXPECT_EQ(at(first), (std::pair<float, float>{300, 200}));
    // Each time a fresh dialog with the defaults: the top-left point and the layer option.
    driver.queueForm("SwitchObjectsInput", [](platform::Form& f) {
        EXPECT_TRUE(f.get<platform::OptionButton>("obReference(0)").Value());
        EXPECT_EQ(f.get<platform::CheckBox>("cbZorder").Value(), 1);
        f.get<platform::CommandButton>("btnCancel").click();
    });
    tools.SwitchObjects();
    // A selection of one shape is reported, not a crash.
    select({first});
    choose(0, false);
    tools.SwitchObjects();
    EXPECT_EQ(reportedLocations(), (std::vector<std::string>{"EfficiencyTools, switchObjects"}));
}

}  // namespace
