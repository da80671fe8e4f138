// The proofing language (selection, notes pane, text being edited, id as number or text) and
// the fit and wrap toggles with their command-bar button.
#include "host/command_bars.h"
#include "text_fixture.h"

namespace {

class Language : public testing_tools::TextFixture {
protected:
    static int language(host::Shape& shape) { return shape.TextFrame().TextRange().LanguageID(); }
    std::shared_ptr<host::Shape> notesBody(const std::shared_ptr<host::Slide>& s) {
        auto body = s->NotesPage().Item(1)->Shapes().Item(1);
        body->TextFrame().TextRange().setText("Say hello");
        return body;
    }
};

TEST_F(Language, SelectedSlidesGetItOnEveryShapeAndTheirNotesOnly) {
    auto a = textBox("Hello"), b = textBox("World");
    auto notes = notesBody(slide);
    auto other = presentation->Slides().Add(2, 1);
    auto elsewhere = textBox("Not me", 20, other);
    auto otherNotes = notesBody(other);
    textBox("");  // no text: left alone, no error
    window().setViewType(host::ppViewSlideSorter);
    window().selectSlides({slide});
    tools.setLanguage(1031);
    EXPECT_EQ(language(*a), 1031);
    EXPECT_EQ(language(*b), 1031);
    EXPECT_EQ(language(*notes), 1031);
    EXPECT_EQ(language(*elsewhere), 1033);
    EXPECT_EQ(language(*otherNotes), 1033);
    EXPECT_TRUE(plorin::reportedErrors().empty());

    // Shapes selected: the notes stay as they are.
    window().setViewType(host::ppViewNormal);
    select({a});
    tools.setLanguage(1036);
    EXPECT_EQ(language(*a), 1036);
    EXPECT_EQ(language(*notes), 1031);
}

TEST_F(Language, InTheNotesPaneItMarksTheNotesOrTheirSelectedTextOnly) {
    auto shape = textBox("On the slide");
    auto notes = notesBody(slide);
    window().Panes().Item(3).Activate();
    ASSERT_EQ(window().ActivePane().ViewType(), host::ppViewNotesPage);
    window().selectNone();
    tools.setLanguage(1031);
    EXPECT_EQ(language(*notes), 1031);
    EXPECT_EQ(language(*shape), 1033);

    window().selectText(notes, 5, 5);  // "hello"
    window().Panes().Item(3).Activate();
    tools.setLanguage(1036);
    const host::TextRange all = notes->TextFrame().TextRange();
    EXPECT_EQ(all.Characters(1, 4).LanguageID(), 1031);
    EXPECT_EQ(all.Characters(5, 5).LanguageID(), 1036);
}

TEST_F(Language, TextBeingEditedChangesOnlyItsSelectedCharacters) {
    auto shape = textBox("Hello world");
    window().selectText(shape, 7, 5);
    tools.setLanguage(1031);
    const host::TextRange all = shape->TextFrame().TextRange();
    EXPECT_EQ(all.Characters(1, 6).LanguageID(), 1033);
    EXPECT_EQ(all.Characters(7, 5).LanguageID(), 1031);
}

TEST_F(Language, AnIdAsTextServesAsTheSameIdAsANumber) {
    auto a = textBox("Hello"), b = textBox("World");
    select({a});
    tools.callByName("setLanguage", "1031");
    select({b});
    tools.setLanguage(1031.0);
    EXPECT_EQ(language(*a), language(*b));
    EXPECT_EQ(language(*a), 1031);

    // A text that is no number: one report, nothing changes.
    select({a, b});
    tools.callByName("setLanguage", "German");
    EXPECT_EQ(reportedLocations(), std::vector<std::string>{"EfficiencyTools, setLanguage"});
    EXPECT_EQ(language(*a), 1031);
    // An id the host refuses is reported by the frame it fails at.
    plorin::reportedErrors().clear();
    tools.setLanguage(0);
    EXPECT_EQ(reportedLocations(), (std::vector<std::string>{"EfficiencyTools, setLang", "EfficiencyTools, setLang"}));
}

// The toggles belong to the command bars: a host 11.0 with the tools bar and its two buttons.
class FitAndWrap : public testing_tools::TextFixture {
protected:
    void SetUp() override {
        TextFixture::SetUp();
        start("11.0");
        auto bar = app->CommandBars().Add("Varnotel for presentations - Efficiency Tools");
        for (const char* caption : {"Fit AutoShape to text", "Wrap text in AutoShape"})
            bar->Controls().Add(host::msoControlButton)->setCaption(caption);
    }
    host::CommandBarButton& button(const std::string& caption) {
        auto control =
            app->CommandBars().Item("Varnotel for presentations - Efficiency Tools")->Controls().Item(caption);
        return dynamic_cast<host::CommandBarButton&>(*control);
    }
};

TEST_F(FitAndWrap, MixedOrOffTurnsOnForAllAndOnTurnsOffWithTheButtonFollowing) {
    auto a = textBox("Fitted"), b = textBox("");
    a->TextFrame().setAutoSize(host::ppAutoSizeShapeToFitText);
    b->TextFrame().setAutoSize(host::ppAutoSizeNone);
    auto picture = slide->Shapes().addOfType(host::msoPicture, 1, 0, 0, 10, 10);  // passed over
    select({a, b, picture});
    tools.adjustAutoShapeToText();
    EXPECT_EQ(a->TextFrame().AutoSize(), host::ppAutoSizeShapeToFitText);
    EXPECT_EQ(b->TextFrame().AutoSize(), host::ppAutoSizeShapeToFitText);
    EXPECT_EQ(button("Fit AutoShape to text").State(), host::msoButtonDown);
    tools.adjustAutoShapeToText();
    EXPECT_EQ(host::ShapeRange({a, b}).TextFrame().AutoSize(), host::ppAutoSizeNone);
    EXPECT_EQ(button("Fit AutoShape to text").State(), host::msoButtonUp);

    b->TextFrame().setWordWrap(host::msoFalse);  // a wraps, b does not
    tools.wrapText();
    EXPECT_EQ(host::ShapeRange({a, b}).TextFrame().WordWrap(), host::msoTrue);
    EXPECT_EQ(button("Wrap text in AutoShape").State(), host::msoButtonDown);
    tools.wrapText();
    EXPECT_EQ(host::ShapeRange({a, b}).TextFrame().WordWrap(), host::msoFalse);
    EXPECT_EQ(button("Wrap text in AutoShape").State(), host::msoButtonUp);
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(FitAndWrap, WithoutShapesOrWithoutTheBarNothingChangesAndTheFailureIsReported) {
    auto a = textBox("Text");
    window().selectNone();
    tools.wrapText();
    EXPECT_EQ(reportedLocations(), std::vector<std::string>{"EfficiencyTools, wrapText"});

    start("14.0");  // no command bars
    auto b = textBox("Text");
    select({b});
    const int before = b->TextFrame().AutoSize();
    tools.adjustAutoShapeToText();
    EXPECT_EQ(b->TextFrame().AutoSize(), before);
    EXPECT_EQ(reportedLocations().back(), "EfficiencyTools, adjustAutoShapeToText");
    (void)a;
}

}  // namespace
