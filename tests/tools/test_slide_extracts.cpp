// Selected slides as a new presentation: the extract, saving it under a name, e-mailing it
// through the mail program, and showing the presentation's folder.
#include <sys/stat.h>

#include <filesystem>
#include <regex>

#include "addin/connect.h"
#include "addin/host_events.h"
#include "addin/ribbon_dispatch.h"
#include "core/folder_layout.h"
#include "core/registry.h"
#include "core/shared_state.h"
#include "platform/filesystem.h"
#include "tests/core/core_fixture.h"
#include "tests/support/file_reading.h"
#include "tools/efficiency_tools.h"
#include "tools/email_input.h"

namespace {

using Ids = std::vector<long>;

class SlideExtracts : public testing_core::CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        connect("14.0");
    }

    void TearDown() override {
        events.reset();
        plorin::state().application = nullptr;
        plorin::state().extracting = false;
        CoreFixture::TearDown();
    }

    // A host with "Q3 review.pptx" of five slides, saved in decks/, in the active window.
    // The add-in's event sink listens: writing an extract in the temporary folder must not
    // make it warn about saving there.
    void connect(const std::string& version) {
        events.reset();
        auto& host = startHost(version);
        plorin::state().application = &host;
        plorin::state().layout = plorin::computeFolderLayout(root + "program/");
        events = std::make_unique<plorin::pptEvents>();
        events->setPowerPointApp(&host);
        deck = host.Presentations().Add();
        for (int i = 1; i <= 5; ++i) deck->Slides().Add(i, 1);
        std::filesystem::create_directories(root + "decks");
        deck->SaveAs(root + "decks/Q3 review.pptx");
    }

    void selectSlides(const std::vector<int>& indexes) {
        std::vector<std::shared_ptr<host::Slide>> slides;
        for (int i : indexes) slides.push_back(deck->Slides().Item(i));
        for (const auto& w : app->Windows().all())
            if (&w->Presentation() == deck.get()) {
                w->Activate();
                w->selectSlides(slides);
            }
    }

    Ids idsOf(const std::vector<int>& indexes) {
        Ids ids;
        for (int i : indexes) ids.push_back(deck->Slides().Item(i)->SlideID());
        return ids;
    }

    static Ids idsIn(host::Presentation& p) {
        Ids ids;
        for (const auto& s : p.Slides().all()) ids.push_back(s->SlideID());
        return ids;
    }

    // The slide ids stored in a presentation file.
    Ids idsInFile(const std::string& path) {
        auto p = app->Presentations().Open(path, true, false, false);
        Ids ids = idsIn(*p);
        p->Close();
        return ids;
    }

    std::vector<std::string> extracts() {
        std::vector<std::string> paths;
        std::string list = plorin::getRegistry("slideExtracts", "", "");
        for (std::size_t start = 0, end; (end = list.find(';', start)) != std::string::npos; start = end + 1)
            paths.push_back(list.substr(start, end - start));
        return paths;
    }

    // Works the e-mail dialog: types a name (unless empty) and clicks the button.
    void answerEmailDialog(const std::string& typed, const std::string& button = "btnOK") {
        driver.queueForm("emailSelectedSlidesInput", [this, typed, button](platform::Form& f) {
            proposed = f.get<platform::TextBox>("tbFileName").Text();
            if (!typed.empty()) platform::driver::setText(f, "tbFileName", typed);
            platform::driver::click(f, button);
        });
    }

    void installMailProgram() { writeFile(root + "program/plorinpost", "#!"); }

    plorin::EfficiencyTools tools;
    std::unique_ptr<plorin::pptEvents> events;
    std::shared_ptr<host::Presentation> deck;
    std::string proposed;
};

// ---- the extract -----------------------------------------------------------------------------

TEST_F(SlideExtracts, TheCopyKeepsExactlyTheSelectedSlidesInOrderWithTheirIds) {
    for (const std::vector<int>& chosen : {std::vector<int>{3}, {2, 4}, {1, 2, 3, 4, 5}}) {
        selectSlides(chosen);
        const std::string target = root + "decks/part" + std::to_string(chosen.size()) + ".pptx";
        driver.fileAnswers.push_back(target);
        tools.saveSelectedSlides();
        EXPECT_EQ(idsInFile(target), idsOf(chosen));
        EXPECT_EQ(idsInFile(extracts().back()), idsOf(chosen));
    }
    EXPECT_TRUE(plorin::reportedErrors().empty());
    EXPECT_EQ(idsIn(*deck).size(), 5u);  // the deck itself keeps every slide
}

