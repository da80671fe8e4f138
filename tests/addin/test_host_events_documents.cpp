// The document events: saving (temporary folders, hidden shapes, agenda tags, the style
// tag), printing, slide shows, window activation, and presentations opening and closing.
#include <filesystem>

#include "tests/addin/host_events_fixture.h"

using namespace host;
using plorin::Toggle;
using testing_core::EventsFixture;

namespace {

constexpr int kYesNoQuestion = platform::vbYesNo | platform::vbQuestion | platform::vbDefaultButton2;
const std::string kTempWarning =
    "Caution! This presentation is being saved in a temporary folder.\r\n"
    "Data in this folder may be deleted or overwritten inadvertently.";
const std::string kPageNumbers =
    "The page numbers on your agenda slides need to be updated.\r\n"
    "Would you like to update the page numbers now?";

class SaveHandler : public EventsFixture {
protected:
    void SetUp() override {
        EventsFixture::SetUp();
        connect("14.0");
        std::filesystem::create_directories(root + "docs");
        std::filesystem::create_directories(root + "cache");
    }
    // A saved deck of `slides` slides, open in the active window.
    std::shared_ptr<Presentation> savedDeck(int slides, const std::string& path) {
        auto deck = openDeck(slides);
        deck->SaveAs(path);
        driver.messages.clear();
        return deck;
    }
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& m : driver.messages) out.push_back(m.text);
        return out;
    }
};

}  // namespace

