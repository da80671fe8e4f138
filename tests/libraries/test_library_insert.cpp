// Inserting library elements: the checks before, the shapes landing on the slide being worked
// on with their geometry, the usage counters and the undo fix, and the sources closed again.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "core/errors.h"
#include "host/command_bars.h"
#include "libraries/library_insert.h"
#include "platform/xml_dom.h"
#include "tests/libraries/library_fixture.h"

namespace {

using testing_core::Box;
using testing_core::LibraryFixture;

host::IRibbonControl gallery(const std::string& tag) { return {"gallery", tag}; }

const std::string kSupport = "support@varnotel.example";

class Insert : public LibraryFixture {
protected:
    void SetUp() override {
        LibraryFixture::SetUp();
        menu(R"(<style name="Blue" folder="blue"/><menu name="M"><submenu name="S">
                  <menuitem name="two boxes" file="a.ppt" slideNo="1"/><menuitem name="one box" file="a.ppt" slideNo="2"/>
                  <menuitem name="gone" file="missing.ppt" slideNo="1"/><menuitem name="beyond" file="a.ppt" slideNo="9"/>
                </submenu></menu>)");
        saveDeck(styleFile("a.ppt"), {{{10, 20, 100, 50}, {200, 100, 60, 40}}, {{300, 300, 80, 80}}});
        plorin::state().currentStyle = "Blue";
        saveDeck(library(), {{{1, 2, 3, 4}}, {{50, 60, 70, 80}, {5, 5, 5, 5}}});  // slides 256, 257
        index(R"(<group name="G"><element name="one" slideID="256"/><element name="two" slideID="257"/>
                  <element name="lost" slideID="999"/></group>)");
    }

