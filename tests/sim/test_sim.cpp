#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "host/command_bars.h"
#include "platform/picture.h"
#include "platform/registry_store.h"
#include "platform/services.h"
#include "sim/bar_view.h"
#include "sim/simulator.h"
#include "sim/transcript_driver.h"
#include "tests/support/file_reading.h"
#include "tests/support/temp_folder.h"

namespace {

class Simulator : public ::testing::Test {
protected:
    void SetUp() override {
        dir = folder.folder();
        setenv("VARNOTEL_REGISTRY", (dir + "/registry.reg").c_str(), 1);
    }
    void TearDown() override { unsetenv("VARNOTEL_REGISTRY"); }
    bool run(const std::string& scenario, std::string& transcript) {
        std::ostringstream out;
        bool ok;
        {
            sim::Simulator s({VARNOTEL_STAGE, "14.0", false}, out);
            std::istringstream in(scenario);
            ok = s.run(in);
        }
        transcript = out.str();
        return ok;
    }
    static bool has(const std::string& transcript, const std::string& text) {
        return transcript.find(text) != std::string::npos;
    }
    test_support::TempFolder folder{"varnotel-simtest"};
    std::string dir;
};

// A deck with a rotated shape and a master: "Same width" then has something to say.
constexpr const char* kRotatedDeck =
    "host 14.0\nconnect\nnew\nslide\n"
    "shape rectangle 100 100 150 60 30\nshape rectangle 400 160 120 80\nselect shapes 1 2\n";

TEST_F(Simulator, TheBuiltInDemoToursTheSystemAndLeavesPicturesBehind) {
    const std::string pictures = dir + "/pictures/";
    std::filesystem::create_directories(pictures);
    std::string t;
    ASSERT_TRUE(run(sim::builtInDemo(pictures), t)) << t;
    for (const char* part : {"== 1. The ribbon", "== 2. A deck tidied", "== 3. An agenda", "== 4. The Slide Wizard",
                             "== 5. The same add-in on host 11.0", "== 6. A check for updates"})
        EXPECT_TRUE(has(t, part)) << part;
    EXPECT_TRUE(has(t, "The pictures are in " + pictures)) << t;
    EXPECT_LE(std::count(t.begin(), t.end(), '\n'), 250) << "a transcript a person reads to the end";
    for (const char* bad : {"ERROR", "missing callback", "failed", "[error dialog]"}) EXPECT_FALSE(has(t, bad)) << bad;
    // Each picture decodes and shows something: more than one colour.
    for (const char* name :
         {"tidy-before.png", "tidy-after.png", "black-white.png", "agenda.png", "gallery.png", "command-bar.png"}) {
        const auto picture = platform::loadPng(pictures + name);
        ASSERT_TRUE(picture) << name;
        const std::set<std::uint32_t> colours(picture->pixels.begin(), picture->pixels.end());
        EXPECT_GT(colours.size(), 1u) << name << " is blank";
    }
    // The black-and-white view has only black, white and the grey of smoothed edges.
    const auto blackWhite = platform::loadPng(pictures + "black-white.png");
    ASSERT_TRUE(blackWhite);
    EXPECT_TRUE(std::all_of(blackWhite->pixels.begin(), blackWhite->pixels.end(), [](std::uint32_t argb) {
        const auto r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
        return r == g && g == b;
    }));
}

// Where two transcripts part, for a failure message a person can read.
std::string firstDifference(const std::string& kept, const std::string& now) {
    std::istringstream a(kept), b(now);
    std::string x, y;
    for (int line = 1;; ++line) {
        const bool moreA = static_cast<bool>(std::getline(a, x)), moreB = static_cast<bool>(std::getline(b, y));
        if (!moreA && !moreB) return "the same lines, other line ends";
        if (!moreA || !moreB || x != y)
            return "line " + std::to_string(line) + ":\n  kept: " + (moreA ? x : "(end)") +
                   "\n  now:  " + (moreB ? y : "(end)");
    }
}

// Runs the simulator program on a scenario in a fresh process from `folder`, as
// scripts/update-transcripts.sh does; the exit status and what it printed.
std::pair<int, std::string> runProgram(const std::string& scenario, const std::string& folder) {
    const std::string command = "cd '" + folder + "' && env -u VARNOTEL_REGISTRY " VARNOTEL_SIM_PROGRAM " '" +
                                scenario + "' </dev/null 2>/dev/null";
    std::string printed;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return {-1, ""};
    char chunk[4096];
    for (std::size_t n; (n = fread(chunk, 1, sizeof chunk, pipe)) > 0;) printed.append(chunk, n);
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, printed};
}

