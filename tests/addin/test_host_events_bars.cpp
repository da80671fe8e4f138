// The Efficiency Tools bar after a selection change on a command-bar host: which controls
// are enabled for each view and selection, the pressed state of the two text buttons, and
// what a missing control costs.
#include <functional>
#include <set>

#include "tests/addin/host_events_fixture.h"

using namespace host;
using plorin::Toggle;
using testing_core::Deck;
using testing_core::EventsFixture;

namespace {

struct EnablingCase {
    const char* what;
    int view;
    std::function<void(Deck&)> select;
    std::set<Toggle> enabled;  // every other group is disabled
};

const std::set<Toggle> kTwoProcessArrows = {
    Toggle::AlignAngles,   Toggle::AutoShapeText, Toggle::PentagonHeader,  Toggle::ProcessChain,
    Toggle::SwitchObjects, Toggle::Shape,         Toggle::TwoOrMoreShapes, Toggle::TwoOrMoreShapes90degr};

const std::vector<EnablingCase> kEnabling = {
    {"nothing selected", ppViewNormal, [](Deck& d) { d.window().selectNone(); }, {}},
    {"slides in the slide sorter",
     ppViewSlideSorter,
     [](Deck& d) {
         d.window().selectSlides({d.slide(1), d.slide(2)});
     },
     {Toggle::Slides}},
    {"slides in the outline", ppViewOutline, [](Deck& d) { d.window().selectSlides({d.slide(2)}); }, {Toggle::Slides}},
    {"slides in the thumbnails",
     ppViewThumbnails,
     [](Deck& d) { d.window().selectSlides({d.slide(2)}); },
     {Toggle::Slides}},
    {"slides in the slide view", ppViewSlide, [](Deck& d) { d.window().selectSlides({d.slide(2)}); }, {}},
    {"one rectangle",
     ppViewNormal,
     [](Deck& d) { d.window().selectShapes({d.shape(msoShapeRectangle)}); },
     {Toggle::Shape, Toggle::AutoShapeText}},
    {"two chevrons side by side", ppViewNormal,
     [](Deck& d) {
         d.window().selectShapes({d.shape(msoShapeChevron), d.shape(msoShapeChevron)});
     },
     kTwoProcessArrows},
    {"the same on the slide master", ppViewSlideMaster,
     [](Deck& d) {
         d.window().selectShapes({d.shape(msoShapePentagon), d.shape(msoShapeChevron)});
     },
     kTwoProcessArrows},
    {"the same on the handout master", ppViewHandoutMaster,
     [](Deck& d) {
         d.window().selectShapes({d.shape(msoShapePentagon), d.shape(msoShapeChevron)});
     },
     kTwoProcessArrows},
    {"a chevron and a pentagon turned apart",
     ppViewSlide,
     [](Deck& d) {
         d.window().selectShapes({d.shape(msoShapeChevron, 90), d.shape(msoShapePentagon)});
     },
     {Toggle::AlignAngles, Toggle::AutoShapeText, Toggle::PentagonHeader, Toggle::SwitchObjects, Toggle::Shape,
      Toggle::TwoOrMoreShapes, Toggle::TwoOrMoreShapes90degr}},
    {"two chevrons with a turned master",
     ppViewSlide,
     [](Deck& d) {
         d.window().selectShapes({d.shape(msoShapeChevron), d.shape(msoShapeChevron, 45)});
     },
     {Toggle::AlignAngles, Toggle::AutoShapeText, Toggle::PentagonHeader, Toggle::SwitchObjects, Toggle::Shape,
      Toggle::TwoOrMoreShapes, Toggle::TwoOrMoreShapes90degr}},
    {"three rectangles, the first turned",
     ppViewSlide,
     [](Deck& d) {
         d.window().selectShapes(
             {d.shape(msoShapeRectangle, 30), d.shape(msoShapeRectangle), d.shape(msoShapeRectangle)});
     },
     {Toggle::AutoShapeText, Toggle::Shape, Toggle::TwoOrMoreShapes}},
    {"a picture and a rectangle",
     ppViewSlide,
     [](Deck& d) {
         auto picture = d.slide()->Shapes().addOfType(msoPicture, msoShapeRectangle, 0, 0, 10, 10);
         d.window().selectShapes({picture, d.shape(msoShapeRectangle)});
     },
     {Toggle::PentagonHeader, Toggle::SwitchObjects, Toggle::Shape, Toggle::TwoOrMoreShapes,
      Toggle::TwoOrMoreShapes90degr}},
    {"text in a placeholder",
     ppViewNormal,
     [](Deck& d) { d.window().selectText(d.placeholder("Agenda"), 2, 3); },
     {Toggle::Shape, Toggle::AutoShapeText}},
    {"text in a table",
     ppViewNormal,
     [](Deck& d) { d.window().selectText(d.slide()->Shapes().AddTable(2, 2, 0, 0, 100, 100), 1, 0); },
     {Toggle::Shape}},
    {"shapes on the notes page",
     ppViewNotesPage,
     [](Deck& d) {
         d.window().selectShapes({d.shape(msoShapeChevron), d.shape(msoShapeChevron)});
     },
     {}},
    {"text in the outline", ppViewOutline, [](Deck& d) { d.window().selectText(d.placeholder("Title"), 1, 5); }, {}},
};

class CommandBarEnabling : public EventsFixture {
protected:
    void SetUp() override {
        EventsFixture::SetUp();
        connect("11.0");
        openDeck(2);
    }
};

}  // namespace

