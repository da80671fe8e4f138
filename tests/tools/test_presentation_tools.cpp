// Copyright notices on the masters, hidden shapes and black-and-white modes.
#include <gtest/gtest.h>

#include "addin/addin_state.h"
#include "core/config.h"
#include "host/clipboard.h"
#include "host/text.h"
#include "tests/libraries/library_fixture.h"
#include "tools/black_white_mode.h"
#include "tools/efficiency_tools.h"

namespace {

using testing_core::LibraryFixture;

// A template slide: the texts of its notice's text boxes ("" gives a box without text).
using NoticeSlide = std::vector<std::string>;

class PresentationTools : public LibraryFixture {
protected:
    void SetUp() override {
        LibraryFixture::SetUp();
        menu(R"(<style name="Blue" folder="blue"/>)");
        plorin::state().currentStyle = "Blue";
    }

    void reconnect(const std::string& version) {
        addIn.OnDisconnection(0);
        connect(version);
        menu(R"(<style name="Blue" folder="blue"/>)");
        plorin::state().currentStyle = "Blue";
    }

    void noticeTemplate(const std::string& file, const std::vector<NoticeSlide>& slides) {
        std::filesystem::create_directories(root + "customization/styles/blue");
        auto p = app->Presentations().Add(false);
        for (const auto& texts : slides) {
            auto slide = p->Slides().Add(p->Slides().Count() + 1, 12);
            for (const auto& text : texts) {
                auto box = slide->Shapes().AddTextbox(1, 400, 500, 300, 20);
                box->setName("Notice");
                if (!text.empty()) box->TextFrame().TextRange().setText(text);
            }
        }
        p->SaveAs(styleFile(file));
        p->Close();
    }
    void templates() {
        noticeTemplate("copyright_slide.ppt", {{"(c) One"}, {"(c) Two", ""}, {}});
        noticeTemplate("copyright_title.ppt", {{"(c) One title"}, {"(c) Two title"}, {}});
    }

    // The texts (or, without text, the names) of a master's shapes, in order.
    static std::vector<std::string> contents(const host::Slide& master) {
        std::vector<std::string> out;
        for (const auto& s : master.Shapes().all()) {
            const bool text = s->HasTextFrame() == host::msoTrue && s->TextFrame().HasText() == host::msoTrue;
            out.push_back(text ? s->TextFrame().TextRange().Text() : s->Name());
        }
        return out;
    }
    static std::shared_ptr<host::Shape> masterText(host::Slide& master, const std::string& text,
                                                   const std::string& name) {
        auto box = master.Shapes().AddTextbox(1, 0, 0, 100, 20);
        box->setName(name);
        if (!text.empty()) box->TextFrame().TextRange().setText(text);
        return box;
    }