// Every example holds its expectations, prints the same twice, and prints in a fresh process
// the very transcript kept beside it (scripts/update-transcripts.sh writes them when a change is meant).
TEST_F(Simulator, ExampleScenariosRun) {
    std::vector<std::filesystem::path> scenarios;
    for (auto& entry : std::filesystem::directory_iterator(VARNOTEL_SOURCE_DIR "/sim/examples"))
        if (entry.path().extension() == ".scenario") scenarios.push_back(entry.path());
    std::sort(scenarios.begin(), scenarios.end());
    ASSERT_GE(scenarios.size(), 25u);
    const std::string folder = dir + "/run";
    std::filesystem::create_directory(folder);
    // What the examples export lands in the test's own folder, in this process too.
    const auto startedIn = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    for (const auto& scenario : scenarios) {
        // Each scenario starts from a user without settings, whatever the one before wrote.
        std::filesystem::remove(dir + "/registry.reg");
        std::string t;
        EXPECT_TRUE(run(test_support::readFile(scenario), t)) << scenario << "\n" << t;
        EXPECT_FALSE(has(t, "ERROR")) << scenario << "\n" << t;
        EXPECT_FALSE(has(t, "EXPECTATION FAILED")) << scenario << "\n" << t;

        const auto [status, printed] = runProgram(scenario.string(), folder);
        EXPECT_EQ(status, 0) << scenario << "\n" << printed;
        // Two runs print the same: this one, after the examples before it in this process, and
        // the fresh process's.
        EXPECT_TRUE(t == printed) << scenario << " printed otherwise in this process, at "
                                  << firstDifference(printed, t);
        std::filesystem::path kept = scenario;
        kept.replace_extension(".transcript");
        const std::string keptText = test_support::readFile(kept);
        EXPECT_TRUE(printed == keptText) << kept << " differs from this run (scripts/update-transcripts.sh "
                                         << "writes it anew when the change is meant), at "
                                         << firstDifference(keptText, printed);
    }
    std::filesystem::current_path(startedIn);
}

