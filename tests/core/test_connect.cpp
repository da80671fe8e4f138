#include <gtest/gtest.h>

#include "core/connect.h"
#include "tools/efficiency_tools.h"
#include "core/icons.h"
#include "core/ppt_controls.h"
#include "core/ppt_events.h"
#include "core/registry.h"
#include "core/toggle_groups.h"
#include "host/command_bars.h"
#include "core_fixture.h"

namespace {

using testing_core::CoreFixture;

TEST(FolderLayout, AnAddInFolderDirectlyBelowTheRootGivesTheRoot) {
    auto l = core::computeFolderLayout("/program/");
    EXPECT_EQ(l.root, "/");
    EXPECT_EQ(l.user, "/user/");
    EXPECT_EQ(l.myElements, "/user/myelements/");
    EXPECT_EQ(l.program, "/program/");
    EXPECT_EQ(l.ui, "/program/ui/");
    EXPECT_EQ(core::computeFolderLayout("/program").root, "/");
}

class Layout : public CoreFixture {};

TEST_F(Layout, WithoutAUserMenuFileTheCustomizationFolderIsUsed) {
    auto l = core::computeFolderLayout(root + "program/");
    EXPECT_EQ(l.root, root);
    EXPECT_EQ(l.customization, root + "customization/");
    EXPECT_EQ(l.icons, root + "customization/icons/");
    EXPECT_EQ(l.styles, root + "customization/styles/");
    EXPECT_EQ(l.thumbs, root + "customization/styles/thumbs/");
}

TEST_F(Layout, AUserMenuFileRedirectsTheWholeCustomizationTree) {
    writeFile(root + "user/menu.xml", "<Varnotel/>");
    auto l = core::computeFolderLayout(root + "program/");
    EXPECT_EQ(l.customization, root + "user/");
    EXPECT_EQ(l.icons, root + "user/icons/");
    EXPECT_EQ(l.styles, root + "user/styles/");
    EXPECT_EQ(l.thumbs, root + "user/styles/thumbs/");
}

class Lifecycle : public CoreFixture {
protected:
    // What a disconnection gives back, whatever else happened.
    void expectAllReleased() {
        EXPECT_EQ(s.application, nullptr);
        EXPECT_FALSE(s.events);
        EXPECT_FALSE(s.controls);
        EXPECT_FALSE(s.tools);
        EXPECT_FALSE(core::iconsLoaded());
        EXPECT_TRUE(shell.record.mutexes.empty());
    }
    core::AddInState& s = core::state();
};

TEST_F(Lifecycle, CommandBarHostGetsBarsAndTheToolsUntilDisconnection) {
    auto& app = startHost("11.0");
    core::Connect addIn;
    addIn.OnConnection(app, 0, nullptr);
    EXPECT_EQ(s.application, &app);
    ASSERT_TRUE(s.events);
    EXPECT_EQ(s.events->PowerPointApp(), &app);
    EXPECT_TRUE(s.controls);
    EXPECT_TRUE(s.tools);
    EXPECT_EQ(s.layout.root, root);
    EXPECT_EQ(shell.record.mutexes, std::vector<std::string>{"Varnotel for presentations"});

    addIn.OnDisconnection(0);
    expectAllReleased();
    EXPECT_TRUE(core::reportedErrors().empty());
}

// Every control some selection switches on, by caption (the presentation's own entries aside).
std::vector<std::string> selectionControlsEnabled(host::Application& app) {
    std::vector<std::string> enabled;
    auto bar = app.CommandBars().Item(core::kEfficiencyToolsBar);
    auto& popup = dynamic_cast<host::CommandBarPopup&>(*bar->Controls().Item(core::kToolsPopup));
    for (const core::ToggleGroup& group : core::toggleGroups()) {
        if (&group == &core::toggleGroup(core::Toggle::Presentation)) continue;
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
    core::Connect addIn;
    addIn.OnConnection(app, 0, nullptr);
    EXPECT_EQ(selectionControlsEnabled(app), std::vector<std::string>{});
    addIn.OnDisconnection(0);
    EXPECT_EQ(app.CommandBars().Count(), 0);
    EXPECT_THROW(app.CommandBars().Item(core::kEfficiencyToolsBar), host::HostError);

    // Connected again without a window: the same.
    app.ActivePresentation()->Close();
    addIn.OnConnection(app, 0, nullptr);
    EXPECT_EQ(selectionControlsEnabled(app), std::vector<std::string>{});
    addIn.OnDisconnection(0);
    EXPECT_EQ(app.CommandBars().Count(), 0);
    EXPECT_TRUE(core::reportedErrors().empty());
}

TEST_F(Lifecycle, ABarTheHostWillNotDeleteIsReportedOnceAndTheRestIsReleasedAllTheSame) {
    auto& app = startHost("11.0");
    core::Connect addIn;
    addIn.OnConnection(app, 0, nullptr);
    ASSERT_TRUE(core::iconsLoaded());
    app.CommandBars().deleteRefused = true;
    addIn.OnDisconnection(0);
    EXPECT_EQ(reportedLocations(), std::vector<std::string>{"Connect, IDTExtensibility2_OnDisconnection"});
    expectAllReleased();
}

TEST_F(Lifecycle, BothHostFamiliesReconnectAnyNumberOfTimes) {
    for (const char* version : {"11.0", "14.0"}) {
        auto& app = startHost(version);
        app.COMAddIns().add("plorin.Connect", "Varnotel", [] { return std::make_unique<core::Connect>(); });
        auto& entry = app.COMAddIns().Item("PLORIN.connect");
        const bool commandBars = std::string(version) == "11.0";
        for (int round = 0; round < 3; ++round) {
            entry.setConnect(true);
            EXPECT_TRUE(s.events) << version;
            EXPECT_EQ(static_cast<bool>(s.controls), commandBars) << version;
            EXPECT_TRUE(s.tools) << version;
            entry.setConnect(false);
            EXPECT_FALSE(s.events) << version;
            EXPECT_FALSE(s.controls) << version;
        }
        EXPECT_TRUE(shell.record.mutexes.empty()) << version;
    }
    EXPECT_TRUE(core::reportedErrors().empty());
}

TEST_F(Lifecycle, EventsReachTheSinkOnlyWhileConnected) {
    auto& app = startHost("14.0");
    core::Connect addIn;
    addIn.OnConnection(app, 0, nullptr);
    auto* sink = s.events.get();
    app.Presentations().Add(true);
    sink->shapeNumber = 7;  // untouched by anything but a selection change
    addIn.OnDisconnection(0);
    app.Presentations().Add(true);  // must not reach the released sink
    SUCCEED();
}

class OtherHost : public host::HostObject {};

TEST_F(Lifecycle, AHostThatIsNotAPresentationHostOnlyGetsTheMutex) {
    OtherHost other;
    core::Connect addIn;
    addIn.OnConnection(other, 0, nullptr);
    EXPECT_EQ(s.application, nullptr);
    EXPECT_FALSE(s.events);
    EXPECT_FALSE(s.tools);
    EXPECT_EQ(shell.record.mutexes.size(), 1u);
    addIn.OnDisconnection(0);
    EXPECT_TRUE(shell.record.mutexes.empty());
    EXPECT_TRUE(core::reportedErrors().empty());
}

TEST_F(Lifecycle, ScreenSaverSettingSetsTheFlag) {
    auto& app = startHost("14.0");
    core::Connect addIn;
    core::setRegistry("screenSaverOff", "1", "");
    addIn.OnConnection(app, 0, nullptr);
    EXPECT_TRUE(s.screenSaverOff);
    addIn.OnDisconnection(0);
    core::setRegistry("screenSaverOff", "0", "");
    addIn.OnConnection(app, 0, nullptr);
    EXPECT_FALSE(s.screenSaverOff);
    addIn.OnDisconnection(0);
}

TEST_F(Lifecycle, ANonNumericScreenSaverSettingIsReportedAndTheAddInStaysConnected) {
    auto& app = startHost("11.0");
    core::Connect addIn;
    core::setRegistry("screenSaverOff", "maybe", "");
    addIn.OnConnection(app, 0, nullptr);
    EXPECT_EQ(reportedLocations(), std::vector<std::string>{"Connect, IDTExtensibility2_OnConnection"});
    EXPECT_EQ(core::reportedErrors()[0].error.Number, core::errTypeMismatch);
    EXPECT_EQ(s.application, &app);
    EXPECT_TRUE(s.tools);
    addIn.OnDisconnection(0);
    EXPECT_EQ(s.application, nullptr);
}

TEST_F(Lifecycle, EmptyMembersDoNothing) {
    core::Connect addIn;
    addIn.OnAddInsUpdate();
    addIn.OnStartupComplete();
    addIn.OnBeginShutdown();
    EXPECT_TRUE(core::reportedErrors().empty());
}

class SlideExtracts : public CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        startHost("14.0");
        addIn.OnConnection(*app, 0, nullptr);
    }
    std::string setting() { return core::getRegistry("slideExtracts", "", "<missing>"); }
    core::Connect addIn;
};

