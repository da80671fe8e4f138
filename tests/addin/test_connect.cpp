#include <gtest/gtest.h>

#include "addin/addin_state.h"
#include "addin/bar_front_end.h"
#include "addin/connect.h"
#include "addin/host_events.h"
#include "addin/toggle_groups.h"
#include "core/icons.h"
#include "core/registry.h"
#include "host/command_bars.h"
#include "tests/core/core_fixture.h"
#include "tests/support/fault_fs.h"
#include "tools/efficiency_tools.h"

namespace {

using testing_core::CoreFixture;

TEST(FolderLayout, AnAddInFolderDirectlyBelowTheRootGivesTheRoot) {
    auto l = plorin::computeFolderLayout("/program/");
    EXPECT_EQ(l.root, "/");
    EXPECT_EQ(l.user, "/user/");
    EXPECT_EQ(l.myElements, "/user/myelements/");
    EXPECT_EQ(l.program, "/program/");
    EXPECT_EQ(l.ui, "/program/ui/");
    EXPECT_EQ(plorin::computeFolderLayout("/program").root, "/");
}

class Layout : public CoreFixture {};

TEST_F(Layout, WithoutAUserMenuFileTheCustomizationFolderIsUsed) {
    auto l = plorin::computeFolderLayout(root + "program/");
    EXPECT_EQ(l.root, root);
    EXPECT_EQ(l.customization, root + "customization/");
    EXPECT_EQ(l.icons, root + "customization/icons/");
    EXPECT_EQ(l.styles, root + "customization/styles/");
    EXPECT_EQ(l.thumbs, root + "customization/styles/thumbs/");
}

TEST_F(Layout, AUserMenuFileRedirectsTheWholeCustomizationTree) {
    writeFile(root + "user/menu.xml", "<Varnotel/>");
    auto l = plorin::computeFolderLayout(root + "program/");
    EXPECT_EQ(l.customization, root + "user/");
    EXPECT_EQ(l.icons, root + "user/icons/");
    EXPECT_EQ(l.styles, root + "user/styles/");
    EXPECT_EQ(l.thumbs, root + "user/styles/thumbs/");
}

class Lifecycle : public CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        writeFile(root + "customization/menu.xml", "<Varnotel/>");  // the command bars load it
    }
    // What a disconnection gives back, whatever else happened.
    void expectAllReleased() {
        EXPECT_EQ(s().application, nullptr);
        EXPECT_FALSE(a().events);
        EXPECT_FALSE(a().controls);
        EXPECT_FALSE(a().tools);
        EXPECT_FALSE(plorin::iconsLoaded());
        EXPECT_TRUE(shell.record.mutexes.empty());
    }
    // Asked for anew each time: a disconnection ends the connection's state.
    static plorin::SharedState& s() { return plorin::state(); }
    static plorin::AddInState& a() { return plorin::addInState(); }
};