TEST_F(Simulator, ExpectationsCheckWhatTheCommandBeforePrinted) {
    const std::string deck = "host 14.0\nnew\nslide\nshape rectangle 10 20 30 40\nshapes\n";
    struct Case {
        const char* steps;
        bool holds;
    };
    const Case cases[] = {
        {"expect left 10.00 top 20.00\n", true},
        {"expect left 99.00\n", false},
        {"expect-not left 99.00\n", true},
        {"expect-not left 10.00\n", false},
        {"expect /width 30\\.00 height 4\\d\\.00/\n", true},
        {"expect /^    1\\. Rectangle/\n", true},  // ^ matches at a line's start
        {"expect /^1\\./\n", false},
        {"expect-not /height [0-3]/\n", true},
        // Expectations in a row look at the same command; an echo is a command of its own.
        {"expect slide 1\nexpect-not ERROR\nexpect Rectangle\n", true},
        {"echo looked\nexpect Rectangle\n", false},
    };
    for (const auto& c : cases) {
        std::string t;
        EXPECT_EQ(run(deck + c.steps, t), c.holds) << c.steps << t;
        EXPECT_EQ(has(t, "EXPECTATION FAILED"), !c.holds) << c.steps << t;
    }

    // A failure says what was expected and what came; the scenario goes on to tell them all.
    std::string t;
    EXPECT_FALSE(run(deck + "expect left 99.00\necho still running\nexpect-not still\n", t));
    EXPECT_TRUE(has(t,
                    "EXPECTATION FAILED: expected the output of \"shapes\" to contain \"left 99.00\"\n"
                    "    it printed:\n    |  slide 1 (id "))
        << t;
    EXPECT_TRUE(has(t, "not to contain \"still\"\n    it printed:\n    |  still running\n")) << t;
    EXPECT_TRUE(has(t, "2 expectation(s) failed")) << t;
    // A pattern that is no regular expression, or nothing to look for, is an error that stops it.
    EXPECT_FALSE(run(deck + "expect /[/\necho not reached\n", t));
    EXPECT_TRUE(has(t, "ERROR: the pattern /[/ is not a regular expression")) << t;
    EXPECT_FALSE(has(t, "not reached")) << t;
    EXPECT_FALSE(run(deck + "expect\n", t));
    EXPECT_TRUE(has(t, "ERROR: 'expect' needs a text or a /pattern/")) << t;

    // The program ends with status 1 on a failed expectation, and its help tells both forms.
    const std::string scenario = dir + "/failing.scenario", transcript = dir + "/transcript.txt";
    std::ofstream(scenario) << deck << "expect left 99.00\n";
    const int status = std::system((VARNOTEL_SIM_PROGRAM " " + scenario + " >" + transcript).c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
    EXPECT_TRUE(has(test_support::readFile(transcript), "EXPECTATION FAILED"));
    EXPECT_TRUE(has(sim::Simulator::help(), "expect TEXT | expect /REGEX/"));
    EXPECT_TRUE(has(sim::Simulator::help(), "expect-not TEXT | expect-not /REGEX/"));
}

TEST_F(Simulator, ScenariosBuildGroupsTablesFillsAndFlipsAndRefuseWhatTheyCannotBuild) {
    const std::string deck = "host 14.0\nnew\nslide\nshape rectangle 10 20 30 40\nshape oval 100 20 30 40\n";
    std::string t;
    ASSERT_TRUE(run(deck + "group 1 2\nflip 1.2 vertical\nfill 1.1 #FF8000\n"
                           "table 2 2 50 200 300 100 Region Q1 North \"12\\r14\"\nshapes\nframe 2\n",
                    t))
        << t;
    EXPECT_TRUE(has(t,
                    "    1. Group 4 type 6/-2 left 10.00 top 20.00 width 120.00 height 40.00 rotation 0.00\n"
                    "       1.1. Rectangle 2 type 1/1 left 10.00 top 20.00 width 30.00 height 40.00 rotation 0.00 "
                    "fill #FF8000\n"
                    "       1.2. Oval 3 type 1/9 "))
        << t;
    EXPECT_TRUE(has(t, "fill #4F81BD flipped vertically\n")) << t;
    EXPECT_TRUE(has(t, " table 2x2\n       cell (1, 1) \"Region\"\n")) << t;
    EXPECT_TRUE(has(t, "cell (2, 2) \"12\\r14\"\n")) << t;
    EXPECT_TRUE(has(t, "  shape 2 cell (2, 2): margins left 7.20")) << t;

    struct Refusal {
        const char* step;
        const char* error;
    };
    const Refusal refusals[] = {
        {"shape leftrightarrow 1 1 10 10", "ERROR: no shape kind is called 'leftrightarrow' (chevron, "},
        {"fill 1 orange", "ERROR: fill SHAPE #RRGGBB|none"},
        {"flip 1 sideways", "ERROR: flip SHAPE horizontal|vertical"},
        {"group 1", "ERROR: 'group' needs two shapes or more"},
        {"table 1 1 0 0 10 10 a b", "ERROR: more cell texts than the table has cells"},
        {"fill 1.1 none", "ERROR: "},  // a rectangle has no members
    };
    for (const auto& r : refusals) {
        EXPECT_FALSE(run(deck + r.step + "\n", t)) << r.step;
        EXPECT_TRUE(has(t, r.error)) << t;
    }
}

TEST_F(Simulator, ADialogsStepsMaySpanLinesUpToEnd) {
    const std::string deck = "host 14.0\nconnect\nnew\nslide\nshape rectangle 10 20 300 40\nselect shapes 1\n";
    std::string t;
    ASSERT_TRUE(run(deck + "form MarginInput\n  # all four sides\n  text tbMargin 1\n\n  click btnOK\nEND\n"
                           "click \"Margins...\"\nframe 1\n",
                    t))
        << t;
    EXPECT_TRUE(has(t, ">   text tbMargin 1\n>   click btnOK\n>   END\n")) << t;
    EXPECT_TRUE(has(t, "[dialog MarginInput] click btnOK \"&OK\"\n")) << t;  // the caption beside the name
    EXPECT_TRUE(has(t, "margins left 28.35 (1.00 cm) top 28.35")) << t;

    EXPECT_FALSE(run(deck + "form MarginInput\n  click btnOK\n", t));
    EXPECT_TRUE(has(t, "ERROR: the steps for dialog MarginInput have no line \"end\"")) << t;
    EXPECT_FALSE(run(deck + "form MarginInput\n  jump btnOK\nend\n", t));
    EXPECT_TRUE(has(t, "ERROR: unknown dialog step 'jump'")) << t;
    EXPECT_FALSE(has(t, "> end")) << t;
}

TEST_F(Simulator, CommandBarsAreListedAndClickedByToolIdCaptionOrPath) {
    std::string t;
    ASSERT_TRUE(
        run("host 11.0\nconnect\nbars Shortcuts\nbarclick 1100\nnew\nslide\n"
            "barclick \"Tools/Unhide all hidden shapes\"\nbarstyle \"fresh green\"\ntags\n",
            t))
        << t;
    EXPECT_TRUE(has(t, "bar \"Varnotel for presentations - Shortcuts\": floating, left 200, top 320")) << t;
    EXPECT_FALSE(has(t, "bar \"Varnotel for presentations - Efficiency Tools\"")) << t;  // filtered out
    EXPECT_TRUE(has(t, "    built-in 2710 (group)\n")) << t;
    // Nothing selected: the button is disabled, as the host would refuse the click.
    EXPECT_TRUE(has(t,
                    "click Varnotel for presentations - Efficiency Tools/Align left to master left\n"
                    "  the button is disabled: nothing happens"))
        << t;
    EXPECT_TRUE(has(t, "click Varnotel for presentations - Efficiency Tools/Tools/Unhide all hidden shapes\n> ")) << t;
    EXPECT_TRUE(has(t, "choose item 3 \"Fresh Green\" of the style drop-down")) << t;
    EXPECT_TRUE(has(t, "PLORIN_STYLE = \"Fresh Green\"")) << t;

    // Unknown captions and items are errors; a popup is no button.
    EXPECT_FALSE(run("host 11.0\nconnect\nbarclick Nowhere\n", t));
    EXPECT_TRUE(has(t, "ERROR: no command-bar button is named 'Nowhere'")) << t;
    EXPECT_FALSE(run("host 11.0\nconnect\nbarstyle Purple\n", t));
    EXPECT_TRUE(has(t, "ERROR: the drop-down has no item 'Purple'")) << t;
    EXPECT_FALSE(run("host 11.0\nconnect\nbarclick Miscellaneous\n", t));
    EXPECT_TRUE(has(t, "ERROR: no command-bar button is named 'Miscellaneous'")) << t;  // a popup is no button
}

TEST(BarLookup, AmbiguousCaptionsAreNamedByTheirPathAndToolIdsByNumber) {
    host::CommandBars bars;
    auto addGo = [&](const char* barName, int toolId) {
        auto bar = bars.Add(barName);
        auto popup = std::static_pointer_cast<host::CommandBarPopup>(bar->Controls().Add(host::msoControlPopup));
        popup->setCaption("Tools");
        auto go = popup->Controls().Add(host::msoControlButton);
        go->setCaption("&Go");
        go->setHelpContextId(toolId);
        auto slash = bar->Controls().Add(host::msoControlButton);
        slash->setCaption(std::string("In/Out ") + barName);
        return go;
    };
    auto first = addGo("One", 1100);
    auto second = addGo("Two", 1200);
    try {
        sim::resolveBarButton(bars, "go");
        ADD_FAILURE() << "an ambiguous caption was taken";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("One/Tools/&Go"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("Two/Tools/&Go"), std::string::npos) << e.what();
    }
    EXPECT_EQ(sim::resolveBarButton(bars, "two/tools/go").get(), second.get());
    EXPECT_EQ(sim::resolveBarButton(bars, "1100").get(), first.get());
    EXPECT_EQ(sim::barPath(bars, *sim::resolveBarButton(bars, "In/Out Two")), "Two/In/Out Two");
    EXPECT_THROW(sim::resolveBarButton(bars, "Tools"), std::runtime_error);
    EXPECT_THROW(sim::barDropdown(bars), std::runtime_error);
}

TEST_F(Simulator, AMessageBoxShowsItsTitleIconTextAndTheQueuedAnswer) {
    std::string t;
    ASSERT_TRUE(run(std::string(kRotatedDeck) + "answer ok\nclick \"Same width\"\n", t)) << t;
    EXPECT_TRUE(has(t, "[message box] Varnotel for presentations (critical, OK)")) << t;
    EXPECT_TRUE(has(t, "| Shape width can only be set")) << t;
    EXPECT_TRUE(has(t, "-> OK")) << t;
}

TEST_F(Simulator, AMessageBoxWithoutAnAnswerFailsTheScenario) {
    std::string t;
    EXPECT_FALSE(run(std::string(kRotatedDeck) + "click \"Same width\"\necho not reached\n", t));
    EXPECT_TRUE(has(t, "(no answer queued)")) << t;
    EXPECT_TRUE(has(t, "ERROR: a message box or dialog had no answer")) << t;
    EXPECT_FALSE(has(t, "not reached")) << t;
}

TEST_F(Simulator, ClicksFindControlsByIdOrLabelAndSayWhenNothingHappens) {
    std::string t;
    ASSERT_TRUE(run("host 14.0\nconnect\nclick \"align LEFT\"\nclick vn_1028\n", t)) << t;
    EXPECT_TRUE(has(t, "click vn_1032 \"Align left\"\n  vn_1032: the control is disabled: nothing happens")) << t;
    EXPECT_FALSE(run("host 14.0\nconnect\nclick \"No such button\"\n", t));
    EXPECT_TRUE(has(t, "the ribbon has no control 'No such button'")) << t;
}

TEST_F(Simulator, AnInputBoxTakesTheTypedTextTheOfferedTextOrCancel) {
    const std::string deck = "sandbox\nhost 14.0\nconnect\nnew\nslide\nshape rounded 60 80 200 100\nselect shapes 1\n";
    const std::string add = "form myElementsAdd click btnAddGroup click btnCancel\nclick \"Add to My Elements\"\n";
    std::string t;
    ASSERT_TRUE(run(deck + "input ok\n" + add + "input ok Steps\n" + add + "input cancel\n" + add, t)) << t;
    EXPECT_TRUE(has(t, "(offers \"<New group>\")\n    -> OK \"<New group>\"")) << t;
    EXPECT_TRUE(has(t, "-> OK \"Steps\"")) << t;
    EXPECT_TRUE(has(t, "-> Cancel")) << t;
}

TEST_F(Simulator, ACommandBarHostShowsNoRibbon) {
    std::string t;
    ASSERT_TRUE(run("host 11.0\nconnect\nribbon\n", t)) << t;
    EXPECT_TRUE(has(t, "it shows command bars")) << t;
    EXPECT_TRUE(has(t, "(the ribbon shows no add-in controls)")) << t;
}

TEST_F(Simulator, UnknownCommandsFailTheScenario) {
    std::string t;
    EXPECT_FALSE(run("host 14.0\nfrobnicate\n", t));
    EXPECT_TRUE(has(t, "unknown command"));
}

// The shapes example exports its slide before and after the commands: the pictures show the
// header reaching the pentagon's tip along its slant, the new corner radius, and the block
// arrow's longer head on a thinner shaft.
TEST_F(Simulator, TheShapesExamplesPicturesShowWhatTheCommandsDid) {
    const std::string folder = dir + "/shapes";
    std::filesystem::create_directory(folder);
    const auto [status, printed] = runProgram(VARNOTEL_SOURCE_DIR "/sim/examples/shapes.scenario", folder);
    ASSERT_EQ(status, 0) << printed;
    const auto before = platform::loadPng(folder + "/shapes_before.png");
    const auto after = platform::loadPng(folder + "/shapes_after.png");
    ASSERT_TRUE(before && after) << printed;
    constexpr std::uint32_t white = 0xFFFFFFFF, blue = 0xFF4F81BD, orange = 0xFFF79646;
    const auto at = [](const platform::Picture& p, int x, int y) {
        return p.pixels[static_cast<std::size_t>(y * p.width + x)];
    };
    struct Pixel {
        const char* what;
        int x, y;
        std::uint32_t before, after;  // 0: anything but white
    } pixels[] = {
        {"under the header's slant, near the tip", 318, 346, blue, orange},
        {"in the header's frame, beyond its slant", 328, 323, white, white},
        {"in the moved rectangle's corner, radius 2.5 mm", 232, 412, white, 0},
        {"beside the thinner shaft", 470, 438, blue, white},
        {"in the longer head", 530, 430, white, blue},
    };
    for (const auto& p : pixels) {
        for (const auto& [picture, wanted] : {std::pair{before, p.before}, std::pair{after, p.after}}) {
            const std::uint32_t seen = at(*picture, p.x, p.y);
            if (wanted == 0) EXPECT_NE(seen, white) << p.what << (picture == before ? " before" : " after");
            else
                EXPECT_EQ(seen, wanted) << p.what << (picture == before ? " before" : " after") << std::hex << " "
                                        << seen;
        }
    }
}

TEST_F(Simulator, AnExportedSlideIsAPictureAPersonCanOpen) {
    const std::string png = dir + "/slide.png";
    std::string t;
    ASSERT_TRUE(run("host 14.0\nopen " VARNOTEL_STAGE "/customization/styles/fresh_green/process.ppt\nexport 1 " + png +
                        "\nexport 2 " + dir + "/half.png 0.5\nexport 1 " + dir + "/gray.png blackwhite\n",
                    t))
        << t;
    const auto slide = platform::loadPng(png);
    ASSERT_TRUE(slide) << t;
    EXPECT_EQ(slide->width, 720);
    EXPECT_EQ(slide->height, 540);
    std::set<std::uint32_t> colours(slide->pixels.begin(), slide->pixels.end());
    EXPECT_GT(colours.size(), 3u) << "the template's shapes are drawn";
    for (auto pixel : colours) EXPECT_EQ(pixel >> 24, 0xFFu) << "nothing is transparent";
    const auto half = platform::loadPng(dir + "/half.png");
    ASSERT_TRUE(half);
    EXPECT_EQ(half->width, 360);

    // The template's shapes keep the automatic mode: the black-and-white view draws them in
    // greys, at the slide's size.
    EXPECT_TRUE(has(t, "slide 1 in black and white written to")) << t;
    const auto gray = platform::loadPng(dir + "/gray.png");
    ASSERT_TRUE(gray);
    EXPECT_EQ(gray->width, 720);
    std::set<std::uint32_t> greys(gray->pixels.begin(), gray->pixels.end());
    EXPECT_GT(greys.size(), 3u);
    for (auto pixel : greys) {
        EXPECT_EQ(pixel & 0xFF, (pixel >> 8) & 0xFF) << std::hex << pixel;
        EXPECT_EQ(pixel & 0xFF, (pixel >> 16) & 0xFF) << std::hex << pixel;
    }
}

TEST_F(Simulator, ADueSurveyAtStartUpReachesTheLocalServerAndAFailedSendKeepsTheSchedule) {
    std::string t;
    ASSERT_TRUE(
        run("today 2026-12-08\nserver error_insert\nset surveyMaxCount 1\nset surveyDate 2026-12-08\n"
            "form Survey1 choose q1 1 choose q2 1 choose q3 1 choose q5 1 choose q6_1 1 choose q6_2 1 "
            "choose q6_3 1 choose q6_4 1 click btn2\n"
            "form Survey2 choose q7 1 choose q8_1 1 choose q8_2 1 choose q8_3 1 choose q8_4 1 click btn2\n"
            "answer ok\nconnect\nserver log\nsettings\n",
            t))
        << t;
    EXPECT_TRUE(has(t, "[server] POST /survey.php &ping=1")) << t;
    EXPECT_TRUE(has(t, "[server] POST /survey.php &PPT=14%2E0&version=")) << t;
    EXPECT_TRUE(has(t, "| An error occured during transmission of your survey data.")) << t;
    EXPECT_TRUE(has(t, "surveyDate = \"2026-12-08\"")) << t;
    EXPECT_FALSE(has(t, "surveyCount")) << t;
    EXPECT_TRUE(has(t, "plorin.Connect connected")) << t;

    ASSERT_FALSE(run("today 2026-02-30\n", t));
    EXPECT_TRUE(has(t, "ERROR: today YYYY-MM-DD")) << t;
}

TEST_F(Simulator, FailuresAreToldAndLeaveNothingBehind) {
    // A setting the registry refuses is a failed step, not a success.
    std::filesystem::create_directory(dir + "/blocked");
    setenv("VARNOTEL_REGISTRY", (dir + "/blocked").c_str(), 1);  // a folder where the file should be
    std::string t;
    const bool ok = run("set thumbsWidth 200\n", t);
    setenv("VARNOTEL_REGISTRY", (dir + "/registry.reg").c_str(), 1);
    EXPECT_FALSE(ok) << t;
    EXPECT_TRUE(has(t, "ERROR: the setting thumbsWidth could not be written")) << t;

    // readfile shows a file's control characters as escapes; a file it cannot show stops the run.
    std::ofstream(dir + "/log.txt", std::ios::binary) << "when\tpath\r\nbell\a\n";
    EXPECT_TRUE(run("readfile " + dir + "/log.txt\nexpect | when\\tpath\\r\nexpect | bell\\x07\n", t)) << t;
    EXPECT_FALSE(run("readfile " + dir + "/none.txt\necho not reached\n", t));
    EXPECT_TRUE(has(t, "ERROR: cannot read ") && !has(t, "not reached")) << t;

    // A scenario file that is missing leaves no temporary folder behind.
    const std::string temp = dir + "/temp";
    std::filesystem::create_directory(temp);
    const std::string command =
        "env -u VARNOTEL_REGISTRY TMPDIR=" + temp + " " VARNOTEL_SIM_PROGRAM " " + dir + "/missing.txt 2>/dev/null";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << status;
    EXPECT_TRUE(std::filesystem::is_empty(temp));
}

TEST(FormSteps, ReadAsActionControlAndValue) {
    auto steps = sim::parseFormSteps({"form", "Margins", "text", "tbLeft", "1.5", "click", "btnOK"}, 2);
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0].action, "text");
    EXPECT_EQ(steps[0].control, "tbLeft");
    EXPECT_EQ(steps[0].value, "1.5");
    EXPECT_EQ(steps[1].action, "click");
    EXPECT_THROW(sim::parseFormSteps({"jump", "x"}, 0), std::runtime_error);
    EXPECT_THROW(sim::parseFormSteps({"text", "tbLeft"}, 0), std::runtime_error);
    EXPECT_THROW(sim::parseFormSteps({}, 0), std::runtime_error);
}

}  // namespace