    static std::vector<std::vector<float>> geometry(const host::Slide& slide) {
        std::vector<std::vector<float>> out;
        for (const auto& s : slide.Shapes().all()) out.push_back({s->Left(), s->Top(), s->Width(), s->Height()});
        return out;
    }
    int shownShapes() { return window().currentSlide()->Shapes().Count(); }
};

TEST_F(Insert, AGalleryItemsShapesLandOnTheShownSlideWithTheirGeometry) {
    auto deck = userDeck(3, 2);
    addIn.slideWizard_onAction(gallery("M\\S"), "", 0);
    EXPECT_EQ(geometry(*deck->Slides().Item(2)),
              (std::vector<std::vector<float>>{{10, 20, 100, 50}, {200, 100, 60, 40}}));
    EXPECT_EQ(deck->Slides().Item(1)->Shapes().Count() + deck->Slides().Item(3)->Shapes().Count(), 0);
    EXPECT_EQ(deck->Slides().Count(), 3) << "no slide is added";
    EXPECT_EQ(window().Selection().ShapeRange().Count(), 2) << "the pasted shapes are selected";
    EXPECT_EQ(setting("statsSlideWizard"), "1");
    EXPECT_EQ(app->macrosRun(), std::vector<std::string>{"plorinUndoFix.ppt!plorin.plorinUndoFix"});
    EXPECT_EQ(app->Presentations().Count(), 1) << "the template is closed";

    addIn.slideWizard_onAction(gallery("M\\S"), "", 0);  // again: new ids of the user's deck
    std::set<long> ids;
    for (const auto& s : deck->Slides().Item(2)->Shapes().all()) EXPECT_TRUE(ids.insert(s->Id()).second) << s->Id();
    EXPECT_EQ(setting("statsSlideWizard"), "2");
}

TEST_F(Insert, AMyElementIsTheLibrarySlideWithItsId) {
    auto deck = userDeck(1);
    addIn.myElements_onAction(gallery("G"), "", 1);
    EXPECT_EQ(geometry(*deck->Slides().Item(1)), (std::vector<std::vector<float>>{{50, 60, 70, 80}, {5, 5, 5, 5}}));
    EXPECT_EQ(setting("statsMyElements"), "1");
    EXPECT_EQ(setting("statsSlideWizard"), "(missing)");
    EXPECT_EQ(app->macrosRun(), std::vector<std::string>{"plorinUndoFix.ppt!plorin.plorinUndoFix"});
    EXPECT_EQ(app->Presentations().Count(), 1) << "the library is closed";
}

// ---- What stops an insertion -----------------------------------------------------------------

struct Refusal {
    const char* name;
    std::function<void(host::Application&)> arrange;  // the user's deck is there unless this closes it
    bool myElements;
    std::string text;
    int icon;
};

class InsertRefused : public Insert, public ::testing::WithParamInterface<Refusal> {};

TEST_P(InsertRefused, TellsWhyAndChangesNothing) {
    auto deck = userDeck(2);
    GetParam().arrange(*app);
    if (GetParam().myElements) addIn.myElements_onAction(gallery("G"), "", 0);
    else addIn.slideWizard_onAction(gallery("M\\S"), "", 0);
    ASSERT_EQ(driver.messages.size(), 1u);
    EXPECT_EQ(driver.messages[0].text, GetParam().text);
    EXPECT_EQ(driver.messages[0].style, GetParam().icon);
    EXPECT_EQ(driver.messages[0].title, "Varnotel for presentations");
    for (const auto& slide : deck->Slides().all()) EXPECT_EQ(slide->Shapes().Count(), 0);
    EXPECT_EQ(setting("statsSlideWizard"), "(missing)");
    EXPECT_EQ(setting("statsMyElements"), "(missing)");
    EXPECT_TRUE(app->macrosRun().empty());
}

const int kCritical = platform::vbCritical, kInfo = platform::vbInformation;

INSTANTIATE_TEST_SUITE_P(
    Insert, InsertRefused,
    ::testing::Values(
        Refusal{"NoWindow", [](host::Application& a) { a.ActivePresentation()->Close(); }, false,
                "There is no active presentation.\r\nPlease open a presentation or create a new presentation before "
                "adding elements.",
                kCritical},
        Refusal{"NoWindowMyElements", [](host::Application& a) { a.ActivePresentation()->Close(); }, true,
                "There is no active presentation.\r\nPlease open a presentation or create a new presentation before "
                "inserting elements.",
                kCritical},
        Refusal{"NoSlides",
                [](host::Application& a) {
                    auto p = a.ActivePresentation();
                    while (p->Slides().Count() > 0) p->Slides().Item(1)->Delete();
                },
                false,
                "The active presentation does not contain any slides.\r\nPlease add a slide before adding elements.",
                kCritical},
        Refusal{"NoSlidesMyElements",
                [](host::Application& a) {
                    auto p = a.ActivePresentation();
                    while (p->Slides().Count() > 0) p->Slides().Item(1)->Delete();
                },
                true,
                "The active presentation does not contain any slides.\r\nPlease add a slide before inserting elements.",
                kCritical},
        Refusal{"SlideSorter", [](host::Application& a) { a.ActiveWindow()->setViewType(host::ppViewSlideSorter); },
                false, "Please go to normal view.", kInfo},
        Refusal{"NotesPage", [](host::Application& a) { a.ActiveWindow()->setViewType(host::ppViewNotesPage); }, true,
                "Please go to normal view.", kInfo},
        Refusal{"NotesPane", [](host::Application& a) { a.ActiveWindow()->Panes().Item(3).Activate(); }, false,
                "Please go to normal view.", kInfo},
        Refusal{"NoStyle", [](host::Application&) { plorin::state().currentStyle.clear(); }, false,
                "Please select a style first.", kInfo},
        Refusal{"NoMenuFile", [](host::Application&) { plorin::state().menuDocument.reset(); }, false,
                "An unexpected error occrred inserting elements from the 'Slide Wizard'.\r\nPlease contact us at " +
                    kSupport + " if the problem persists.",
                kCritical},
        Refusal{"NoIndex", [](host::Application&) { plorin::state().myElementsDocument.reset(); }, true,
                "An unexpected error occurred inserting your elements.\r\nPlease contact us at " + kSupport +
                    " if the problem persists.",
                kCritical}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Views and panes that take the shapes ----------------------------------------------------

struct Pane {
    const char* name;
    int view;
    int activePane;  // 0: the view's own
    int paneAfter;   // the active pane's view type afterwards
};

class InsertInView : public Insert, public ::testing::WithParamInterface<Pane> {};

TEST_P(InsertInView, ThePaneShowingTheSlideTakesTheShapes) {
    userDeck(2, 2);
    window().setViewType(GetParam().view);
    if (GetParam().activePane) {
        window().Panes().Item(GetParam().activePane).Activate();
        ASSERT_NE(window().ActivePane().ViewType(), GetParam().paneAfter) << "a pane that must hand over";
    }
    addIn.slideWizard_onAction(gallery("M\\S"), "", 1);
    EXPECT_TRUE(driver.messages.empty());
    EXPECT_EQ(shownShapes(), 1);
    EXPECT_EQ(window().ActivePane().ViewType(), GetParam().paneAfter);
}

INSTANTIATE_TEST_SUITE_P(Insert, InsertInView,
                         ::testing::Values(Pane{"SlidePane", host::ppViewNormal, 0, host::ppViewSlide},
                                           Pane{"SlideView", host::ppViewSlide, 0, host::ppViewSlide},
                                           Pane{"SlideMaster", host::ppViewSlideMaster, 0, host::ppViewSlideMaster},
                                           Pane{"TitleMaster", host::ppViewTitleMaster, 0, host::ppViewTitleMaster},
                                           Pane{"OutlineView", host::ppViewOutline, 0, host::ppViewSlide},
                                           Pane{"ThumbnailsPane", host::ppViewNormal, 1, host::ppViewSlide},
                                           Pane{"MasterThumbnailsPane", host::ppViewSlideMaster, 1,
                                                host::ppViewSlideMaster}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Sources that are missing or wrong -------------------------------------------------------

TEST_F(Insert, AMissingTemplateIsToldAfterTheUseWasCounted) {
    userDeck(1);
    addIn.slideWizard_onAction(gallery("M\\S"), "", 2);
    EXPECT_EQ(messages(),
              std::vector<std::string>{"The template file '" + styleFile("missing.ppt") +
                                       "' could not be found.\r\nPlease check your installation and contact us at " +
                                       kSupport + " if the problem persists."});
    EXPECT_EQ(driver.messages[0].style, kCritical);
    EXPECT_EQ(setting("statsSlideWizard"), "1");
    EXPECT_EQ(shownShapes(), 0);
}

TEST_F(Insert, ASourceThatFailsMidwayIsClosedAndTheCallbackFails) {
    userDeck(1);
    EXPECT_THROW(addIn.slideWizard_onAction(gallery("M\\S"), "", 3), platform::NumberedError) << "slide 9 of two";
    EXPECT_THROW(addIn.myElements_onAction(gallery("G"), "", 2), platform::NumberedError) << "slide id 999";
    EXPECT_THROW(addIn.myElements_onAction(gallery("G"), "", 3), platform::NumberedError) << "no fourth element";
    EXPECT_EQ(app->Presentations().Count(), 1);
    EXPECT_EQ(shownShapes(), 0);
    EXPECT_TRUE(messages().empty());
}

// ---- The command bars' entry ------------------------------------------------------------------

class Conjure : public Insert {
protected:
    void run(const std::string& parameter, bool myElement) {
        host::CommandBarButton button;
        button.setParameter(parameter);
        plorin::conjure(button, "blue", myElement);
    }
};

TEST_F(Conjure, TheParameterSplitsAtTheLastCommaSoFileNamesMayHoldCommas) {
    saveDeck(styleFile("a,b.ppt"), {{}, {{7, 8, 9, 10}}});
    userDeck(1);
    run("a,b.ppt,2", false);
    EXPECT_EQ(geometry(*window().currentSlide()), (std::vector<std::vector<float>>{{7, 8, 9, 10}}));
    EXPECT_EQ(app->Presentations().Count(), 1);
    EXPECT_EQ(setting("statsSlideWizard"), "(missing)") << "the click handlers count";
}

TEST_F(Conjure, AMyElementComesFromThePptLibraryByItsSlideId) {
    saveDeck(library("ppt"), {{{1, 1, 1, 1}}, {{2, 2, 2, 2}}});
    userDeck(1);
    run("257", true);
    EXPECT_EQ(geometry(*window().currentSlide()), (std::vector<std::vector<float>>{{2, 2, 2, 2}}));
    EXPECT_EQ(app->Presentations().Count(), 1);
}

TEST_F(Conjure, AHostFailureSaysTheTemplateCouldNotBeOpenedOtherErrorsAreReported) {
    userDeck(1);
    run("missing.ppt,1", false);
    run("a.ppt,9", false);
    EXPECT_EQ(messages(), (std::vector<std::string>{"Template '" + styleFile("missing.ppt") + "' could not be opened.",
                                                    "Template '" + styleFile("a.ppt") + "' could not be opened."}));
    EXPECT_EQ(driver.messages[0].style, kCritical);
    run("a.ppt,first", false);
    EXPECT_EQ(reportedLocations(), std::vector<std::string>{"SlideWizard, conjure"});
    EXPECT_EQ(app->Presentations().Count(), 1) << "every source closed";
    EXPECT_EQ(shownShapes(), 0);
}

TEST_F(Conjure, MakesTheSameChecksFirst) {
    run("a.ppt,1", false);
    EXPECT_EQ(messages(),
              std::vector<std::string>{
                  "There is no active presentation.\r\nPlease open a presentation or create a new presentation "
                  "before adding elements."});
}

}  // namespace

// A menu file from elsewhere naming presentations outside the style's folder.
TEST_F(Insert, TemplateNamesLeavingTheStylesFolderAreBadItems) {
    const std::string outside = styleFile("../outside.ppt");
    saveDeck(outside, {{{1, 1, 1, 1}}});
    menu(R"(<style name="Blue" folder="blue"/><menu name="M"><submenu name="S">
              <menuitem name="up" file="../outside.ppt" slideNo="1"/>
              <menuitem name="absolute" file=")" +
         outside + R"(" slideNo="1"/>
            </submenu></menu>)");
    plorin::state().currentStyle = "Blue";
    userDeck(1);
    addIn.slideWizard_onAction(gallery("M\\S"), "", 0);
    addIn.slideWizard_onAction(gallery("M\\S"), "", 1);
    ASSERT_EQ(messages().size(), 2u);
    for (const auto& text : messages()) EXPECT_NE(text.find("could not be found"), std::string::npos) << text;
    EXPECT_EQ(shownShapes(), 0);
    EXPECT_EQ(app->Presentations().Count(), 1) << "nothing outside was opened";

    // A style whose folder lies outside the styles is no style.
    menu(R"(<style name="Up" folder="../blue"/><style name="Blue" folder="blue"/>)");
    EXPECT_EQ(plorin::state().styleNames.Count(), 1);
    EXPECT_EQ(plorin::styleFolderPath("Up"), "");
}

TEST_F(Conjure, AParameterNamingAFileOutsideTheStyleIsNotOpened) {
    saveDeck(styleFile("../outside.ppt"), {{{1, 1, 1, 1}}});
    userDeck(1);
    run("../outside.ppt,1", false);
    EXPECT_EQ(messages(),
              std::vector<std::string>{"Template '" + styleFile("../outside.ppt") + "' could not be opened."});
    EXPECT_EQ(shownShapes(), 0);
    EXPECT_EQ(app->Presentations().Count(), 1);
}
