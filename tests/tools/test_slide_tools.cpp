// Paste on selected slides, removing the speech notes, and the straight motion path.
#include <clocale>
#include <locale>

#include "host/command_bars.h"
#include "host/text.h"
#include "host/timeline.h"
#include "platform/locale.h"
#include "tests/tools/geometry_fixture.h"

namespace testing_tools {
namespace {

class SlideToolsTest : public GeometryFixture {
protected:
    void SetUp() override {
        GeometryFixture::SetUp();
        for (int i = 2; i <= 4; ++i) presentation->Slides().Add(i, 1);
    }
    std::shared_ptr<host::Slide> slideAt(int index) { return presentation->Slides().Item(index); }
    // A logo on slide 1, copied to the clipboard.
    void copyLogo() {
        auto logo = slide->Shapes().AddShape(host::msoShapeOval, 10, 10, 40, 40);
        logo->setName("Logo");
        host::ShapeRange({logo}).Copy();
    }
    std::string notesText(int index) {
        return slideAt(index)->NotesPage().Item(1)->Shapes().Item(1)->TextFrame().TextRange().Text();
    }
};

TEST_F(SlideToolsTest, PasteOnSelectedSlidesFromEachViewRestoresTheView) {
    copyLogo();
    auto& window = *app->ActiveWindow();
    int round = 0;
    for (int view : {host::ppViewSlideSorter, host::ppViewNormal, host::ppViewOutline}) {
        ++round;
        window.setViewType(view);
        window.selectSlides({slideAt(4), slideAt(2), slideAt(3)});
        tools.pasteOnSelectedSlides();
        EXPECT_EQ(window.ViewType(), view);
        for (int i = 2; i <= 4; ++i) {
            ASSERT_EQ(slideAt(i)->Shapes().Count(), round) << "slide " << i << " view " << view;
            EXPECT_EQ(slideAt(i)->Shapes().Item(round)->Name(), "Logo");
        }
        EXPECT_EQ(slideAt(1)->Shapes().Count(), 1) << "an unselected slide stays";
    }
    // One slide alone.
    window.setViewType(host::ppViewSlideSorter);
    window.selectSlides({slideAt(1)});
    tools.pasteOnSelectedSlides();
    EXPECT_EQ(slideAt(1)->Shapes().Count(), 2);
    EXPECT_EQ(window.ViewType(), host::ppViewSlideSorter);
    // Started from the thumbnails pane of normal view, it ends there, not in the slide pane.
    window.setViewType(host::ppViewNormal);
    window.Panes().Item(1).Activate();
    window.selectSlides({slideAt(1)});
    tools.pasteOnSelectedSlides();
    EXPECT_EQ(slideAt(1)->Shapes().Count(), 3);
    EXPECT_EQ(window.ViewType(), host::ppViewNormal);
    EXPECT_TRUE(window.Panes().Item(1).Active());
    EXPECT_TRUE(reportedLocations().empty());
    EXPECT_TRUE(driver.messages.empty());
}

TEST_F(SlideToolsTest, PasteWithoutShapesOnTheClipboardSaysSoAndReportsNothing) {
    auto& window = *app->ActiveWindow();
    window.setViewType(host::ppViewSlideSorter);
    window.selectSlides({slideAt(2), slideAt(3)});
    driver.messageAnswers.push_back(platform::vbOK);
    tools.pasteOnSelectedSlides();
    ASSERT_EQ(driver.messages.size(), 1u);
    EXPECT_EQ(driver.messages[0].style, platform::vbCritical);
    EXPECT_EQ(driver.messages[0].title, "Varnotel for presentations");
    EXPECT_NE(driver.messages[0].text.find("The clipboard is empty."), std::string::npos);
    EXPECT_TRUE(reportedLocations().empty());
    EXPECT_EQ(slideAt(2)->Shapes().Count(), 0);
    EXPECT_EQ(window.ViewType(), host::ppViewNormal) << "the command ends where the failure met it";
}

TEST_F(SlideToolsTest, RemoveAllSpeechNotesAsksFirstAndEmptiesOnlyTheNotesBodies) {
    for (int i = 1; i <= 3; ++i)
        slideAt(i)->NotesPage().Item(1)->Shapes().Item(1)->TextFrame().TextRange().setText("Say " + std::to_string(i));
    // A header placeholder on a notes page keeps its text.
    auto page = slideAt(2)->NotesPage().Item(1);
    auto header = page->Shapes().addOfType(host::msoPlaceholder, host::msoShapeRectangle, 0, 0, 100, 20);
    header->setPlaceholderType(14);
    header->TextFrame().TextRange().setText("Confidential");

    driver.messageAnswers = {platform::vbNo, platform::vbYes};
    tools.removeAllSpeechNotes();
    ASSERT_EQ(driver.messages.size(), 1u);
    EXPECT_EQ(driver.messages[0].style, 308);
    EXPECT_EQ(driver.messages[0].text,
              "This will permanently remove all speech notes from the presentation.\r\n"
              "Please make sure you have a backup copy!\r\nAre you sure you want to proceed?");
    EXPECT_EQ(notesText(1), "Say 1") << "No changes nothing";

    tools.removeAllSpeechNotes();
    for (int i = 1; i <= 4; ++i) EXPECT_EQ(notesText(i), "") << "slide " << i;
    EXPECT_EQ(header->TextFrame().TextRange().Text(), "Confidential");
    EXPECT_TRUE(reportedLocations().empty());
}

TEST(MotionPathNumber, IsPlainFixedPointWithADotInEveryDirection) {
    EXPECT_EQ(plorin::EfficiencyTools::motionPathNumber(0), "0");
    EXPECT_EQ(plorin::EfficiencyTools::motionPathNumber(1), "1");
    EXPECT_EQ(plorin::EfficiencyTools::motionPathNumber(0.5), "0.5");
    EXPECT_EQ(plorin::EfficiencyTools::motionPathNumber(-0.25), "-0.25");
    EXPECT_EQ(plorin::EfficiencyTools::motionPathNumber(-3), "-3");
    EXPECT_EQ(plorin::EfficiencyTools::motionPathNumber(1e-5), "0.00001") << "no exponent";
    EXPECT_EQ(plorin::EfficiencyTools::motionPathNumber(-1e-9), "0") << "no negative zero";
    // A locale with a decimal comma changes nothing.
    const std::string before = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") || std::setlocale(LC_ALL, "fr_FR.UTF-8")) {
        EXPECT_EQ(plorin::EfficiencyTools::motionPathNumber(0.5), "0.5");
        EXPECT_EQ(plorin::EfficiencyTools::motionPathNumber(-1.125), "-1.125");
    }
    std::setlocale(LC_ALL, before.c_str());
}

TEST_F(SlideToolsTest, CreateMotionPathRunsFromTheFirstCentreToTheSecond) {
    const float w = presentation->SlideWidth(), h = presentation->SlideHeight();
    auto first = addShape({100, 100, 40, 20});
    // One slide width right, half a slide height down; turned by 90 degrees about the
    // same centre, whose visual box keeps that centre.
    auto second = addShape({100 + w, 100 + h / 2, 40, 20, 90});
    select({first, second});
    tools.createMotionPath();
    ASSERT_TRUE(reportedLocations().empty());
    auto& sequence = slide->TimeLine().MainSequence();
    ASSERT_EQ(sequence.Count(), 1);
    auto effect = sequence.Item(1);
    EXPECT_EQ(effect->Shape(), first);
    EXPECT_EQ(effect->Trigger(), host::msoAnimTriggerOnPageClick);
    ASSERT_EQ(effect->BehaviorCount(), 1) << "the straight path is the only motion";
    auto motion = effect->Behavior(1);
    EXPECT_EQ(motion->MotionEffect().Path, "M 0 0 L 1 0.5");
    EXPECT_TRUE(motion->Timing().SmoothStart);
    EXPECT_TRUE(motion->Timing().SmoothEnd);

    // Coinciding centres, and backwards (up and left).
    select({second, second});
    tools.createMotionPath();
    EXPECT_EQ(sequence.Item(2)->Behavior(1)->MotionEffect().Path, "M 0 0 L 0 0");
    select({second, first});
    tools.createMotionPath();
    EXPECT_EQ(sequence.Item(3)->Behavior(1)->MotionEffect().Path, "M 0 0 L -1 -0.5");
}

// A user whose numbers have a decimal comma: the system's separator and the process's
// locale both say ",", and the path still reads with ".".
struct CommaDecimal : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
};