TEST_F(CommandBarEnabling, ViewAndSelectionDecideWhichControlsAreEnabled) {
    for (const auto& c : kEnabling) {
        SCOPED_TRACE(c.what);
        // Each group starts opposite to what it should become.
        for (std::size_t i = 0; i < plorin::toggleGroups().size(); ++i) {
            const auto which = static_cast<Toggle>(i);
            setEnabled(which, c.enabled.count(which) == 0);
        }
        window().setViewType(c.view);
        Deck deck{*app};
        c.select(deck);
        for (std::size_t i = 0; i < plorin::toggleGroups().size(); ++i) {
            const auto which = static_cast<Toggle>(i);
            if (which == Toggle::Presentation) continue;  // not the selection's business
            // Any selection lives in a window.
            const bool expected = which == Toggle::Window || c.enabled.count(which) == 1;
            EXPECT_EQ(enabled(which), expected) << plorin::toggleGroup(which).procedure;
        }
    }
    EXPECT_EQ(ribbon.invalidations, 0);
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(CommandBarEnabling, TheTextButtonsShowTheTextFrameOfTheSelection) {
    struct Case {
        const char* what;
        int view;
        std::function<void(Deck&)> select;
        int fit, wrap;
    };
    const std::vector<Case> cases = {
        {"a text box fits its text and wraps", ppViewNormal,
         [](Deck& d) { d.window().selectShapes({d.slide()->Shapes().AddTextbox(1, 0, 0, 50, 20)}); }, msoButtonDown,
         msoButtonDown},
        {"a rectangle that neither fits nor wraps", ppViewSlide,
         [](Deck& d) {
             auto r = d.shape(msoShapeRectangle);
             r->TextFrame().setWordWrap(msoFalse);
             d.window().selectShapes({r});
         },
         msoButtonUp, msoButtonUp},
        {"shapes that differ in both", ppViewSlide,
         [](Deck& d) {
             auto r = d.shape(msoShapeRectangle);
             r->TextFrame().setWordWrap(msoFalse);
             d.window().selectShapes({r, d.slide()->Shapes().AddTextbox(1, 0, 0, 50, 20)});
         },
         msoButtonMixed, msoButtonMixed},
        {"text in a placeholder that fits but does not wrap", ppViewTitleMaster,
         [](Deck& d) {
             auto p = d.placeholder("Title");
             p->TextFrame().setAutoSize(ppAutoSizeShapeToFitText);
             p->TextFrame().setWordWrap(msoFalse);
             d.window().selectText(p, 1, 2);
         },
         msoButtonDown, msoButtonUp},
        {"a picture has no text frame", ppViewSlide,
         [](Deck& d) {
             d.window().selectShapes({d.slide()->Shapes().addOfType(msoPicture, msoShapeRectangle, 0, 0, 9, 9)});
         },
         msoButtonUp, msoButtonUp},
        {"a text box on the handout master", ppViewHandoutMaster,
         [](Deck& d) { d.window().selectShapes({d.slide()->Shapes().AddTextbox(1, 0, 0, 50, 20)}); }, msoButtonUp,
         msoButtonUp},
        {"slides", ppViewSlide, [](Deck& d) { d.window().selectSlides({d.slide(1)}); }, msoButtonUp, msoButtonUp},
        {"nothing", ppViewSlide, [](Deck& d) { d.window().selectNone(); }, msoButtonUp, msoButtonUp},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        button(plorin::kFitButton).setState(msoButtonMixed == c.fit ? msoButtonUp : msoButtonMixed);
        button(plorin::kWrapButton).setState(msoButtonMixed == c.wrap ? msoButtonUp : msoButtonMixed);
        window().setViewType(c.view);
        Deck deck{*app};
        c.select(deck);
        EXPECT_EQ(button(plorin::kFitButton).State(), c.fit);
        EXPECT_EQ(button(plorin::kWrapButton).State(), c.wrap);
    }
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(CommandBarEnabling, OutsideTheEditingViewsThePressedStatesAreLeftAlone) {
    button(plorin::kFitButton).setState(msoButtonDown);
    window().setViewType(ppViewSlideSorter);
    window().selectSlides({slide(1)});
    EXPECT_EQ(button(plorin::kFitButton).State(), msoButtonDown);
}

TEST_F(CommandBarEnabling, AMissingControlIsReportedAndTheOthersAreStillSwitched) {
    setAllEnabled(false);
    auto bar = app->CommandBars().Item(plorin::kEfficiencyToolsBar);
    auto& tools = dynamic_cast<CommandBarPopup&>(*bar->Controls().Item(plorin::kToolsPopup));
    tools.Controls().Item("Text statistics")->Delete();
    window().selectShapes({addShape(msoShapeRectangle)});
    EXPECT_EQ(reportedLocations(), std::vector<std::string>{"pptEvents, togglePopupEntry ("});
    EXPECT_TRUE(bar->Controls().Item("Set AutoShape margins")->Enabled());
    EXPECT_TRUE(tools.Controls().Item("Hide selected shapes")->Enabled());
}

TEST_F(CommandBarEnabling, WithoutTheBarEachLookupIsReportedButTheFlagsStillFollowTheSelection) {
    app->CommandBars().Item(plorin::kEfficiencyToolsBar)->Delete();
    window().selectShapes({addShape(msoShapeRectangle)});
    EXPECT_EQ(events().shapeNumber, 1);
    const auto locations = reportedLocations();
    ASSERT_FALSE(locations.empty());
    EXPECT_EQ(std::count(locations.begin(), locations.end(), "pptEvents, toggleAutoShapeTextState"), 1);
    EXPECT_EQ(std::count(locations.begin(), locations.end(), "pptEvents, toggleButton"), 31);
    EXPECT_EQ(std::count(locations.begin(), locations.end(), "pptEvents, togglePopupEntry ("), 12);
}

TEST_F(CommandBarEnabling, ToggleAndToggleOffRestoreThePresentationEntriesToo) {
    setAllEnabled(true);  // as help mode leaves them
    events().toggle();
    EXPECT_TRUE(enabled(Toggle::Presentation));
    EXPECT_FALSE(enabled(Toggle::Shape));

    app->ActivePresentation()->Close();
    setAllEnabled(true);
    events().toggle();  // no window: everything off
    EXPECT_FALSE(enabled(Toggle::Presentation));
    EXPECT_FALSE(enabled(Toggle::Slides));

    setAllEnabled(true);
    events().toggleOff();
    EXPECT_FALSE(enabled(Toggle::Presentation));
    EXPECT_FALSE(enabled(Toggle::TwoOrMoreShapes90degr));
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(CommandBarEnabling, TheWindowWhoseSelectionChangedDecidesTheView) {
    auto first = app->ActiveWindow();
    auto shape = addShape(msoShapeRectangle);
    openDeck(1);
    window().setViewType(ppViewSlideSorter);  // the other window, active, shows no slide pane
    setEnabled(Toggle::Shape, false);
    first->selectShapes({shape});
    EXPECT_TRUE(enabled(Toggle::Shape)) << "the slide pane of the window that changed";
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(CommandBarEnabling, MoreThan32767SelectedShapesCountInFull) {
    std::vector<std::shared_ptr<Shape>> shapes;
    for (int i = 0; i < 32770; ++i) shapes.push_back(slide()->Shapes().AddShape(msoShapeRectangle, 0, 0, 2, 2));
    setEnabled(Toggle::TwoOrMoreShapes, false);
    window().selectShapes(shapes);
    EXPECT_EQ(events().shapeNumber, 32770);
    EXPECT_TRUE(enabled(Toggle::TwoOrMoreShapes));
    EXPECT_TRUE(plorin::reportedErrors().empty());
}