TEST_F(SlideExtracts, ExtractsGetUniqueNamesInAPrivateFolderAndAreListed) {
    selectSlides({1});
    driver.fileAnswers = {std::nullopt, std::nullopt, std::nullopt};
    for (int i = 0; i < 3; ++i) tools.saveSelectedSlides();  // within one second, surely twice
    auto paths = extracts();
    ASSERT_EQ(paths.size(), 3u);
    EXPECT_NE(paths[0], paths[1]);
    EXPECT_NE(paths[1], paths[2]);
    const std::string folder = std::filesystem::path(paths[0]).parent_path().string();
    EXPECT_EQ(folder.rfind(shell.temp, 0), 0u) << folder;  // the shut-down removes only these
    struct stat info {};
    ASSERT_EQ(::stat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    for (const auto& p : paths) {
        EXPECT_TRUE(
            std::regex_match(std::filesystem::path(p).filename().string(), std::regex(R"(plorin\d{14}(-\d+)?\.pptx)")))
            << p;
        EXPECT_EQ(idsInFile(p), idsOf({1}));
    }
    // The windowless copies are closed again; Cancel opened nothing.
    EXPECT_EQ(app->Presentations().Count(), 1);
    EXPECT_FALSE(plorin::state().extracting);
    // The shut-down finds and removes them.
    plorin::Connect().killSlideExtracts();
    for (const auto& p : paths) EXPECT_FALSE(std::filesystem::exists(p)) << p;
    EXPECT_EQ(plorin::getRegistry("slideExtracts", "", "<missing>"), "");
}

TEST_F(SlideExtracts, TheExtensionFollowsTheHost) {
    for (auto [version, extension] :
         {std::pair{"9.0", ".ppt"}, {"11.0", ".ppt"}, {"12.0", ".pptx"}, {"15.0", ".pptx"}}) {
        connect(version);
        selectSlides({2});
        driver.fileAnswers.push_back(std::nullopt);
        tools.saveSelectedSlides();
        EXPECT_EQ(std::filesystem::path(extracts().back()).extension().string(), extension) << version;
    }
}

TEST_F(SlideExtracts, AFailedExtractIsReportedOnceAndLeavesTheEventsAwake) {
    // The slide sorter with nothing selected has no slides to give.
    app->ActiveWindow()->setViewType(host::ppViewSlideSorter);
    app->ActiveWindow()->selectNone();
    tools.saveSelectedSlides();
    EXPECT_EQ(reportedLocations(), std::vector<std::string>{"EfficiencyTools, emailSelectedSlides"});
    EXPECT_FALSE(plorin::state().extracting);
    EXPECT_TRUE(driver.fileDialogTitles.empty());
    EXPECT_EQ(app->Presentations().Count(), 1);
}

// ---- saving --------------------------------------------------------------------------------

TEST_F(SlideExtracts, SavingToANewFileOpensItInAWindow) {
    selectSlides({2, 4});
    driver.fileAnswers.push_back(root + "decks/two slides.pptx");
    tools.saveSelectedSlides();
    EXPECT_EQ(driver.fileDialogTitles, std::vector<std::string>{"Save selected slides as new presentation"});
    auto active = app->ActivePresentation();
    EXPECT_EQ(active->FullName(), root + "decks/two slides.pptx");
    EXPECT_EQ(idsIn(*active), idsOf({2, 4}));
    EXPECT_EQ(app->Presentations().Count(), 2);
}

TEST_F(SlideExtracts, SavingOverAnExistingFileReplacesItOnlyWhenTheUserAgrees) {
    const std::string target = root + "decks/old.pptx";
    writeFile(target, "old bytes");
    selectSlides({5});
    // No: the dialog asks again, and Cancel leaves the file alone.
    driver.fileAnswers = {target, std::nullopt};
    driver.messageAnswers = {platform::vbNo};
    tools.saveSelectedSlides();
    EXPECT_EQ(driver.messages.at(0).text, "old.pptx already exists.\r\nDo you want to replace it?");
    EXPECT_EQ(test_support::readFile(target), "old bytes");
    // Yes: replaced and opened.
    driver.fileAnswers = {target};
    driver.messageAnswers = {platform::vbYes};
    tools.saveSelectedSlides();
    EXPECT_EQ(idsIn(*app->ActivePresentation()), idsOf({5}));
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(SlideExtracts, SavingOverAnOpenPresentationIsRefused) {
    selectSlides({1, 2});
    driver.fileAnswers = {root + "decks/../decks/Q3 review.pptx"};
    driver.messageAnswers = {platform::vbYes, platform::vbOK};
    tools.saveSelectedSlides();
    ASSERT_EQ(driver.messages.size(), 2u);
    EXPECT_EQ(driver.messages[1].text,
              "The presentation Q3 review.pptx is open.\r\nPlease close it first or choose another file name.");
    EXPECT_EQ(driver.messages[1].style, platform::vbCritical);
    EXPECT_EQ(idsInFile(root + "decks/Q3 review.pptx").size(), 5u);
    EXPECT_EQ(app->Presentations().Count(), 1);
}

// ---- e-mailing -------------------------------------------------------------------------------

TEST_F(SlideExtracts, EmailingStartsTheMailProgramWithAnArgumentVector) {
    installMailProgram();
    selectSlides({2, 4});
    answerEmailDialog("Q3 for Anna; $HOME `id`");
    tools.emailSelectedSlides();
    EXPECT_TRUE(std::regex_match(proposed, std::regex(R"(Q3 review_extract_\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d\.pptx)")))
        << proposed;
    ASSERT_EQ(shell.record.started.size(), 1u);
    const auto& line = shell.record.started[0];
    ASSERT_EQ(line.size(), 4u);
    EXPECT_EQ(line[0], root + "program/plorinpost");
    EXPECT_EQ(line[1], "Q3 for Anna; $HOME `id`.pptx");
    EXPECT_EQ(line[2], line[1]);
    EXPECT_EQ(line[3], extracts().back());
    EXPECT_EQ(idsInFile(line[3]), idsOf({2, 4}));
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(SlideExtracts, TheDialogRefusesBlankAndForbiddenNamesAndKeepsTheExtension) {
    plorin::emailSelectedSlidesInput dialog;
    dialog.extension = ".pptx";
    // Control characters (a pasted tab, ESC, DEL, VT) would be refused by the mail program
    // after the extract was made: the dialog refuses them first.
    const std::vector<std::string> bad = {"   ",       "what?.pptx", "a|b",     "a/b",
                                          "tab\there", "esc\x1b[1m", "del\x7f", "vt\v"};
    driver.messageAnswers.assign(bad.size(), platform::vbOK);
    for (const std::string& name : bad) {
        dialog.Show(false);
        dialog.tbFileName.setText(name);
        dialog.btnOK_Click();
        EXPECT_TRUE(dialog.Visible()) << name;
        EXPECT_EQ(dialog.tbFileName.Text(), name);
        EXPECT_FALSE(dialog.confirmed) << name;
    }
    ASSERT_EQ(driver.messages.size(), bad.size());
    EXPECT_EQ(driver.messages[0].text, "Please enter a file name for the e-mail attachment.");
    EXPECT_EQ(driver.messages[0].style, platform::vbInformation);
    EXPECT_EQ(driver.messages[1].text, "The following characters are not allowed: \\/:*?\"<>|");
    EXPECT_EQ(driver.messages[4].text, driver.messages[1].text);  // tabs and line breaks are listed there
    for (std::size_t i = 5; i < bad.size(); ++i)
        EXPECT_EQ(driver.messages[i].text, "The file name must not contain control characters.");
    for (auto [typed, kept] : {std::pair{"Q3", "Q3.pptx"}, {"Q3.pptx", "Q3.pptx"}, {"Q3.ppt", "Q3.ppt.pptx"}}) {
        dialog.Show(false);
        dialog.tbFileName.setText(typed);
        dialog.btnOK_Click();
        EXPECT_FALSE(dialog.Visible());
        EXPECT_EQ(dialog.tbFileName.Text(), kept);
        EXPECT_TRUE(dialog.confirmed);
    }
    EXPECT_FALSE(dialog.cancelled);
    dialog.btnCancel_Click();
    EXPECT_TRUE(dialog.cancelled);
}

TEST_F(SlideExtracts, CancellingOrClosingTheDialogsSendsAndSavesNothing) {
    installMailProgram();
    selectSlides({1});
    answerEmailDialog("", "btnCancel");
    tools.emailSelectedSlides();
    // Dialogs closed with their close box: with the proposed name, with a typed one, blank.
    driver.queueForm("emailSelectedSlidesInput", [](platform::Form&) {});
    tools.emailSelectedSlides();
    driver.queueForm("emailSelectedSlidesInput",
                     [](platform::Form& f) { platform::driver::setText(f, "tbFileName", "for Anna"); });
    tools.emailSelectedSlides();
    driver.queueForm("emailSelectedSlidesInput",
                     [](platform::Form& f) { platform::driver::setText(f, "tbFileName", "  "); });
    tools.emailSelectedSlides();
    EXPECT_TRUE(extracts().empty());
    EXPECT_TRUE(shell.record.started.empty());
    // The Save As dialog closed: the extract stays for the shut-down, nothing is saved or opened.
    driver.fileAnswers.push_back(std::nullopt);
    tools.saveSelectedSlides();
    EXPECT_EQ(extracts().size(), 1u);
    EXPECT_EQ(app->Presentations().Count(), 1);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root + "decks"), {}), 1);
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(SlideExtracts, TheShutDownLeavesAnExtractToTheMailProgramStillHandingItOver) {
    installMailProgram();
    selectSlides({2});
    answerEmailDialog("x");
    tools.emailSelectedSlides();
    ASSERT_EQ(shell.record.started.size(), 1u);
    const std::string extract = shell.record.started[0].back();
    {
        // What the started mail program inherited and keeps until it ends.
        platform::FileHold mailProgram(extract);
        plorin::Connect().killSlideExtracts();
        EXPECT_TRUE(std::filesystem::exists(extract));
        EXPECT_EQ(extracts(), std::vector<std::string>{extract});
    }
    plorin::Connect().killSlideExtracts();
    EXPECT_FALSE(std::filesystem::exists(extract));
    EXPECT_TRUE(extracts().empty());
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(SlideExtracts, AMissingOrFailingMailProgramIsReported) {
    selectSlides({1});
    answerEmailDialog("x");
    tools.emailSelectedSlides();
    EXPECT_EQ(reportedLocations(), std::vector<std::string>{"EfficiencyTools, emailSelectedSlides"});
    EXPECT_TRUE(shell.record.started.empty());

    installMailProgram();
    shell.startResult = false;
    answerEmailDialog("x");
    tools.emailSelectedSlides();
    EXPECT_EQ(reportedLocations().size(), 2u);
    EXPECT_NE(plorin::reportedErrors().back().error.Description.find("could not be started"), std::string::npos);
}

TEST_F(SlideExtracts, TheRibbonReachesTheThreeCommands) {
    for (int n : {1098, 1100, 1101, 1102}) {
        const auto* row = plorin::dispatchRowFor(n);
        ASSERT_TRUE(row) << n;
        EXPECT_TRUE(plorin::commandAvailable(*row)) << n;
    }
}

// ---- the presentation's folder --------------------------------------------------------------

TEST_F(SlideExtracts, OpenContainingFolderOpensTheSavedPresentationsFolder) {
    tools.openContainingFolder();
    EXPECT_EQ(shell.record.opened, std::vector<std::string>{root + "decks/"});

    app->Presentations().Add();
    driver.messageAnswers = {platform::vbOK};
    tools.openContainingFolder();
    ASSERT_EQ(driver.messages.size(), 1u);
    EXPECT_EQ(driver.messages[0].text,
              "The active presentation has not been saved yet.\r\nPlease save the presentation first.");
    EXPECT_EQ(shell.record.opened.size(), 1u);
}

}  // namespace