TEST_F(SlideExtracts, BothListedExtractsAreDeletedAndTheListEmptied) {
    std::string a = root + "tmp/a.ppt", b = root + "tmp/b.ppt";
    writeFile(a);
    writeFile(b);
    core::setRegistry("slideExtracts", a + ";" + b + ";", "");
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
    core::setRegistry("slideExtracts", a + ";" + b + ";", "");
    addIn.OnDisconnection(0);
    EXPECT_FALSE(std::filesystem::exists(b));
    EXPECT_EQ(setting(), "");
    EXPECT_TRUE(core::reportedErrors().empty());
}

class StubbornFile : public platform::ForwardingFileSystem {
public:
    StubbornFile(platform::FileSystem& t, std::string path) : ForwardingFileSystem(t), path_(std::move(path)) {}
    bool deleteFile(const std::string& p) override { return p == path_ ? false : ForwardingFileSystem::deleteFile(p); }

private:
    std::string path_;
};

TEST_F(SlideExtracts, AnUndeletableExtractStaysListedAndDoesNotBlockTheOthers) {
    std::string a = root + "tmp/locked.ppt", b = root + "tmp/b.ppt";
    writeFile(a);
    writeFile(b);
    StubbornFile fs(platform::realFileSystem(), a);
    platform::useFileSystem(&fs);
    core::setRegistry("slideExtracts", a + ";" + b + ";", "");
    addIn.OnDisconnection(0);
    EXPECT_TRUE(std::filesystem::exists(a));
    EXPECT_FALSE(std::filesystem::exists(b));
    EXPECT_EQ(setting(), a + ";");
}

