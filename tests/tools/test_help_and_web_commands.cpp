#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "about/about_box.h"
#include "addin/named_commands.h"
#include "core/folder_layout.h"
#include "core/registry.h"
#include "core/shared_state.h"
#include "host/host.h"
#include "tests/core/core_fixture.h"
#include "tools/efficiency_tools.h"

namespace {

// An update add-in that only records the late-bound calls on its object.
struct UpdateCalls {
    std::vector<std::string> methods;
};

class FakeUpdateObject : public host::AutomationObject {
public:
    explicit FakeUpdateObject(UpdateCalls& calls) : calls_(calls) {}
    std::string invoke(const std::string& method, const std::vector<std::string>&) override {
        calls_.methods.push_back(method);
        return {};
    }

private:
    UpdateCalls& calls_;
};

class FakeUpdateAddIn : public host::AddIn {
public:
    explicit FakeUpdateAddIn(UpdateCalls& calls) : object_(std::make_shared<FakeUpdateObject>(calls)) {}
    void OnConnection(host::HostObject&, int, host::COMAddIn*) override {}
    void OnDisconnection(int) override {}
    void OnAddInsUpdate() override {}
    void OnStartupComplete() override {}
    void OnBeginShutdown() override {}
    std::shared_ptr<host::AutomationObject> object() override { return object_; }

private:
    std::shared_ptr<FakeUpdateObject> object_;
};

class LinkCommands : public testing_core::CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        plorin::state().application = &startHost("14.0");
    }
    void TearDown() override {
        plorin::state().application = nullptr;
        CoreFixture::TearDown();
    }
    host::COMAddIn& installUpdater() {
        return app->COMAddIns().add("plorinrenew.Connect", "updates",
                                    [this] { return std::make_unique<FakeUpdateAddIn>(calls); });
    }
    plorin::EfficiencyTools tools;
    UpdateCalls calls;
};

TEST_F(LinkCommands, WebPagesOpenOnTheConfiguredHost) {
    const std::vector<std::pair<std::string, std::string>> pages = {{"tutorialVideos", "/en/tutorials/"},
                                                                    {"gettingStarted", "/en/gettingstarted/"},
                                                                    {"FAQ", "/en/faq/"},
                                                                    {"homepage", "/"},
                                                                    {"recommend", "/plorin_recommend.pdf"}};
    plorin::setRegistry("webHost", " 127.0.0.1:8080 ", "");
    for (const auto& [command, path] : pages) tools.callByName(command);
    ASSERT_EQ(shell.record.opened.size(), pages.size());
    for (std::size_t i = 0; i < pages.size(); ++i)
        EXPECT_EQ(shell.record.opened[i], "http://127.0.0.1:8080" + pages[i].second);
    EXPECT_TRUE(plorin::reportedErrors().empty());

    // An address given with "https://" keeps its scheme: nothing travels unencrypted.
    shell.record.opened.clear();
    plorin::setRegistry("webHost", "HTTPS://www.example.org/", "");
    tools.callByName("FAQ");
    EXPECT_EQ(shell.record.opened, std::vector<std::string>{"https://www.example.org/en/faq/"});
}

TEST_F(LinkCommands, ReferenceOpensHelpTopic1000AndAFailingOpenerIsReported) {
    const plorin::FolderLayout before = plorin::state().layout;
    plorin::state().layout = plorin::computeFolderLayout(root + "program/");
    writeFile(root + "program/help/index.html", "<h1 id=\"contents\">Reference</h1>");
    tools.callByName("reference");
    EXPECT_EQ(shell.record.opened, std::vector<std::string>{"file://" + root + "program/help/index.html#contents"});

    shell.openResult = 2;
    driver.onUnansweredMessage = [](const platform::MessageBoxCall&) { return platform::vbOK; };
    tools.callByName("homepage");
    EXPECT_FALSE(plorin::reportedErrors().empty());
    plorin::state().layout = before;
}

TEST_F(LinkCommands, FeedbackMailHasAnEncodedSubject) {
    plorin::setRegistry("supportEmail", "help@example.org", "");
    tools.callByName("feedback");
    ASSERT_EQ(shell.record.opened.size(), 1u);
    EXPECT_EQ(shell.record.opened[0], "mailto:help@example.org?subject=Feedback%20on%20Varnotel%20for%20presentations");
}

TEST_F(LinkCommands, StartUpdateSwitchesTheUpdaterOnAndAsksForACheck) {
    auto& updater = installUpdater();
    ASSERT_FALSE(updater.Connect());
    tools.callByName("startUpdate");
    EXPECT_TRUE(updater.Connect());
    EXPECT_EQ(calls.methods, std::vector<std::string>{"check"});

    tools.callByName("startUpdate");  // already connected: just another check
    EXPECT_EQ(calls.methods.size(), 2u);
    EXPECT_TRUE(plorin::reportedErrors().empty());
    EXPECT_TRUE(driver.messages.empty());
}

TEST_F(LinkCommands, StartUpdateWithoutTheUpdaterSaysSoAndWithoutItsObjectReports) {
    app->COMAddIns().add("other.Connect", "other", [this] { return std::make_unique<FakeUpdateAddIn>(calls); });
    driver.messageAnswers.push_back(platform::vbOK);
    tools.callByName("startUpdate");
    ASSERT_EQ(driver.messages.size(), 1u);
    EXPECT_EQ(driver.messages[0].style, platform::vbCritical);
    EXPECT_NE(driver.messages[0].text.find("has not been installed correctly"), std::string::npos);
    EXPECT_TRUE(calls.methods.empty());

    // An updater that cannot be connected ends in the error routine.
    app->COMAddIns().add("plorinrenew.Connect", "broken", [] { return std::unique_ptr<host::AddIn>(); });
    driver.onUnansweredMessage = [](const platform::MessageBoxCall&) { return platform::vbOK; };
    tools.callByName("startUpdate");
    EXPECT_EQ(reportedLocations().back(), "EfficiencyTools, startUpdate");
}

TEST_F(LinkCommands, ShowSettingsOpensTheDialogModallyAndCloseWritesNothing) {
    driver.queueForm("Settings", [](platform::Form& form) { platform::driver::click(form, "btnClose"); });
    plorin::runCommandByName(tools, "showSettings");
    EXPECT_EQ(driver.modalForms, std::vector<std::string>{"Settings"});
    EXPECT_TRUE(plorin::reportedErrors().empty());
    EXPECT_EQ(plorin::getRegistry("screenSaverOff", "", "unset"), "unset");
    EXPECT_EQ(plorin::getRegistry("languages", "", "unset"), "unset");
}

TEST_F(LinkCommands, AboutShowsTheBoxWithItsCloseLinkAndNoClosingTimer) {
    bool closeVisible = false, timerOn = true;
    driver.queueForm("Splash", [&](platform::Form& form) {
        auto& splash = dynamic_cast<plorin::Splash&>(form);
        closeVisible = splash.lbClose.Visible;
        timerOn = splash.SplashTimer.isEnabled();
        platform::driver::click(form, "lbClose");
    });
    plorin::runCommandByName(tools, "about");
    EXPECT_EQ(driver.modalForms, std::vector<std::string>{"Splash"});
    EXPECT_TRUE(closeVisible);
    EXPECT_FALSE(timerOn);
}

}  // namespace