    int openPresentations() const { return app->Presentations().Count(); }
    plorin::EfficiencyTools& tools() { return *plorin::addInState().tools; }
};

// ---- Copyright notices ----------------------------------------------------------------------

TEST_F(PresentationTools, ASecondNoticeReplacesTheFirstOnEveryDesignAndTheTemplateCloses) {
    templates();
    auto deck = userDeck(1);
    deck->Designs().Add("Second");
    // The template is opened read-only: a stray save could never write into the installation.
    struct OpenedFiles : host::ApplicationEvents {
        std::vector<std::pair<std::string, bool>> opened;  // name, read-only
        void PresentationOpen(host::Presentation& p) override { opened.emplace_back(p.Name(), p.ReadOnly()); }
    } watch;
    app->advise(&watch);
    tools().insertCopyright(2);
    tools().insertCopyright(1);
    app->unadvise(&watch);
    EXPECT_EQ(watch.opened, (std::vector<std::pair<std::string, bool>>{{"copyright_slide.ppt", true},
                                                                       {"copyright_slide.ppt", true}}));
    for (const auto& design : deck->Designs().all()) {
        EXPECT_EQ(contents(*design->SlideMaster()), (std::vector<std::string>{"(c) One"})) << design->Name();
        EXPECT_EQ(design->SlideMaster()->Shapes().Item(1)->Tags().Item("plorin_copyright"), "1");
    }
    EXPECT_EQ(openPresentations(), 1) << "templates are closed";
    EXPECT_TRUE(plorin::reportedErrors().empty());
    EXPECT_TRUE(messages().empty());
    // The template on disk was never written: its shapes carry no tag.
    auto again = app->Presentations().Open(styleFile("copyright_slide.ppt"), true, false, false);
    EXPECT_EQ(again->Slides().Item(1)->Shapes().Item(1)->Tags().Item("plorin_copyright"), "");
}

TEST_F(PresentationTools, TheRemovalListRemovesByTrimmedTextOrNameExactly) {
    templates();
    writeFile(root + "customization/copyright_remove.txt",
              "# comment\n\n   \n  Old notice  \n #Hash entry\r\nLogo picture\nold NOTICE\n");
    auto deck = userDeck(1);
    auto& master = *deck->Designs().Item(1)->SlideMaster();
    masterText(master, "  Old notice ", "A");              // trimmed text matches
    masterText(master, "old notice", "B");                 // letter case differs: stays
    masterText(master, "", "Logo picture");                // no text, name matches
    masterText(master, "#Hash entry", "C");                // " #Hash entry" is an entry, trimmed
    masterText(master, "Title placeholder", "# comment");  // a comment is no entry
    masterText(master, "Keep", "Logo picture");            // text differs, but the name matches
    tools().insertCopyright(3);                            // a notice slide without shapes
    EXPECT_EQ(contents(master), (std::vector<std::string>{"old notice", "Title placeholder"}));
    EXPECT_TRUE(plorin::reportedErrors().empty());

    // A list in an encoding it refuses is told once, and the masters stay as they are.
    writeFile(root + "customization/copyright_remove.txt", "Old notice \xE9\n");
    driver.onUnansweredMessage = [](const platform::MessageBoxCall&) { return platform::vbOK; };
    tools().insertCopyright(1);
    EXPECT_EQ(contents(master), (std::vector<std::string>{"old notice", "Title placeholder"}));
    EXPECT_EQ(messages().size(), 1u);
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(PresentationTools, TitleMastersGetTheirNoticeOnlyOnOldHosts) {
    templates();
    for (const char* version : {"11.0", "14.0"}) {
        reconnect(version);
        auto deck = userDeck(1);
        auto title = deck->Designs().Item(1)->AddTitleMaster();
        deck->Designs().Add("No title master");
        tools().insertCopyright(2);
        const std::vector<std::string> expected =
            std::string(version) == "11.0" ? std::vector<std::string>{"(c) Two title"} : std::vector<std::string>{};
        EXPECT_EQ(contents(*title), expected) << version;
        EXPECT_EQ(contents(*deck->Designs().Item(2)->SlideMaster()), (std::vector<std::string>{"(c) Two", "Notice"}));
        EXPECT_EQ(openPresentations(), 1) << version;
        EXPECT_TRUE(plorin::reportedErrors().empty()) << version;
        deck->Close();
    }
    // A missing title template goes unnoticed on a newer host.
    std::filesystem::remove(styleFile("copyright_title.ppt"));
    userDeck(1);
    tools().insertCopyright(1);
    EXPECT_TRUE(messages().empty());
}

TEST_F(PresentationTools, ChecksAndFailuresLeaveThePresentationUnchanged) {
    auto deck = userDeck(1);
    auto& master = *deck->Designs().Item(1)->SlideMaster();
    masterText(master, "Old", "Tagged")->Tags().Add("plorin_copyright", "1");

    tools().insertCopyright(1);  // no template
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], "The template file '" + styleFile("copyright_slide.ppt") +
                                 "' could not be found.\r\nPlease check your installation and contact us at " +
                                 plorin::supportEmail() + " if the problem persists.");
    EXPECT_EQ(driver.messages[0].style, platform::vbCritical);

    templates();
    tools().insertCopyright(9);  // beyond the template's slides
    EXPECT_EQ(reportedLocations(), (std::vector<std::string>{"EfficiencyTools, insertCopyright"}));
    EXPECT_EQ(openPresentations(), 1) << "the template is closed after the failure too";

    window().setViewType(host::ppViewSlideSorter);
    tools().insertCopyright(1);
    EXPECT_EQ(messages().back(), "Please go to normal view.");
    window().setViewType(host::ppViewOutline);