namespace {

std::string readScenario(const std::string& name) {
    return test_support::readFile(std::string(VARNOTEL_SOURCE_DIR "/sim/examples/") + name);
}

}  // namespace

TEST_F(Simulator, TheUpdateScenariosCheckAgainstTheLocalServerAndInstallIntoTheSandbox) {
    std::string t;
    ASSERT_TRUE(run(readScenario("update_check.scenario"), t)) << t;
    EXPECT_TRUE(has(t, "plorinrenew.Connect: connected")) << t;
    EXPECT_TRUE(has(t, "[dialog Install] click btnOK")) << t;
    EXPECT_TRUE(has(t, "autoUpdateReminder = ")) << t;
    EXPECT_TRUE(has(t, "Your version of Varnotel is up to date.")) << t;

    ASSERT_TRUE(run(readScenario("update_install.scenario"), t)) << t;
    EXPECT_TRUE(has(t, "The update has been installed successfully.")) << t;
    EXPECT_TRUE(has(t, "copyright_1  button       © Varnotel Example Ltd. 2027. All rights reserved.")) << t;
    EXPECT_TRUE(has(t, "autoUpdateProgramVersion = \"1.0.1.0\"")) << t;
    // The staged installation itself is never touched: the scenario ran from a copy.
    EXPECT_EQ(test_support::readFile(VARNOTEL_STAGE "/customization/copyright.txt").find("2027"), std::string::npos);
}

