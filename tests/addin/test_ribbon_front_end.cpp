#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>

#include "addin/addin_state.h"
#include "addin/connect.h"
#include "addin/host_events.h"
#include "addin/ribbon_dispatch.h"
#include "addin/ribbon_enabling.h"
#include "core/icons.h"
#include "core/languages.h"
#include "core/registry.h"
#include "core/usage_counters.h"
#include "host/text.h"
#include "platform/picture.h"
#include "tests/core/core_fixture.h"

namespace {

using testing_core::CoreFixture;

host::IRibbonControl control(int n, const std::string& tag = {}) { return {"vn_" + std::to_string(n), tag}; }

// The add-in connected to a ribbon host, called directly as the host calls it.
class Ribbon : public CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        startHost("14.0");
        addIn.OnConnection(*app, 0, nullptr);
        plorin::reportedErrors().clear();
    }
    void TearDown() override {
        addIn.OnDisconnection(0);
        plorin::currentLanguages() = {0, 0, 0};
        CoreFixture::TearDown();
    }
    // What the add-in counts: the raises it keeps in memory written first, as before the
    // about box shows them.
    static std::string setting(const std::string& name) {
        plorin::flushUsageCounters();
        return stored(name);
    }
    // What the settings file holds now.
    static std::string stored(const std::string& name) { return plorin::getRegistry(name, "", "(missing)"); }

    // A window on a deck with one slide.
    std::shared_ptr<host::Slide> deck() {
        auto p = app->Presentations().Add(true);
        auto s = p->Slides().Add(1, 12);
        app->ActiveWindow()->showSlide(s);
        return s;
    }

    plorin::Connect addIn;
};

// ---- Usage counters ----------------------------------------------------------------------------

struct CounterCase {
    int number;
    const char* counter;  // nullptr: none
};

class UsageCounters : public Ribbon, public ::testing::WithParamInterface<CounterCase> {};