TEST_F(SlideExtracts, PathsOutsideTheTemporaryFolderAreNeverDeleted) {
    std::string outside = root + "user/precious.ppt", sneaky = root + "tmp/../user/other.ppt";
    writeFile(outside);
    writeFile(root + "user/other.ppt");
    core::setRegistry("slideExtracts", outside + ";" + sneaky + ";", "");
    addIn.OnDisconnection(0);
    EXPECT_TRUE(std::filesystem::exists(outside));
    EXPECT_TRUE(std::filesystem::exists(root + "user/other.ppt"));
    EXPECT_EQ(setting(), "");
}

TEST_F(SlideExtracts, AFailingStepDoesNotSkipTheRestOfTheTearDown) {
    class BrokenStore : public platform::RegistryStore {
    public:
        std::optional<platform::RegValue> queryValue(platform::RootKey, const std::string&, const std::string&) override {
            throw platform::NumberedError(5, "unreadable");
        }
        bool keyExists(platform::RootKey, const std::string&) override { return false; }
        bool createKey(platform::RootKey, const std::string&) override { return false; }
        bool setValue(platform::RootKey, const std::string&, const std::string&, const platform::RegValue&) override { return false; }
        bool deleteValue(platform::RootKey, const std::string&, const std::string&) override { return false; }
        bool deleteKey(platform::RootKey, const std::string&) override { return false; }
        std::vector<std::string> valueNames(platform::RootKey, const std::string&) override { return {}; }
        std::vector<std::string> subKeyNames(platform::RootKey, const std::string&) override { return {}; }
    } broken;
    core::Icons();
    platform::useRegistryStore(&broken);
    addIn.OnDisconnection(0);
    EXPECT_FALSE(core::iconsLoaded());
    EXPECT_FALSE(core::state().tools);
    EXPECT_TRUE(shell.record.mutexes.empty());
}

}  // namespace
