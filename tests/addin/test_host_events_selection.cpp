// What a selection change makes of the selection: the public flags, and on command-bar
// hosts the enabling and pressed states of the Efficiency Tools bar; on ribbon hosts a redraw.
#include <functional>

#include "tests/addin/host_events_fixture.h"

using namespace host;
using plorin::Toggle;
using testing_core::Deck;
using testing_core::EventsFixture;

namespace {

struct Flags {
    int shapes, slides;
    bool rightAngles, sameOrientation, blockArrows, processArrows, roundedRectangles, text;
};

struct SelectionCase {
    const char* what;
    std::function<void(Deck&)> select;
    Flags expected;
};

class SelectionFlags : public EventsFixture {
protected:
    void SetUp() override {
        EventsFixture::SetUp();
        connect("14.0");
        openDeck(3);
    }
    Flags flags() {
        auto& e = events();
        return {e.shapeNumber,       e.slideNumber,         e.shapes90degrees,         e.shapesSameOrientation,
                e.shapesBlockArrows, e.shapesProcessArrows, e.shapesRoundedRectangles, e.shapesText};
    }
};

const std::vector<SelectionCase> kSelections = {
    {"one rectangle at 45 degrees",
     [](Deck& a) { a.window().selectShapes({a.shape(msoShapeRectangle, 45)}); },
     {1, 1, false, true, false, false, false, true}},
    {"two chevrons at 0 and 180 degrees",
     [](Deck& a) {
         a.window().selectShapes({a.shape(msoShapeChevron, 0), a.shape(msoShapeChevron, 180)});
     },
     {2, 1, true, false, false, true, false, true}},
    {"a pentagon and a chevron, both at 90 degrees",
     [](Deck& a) {
         a.window().selectShapes({a.shape(msoShapePentagon, 90), a.shape(msoShapeChevron, 90)});
     },
     {2, 1, true, true, false, true, false, true}},
    {"block arrows of every kind",
     [](Deck& a) {
         std::vector<std::shared_ptr<Shape>> arrows;
         for (int kind : {33, 34, 35, 36, 37, 38, 49, 50}) arrows.push_back(a.shape(kind));
         a.window().selectShapes(arrows);
     },
     {8, 1, true, true, true, false, false, true}},
    {"a block arrow and a pentagon",
     [](Deck& a) {
         a.window().selectShapes({a.shape(msoShapeRightArrow), a.shape(msoShapePentagon)});
     },
     {2, 1, true, true, false, false, false, true}},
    {"rounded rectangles, one flipped",
     [](Deck& a) {
         auto flipped = a.shape(msoShapeRoundedRectangle);
         flipped->Flip(0);
         a.window().selectShapes({a.shape(msoShapeRoundedRectangle), flipped});
     },
     {2, 1, true, false, false, false, true, true}},
    {"rotations that round to right angles (89.5 and 270.5)",
     [](Deck& a) {
         a.window().selectShapes({a.shape(msoShapeRectangle, 89.5f), a.shape(msoShapeRectangle, 270.5f)});
     },
     {2, 1, true, false, false, false, false, true}},
    {"a rotation of 0.5 rounds to 0, one of 1.5 to 2",
     [](Deck& a) {
         a.window().selectShapes({a.shape(msoShapeRectangle, 0.5f), a.shape(msoShapeRectangle, 1.5f)});
     },
     {2, 1, false, false, false, false, false, true}},
    {"a text box and a placeholder",
     [](Deck& a) {
         auto box = a.slide()->Shapes().AddTextbox(1, 0, 0, 50, 20);
         auto title = a.slide()->Shapes().addOfType(msoPlaceholder, msoShapeRectangle, 0, 0, 600, 80);
         a.window().selectShapes({box, title});
     },
     {2, 1, true, true, false, false, false, true}},
    {"text selected in a placeholder",
     [](Deck& a) {
         auto title = a.slide()->Shapes().addOfType(msoPlaceholder, msoShapeRectangle, 0, 0, 600, 80);
         title->TextFrame().TextRange().setText("Quarterly review");
         a.window().selectText(title, 1, 9);
     },
     {1, 1, true, true, false, false, false, true}},
    {"two slides in the slide sorter",
     [](Deck& a) {
         a.window().setViewType(ppViewSlideSorter);
         a.window().selectSlides({a.slide(1), a.slide(3)});
     },
     {0, 2, false, false, false, false, false, false}},
    {"a group",
     [](Deck& a) {
         auto group = ShapeRange({a.shape(msoShapeRectangle), a.shape(msoShapeOval)}).Group();
         a.window().selectShapes({group});
     },
     {1, 1, true, true, false, false, false, false}},
    {"a table",
     [](Deck& a) { a.window().selectShapes({a.slide()->Shapes().AddTable(2, 3, 0, 0, 300, 100)}); },
     {1, 1, true, true, false, false, false, false}},
    {"a placeholder holding a table",
     [](Deck& a) {
         auto holder = a.slide()->Shapes().addOfType(msoPlaceholder, msoShapeRectangle, 0, 0, 300, 100);
         holder->setHasTable(true);
         a.window().selectShapes({holder});
     },
     {1, 1, true, true, false, false, false, false}},
    // The slide in view is still the selection's slide; in the sorter there is none.
    {"nothing", [](Deck& a) { a.window().selectNone(); }, {0, 1, false, false, false, false, false, false}},
    {"nothing in the slide sorter",
     [](Deck& a) {
         a.window().setViewType(ppViewSlideSorter);
         a.window().selectNone();
     },
     {0, 0, false, false, false, false, false, false}},
};

}  // namespace