    plorin::state().currentStyle.clear();
    tools().insertCopyright(1);
    EXPECT_EQ(messages().back(), "Please select a style first.");
    EXPECT_EQ(contents(master), (std::vector<std::string>{"Old"}));

    plorin::state().currentStyle = "Blue";
    tools().insertCopyright(1);  // from the outline pane the slide pane takes over
    EXPECT_EQ(contents(master), (std::vector<std::string>{"(c) One"}));
    EXPECT_EQ(window().ActivePane().ViewType(), host::ppViewSlide);
}

TEST_F(PresentationTools, TheCopyrightMenuReachesTheCommand) {
    templates();
    auto deck = userDeck(1);
    addIn.invokeCallback("copyright_onAction", {"copyright_2", "2"}, {});
    EXPECT_EQ(contents(*deck->Designs().Item(1)->SlideMaster()), (std::vector<std::string>{"(c) Two", "Notice"}));
}

// ---- Hidden shapes --------------------------------------------------------------------------

TEST_F(PresentationTools, HidingAndUnhidingFollowTheTagAndTheSaveQuestion) {
    auto deck = userDeck(3);
    std::filesystem::create_directories(root + "docs");
    deck->SaveAs(root + "docs/hidden.ppt");
    std::vector<std::shared_ptr<host::Shape>> shapes;
    for (const auto& slide : deck->Slides().all())
        for (int i = 0; i < 2; ++i) shapes.push_back(slide->Shapes().AddShape(host::msoShapeRectangle, 1, 1, 5, 5));

    window().showSlide(deck->Slides().Item(3));
    window().selectNone();
    tools().hideShapes();  // nothing to hide: no tag that would hold up a save
    EXPECT_EQ(deck->Slides().Item(3)->Tags().Item("plorin_hiddenShapes"), "");
    EXPECT_EQ(reportedLocations(), (std::vector<std::string>{"EfficiencyTools, hideShapes"}));

    for (int k : {0, 2, 3}) {
        window().selectShapes({shapes[static_cast<std::size_t>(k)]});
        tools().hideShapes();
    }
    window().selectShapes({shapes[2]});
    tools().hideShapes();  // twice on one slide
    EXPECT_EQ(shapes[0]->Visible(), host::msoFalse);
    EXPECT_EQ(shapes[1]->Visible(), host::msoTrue);
    EXPECT_EQ(deck->Slides().Item(1)->Tags().Item("plorin_hiddenShapes"), "1");
    EXPECT_EQ(deck->Slides().Item(2)->Tags().Item("plorin_hiddenShapes"), "1");

    driver.messages.clear();
    deck->Save();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_NE(messages()[0].find("There are hidden shapes on slides 1, 2."), std::string::npos);

    shapes[5]->setVisible(host::msoFalse);  // hidden by other means
    window().selectSlides({deck->Slides().Item(1), deck->Slides().Item(2), deck->Slides().Item(3)});
    tools().unhideShapes();
    for (const auto& s : shapes) EXPECT_EQ(s->Visible(), host::msoTrue);
    for (const auto& slide : deck->Slides().all()) EXPECT_EQ(slide->Tags().Item("plorin_hiddenShapes"), "");

    driver.messages.clear();
    deck->Save();
    EXPECT_TRUE(messages().empty());
    EXPECT_TRUE(deck->Saved());
}