TEST_F(Simulator, TheSettingsScenarioWritesTheChoicesAndTheRibbonFollows) {
    std::string t;
    ASSERT_TRUE(run(readScenario("settings.scenario"), t)) << t;
    EXPECT_TRUE(has(t, "languages = \"1036;0;1040\"")) << t;
    EXPECT_TRUE(has(t, "vn_1093        button       French")) << t;
    EXPECT_TRUE(has(t, "vn_1095        button       Italian")) << t;
    EXPECT_TRUE(has(t, "plorinrenew.Connect: not connected")) << t;
    // The page behind the one in front is out of reach.
    EXPECT_TRUE(has(t,
                    "check cbScreensaver \"Disable screensaver while presenting\" 0\n"
                    "    (ignored: the control is not available)"))
        << t;
    EXPECT_TRUE(has(t, "Label menuLabel(6) \"Efficiency Tools\" (hidden)")) << t;
    // From the bar of host 11.0: the unticked buttons stay unticked after a restart.
    EXPECT_TRUE(has(t, "| The language settings will take effect after restarting PowerPoint.")) << t;
    EXPECT_TRUE(has(t, "click Varnotel for presentations - Efficiency Tools/Tools/Settings\n  [dialog Settings]")) << t;
    EXPECT_TRUE(has(t, "the button is hidden: nothing happens")) << t;
    EXPECT_TRUE(has(t, "[ ] Switch objects\n")) << t;
    EXPECT_TRUE(has(t, "ComboBox lngDropdown(2) = \"German\"")) << t;
}

