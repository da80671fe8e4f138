// Windows and selections, event delivery, macros and the events with no model action.
#include "host_test_support.h"

using namespace host;
using host_test::hostErrorOf;
using Events = std::vector<std::string>;

namespace {

struct WindowsTest : ::testing::Test {
    Application app{"16.0"};
    host_test::EventLog log;
    std::shared_ptr<Presentation> pres;
    std::shared_ptr<Slide> s1, s2;
    std::shared_ptr<Shape> a, b, c;
    WindowsTest() {
        auto deck = app.Presentations().Add(false);
        deck->Slides().Add(1, 1);
        deck->SaveAs(scratch.file("deck.ppt"));
        pres = app.Presentations().Open(deck->FullName());  // a window on a deck with slides
        deck->Close();
        s1 = pres->Slides().Add(1, 1);
        s2 = pres->Slides().Item(2);
        a = s1->Shapes().AddShape(msoShapeRectangle, 0, 0, 1, 1);
        b = s1->Shapes().AddShape(msoShapeOval, 0, 0, 1, 1);
        c = s2->Shapes().AddShape(msoShapeOval, 0, 0, 1, 1);
        app.advise(&log);
    }
    DocumentWindow& window() { return *app.ActiveWindow(); }
    host_test::ScratchDir scratch;
};

}  // namespace

TEST_F(WindowsTest, NewWindowShowsTheFirstSlideInSlideView) {
    EXPECT_EQ(window().currentSlide(), s2);  // slide 1 when the window opened
    EXPECT_EQ(window().ActivePane().ViewType(), ppViewSlide);
    EXPECT_EQ(window().Selection().Type(), ppSelectionNone);
    auto empty = app.Presentations().Add();
    EXPECT_EQ(app.ActiveWindow()->currentSlide(), nullptr);
    auto first = empty->Slides().Add(1, 1);
    EXPECT_EQ(app.ActiveWindow()->currentSlide(), first);
}

TEST_F(WindowsTest, SelectionsAndWhatTheyOffer) {
    window().selectShapes({b, a, b});
    Selection& sel = window().Selection();
    EXPECT_EQ(sel.Type(), ppSelectionShapes);
    EXPECT_EQ(sel.ShapeRange().Count(), 2);
    EXPECT_EQ(sel.ShapeRange().Item(1), b);
    EXPECT_EQ(sel.SlideRange().Item(1), s1);
    EXPECT_EQ(window().currentSlide(), s1);  // selecting shapes shows their slide

    window().selectSlides({s2});
    EXPECT_EQ(sel.Type(), ppSelectionSlides);
    EXPECT_EQ(sel.SlideRange().Count(), 1);
    try {
        sel.ShapeRange();
        ADD_FAILURE() << "a slide selection offered shapes";
    } catch (const HostError& e) {
        EXPECT_EQ(e.number(), PP_E_INVALIDREQUEST);
        EXPECT_STREQ(e.what(), "Nothing appropriate is currently selected.");
    }

    window().selectNone();
    EXPECT_EQ(hostErrorOf([&] { sel.ShapeRange(); }), PP_E_INVALIDREQUEST);
    EXPECT_EQ(log.events, (Events{"WindowSelectionChange:2", "WindowSelectionChange:1", "WindowSelectionChange:0"}));
}

TEST_F(WindowsTest, WithNothingSelectedTheSlideInViewIsTheSlideRange) {
    window().selectShapes({a});
    window().selectNone();
    Selection& sel = window().Selection();
    for (int view : {ppViewNormal, ppViewSlide, ppViewNotesPage}) {
        window().setViewType(view);
        ASSERT_EQ(sel.SlideRange().Count(), 1) << view;
        EXPECT_EQ(sel.SlideRange().Item(1), s1) << view;
        EXPECT_EQ(sel.Type(), ppSelectionNone) << view;
    }
    window().Panes().Item(1).Activate();  // the thumbnails pane of normal view too
    EXPECT_EQ(sel.SlideRange().Item(1), s1);
    for (int view : {ppViewSlideSorter, ppViewSlideMaster}) {
        window().setViewType(view);
        EXPECT_EQ(hostErrorOf([&] { sel.SlideRange(); }), PP_E_INVALIDREQUEST) << view;
    }
    // A deck without slides has nothing in view.
    window().setViewType(ppViewNormal);
    s1->Delete();
    s2->Delete();
    EXPECT_EQ(hostErrorOf([&] { sel.SlideRange(); }), PP_E_INVALIDREQUEST);
    EXPECT_EQ(sel.Parent(), &window());
}

TEST_F(WindowsTest, NewWindowsAddedSlidesAndShownSlidesTellTheAddIns) {
    log.events.clear();
    auto p = app.Presentations().Add();
    EXPECT_EQ(log.events,
              (Events{"WindowActivate:Presentation2", "NewPresentation:Presentation2", "WindowSelectionChange:0"}));
    log.events.clear();
    auto first = p->Slides().Add(1, 1);
    auto second = p->Slides().Add(2, 1);
    EXPECT_EQ(log.events, (Events{"WindowSelectionChange:0", "WindowSelectionChange:0"}));
    EXPECT_EQ(app.ActiveWindow()->Selection().SlideRange().Item(1), first);  // the first one came into view

    // Bringing a slide into view drops a selection of shapes on another slide.
    auto shape = first->Shapes().AddShape(1, 0, 0, 10, 10);
    app.ActiveWindow()->selectShapes({shape});
    log.events.clear();
    app.ActiveWindow()->showSlide(second);
    EXPECT_EQ(log.events, Events{"WindowSelectionChange:0"});
    EXPECT_EQ(app.ActiveWindow()->Selection().SlideRange().Item(1), second);
    // A selection of slides stays.
    app.ActiveWindow()->selectSlides({first, second});
    app.ActiveWindow()->showSlide(first);
    EXPECT_EQ(app.ActiveWindow()->Selection().SlideRange().Count(), 2);
    // A presentation without a window tells nobody.
    log.events.clear();
    app.Presentations().Add(false)->Slides().Add(1, 1);
    EXPECT_EQ(log.events, Events{"NewPresentation:Presentation3"});
}

