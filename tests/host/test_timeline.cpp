// Going to a slide, the placeholders of notes pages, and a slide's animation timeline.
#include "host/timeline.h"
#include "host_test_support.h"

using namespace host;
using host_test::hostErrorOf;

namespace {

struct TimelineTest : ::testing::Test {
    Application app{"14.0"};
    std::shared_ptr<Presentation> deck = app.Presentations().Add(true);
    std::shared_ptr<Slide> s1 = deck->Slides().Add(1, 12);
    std::shared_ptr<Slide> s2 = deck->Slides().Add(2, 12);
    DocumentWindow& window() { return *app.ActiveWindow(); }
};

TEST_F(TimelineTest, GotoSlideShowsTheSlideAndRefusesAnIndexOutOfRange) {
    window().View().GotoSlide(2);
    EXPECT_EQ(window().currentSlide(), s2);
    EXPECT_EQ(hostErrorOf([&] { window().View().GotoSlide(3); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { window().View().GotoSlide(0); }), E_FAIL);
    EXPECT_EQ(window().currentSlide(), s2);
}

TEST_F(TimelineTest, NotesPagesListTheirBodyPlaceholderAndCopiesKeepTheKind) {
    auto page = s1->NotesPage().Item(1);
    const ShapeRange placeholders = page->Shapes().Placeholders();
    ASSERT_EQ(placeholders.Count(), 1);
    EXPECT_EQ(placeholders.Item(1)->PlaceholderFormatType(), 2);
    auto plain = s1->Shapes().AddShape(msoShapeRectangle, 0, 0, 10, 10);
    EXPECT_EQ(hostErrorOf([&] { (void)plain->PlaceholderFormatType(); }), E_FAIL);
    EXPECT_EQ(s1->Shapes().Placeholders().Count(), 0);
    auto footer = page->Shapes().addOfType(msoPlaceholder, msoShapeRectangle, 0, 0, 10, 10);
    footer->setPlaceholderType(15);
    auto copy = footer->deepCopy(nullptr, [](long id) { return id + 1000; });
    EXPECT_EQ(copy->PlaceholderFormatType(), 15);
}

TEST_F(TimelineTest, EffectsTakeOnlyShapesOfTheirSlideAndKeepTheirBehaviours) {
    auto mine = s1->Shapes().AddShape(msoShapeOval, 0, 0, 10, 10);
    auto other = s2->Shapes().AddShape(msoShapeOval, 0, 0, 10, 10);
    Sequence& sequence = s1->TimeLine().MainSequence();
    EXPECT_EQ(hostErrorOf([&] { sequence.AddEffect(other, 120); }), E_INVALIDARG);
    EXPECT_EQ(hostErrorOf([&] { sequence.AddEffect(mine, 120, 1); }), E_INVALIDARG);
    EXPECT_EQ(hostErrorOf([&] { sequence.AddEffect(mine, 120, 0, 1, 2); }), E_INVALIDARG);
    EXPECT_EQ(sequence.Count(), 0);

    auto first = sequence.AddEffect(mine, 120);
    auto before = sequence.AddEffect(mine, 1, 0, 1, 1);
    EXPECT_EQ(sequence.Item(1), before);
    EXPECT_EQ(sequence.Item(2), first);
    ASSERT_EQ(first->BehaviorCount(), 1);
    auto original = first->Behavior(1);
    auto added = first->AddBehavior(msoAnimTypeMotion, -1);
    added->MotionEffect().Path = "M 0 0 L 1 0";
    original->Delete();
    ASSERT_EQ(first->BehaviorCount(), 1);
    EXPECT_EQ(first->Behavior(1)->MotionEffect().Path, "M 0 0 L 1 0");
    EXPECT_EQ(hostErrorOf([&] { original->Delete(); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { first->AddBehavior(7); }), E_INVALIDARG);
    EXPECT_EQ(hostErrorOf([&] { (void)first->Behavior(2); }), E_FAIL);
}

}  // namespace
