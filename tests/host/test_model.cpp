// Tags, shapes and slides as an add-in sees them through the object model.
#include <cmath>

#include "host_test_support.h"

using namespace host;
using host_test::hostErrorOf;

namespace {

struct ModelTest : ::testing::Test {
    Application app{"16.0"};
    std::shared_ptr<Presentation> pres = app.Presentations().Add(false);
    std::shared_ptr<Slide> slide = pres->Slides().Add(1, 12);
};

}  // namespace

TEST(Tags, NamesIgnoreCaseAndAreKeptInUpperCase) {
    Tags tags;
    tags.Add("plorin_Id", "1");
    tags.Add("PLORIN_ID", "2");  // replaces, keeps its place
    tags.Add("other", "x");
    EXPECT_EQ(tags.Count(), 2);
    EXPECT_EQ(tags.Name(1), "PLORIN_ID");
    EXPECT_EQ(tags.Value(1), "2");
    EXPECT_EQ(tags.Item("Plorin_id"), "2");
    EXPECT_EQ(tags.Item("missing"), "");
    tags.Delete("missing");
    tags.Delete("OTHER");
    EXPECT_EQ(tags.Count(), 1);
}

TEST(Tags, OnlyAsciiLettersChangeCase) {
    Tags tags;
    tags.Add("straße_é", "v");
    EXPECT_EQ(tags.Name(1), "STRAßE_é");
    EXPECT_EQ(tags.Item("STRAßE_é"), "v");
}