TEST(FormSteps, TickAndUntickNameAListAndARow) {
    auto steps = sim::parseFormSteps({"tick", "ecyList", "Align left", "untick", "ecyList", "Word count"}, 0);
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[1].action, "untick");
    EXPECT_EQ(steps[1].control, "ecyList");
    EXPECT_EQ(steps[1].value, "Word count");
    EXPECT_THROW(sim::parseFormSteps({"tick", "ecyList"}, 0), std::runtime_error);
}

namespace {

class SimulatorScreen : public Simulator {};

TEST_F(SimulatorScreen, ThePickerSeesTheSlideOnTheScreenAndTheHookKeepsItsClicks) {
    // A rectangle at (40, 40) on the slide lies at (140, 140) on the screen.
    const std::string deck = "host 14.0\nconnect\nnew\nslide\nshape rectangle 40 40 100 100\nselect shapes 1\n";
    std::string t;
    ASSERT_TRUE(run(deck + "form pickColor pointer 141,141 wait 50 button right wait 50 show colorBox click btnAdd "
                           "pointer 640,400 wait 50 button left click btnClose\n"
                           "click \"Pick colour\"\ncolors\n",
                    t))
        << t;
    EXPECT_TRUE(has(t, "at (141, 141): press swallowed by a hook, release reached the window below")) << t;
    EXPECT_TRUE(has(t, "Shape colorBox = #4F81BD")) << t;
    EXPECT_TRUE(has(t, "at (640, 400): press reached the dialog")) << t;
    EXPECT_TRUE(has(t, "1 extra colour(s): #4F81BD")) << t;
    // Beside the slide the window's own grey shows.
    ASSERT_TRUE(run(deck + "form pickColor pointer 50,50 button left wait 50 show colorBox click btnClose\n"
                           "click \"Pick colour\"\n",
                    t))
        << t;
    EXPECT_TRUE(has(t, "Shape colorBox = #C8C8C8")) << t;
}

}  // namespace