TEST_F(WindowsTest, SelectingWhatIsNotOnOneSlideOfThisDeckIsRefused) {
    auto other = app.Presentations().Add(false)->Slides().Add(1, 1);
    auto gone = s1->Shapes().AddShape(1, 0, 0, 1, 1);
    gone->Delete();
    log.events.clear();
    EXPECT_EQ(hostErrorOf([&] { window().selectShapes({a, c}); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { window().selectShapes({gone}); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { window().selectSlides({s1, other}); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { window().showSlide(other); }), E_FAIL);
    EXPECT_TRUE(log.events.empty());
}

TEST_F(WindowsTest, DeletingWhatIsSelectedOrShownUpdatesTheWindow) {
    window().selectShapes({a, b});
    a->Delete();
    EXPECT_EQ(window().Selection().ShapeRange().Count(), 1);
    b->Delete();
    EXPECT_EQ(window().Selection().Type(), ppSelectionNone);

    window().selectSlides({s1});
    s1->Delete();  // shown and selected
    EXPECT_EQ(window().Selection().Type(), ppSelectionNone);
    EXPECT_EQ(window().currentSlide(), s2);  // the one that took its place
    s2->Delete();                            // shown only: nothing comes into view, which is news too
    EXPECT_EQ(window().currentSlide(), nullptr);
    EXPECT_EQ(log.events, (Events{"WindowSelectionChange:2", "WindowSelectionChange:2", "WindowSelectionChange:0",
                                  "WindowSelectionChange:1", "WindowSelectionChange:0", "WindowSelectionChange:0"}));
}

TEST_F(WindowsTest, ActivateFiresEvenForTheActiveWindow) {
    auto other = app.Presentations().Add();
    auto first = app.Windows().Item(1);
    first->Activate();
    EXPECT_EQ(app.ActivePresentation(), pres);
    first->Activate();
    EXPECT_EQ(log.events, (Events{"WindowActivate:Presentation2", "NewPresentation:Presentation2",
                                  "WindowSelectionChange:0", "WindowActivate:deck.ppt", "WindowActivate:deck.ppt"}));
}

TEST_F(WindowsTest, SinksLeavingDuringAnEventAreNotCalledAgain) {
    host_test::EventLog second, third;
    app.advise(&second);
    app.advise(&third);
    app.advise(&second);  // once is enough
    log.onAnyEvent = [&] { app.unadvise(&third); };
    second.onAnyEvent = [&] {
        app.unadvise(&second);
        throw std::runtime_error("handler fault");  // the host ignores handler failures
    };
    app.beginSlideShow();
    app.endSlideShow();
    EXPECT_EQ(log.events, (Events{"SlideShowBegin", "SlideShowEnd"}));
    EXPECT_EQ(second.events, (Events{"SlideShowBegin"}));
    EXPECT_TRUE(third.events.empty());
    app.printPresentation(*pres);
    EXPECT_EQ(log.events.back(), "PresentationPrint:deck.ppt");
}

TEST_F(WindowsTest, RunNeedsTheMacrosPresentationOpen) {
    const std::string macro = "plorinUndoFix.ppt!plorin.plorinUndoFix";
    EXPECT_EQ(hostErrorOf([&] { app.Run(macro, {"1"}); }), E_FAIL);
    EXPECT_EQ(hostErrorOf([&] { app.Run("plorin.plorinUndoFix"); }), E_FAIL);
    EXPECT_TRUE(app.macrosRun().empty());

    auto holder = app.Presentations().Add(false);
    holder->SaveAs(scratch.file("plorinUndoFix.ppt"));
    EXPECT_EQ(app.Run(macro), "");
    EXPECT_EQ(app.Run("'PLORINUNDOFIX.PPT'!m"), "");
    EXPECT_EQ(app.macrosRun(), (std::vector<std::string>{macro, "'PLORINUNDOFIX.PPT'!m"}));
    holder->Close();
    EXPECT_EQ(hostErrorOf([&] { app.Run(macro); }), E_FAIL);
}

TEST_F(WindowsTest, DeletingTheSlideInViewBringsTheNextOneAndTellsOfIt) {
    window().showSlide(s1);
    log.events.clear();
    s1->Delete();
    EXPECT_EQ(window().currentSlide(), s2);
    EXPECT_EQ(log.events, Events{"WindowSelectionChange:0"});
    // A sink that closes the presentation meanwhile ends the walk over its windows safely.
    log.onAnyEvent = [&] {
        if (!pres->closed()) pres->Close();
    };
    s2->Delete();
    EXPECT_TRUE(pres->closed());
}