TEST(Tags, OutOfRangeIndexAndEmptyNameAreRefused) {
    Tags tags;
    tags.Add("a", "1");
    EXPECT_EQ(hostErrorOf([&] { tags.Name(0); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { tags.Value(2); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { tags.Add("", "x"); }), E_FAIL);
}

TEST_F(ModelTest, RotationIsBroughtIntoZeroTo360) {
    auto shape = slide->Shapes().AddShape(msoShapeRectangle, 10, 20, 30, 40);
    const std::pair<float, float> cases[] = {
        {-90, 270}, {360, 0},    {720.5f, 0.5f}, {45, 45},
        {-0.0f, 0}, {-1e-6f, 0}, {-360, 0},      {1e9f, std::fmod(1e9f, 360.0f)},
    };
    for (auto [given, stored] : cases) {
        shape->setRotation(given);
        EXPECT_EQ(shape->Rotation(), stored) << "given " << given;
        EXPECT_FALSE(std::signbit(shape->Rotation())) << "given " << given;
    }
}

TEST_F(ModelTest, SizeChangesKeepTheCornerEvenWhenRotated) {
    auto shape = slide->Shapes().AddShape(msoShapeRectangle, 10, 20, 30, 40);
    shape->setRotation(90);
    shape->setWidth(100);
    shape->setHeight(50);
    // The rotated top-left corner stays at (45, 25) on the slide, so the frame moves.
    EXPECT_FLOAT_EQ(shape->Left(), -30);
    EXPECT_FLOAT_EQ(shape->Top(), 50);
    EXPECT_EQ(shape->Width(), 100);
    EXPECT_EQ(shape->Height(), 50);
    EXPECT_EQ(hostErrorOf([&] { shape->setLeft(NAN); }), E_FAIL);
}

TEST_F(ModelTest, FlipToggles) {
    auto shape = slide->Shapes().AddShape(msoShapeRightArrow, 0, 0, 10, 10);
    shape->Flip(0);
    EXPECT_EQ(shape->HorizontalFlip(), msoTrue);
    EXPECT_EQ(shape->VerticalFlip(), msoFalse);
    shape->Flip(0);
    shape->Flip(1);
    EXPECT_EQ(shape->HorizontalFlip(), msoFalse);
    EXPECT_EQ(shape->VerticalFlip(), msoTrue);
    EXPECT_EQ(hostErrorOf([&] { shape->Flip(2); }), E_FAIL);
}

TEST_F(ModelTest, GroupMembersKeepTheirPlacesInsideTheGroup) {
    auto a = slide->Shapes().AddShape(msoShapeRectangle, 100, 100, 50, 50);
    auto b = slide->Shapes().AddShape(msoShapeRightArrow, 200, 100, 100, 40);
    auto c = slide->Shapes().AddShape(msoShapeOval, 300, 140, 100, 60);
    auto inner = ShapeRange({a, b}).Group();
    auto group = ShapeRange({inner, c}).Group();
    ASSERT_EQ(group->Width(), 300);
    group->setLeft(0);  // moved: every level follows
    group->setTop(50);
    EXPECT_EQ(a->Left(), 0);
    EXPECT_EQ(a->Top(), 50);
    EXPECT_EQ(inner->Left(), 0);
    EXPECT_EQ(c->Left(), 200);
    EXPECT_EQ(c->Top(), 90);
    group->setWidth(150);  // resized: the members stretch with it
    EXPECT_EQ(b->Left(), 50);
    EXPECT_EQ(b->Width(), 50);
    EXPECT_EQ(c->Left(), 100);
    EXPECT_EQ(c->Width(), 50);
    group->Flip(0);  // flipped: members land mirrored and flipped
    EXPECT_EQ(a->Left(), 125);
    EXPECT_EQ(c->Left(), 0);
    EXPECT_EQ(c->HorizontalFlip(), msoTrue);
    EXPECT_EQ(group->Left(), 0);
}

TEST_F(ModelTest, ShapeIdsAreUniqueAcrossSlidesAndNotReused) {
    auto other = pres->Slides().Add(2, 12);
    auto a = slide->Shapes().AddShape(msoShapeRectangle, 0, 0, 1, 1);
    auto b = other->Shapes().AddTextbox(1, 0, 0, 1, 1);
    a->Delete();
    auto c = slide->Shapes().AddShape(msoShapeOval, 0, 0, 1, 1);
    EXPECT_NE(a->Id(), b->Id());
    EXPECT_NE(c->Id(), a->Id());
    EXPECT_NE(c->Id(), b->Id());
    EXPECT_EQ(b->Type(), msoTextBox);
    EXPECT_EQ(c->Name(), "Oval " + std::to_string(c->Id()));
}

TEST_F(ModelTest, DeletedShapeLeavesItsSlideAndRefusesChanges) {
    auto keep = slide->Shapes().AddShape(msoShapeRectangle, 0, 0, 1, 1);
    auto gone = slide->Shapes().AddShape(msoShapeOval, 0, 0, 1, 1);
    gone->Delete();
    EXPECT_EQ(slide->Shapes().Count(), 1);
    EXPECT_EQ(slide->Shapes().Item(1), keep);
    EXPECT_EQ(gone->Parent(), nullptr);
    EXPECT_EQ(gone->Width(), 1);  // still readable
    EXPECT_EQ(hostErrorOf([&] { gone->setLeft(5); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { gone->setName("x"); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { gone->Delete(); }), E_FAIL);
}

TEST_F(ModelTest, SlidesInsertAtTheirIndexWithIdsNeverReused) {
    auto second = pres->Slides().Add(2, 1);
    auto first = pres->Slides().Add(1, 2);
    EXPECT_EQ(first->SlideIndex(), 1);
    EXPECT_EQ(slide->SlideIndex(), 2);
    EXPECT_EQ(second->SlideIndex(), 3);
    EXPECT_EQ(slide->SlideID(), 256);
    EXPECT_EQ(pres->Slides().FindBySlideID(second->SlideID()), second);

    const long lastId = first->SlideID();
    first->Delete();
    EXPECT_EQ(pres->Slides().Count(), 2);
    EXPECT_EQ(first->Parent(), nullptr);
    EXPECT_EQ(slide->SlideIndex(), 1);
    EXPECT_GT(pres->Slides().Add(1, 1)->SlideID(), lastId);
    EXPECT_EQ(hostErrorOf([&] { pres->Slides().FindBySlideID(lastId); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { first->SlideIndex(); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { first->Shapes().AddShape(1, 0, 0, 1, 1); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { pres->Slides().Add(5, 1); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { pres->Slides().Item(0); }), E_FAIL);
}

TEST_F(ModelTest, ShapesOutliveTheirSlideSafely) {
    auto shape = slide->Shapes().AddShape(msoShapeRectangle, 0, 0, 1, 1);
    slide->Delete();
    slide.reset();  // the last reference to the slide
    EXPECT_EQ(shape->Parent(), nullptr);
    EXPECT_EQ(hostErrorOf([&] { shape->setTop(1); }), E_FAIL);
}

TEST_F(ModelTest, ChangesThroughTheModelClearSaved) {
    auto shape = slide->Shapes().AddShape(msoShapeRectangle, 0, 0, 1, 1);
    const std::vector<std::pair<const char*, std::function<void()>>> changes = {
        {"shape left", [&] { shape->setLeft(3); }},
        {"shape name", [&] { shape->setName("n"); }},
        {"shape flip", [&] { shape->Flip(1); }},
        {"shape tag", [&] { shape->Tags().Add("k", "v"); }},
        {"slide tag", [&] { slide->Tags().Add("k", "v"); }},
        {"presentation tag", [&] { pres->Tags().Add("k", "v"); }},
        {"tag deleted", [&] { pres->Tags().Delete("k"); }},
        {"slide added", [&] { pres->Slides().Add(1, 1); }},
        {"shape deleted", [&] { shape->Delete(); }},
        {"slide deleted", [&] { slide->Delete(); }},
    };
    for (const auto& [what, change] : changes) {
        pres->setSaved(true);
        change();
        EXPECT_FALSE(pres->Saved()) << what;
    }
    pres->setSaved(true);
    Tags copy = pres->Tags();
    copy.Add("copy", "1");  // a copy belongs to nobody
    EXPECT_TRUE(pres->Saved());
}