TEST_F(PresentationTools, UnhidingTreatsTheCurrentSlideOrTellsThereIsNone) {
    auto deck = userDeck(2, 2);
    auto hidden = deck->Slides().Item(2)->Shapes().AddShape(host::msoShapeRectangle, 1, 1, 5, 5);
    hidden->setVisible(host::msoFalse);
    deck->Slides().Item(2)->Tags().Add("plorin_hiddenShapes", "1");
    window().selectNone();
    tools().unhideShapes();
    EXPECT_EQ(hidden->Visible(), host::msoTrue);
    EXPECT_EQ(deck->Slides().Item(2)->Tags().Item("plorin_hiddenShapes"), "");

    window().setViewType(host::ppViewSlideSorter);
    window().selectNone();
    tools().unhideShapes();
    EXPECT_EQ(messages(), (std::vector<std::string>{
                              "Nothing appropriate is currently selected. Please select the slides you would like to "
                              "unhide shapes on."}));
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

// ---- Black-and-white modes ------------------------------------------------------------------

class BlackWhite : public PresentationTools {
protected:
    // Works the dialog: picks the entries and presses the button.
    void queueDialog(int back, int shapes, const char* button = "btnOK") {
        driver.queueForm("BlackWhiteMode", [=](platform::Form& f) {
            f.get<platform::ComboBox>("cbBack").setListIndex(back);
            f.get<platform::ComboBox>("cbShapes").setListIndex(shapes);
            platform::driver::click(f, button);
        });
    }
    std::shared_ptr<host::Presentation> deck() {
        auto p = userDeck(2);
        for (const auto& slide : p->Slides().all())
            for (int i = 0; i < 2; ++i) slide->Shapes().AddShape(host::msoShapeRectangle, 1, 1, 5, 5);
        return p;
    }
    static std::vector<int> modes(host::Presentation& p) {
        std::vector<int> out;
        for (const auto& slide : p.Slides().all()) {
            out.push_back(slide->Background().BlackWhiteMode());
            for (const auto& s : slide->Shapes().all()) out.push_back(s->BlackWhiteMode());
        }
        return out;
    }
};

TEST_F(BlackWhite, TheListsHoldTheTenModesWithGrayscaleChosen) {
    plorin::BlackWhiteMode form;
    form.Load();
    ASSERT_EQ(form.cbBack.ListCount(), 10);
    EXPECT_EQ(form.cbShapes.ListIndex(), 1);
    EXPECT_EQ(form.cbBack.Text(), "Grayscale");
    form.cbShapes.setListIndex(8);
    EXPECT_EQ(form.cbShapes.Text(), "White");
}

TEST_F(BlackWhite, SelectedShapesGetTheShapeModeOnly) {
    auto p = deck();
    auto& slide = *p->Slides().Item(1);
    window().selectShapes({slide.Shapes().Item(1), slide.Shapes().Item(2)});
    queueDialog(3, 7);
    tools().setBlackWhiteMode();
    EXPECT_EQ(modes(*p), (std::vector<int>{1, 8, 8, 1, 1, 1}));
    EXPECT_EQ(messages(), (std::vector<std::string>{"All selected shapes have been set to 'Black' mode."}));
}

TEST_F(BlackWhite, SelectedSlidesGetBothModes) {
    auto p = deck();
    window().selectSlides({p->Slides().Item(2)});
    queueDialog(8, 9);
    tools().setBlackWhiteMode();
    EXPECT_EQ(modes(*p), (std::vector<int>{1, 1, 1, 9, 10, 10}));
    EXPECT_EQ(messages(), (std::vector<std::string>{
                              "The background of all selected slides in your presentation has been set to 'White' "
                              "mode, all shapes on the selected slides have been set to 'Don't show' mode."}));
}

TEST_F(BlackWhite, NothingSelectedAsksFirstAndCancelChangesNothing) {
    auto p = deck();
    window().selectNone();
    driver.messageAnswers = {platform::vbCancel};
    tools().setBlackWhiteMode();
    EXPECT_TRUE(driver.modalForms.empty());

    driver.messageAnswers = {platform::vbOK};
    queueDialog(0, 0, "btnCancel");
    tools().setBlackWhiteMode();
    EXPECT_EQ(modes(*p), (std::vector<int>{1, 1, 1, 1, 1, 1}));

    driver.messageAnswers = {platform::vbOK};
    queueDialog(2, 5);
    tools().setBlackWhiteMode();
    EXPECT_EQ(modes(*p), (std::vector<int>{3, 6, 6, 3, 6, 6}));
    EXPECT_EQ(messages().back(),
              "The background of all slides in your presentation has been set to 'Light Grayscale' mode, all shapes "
              "have been set to 'Black with Grayscale Fill' mode.");
    EXPECT_EQ(driver.messages[0].style, platform::vbOKCancel | platform::vbQuestion);

    p->Close();
    tools().setBlackWhiteMode();
    EXPECT_EQ(messages().back(), "Please open a presentation first.");
}

}  // namespace