TEST_F(Lifecycle, CommandBarHostGetsBarsAndTheToolsUntilDisconnection) {
    auto& app = startHost("11.0");
    plorin::Connect addIn;
    addIn.OnConnection(app, 0, nullptr);
    EXPECT_EQ(s().application, &app);
    ASSERT_TRUE(a().events);
    EXPECT_EQ(a().events->PowerPointApp(), &app);
    EXPECT_TRUE(a().controls);
    EXPECT_TRUE(a().tools);
    EXPECT_EQ(s().layout.root, root);
    EXPECT_EQ(shell.record.mutexes, std::vector<std::string>{"Varnotel for presentations"});

    addIn.OnDisconnection(0);
    expectAllReleased();
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

// Every control some selection switches on, by caption (the presentation's and window's own aside).
std::vector<std::string> selectionControlsEnabled(host::Application& app) {
    std::vector<std::string> enabled;
    auto bar = app.CommandBars().Item(plorin::kEfficiencyToolsBar);
    auto& popup = dynamic_cast<host::CommandBarPopup&>(*bar->Controls().Item(plorin::kToolsPopup));
    for (const plorin::ToggleGroup& group : plorin::toggleGroups()) {
        if (&group == &plorin::toggleGroup(plorin::Toggle::Presentation) ||
            &group == &plorin::toggleGroup(plorin::Toggle::Window))
            continue;
        for (const char* caption : group.buttons)
            if (bar->Controls().Item(caption)->Enabled()) enabled.emplace_back(caption);
        for (const char* caption : group.entries)
            if (popup.Controls().Item(caption)->Enabled()) enabled.emplace_back(caption);
    }
    return enabled;
}

TEST_F(Lifecycle, OnACommandBarHostTheSelectionControlsStartDisabledAndTheBarGoesAtTheEnd) {
    auto& app = startHost("11.0");
    app.Presentations().Add(true)->Slides().Add(1, 1);  // a slide in view, nothing selected
    plorin::Connect addIn;
    addIn.OnConnection(app, 0, nullptr);
    EXPECT_EQ(selectionControlsEnabled(app), std::vector<std::string>{});
    addIn.OnDisconnection(0);
    EXPECT_EQ(app.CommandBars().Count(), 0);
    EXPECT_THROW(app.CommandBars().Item(plorin::kEfficiencyToolsBar), host::HostError);

    // Connected again without a window: the same.
    app.ActivePresentation()->Close();
    addIn.OnConnection(app, 0, nullptr);
    EXPECT_EQ(selectionControlsEnabled(app), std::vector<std::string>{});
    addIn.OnDisconnection(0);
    EXPECT_EQ(app.CommandBars().Count(), 0);
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(Lifecycle, EachBarTheHostWillNotDeleteIsReportedAndTheRestIsReleasedAllTheSame) {
    auto& app = startHost("11.0");
    plorin::Connect addIn;
    addIn.OnConnection(app, 0, nullptr);
    ASSERT_TRUE(plorin::iconsLoaded());
    app.CommandBars().deleteRefused = true;
    addIn.OnDisconnection(0);
    // One refusal must not keep the other bars from their own attempt.
    EXPECT_EQ(reportedLocations(), std::vector<std::string>(3, "pptControls, DeleteControls"));
    expectAllReleased();
}

TEST_F(Lifecycle, BothHostFamiliesReconnectAnyNumberOfTimes) {
    for (const char* version : {"11.0", "14.0"}) {
        auto& app = startHost(version);
        app.COMAddIns().add("plorin.Connect", "Varnotel", [] { return std::make_unique<plorin::Connect>(); });
        auto& entry = app.COMAddIns().Item("PLORIN.connect");
        const bool commandBars = std::string(version) == "11.0";
        for (int round = 0; round < 3; ++round) {
            entry.setConnect(true);
            EXPECT_TRUE(a().events) << version;
            EXPECT_EQ(static_cast<bool>(a().controls), commandBars) << version;
            EXPECT_TRUE(a().tools) << version;
            entry.setConnect(false);
            EXPECT_FALSE(a().events) << version;
            EXPECT_FALSE(a().controls) << version;
        }
        EXPECT_TRUE(shell.record.mutexes.empty()) << version;
    }
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(Lifecycle, EventsReachTheSinkOnlyWhileConnected) {
    auto& app = startHost("14.0");
    plorin::Connect addIn;
    addIn.OnConnection(app, 0, nullptr);
    auto* sink = a().events.get();
    app.Presentations().Add(true);
    sink->shapeNumber = 7;  // untouched by anything but a selection change
    addIn.OnDisconnection(0);
    app.Presentations().Add(true);  // must not reach the released sink
    SUCCEED();
}

class OtherHost : public host::HostObject {};

TEST_F(Lifecycle, AHostThatIsNotAPresentationHostOnlyGetsTheMutex) {
    OtherHost other;
    plorin::Connect addIn;
    addIn.OnConnection(other, 0, nullptr);
    EXPECT_EQ(s().application, nullptr);
    EXPECT_FALSE(a().events);
    EXPECT_FALSE(a().tools);
    EXPECT_EQ(shell.record.mutexes.size(), 1u);
    addIn.OnDisconnection(0);
    EXPECT_TRUE(shell.record.mutexes.empty());
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(Lifecycle, ScreenSaverSettingSetsTheFlag) {
    auto& app = startHost("14.0");
    plorin::Connect addIn;
    plorin::setRegistry("screenSaverOff", "1", "");
    addIn.OnConnection(app, 0, nullptr);
    EXPECT_TRUE(s().screenSaverOff);
    addIn.OnDisconnection(0);
    plorin::setRegistry("screenSaverOff", "0", "");
    addIn.OnConnection(app, 0, nullptr);
    EXPECT_FALSE(s().screenSaverOff);
    addIn.OnDisconnection(0);
}

TEST_F(Lifecycle, ANonNumericScreenSaverSettingReadsAsOffAndTheStartGoesOn) {
    auto& app = startHost("11.0");
    plorin::Connect addIn;
    plorin::setRegistry("screenSaverOff", "maybe", "");
    addIn.OnConnection(app, 0, nullptr);
    EXPECT_TRUE(reportedLocations().empty());
    EXPECT_FALSE(s().screenSaverOff);
    EXPECT_EQ(s().application, &app);
    EXPECT_TRUE(a().tools);
    EXPECT_GT(app.CommandBars().Count(), 0) << "the rest of the start still builds the bars";
    addIn.OnDisconnection(0);
    EXPECT_EQ(s().application, nullptr);
}

TEST_F(Lifecycle, EmptyMembersDoNothing) {
    plorin::Connect addIn;
    addIn.OnAddInsUpdate();
    addIn.OnStartupComplete();
    addIn.OnBeginShutdown();
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

class SlideExtracts : public CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        startHost("14.0");
        addIn.OnConnection(*app, 0, nullptr);
    }
    std::string setting() { return plorin::getRegistry("slideExtracts", "", "<missing>"); }
    plorin::Connect addIn;
};

TEST_F(SlideExtracts, BothListedExtractsAreDeletedAndTheListEmptied) {
    std::string a = root + "tmp/a.ppt", b = root + "tmp/b.ppt";
    writeFile(a);
    writeFile(b);
    plorin::setRegistry("slideExtracts", a + ";" + b + ";", "");
    addIn.OnDisconnection(0);
    EXPECT_FALSE(std::filesystem::exists(a));
    EXPECT_FALSE(std::filesystem::exists(b));
    EXPECT_EQ(setting(), "");
}

TEST_F(SlideExtracts, AnEmptyListIsNotRewritten) {
    addIn.OnDisconnection(0);
    EXPECT_EQ(setting(), "<missing>");
}

TEST_F(SlideExtracts, AVanishedExtractIsSkippedWithoutError) {
    std::string a = root + "tmp/gone.ppt", b = root + "tmp/b.ppt";
    writeFile(b);
    plorin::setRegistry("slideExtracts", a + ";" + b + ";", "");
    addIn.OnDisconnection(0);
    EXPECT_FALSE(std::filesystem::exists(b));
    EXPECT_EQ(setting(), "");
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(SlideExtracts, AnUndeletableExtractStaysListedAndDoesNotBlockTheOthers) {
    std::string a = root + "tmp/locked.ppt", b = root + "tmp/b.ppt";
    writeFile(a);
    writeFile(b);
    test_support::FaultyFileSystem fs(test_support::failCall(test_support::FsCall::deleteFile, 1, true, EBUSY, a));
    platform::useFileSystem(&fs);
    plorin::setRegistry("slideExtracts", a + ";" + b + ";", "");
    addIn.OnDisconnection(0);
    EXPECT_TRUE(std::filesystem::exists(a));
    EXPECT_FALSE(std::filesystem::exists(b));
    EXPECT_EQ(setting(), a + ";");
}

TEST_F(SlideExtracts, PathsOutsideTheTemporaryFolderAreNeverDeleted) {
    std::string outside = root + "user/precious.ppt", sneaky = root + "tmp/../user/other.ppt";
    writeFile(outside);
    writeFile(root + "user/other.ppt");
    plorin::setRegistry("slideExtracts", outside + ";" + sneaky + ";", "");
    addIn.OnDisconnection(0);
    EXPECT_TRUE(std::filesystem::exists(outside));
    EXPECT_TRUE(std::filesystem::exists(root + "user/other.ppt"));
    EXPECT_EQ(setting(), "");
}

TEST_F(SlideExtracts, AFailingStepDoesNotSkipTheRestOfTheTearDown) {
    class BrokenStore : public platform::RegistryStore {
    public:
        std::optional<platform::RegValue> queryValue(platform::RootKey, const std::string&,
                                                     const std::string&) override {
            throw platform::NumberedError(plorin::errInvalidArgument, "unreadable");
        }
        bool keyExists(platform::RootKey, const std::string&) override { return false; }
        bool createKey(platform::RootKey, const std::string&) override { return false; }
        bool setValue(platform::RootKey, const std::string&, const std::string&, const platform::RegValue&,
                      platform::Durability) override {
            return false;
        }
        bool deleteValue(platform::RootKey, const std::string&, const std::string&) override { return false; }
        bool deleteKey(platform::RootKey, const std::string&) override { return false; }
        std::vector<std::string> valueNames(platform::RootKey, const std::string&) override { return {}; }
        std::vector<std::string> subKeyNames(platform::RootKey, const std::string&) override { return {}; }
    } broken;
    plorin::Icons();
    platform::useRegistryStore(&broken);
    addIn.OnDisconnection(0);
    EXPECT_FALSE(plorin::iconsLoaded());
    EXPECT_FALSE(plorin::addInState().tools);
    EXPECT_TRUE(shell.record.mutexes.empty());
}

}  // namespace