TEST_F(SlideToolsTest, CreateMotionPathWritesADotUnderACommaLocale) {
    const platform::ScopedDecimalSeparator comma(',');
    const std::locale before = std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
    const float h = presentation->SlideHeight();
    auto first = addShape({0, 0, 10, 10});
    auto second = addShape({0, h / 2, 10, 10});
    auto third = addShape({0.0072f, 0, 10, 10});  // a hundred-thousandth of the slide width
    select({first, second});
    tools.createMotionPath();
    select({first, third});
    tools.createMotionPath();
    std::locale::global(before);
    auto& sequence = slide->TimeLine().MainSequence();
    ASSERT_EQ(sequence.Count(), 2);
    EXPECT_EQ(sequence.Item(1)->Behavior(1)->MotionEffect().Path, "M 0 0 L 0 0.5");
    EXPECT_EQ(sequence.Item(2)->Behavior(1)->MotionEffect().Path, "M 0 0 L 0.00001 0") << "no exponent";
}

TEST_F(SlideToolsTest, CreateMotionPathShowsTheAnimationPaneOnEveryHost) {
    for (const char* version : {"14.0", "11.0"}) {
        auto& host = startHost(version);
        plorin::state().application = &host;
        auto page = host.Presentations().Add()->Slides().Add(1, 1);
        auto from = page->Shapes().AddShape(host::msoShapeRectangle, 0, 0, 10, 10);
        auto to = page->Shapes().AddShape(host::msoShapeRectangle, 100, 0, 10, 10);
        host.ActiveWindow()->selectShapes({from, to});
        EXPECT_FALSE(host.CommandBars().Item("Custom Animation")->Visible()) << version;
        tools.createMotionPath();
        EXPECT_TRUE(host.CommandBars().Item("Custom Animation")->Visible()) << version;
        EXPECT_EQ(page->TimeLine().MainSequence().Count(), 1);
    }
    EXPECT_TRUE(reportedLocations().empty());
}

TEST_F(SlideToolsTest, CreateMotionPathWithOneShapeIsReported) {
    select({addShape({0, 0, 10, 10})});
    tools.createMotionPath();
    EXPECT_EQ(reportedLocations(), std::vector<std::string>{"EfficiencyTools, createMotionPath"});
    EXPECT_EQ(slide->TimeLine().MainSequence().Count(), 0);
}

TEST_F(SlideToolsTest, SlideToolsAreReachedByName) {
    for (const char* name : {"pasteOnSelectedSlides", "removeAllSpeechNotes", "createMotionPath"})
        EXPECT_TRUE(plorin::EfficiencyTools::hasMethod(name)) << name;
}

}  // namespace
}  // namespace testing_tools