TEST_P(UsageCounters, AClickRaisesTheCounterOfItsFamilyAlone) {
    addIn.onAction(control(GetParam().number));
    for (const char* name : {"statsAgendaWizard", "statsMyElements", "statsSlideWizard", "statsEfficiencyTools"}) {
        const bool raised = GetParam().counter && std::string(GetParam().counter) == name;
        EXPECT_EQ(setting(name), raised ? "1" : "(missing)") << name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ribbon, UsageCounters,
    ::testing::Values(CounterCase{1018, "statsAgendaWizard"}, CounterCase{1020, "statsAgendaWizard"},
                      CounterCase{1021, "statsAgendaWizard"}, CounterCase{1019, nullptr},
                      CounterCase{1027, "statsMyElements"}, CounterCase{1028, "statsMyElements"},
                      CounterCase{1029, "statsMyElements"}, CounterCase{1030, nullptr},
                      CounterCase{1031, "statsEfficiencyTools"}, CounterCase{1117, "statsEfficiencyTools"},
                      CounterCase{2000, "statsEfficiencyTools"}, CounterCase{2001, "statsSlideWizard"},
                      CounterCase{2005, "statsSlideWizard"}, CounterCase{1010, nullptr}, CounterCase{1002, nullptr},
                      CounterCase{1025, nullptr}),
    [](const auto& info) { return "vn_" + std::to_string(info.param.number); });

struct StoredCount {
    const char* name;
    const char* stored;
    const char* after;
};

class StoredCounts : public Ribbon, public ::testing::WithParamInterface<StoredCount> {};

TEST_P(StoredCounts, AreRaisedOrStartAgainButNeverStopTheClick) {
    plorin::setRegistry("statsEfficiencyTools", GetParam().stored, "");
    EXPECT_NO_THROW(addIn.onAction(control(1031)));
    EXPECT_EQ(setting("statsEfficiencyTools"), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(Ribbon, StoredCounts,
                         ::testing::Values(StoredCount{"Number", "41", "42"}, StoredCount{"Empty", "", "1"},
                                           StoredCount{"Garbage", "lots", "1"}, StoredCount{"Negative", "-3", "1"},
                                           StoredCount{"Blanks", " 7 ", "8"}),
                         [](const auto& info) { return std::string(info.param.name); });

// A click does not wait for the disk: the counts are written together five seconds on, after
// a modal form, and at disconnection.
TEST_F(Ribbon, ClicksAreCountedInMemoryAndWrittenTogetherLater) {
    addIn.onAction(control(1031));
    addIn.onAction(control(1032));
    addIn.onAction(control(2005));
    EXPECT_EQ(stored("statsEfficiencyTools"), "(missing)");
    platform::timerClock().advance(plorin::kUsageCountersFlushMs);
    EXPECT_EQ(stored("statsEfficiencyTools"), "2");
    EXPECT_EQ(stored("statsSlideWizard"), "1");

    addIn.onAction(control(1031));
    EXPECT_EQ(stored("statsEfficiencyTools"), "2");
    driver.queueForm("someDialog", [](platform::Form&) {});
    platform::Form("someDialog").Show(true);
    EXPECT_EQ(stored("statsEfficiencyTools"), "3");

    addIn.onAction(control(1031));
    addIn.OnDisconnection(0);
    EXPECT_EQ(stored("statsEfficiencyTools"), "4");
    addIn.OnConnection(*app, 0, nullptr);
}

TEST_F(Ribbon, CountsKeptForOneSettingsStoreNeverReachAnother) {
    addIn.onAction(control(1031));
    auto other = platform::makeMemoryRegistry();
    platform::useRegistryStore(other.get());
    plorin::flushUsageCounters();
    EXPECT_EQ(stored("statsEfficiencyTools"), "(missing)");
    platform::useRegistryStore(registry.get());
    plorin::flushUsageCounters();
    EXPECT_EQ(stored("statsEfficiencyTools"), "(missing)");
}

TEST_F(Ribbon, AGarbageCounterDoesNotKeepTheCommandFromRunning) {
    auto s = deck();
    auto a = s->Shapes().AddShape(host::msoShapeRectangle, 10, 20, 50, 40);
    auto master = s->Shapes().AddShape(host::msoShapeRectangle, 100, 200, 80, 60);
    app->ActiveWindow()->selectShapes({a, master});
    plorin::setRegistry("statsEfficiencyTools", "not a count", "");
    addIn.onAction(control(1032));
    EXPECT_FLOAT_EQ(a->Left(), 100);
    EXPECT_EQ(setting("statsEfficiencyTools"), "1");
}

TEST_F(Ribbon, TheCounterIsRaisedBeforeTheCommandRuns) {
    auto s = deck();
    auto turned = s->Shapes().AddShape(host::msoShapeRectangle, 10, 20, 50, 40);
    turned->setRotation(45);  // its width cannot be set: the command shows a message
    auto master = s->Shapes().AddShape(host::msoShapeRectangle, 100, 200, 80, 60);
    app->ActiveWindow()->selectShapes({turned, master});
    std::string countWhileRunning = "(no message)";
    driver.onUnansweredMessage = [&](const platform::MessageBoxCall&) {
        countWhileRunning = setting("statsEfficiencyTools");
        return platform::vbOK;
    };
    addIn.onAction(control(1040));
    EXPECT_EQ(countWhileRunning, "1");
}

TEST_F(Ribbon, AnIdWithoutANumberFailsTheCallbackAndCountsNothing) {
    EXPECT_THROW(addIn.onAction({"vn_abc", ""}), platform::NumberedError);
    EXPECT_THROW(addIn.onAction({"vn_99999", ""}), platform::NumberedError);
    EXPECT_THROW(addIn.getEnabled({"vn", ""}), platform::NumberedError);
    EXPECT_EQ(setting("statsEfficiencyTools"), "(missing)");
    EXPECT_TRUE(plorin::reportedErrors().empty()) << "callbacks report nothing themselves";
}

TEST_F(Ribbon, OnlyTheNumberAfterThePrefixCounts) {
    EXPECT_EQ(plorin::controlNumber("xx_1032"), 1032);
    EXPECT_EQ(plorin::controlNumber("vn_1032"), 1032);
}

TEST_F(Ribbon, EveryClickRunsTheUndoFixFirst) {
    std::filesystem::copy_file(VARNOTEL_SOURCE_DIR "/install/program/plorinUndoFix.ppt",
                               root + "program/plorinUndoFix.ppt");
    addIn.onAction(control(1031));
    addIn.onActionTB(control(1087), true);
    EXPECT_EQ(app->macrosRun(), (std::vector<std::string>{"plorinUndoFix.ppt!plorin.plorinUndoFix",
                                                          "plorinUndoFix.ppt!plorin.plorinUndoFix"}));
    EXPECT_EQ(app->Presentations().Count(), 0) << "the undo-fix presentation is closed again";
}

// ---- Dispatch ----------------------------------------------------------------------------------

// Two rectangles, the second the master: a (10, 20, 300 x 400) and m (100, 200, 80 x 60).
struct DispatchCase {
    int number;
    std::function<void(host::Shape& a)> expect;
};

class Dispatch : public Ribbon, public ::testing::WithParamInterface<DispatchCase> {};

TEST_P(Dispatch, ReachesTheCommandOfTheNumber) {
    auto s = deck();
    auto a = s->Shapes().AddShape(host::msoShapeRectangle, 10, 20, 300, 400);
    auto m = s->Shapes().AddShape(host::msoShapeRectangle, 100, 200, 80, 60);
    app->ActiveWindow()->selectShapes({a, m});
    addIn.onAction(control(GetParam().number));
    GetParam().expect(*a);
    EXPECT_FLOAT_EQ(m->Left(), 100) << "the master stays";
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

void box(host::Shape& s, float left, float top, float width, float height) {
    EXPECT_FLOAT_EQ(s.Left(), left);
    EXPECT_FLOAT_EQ(s.Top(), top);
    EXPECT_FLOAT_EQ(s.Width(), width);
    EXPECT_FLOAT_EQ(s.Height(), height);
}

INSTANTIATE_TEST_SUITE_P(Ribbon, Dispatch,
                         ::testing::Values(DispatchCase{1032, [](host::Shape& a) { box(a, 100, 20, 300, 400); }},
                                           DispatchCase{1033, [](host::Shape& a) { box(a, -10, 20, 300, 400); }},
                                           DispatchCase{1034, [](host::Shape& a) { box(a, -120, 20, 300, 400); }},
                                           DispatchCase{1036, [](host::Shape& a) { box(a, 10, 200, 300, 400); }},
                                           DispatchCase{1037, [](host::Shape& a) { box(a, 10, 30, 300, 400); }},
                                           DispatchCase{1038, [](host::Shape& a) { box(a, 10, -140, 300, 400); }},
                                           DispatchCase{1040, [](host::Shape& a) { box(a, 10, 20, 80, 400); }},
                                           DispatchCase{1041, [](host::Shape& a) { box(a, 10, 20, 300, 60); }},
                                           DispatchCase{1042, [](host::Shape& a) { box(a, 10, 20, 80, 60); }},
                                           DispatchCase{1044, [](host::Shape& a) { box(a, 100, 20, 210, 400); }},
                                           DispatchCase{1046, [](host::Shape& a) { box(a, 100, 20, 210, 400); }},
                                           DispatchCase{1047, [](host::Shape& a) { box(a, 10, 20, 170, 400); }},
                                           DispatchCase{1048, [](host::Shape& a) { box(a, 10, 200, 300, 220); }},
                                           DispatchCase{1049, [](host::Shape& a) { box(a, 10, 20, 300, 240); }},
                                           DispatchCase{1051, [](host::Shape& a) { box(a, 180, 20, 300, 400); }},
                                           DispatchCase{1053, [](host::Shape& a) { box(a, 180, 20, 300, 400); }},
                                           DispatchCase{1054, [](host::Shape& a) { box(a, -200, 20, 300, 400); }},
                                           DispatchCase{1055, [](host::Shape& a) { box(a, 10, 260, 300, 400); }},
                                           DispatchCase{1056, [](host::Shape& a) { box(a, 10, -200, 300, 400); }},
                                           DispatchCase{1063, [](host::Shape& a) { box(a, 180, 20, 130, 400); }},
                                           DispatchCase{1065, [](host::Shape& a) { box(a, 180, 20, 130, 400); }},
                                           DispatchCase{1066, [](host::Shape& a) { box(a, 10, 20, 90, 400); }},
                                           DispatchCase{1067, [](host::Shape& a) { box(a, 10, 260, 300, 160); }},
                                           DispatchCase{1068, [](host::Shape& a) { box(a, 10, 20, 300, 180); }},
                                           DispatchCase{1058, [](host::Shape& a) { EXPECT_NE(a.Left(), 10); }},
                                           DispatchCase{1059, [](host::Shape& a) { EXPECT_NE(a.Top(), 20); }},
                                           DispatchCase{1061, [](host::Shape& a) { EXPECT_NE(a.Top(), 20); }}),
                         [](const auto& info) { return "vn_" + std::to_string(info.param.number); });

TEST_F(Ribbon, RowsWhoseCommandIsNotBuiltYetDoNothing) {
    auto s = deck();
    auto a = s->Shapes().AddShape(host::msoShapeRectangle, 10, 20, 300, 400);
    auto m = s->Shapes().AddShape(host::msoShapeRectangle, 100, 200, 80, 60);
    app->ActiveWindow()->selectShapes({a, m});
    for (const auto& row : plorin::dispatchTable()) {
        if (plorin::commandAvailable(row)) continue;
        EXPECT_NO_THROW(addIn.onAction(control(row.number))) << row.number;
        EXPECT_FALSE(plorin::dispatchCommand(row.number)) << row.number;
    }
    box(*a, 10, 20, 300, 400);
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(Ribbon, TheLanguageButtonsHandOnTheLanguageOfTheirSlot) {
    for (int n : {1093, 1094, 1095}) {
        const auto* row = plorin::dispatchRowFor(n);
        ASSERT_NE(row, nullptr);
        EXPECT_STREQ(row->command, "setLanguage");
        EXPECT_EQ(row->languageSlot, n - 1093);
    }
}

TEST_F(Ribbon, ALanguageButtonMarksTheSelectionWithTheLanguageOfItsSlot) {
    plorin::setRegistry("languages", "1033;1031", "");
    plorin::initializeLanguages();
    auto s = deck();
    auto box = s->Shapes().AddTextbox(1, 10, 10, 200, 50);
    box->TextFrame().TextRange().setText("Guten Tag");
    app->ActiveWindow()->selectShapes({box});
    addIn.onAction(control(1094));
    EXPECT_EQ(box->TextFrame().TextRange().LanguageID(), 1031);
    addIn.onAction(control(1093));
    EXPECT_EQ(box->TextFrame().TextRange().LanguageID(), 1033);
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

// ---- Enabling ----------------------------------------------------------------------------------

struct Selection {
    const char* name;
    std::function<void(plorin::pptEvents&)> set;
    bool window;
    std::set<int> enabled;  // of the numbers in the enabling table
};

class Enabling : public Ribbon, public ::testing::WithParamInterface<Selection> {};

TEST_P(Enabling, FollowsTheSelectionState) {
    if (GetParam().window) deck();
    auto& events = *plorin::addInState().events;
    GetParam().set(events);
    std::set<int> numbers{1002, 1025, 1028, 1031, 2001};  // always enabled
    for (const auto& row : plorin::enablingTable()) numbers.insert(row.numbers.begin(), row.numbers.end());
    for (int n : numbers) {
        const bool always = n == 1002 || n == 1025 || n == 1028 || n == 1031 || n == 2001;
        EXPECT_EQ(addIn.getEnabled(control(n)), always || GetParam().enabled.count(n) > 0) << "vn_" << n;
    }
}

const std::set<int> kTwoOrMore{1032, 1033, 1034, 1036, 1037, 1038, 1040, 1041, 1042, 1044, 1046, 1047, 1048, 1049,
                               1051, 1053, 1054, 1055, 1056, 1058, 1059, 1061, 1063, 1065, 1066, 1067, 1068};
const std::set<int> kWindow{1102, 1104, 1105, 1106, 1108, 1110, 1115};
const std::set<int> kLanguages{1093, 1094, 1095};
const std::set<int> kText{1085, 1086, 1087, 1089, 1090, 1091};

std::set<int> join(std::initializer_list<std::set<int>> parts) {
    std::set<int> all;
    for (auto& p : parts) all.insert(p.begin(), p.end());
    return all;
}

INSTANTIATE_TEST_SUITE_P(
    Ribbon, Enabling,
    ::testing::Values(
        Selection{"NoWindow", [](plorin::pptEvents&) {}, false, {}},
        // The state left from the last window's selection does not switch on the languages.
        Selection{"NoWindowAfterASelection", [](plorin::pptEvents& e) { e.shapeNumber = 1, e.slideNumber = 1; },
                  false, {1070, 1071, 1109, 1112, 1114, 1098, 1100, 1101, 1117}},
        // Nothing selected in a view without a current slide (the sorter).
        Selection{"NothingSelected", [](plorin::pptEvents& e) { e.slideNumber = 0; }, true, kWindow},
        Selection{"SlideInTheSorter", [](plorin::pptEvents& e) { e.slideNumber = 1; }, true,
                  join({kWindow, kLanguages, {1098, 1100, 1101, 1117}})},
        Selection{"OneRectangleWithText",
                  [](plorin::pptEvents& e) { e.shapeNumber = 1, e.slideNumber = 1, e.shapesText = true; }, true,
                  join({kWindow, kLanguages, kText, {1098, 1100, 1101, 1117, 1070, 1071, 1109, 1112, 1114}})},
        Selection{"OneRoundedRectangle",
                  [](plorin::pptEvents& e) { e.shapeNumber = 1, e.slideNumber = 1, e.shapesRoundedRectangles = true; }, true,
                  join({kWindow, kLanguages, {1098, 1100, 1101, 1117, 1070, 1071, 1109, 1112, 1114, 1077, 1078, 1081}})},
        Selection{"TwoRoundedRectangles",
                  [](plorin::pptEvents& e) { e.shapeNumber = 2, e.slideNumber = 1, e.shapesRoundedRectangles = true; }, true,
                  join({kWindow, kLanguages, kTwoOrMore,
                        {1098, 1100, 1101, 1117, 1070, 1071, 1109, 1112, 1114, 1077, 1078, 1080, 1081, 1075, 1082, 1111}})},
        Selection{"ThreeChevronsInAChain",
                  [](plorin::pptEvents& e) {
                      e.shapeNumber = 3, e.slideNumber = 1, e.shapesProcessArrows = true, e.shapes90degrees = true,
                      e.shapesSameOrientation = true;
                  },
                  true, join({kWindow, kLanguages, kTwoOrMore, {1098, 1100, 1101, 1117, 1070, 1071, 1109, 1112, 1114, 1073, 1074}})},
        Selection{"TwoChevronsFacingApart",
                  [](plorin::pptEvents& e) {
                      e.shapeNumber = 2, e.slideNumber = 1, e.shapesProcessArrows = true, e.shapes90degrees = true;
                  },
                  true,
                  join({kWindow, kLanguages, kTwoOrMore,
                        {1098, 1100, 1101, 1117, 1070, 1071, 1109, 1112, 1114, 1073, 1075, 1082, 1111}})},
        Selection{"OneBlockArrow", [](plorin::pptEvents& e) { e.shapeNumber = 1, e.slideNumber = 1, e.shapesBlockArrows = true; },
                  true, join({kWindow, kLanguages, {1098, 1100, 1101, 1117, 1070, 1071, 1109, 1112, 1114, 1076}})}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Visibility, labels, pictures --------------------------------------------------------------

TEST_F(Ribbon, TheStyleDropDownShowsOnlyWithTwoStylesOrMore) {
    auto& names = plorin::state().styleNames;
    names.Clear();
    EXPECT_FALSE(addIn.getVisible(control(1025)));
    names.Add("Corporate");
    EXPECT_FALSE(addIn.getVisible(control(1025)));
    names.Add("Classic");
    EXPECT_TRUE(addIn.getVisible(control(1025)));
    EXPECT_TRUE(addIn.getVisible(control(1032)));
}

TEST_F(Ribbon, WithLanguages1033AndTwoEmptySlotsOnlyTheFirstButtonShows) {
    plorin::setRegistry("languages", "1033", "");
    plorin::initializeLanguages();
    EXPECT_TRUE(addIn.getVisible(control(1093)));
    EXPECT_FALSE(addIn.getVisible(control(1094)));
    EXPECT_FALSE(addIn.getVisible(control(1095)));
    EXPECT_EQ(addIn.getLabel(control(1093)), "English US");
    EXPECT_EQ(addIn.getLabel(control(1094)), "");
    EXPECT_EQ(addIn.getLabel(control(1032)), "");
    auto flag = addIn.getImage(control(1093));
    ASSERT_TRUE(flag);
    EXPECT_EQ(flag, plorin::Icons().lngPic(0).picture);
    EXPECT_EQ(flag->width, 16);
}

TEST_F(Ribbon, ALanguageOutsideTheTableFailsTheLabel) {
    plorin::currentLanguages() = {4242, 0, 0};
    EXPECT_THROW(addIn.getLabel(control(1093)), platform::NumberedError);
}

TEST_F(Ribbon, OtherPicturesComeFromTheUiFolderByControlId) {
    platform::Picture red{2, 2, {0xFFFF0000u, 0xFFFF0000u, 0xFFFF0000u, 0xFFFF0000u}, ""};
    std::filesystem::create_directories(root + "program/ui");
    ASSERT_TRUE(platform::savePng(red, root + "program/ui/vn_1032.png"));
    auto picture = addIn.getImage(control(1032));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 2);
    EXPECT_THROW(addIn.getImage(control(1033)), platform::NumberedError) << "a missing picture fails";
}

TEST_F(Ribbon, TheDefinitionComesFromTheUiFolderAsItStands) {
    writeFile(root + "program/ui/plorinUI.xml", "<customUI/>");
    EXPECT_EQ(addIn.GetCustomUI("Microsoft.PowerPoint.Presentation"), "<customUI/>");
    std::filesystem::remove(root + "program/ui/plorinUI.xml");
    EXPECT_THROW(addIn.GetCustomUI("Microsoft.PowerPoint.Presentation"), platform::NumberedError);
}

// ---- Toggle buttons ----------------------------------------------------------------------------

TEST_F(Ribbon, TheToggleButtonsShowAndSetTheSelectionsTextFrame) {
    EXPECT_FALSE(addIn.getPressed(control(1085))) << "no selection: not pressed, no failure";
    EXPECT_FALSE(addIn.getPressed(control(1086)));
    auto s = deck();
    auto box = s->Shapes().AddShape(host::msoShapeRectangle, 10, 10, 100, 50);
    app->ActiveWindow()->selectShapes({box});
    addIn.onActionTB(control(1085), true);
    EXPECT_EQ(box->TextFrame().AutoSize(), host::ppAutoSizeShapeToFitText);
    EXPECT_TRUE(addIn.getPressed(control(1085)));
    addIn.onActionTB(control(1086), false);
    EXPECT_EQ(box->TextFrame().WordWrap(), host::msoFalse);
    EXPECT_FALSE(addIn.getPressed(control(1086)));
    addIn.onActionTB(control(1085), false);
    EXPECT_FALSE(addIn.getPressed(control(1085)));
    EXPECT_FALSE(addIn.getPressed(control(1032)));
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(Ribbon, ATogglesClickWithoutShapesFailsBackToTheHost) {
    deck();
    EXPECT_THROW(addIn.onActionTB(control(1085), true), host::HostError);
}

// ---- Copyright menu items and callbacks by name ------------------------------------------------

TEST_F(Ribbon, ACopyrightItemNeedsAWindowAndANumberedTag) {
    std::filesystem::copy_file(VARNOTEL_SOURCE_DIR "/install/program/plorinUndoFix.ppt",
                               root + "program/plorinUndoFix.ppt");
    EXPECT_NO_THROW(addIn.copyright_onAction(control(0, "x"))) << "no window: nothing is done";
    EXPECT_EQ(app->macrosRun(), std::vector<std::string>{"plorinUndoFix.ppt!plorin.plorinUndoFix"})
        << "the undo fix runs first all the same";
    deck();
    EXPECT_THROW(addIn.copyright_onAction(control(0, "x")), platform::NumberedError);
    EXPECT_NO_THROW(addIn.copyright_onAction(control(0, "2")));
}

TEST_F(Ribbon, CallbacksAreFoundByNameWithoutRegardToCase) {
    EXPECT_TRUE(addIn.hasCallback("getEnabled"));
    EXPECT_TRUE(addIn.hasCallback("GETENABLED"));
    EXPECT_FALSE(addIn.hasCallback("getNothing"));
    EXPECT_EQ(std::get<bool>(addIn.invokeCallback("getVisible", control(1032), {})), true);
    try {
        addIn.invokeCallback("getNothing", control(1032), {});
        FAIL();
    } catch (const platform::NumberedError& e) {
        EXPECT_EQ(e.number(), plorin::errNoSuchMember);
    }
    EXPECT_THROW(addIn.invokeCallback("onActionTB", control(1085), {}), platform::NumberedError)
        << "a missing argument fails";
}

TEST_F(Ribbon, OnLoadKeepsTheRibbonUntilDisconnection) {
    struct Ui : host::IRibbonUI {
        void Invalidate() override {}
        void InvalidateControl(const std::string&) override {}
    } ui;
    driver.onUnansweredMessage = [](const platform::MessageBoxCall&) { return platform::vbOK; };  // no library here
    addIn.invokeCallback("onLoad", {}, {static_cast<host::IRibbonUI*>(&ui)});
    EXPECT_EQ(plorin::state().ribbon, &ui);
    addIn.OnDisconnection(0);
    EXPECT_EQ(plorin::state().ribbon, nullptr);
    addIn.OnConnection(*app, 0, nullptr);
}

}  // namespace