TEST_F(SelectionFlags, EachExampleSelectionGivesItsFlags) {
    for (const auto& c : kSelections) {
        SCOPED_TRACE(c.what);
        // Flags left from the previous case must not survive.
        events().shapes90degrees = events().shapesText = true;
        events().shapeNumber = 99;
        window().setViewType(ppViewNormal);
        Deck deck{*app};
        c.select(deck);
        const Flags got = flags();
        const Flags& want = c.expected;
        EXPECT_EQ(got.shapes, want.shapes);
        EXPECT_EQ(got.slides, want.slides);
        EXPECT_EQ(got.rightAngles, want.rightAngles);
        EXPECT_EQ(got.sameOrientation, want.sameOrientation);
        EXPECT_EQ(got.blockArrows, want.blockArrows);
        EXPECT_EQ(got.processArrows, want.processArrows);
        EXPECT_EQ(got.roundedRectangles, want.roundedRectangles);
        EXPECT_EQ(got.text, want.text);
    }
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(SelectionFlags, NoWindowLeavesEverythingZero) {
    app->ActivePresentation()->Close();
    events().shapeNumber = 3;
    events().shapesText = true;
    events().checkSelection();
    EXPECT_EQ(events().shapeNumber, 0);
    EXPECT_FALSE(events().shapesText);
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

// ---- Ribbon hosts ------------------------------------------------------------------------

class RibbonHostSelection : public EventsFixture, public ::testing::WithParamInterface<const char*> {};

TEST_P(RibbonHostSelection, EverySelectionChangeRedrawsTheRibbonAndTouchesNoCommandBar) {
    connect(GetParam());
    // A bar with every caption exists, all enabled: nothing may switch it.
    plorin::pptControls bars;
    bars.setPowerPointApp(app.get());
    bars.CreateControls();
    openDeck(2);
    auto a = addShape(msoShapeChevron);
    auto b = addShape(msoShapeChevron);
    ribbon.invalidations = 0;
    window().selectShapes({a, b});
    window().selectText(a, 1, 0);
    window().selectNone();
    EXPECT_EQ(ribbon.invalidations, 3);
    events().toggleOff();
    events().toggle();
    EXPECT_EQ(ribbon.invalidations, 4);
    for (std::size_t i = 0; i < plorin::toggleGroups().size(); ++i) EXPECT_TRUE(enabled(static_cast<Toggle>(i)));
    EXPECT_EQ(button(plorin::kFitButton).State(), msoButtonUp);
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

// Later hosts get the ribbon too, so they are redrawn like the ribbon hosts.
INSTANTIATE_TEST_SUITE_P(Hosts, RibbonHostSelection, ::testing::Values("12.0", "14.0", "16.0"));

TEST_F(SelectionFlags, WithoutAKnownRibbonASelectionChangeOnlyUpdatesTheFlags) {
    plorin::state().ribbon = nullptr;
    window().selectShapes({addShape(msoShapeRectangle)});
    EXPECT_EQ(events().shapeNumber, 1);
    EXPECT_TRUE(plorin::reportedErrors().empty());
}