TEST_F(SaveHandler, TheTemporaryFolderWarningComesOncePerName) {
    auto deck = savedDeck(1, root + "tmp/a.ppt");
    driver.messageAnswers = {platform::vbOK, platform::vbOK};
    deck->Save();  // first save under a name in the temporary folder
    deck->Save();
    deck->SaveAs(root + "docs/a.ppt");  // still named a.ppt in the temporary folder when asked
    deck->Save();
    ASSERT_EQ(texts(), std::vector<std::string>{kTempWarning});
    EXPECT_EQ(driver.messages[0].style, platform::vbOKOnly | platform::vbExclamation);
    EXPECT_EQ(driver.messages[0].title, "Varnotel for presentations");

    auto cached = savedDeck(1, root + "cache/b.ppt");
    driver.messageAnswers = {platform::vbOK};
    cached->Save();
    EXPECT_EQ(texts(), std::vector<std::string>{kTempWarning});
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(SaveHandler, ReadOnlyCopiesAndSlideExtractsAreNotWarnedAbout) {
    savedDeck(1, root + "tmp/a.ppt")->Close();
    auto readOnly = app->Presentations().Open(root + "tmp/a.ppt", true);
    readOnly->SaveAs(root + "docs/copy.ppt");

    auto extract = savedDeck(1, root + "tmp/extract.ppt");
    plorin::state().extracting = true;
    extract->Save();
    EXPECT_TRUE(driver.messages.empty());
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(SaveHandler, HiddenShapesAreNamedByTheirSlidesAndNoCancelsTheSave) {
    auto deck = savedDeck(6, root + "docs/hidden.ppt");
    deck->Slides().Item(2)->Tags().Add("plorin_hiddenShapes", "1");
    deck->Slides().Item(5)->Tags().Add("plorin_hiddenShapes", "1");
    deck->Slides().Item(6)->Tags().Add("plorin_hiddenShapes", "0");
    plorin::state().currentStyle = "Blue";

    driver.messageAnswers = {platform::vbNo};
    deck->Save();
    ASSERT_EQ(driver.messages.size(), 1u);
    EXPECT_EQ(driver.messages[0].text,
              "There are hidden shapes on slides 2, 5.\r\n"
              "Please ensure the hidden shapes do not contain any confidential information before sharing the "
              "presentation.\r\n"
              "Would you like to save the presentation with hidden shapes now?");
    EXPECT_EQ(driver.messages[0].style, kYesNoQuestion);
    EXPECT_FALSE(deck->Saved());  // cancelled
    EXPECT_EQ(deck->Tags().Item("plorin_style"), "");

    driver.messageAnswers = {platform::vbYes};
    deck->Save();
    EXPECT_TRUE(deck->Saved());
    EXPECT_EQ(deck->Tags().Item("plorin_style"), "Blue");
}

TEST_F(SaveHandler, AnAgendaWhoseSlidesAreAllGoneIsKeptAndNoPageNumbersAreAskedAbout) {
    auto deck = savedDeck(2, root + "docs/agenda.ppt");
    deck->Tags().Add("plorin_agendaWizardXML", "<Varnotel/>");
    deck->Tags().Add("plorin_slideOrder", "999;1000;");
    deck->Save();
    deck->Save();
    EXPECT_EQ(deck->Tags().Item("plorin_agendaWizardXML"), "<Varnotel/>");
    EXPECT_EQ(deck->Tags().Item("plorin_slideOrder"), "");
    EXPECT_TRUE(driver.messages.empty());
}

TEST_F(SaveHandler, AnAgendaWhoseItemsAllGoWithoutASlideIsKept) {
    auto deck = savedDeck(2, root + "docs/agenda.ppt");
    const std::string agenda =
        "<Varnotel><agenda><items><item text=\"A\" generateAgendaSlide=\"0\"/></items></agenda></Varnotel>";
    deck->Tags().Add("plorin_agendaWizardXML", agenda);
    deck->Save();
    EXPECT_EQ(deck->Tags().Item("plorin_agendaWizardXML"), agenda);
    EXPECT_TRUE(driver.messages.empty());
}

TEST_F(SaveHandler, AMovedAgendaSlideAsksToUpdateThePageNumbers) {
    auto deck = savedDeck(3, root + "docs/agenda.ppt");
    deck->Slides().Item(1)->Tags().Add("plorin_agendaWizard", "agendaSlide");
    deck->Tags().Add("plorin_agendaWizardXML", "<Varnotel/>");
    const std::string order = std::to_string(deck->Slides().Item(1)->SlideID()) + ";" +
                              std::to_string(deck->Slides().Item(2)->SlideID()) + ";" +
                              std::to_string(deck->Slides().Item(3)->SlideID()) + ";";
    deck->Tags().Add("plorin_slideOrder", order);
    deck->Save();
    EXPECT_TRUE(driver.messages.empty());  // the order is as the agenda knows it

    deck->Slides().Item(3)->Delete();
    driver.messageAnswers = {platform::vbNo, platform::vbYes};
    deck->Save();
    deck->Save();
    ASSERT_EQ(texts(), (std::vector<std::string>{kPageNumbers, kPageNumbers}));
    EXPECT_EQ(driver.messages[0].style, kYesNoQuestion);
    // The Yes ran the update once; the bare agenda has no template to load.
    EXPECT_EQ(reportedLocations(), std::vector<std::string>{"AgendaWizard, Form_Load"});
    EXPECT_EQ(deck->Tags().Item("plorin_agendaWizardXML"), "<Varnotel/>");
}

TEST_F(SaveHandler, WhileExtractingNothingIsAskedCancelledOrTagged) {
    auto deck = savedDeck(3, root + "tmp/extract.ppt");
    deck->Slides().Item(2)->Tags().Add("plorin_hiddenShapes", "1");
    deck->Slides().Item(1)->Tags().Add("plorin_agendaWizard", "agendaSlide");
    deck->Tags().Add("plorin_slideOrder", "1;2;");
    plorin::state().currentStyle = "Blue";
    plorin::state().extracting = true;
    deck->Save();
    EXPECT_TRUE(driver.messages.empty());
    EXPECT_TRUE(deck->Saved());
    EXPECT_EQ(deck->Tags().Item("plorin_style"), "");
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(SaveHandler, TheStyleTagIsWrittenOnlyIntoTheActiveWindowsPresentation) {
    auto background = savedDeck(1, root + "docs/background.ppt");
    auto front = savedDeck(1, root + "docs/front.ppt");  // its window is active now
    plorin::state().currentStyle = "Green";
    background->Save();
    EXPECT_EQ(background->Tags().Item("plorin_style"), "");
    front->Save();
    EXPECT_EQ(front->Tags().Item("plorin_style"), "Green");

    plorin::state().currentStyle.clear();  // no style chosen: the tag stays
    front->Save();
    EXPECT_EQ(front->Tags().Item("plorin_style"), "Green");
}

TEST_F(SaveHandler, ASaveCancelledByAnotherSinkIsNotTagged) {
    struct Canceller : ApplicationEvents {
        void PresentationBeforeSave(Presentation&, bool& cancel) override { cancel = true; }
    } canceller;
    auto deck = savedDeck(1, root + "tmp/a.ppt");
    app->unadvise(&events());
    app->advise(&canceller);
    app->advise(&events());
    plorin::state().currentStyle = "Red";
    driver.messageAnswers = {platform::vbOK, platform::vbOK};
    deck->Save();
    deck->Save();  // the name was not remembered: warned again
    EXPECT_EQ(texts(), (std::vector<std::string>{kTempWarning, kTempWarning}));
    EXPECT_EQ(deck->Tags().Item("plorin_style"), "");
    app->unadvise(&canceller);
}

// ---- Printing ----------------------------------------------------------------------------

TEST_F(SaveHandler, PrintingAStaleAgendaAsksAndYesRegeneratesIt) {
    auto deck = openDeck(2);
    app->printPresentation(*deck);  // no agenda
    deck->Tags().Add("plorin_slideOrder", std::to_string(deck->Slides().Item(1)->SlideID()) + ";");
    // With no agenda stored, there is nothing to regenerate, and the user is told so.
    driver.messageAnswers = {platform::vbNo, platform::vbYes, platform::vbOK};
    app->printPresentation(*deck);
    app->printPresentation(*deck);
    const auto shown = texts();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0], kPageNumbers);
    EXPECT_EQ(shown[1], kPageNumbers);
    EXPECT_EQ(shown[2], "There is no agenda to update in this presentation.");
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

// ---- Slide shows, activation, opening and closing ------------------------------------------

TEST_F(SaveHandler, SlideShowsKeepTheScreensaverAwayOnlyWhenAskedTo) {
    for (bool screenSaverOff : {false, true}) {
        SCOPED_TRACE(screenSaverOff);
        keys.injected.clear();
        plorin::state().screenSaverOff = screenSaverOff;
        app->beginSlideShow();
        platform::timerClock().advance(65000);
        app->endSlideShow();
        platform::timerClock().advance(65000);
        ASSERT_EQ(keys.injected.size(), screenSaverOff ? 2u : 0u);
    }
    const platform::MouseInput& nudge = keys.injected.front();
    EXPECT_EQ(nudge.type, 0u);
    EXPECT_EQ(nudge.dx, 0);
    EXPECT_EQ(nudge.dy, 0);
    EXPECT_EQ(nudge.flags, platform::MOUSEEVENTF_MOVE);
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(SaveHandler, ActivatingAWindowTakesTheStyleOfItsPresentation) {
    auto blue = openDeck();
    blue->Tags().Add("plorin_style", "Blue");
    auto plain = openDeck();
    EXPECT_EQ(plorin::state().currentStyle, "");
    app->Windows().Item(1)->Activate();
    EXPECT_EQ(plorin::state().currentStyle, "Blue");
    app->Windows().Item(2)->Activate();
    EXPECT_EQ(plorin::state().currentStyle, "");
}

class PresentationEntries : public EventsFixture {
protected:
    void SetUp() override {
        EventsFixture::SetUp();
        connect("11.0");
        setAllEnabled(false);
    }
};

TEST_F(PresentationEntries, TheFirstPresentationEnablesThemAndClosingTheLastDisablesEverything) {
    auto first = app->Presentations().Add(true);
    EXPECT_TRUE(enabled(Toggle::Presentation));
    setEnabled(Toggle::Presentation, false);
    auto second = app->Presentations().Add(false);
    EXPECT_FALSE(enabled(Toggle::Presentation));  // only the first one switches them

    setAllEnabled(true);
    first->Close();  // one is left
    EXPECT_TRUE(enabled(Toggle::Presentation));
    EXPECT_TRUE(enabled(Toggle::Shape));
    second->Close();
    for (std::size_t i = 0; i < plorin::toggleGroups().size(); ++i) EXPECT_FALSE(enabled(static_cast<Toggle>(i)));

    std::filesystem::create_directories(root + "docs");
    auto saved = app->Presentations().Add(false);
    saved->SaveAs(root + "docs/x.ppt");
    saved->Close();
    app->Presentations().Open(root + "docs/x.ppt");
    EXPECT_TRUE(enabled(Toggle::Presentation));
    EXPECT_TRUE(plorin::reportedErrors().empty());
}
