// The update run up to the download: the server's reply, the version comparison, the
// reminders, the user's choice and the message each outcome shows.
#include <cmath>

#include "core/shared_state.h"
#include "platform/clock.h"
#include "tests/updater/updater_fixture.h"
#include "tools/efficiency_tools.h"
#include "updater/dates.h"
#include "updater/error_box.h"
#include "updater/update_dialogs.h"
#include "updater/versions.h"

namespace {

using loopback::UpdateServer;
using testing_updater::kNow;
using testing_updater::UpdaterFixture;
using Reply = loopback::HttpTestServer::Reply;

TEST(UpdateReply, EachReplyFallsIntoItsClass) {
    const std::pair<std::string, int> cases[] = {
        {"", 0},
        {"programVersion:1.2.0.5;300000;customizationVersion:7;52428;", 1},
        {"programVersion:1.2.0.5;300000;customizationVersion:7;52428;\r\n", 1},
        {"db_error", 2},
        {"db_error: connection lost", 2},
        {"sql_error", 3},
        {"numrow_error", 4},
        {"<html>Internal Server Error</html>", 5},
        {"DB_ERROR", 5},
        // Begins like a version reply but is not one: unexpected, never "up to date".
        {"programVersion:", 5},
        {"programVersion:1.2.0.5;300000;", 5},
        {"programVersion:1.2.0;300000;customizationVersion:7;52428;", 5},
        {"programVersion:1.2.0.5;-1;customizationVersion:7;52428;", 5},
        {"programVersion:1.2.0.5;300000;customizationVersion:7;52428;extra", 5},
        {"programVersion:1.2.0.5;300000;customizationVersion:7;52428;;", 5},
        {"programVersion:1.2.0.5;3e5;customizationVersion:7;52428;", 5},
        {"programVersion:1.2.0.5;300000;customizationVersion:99999999999999999999;1;", 5},
        {" programVersion:1.2.0.5;300000;customizationVersion:7;52428;", 5},
    };
    for (const auto& [reply, expected] : cases) EXPECT_EQ(plorinrenew::classifyReply(reply), expected) << reply;
}

TEST(UpdateReply, ProgramVersionsCompareNumberByNumberWithinMajorVersionOne) {
    struct Case {
        const char* installed;
        const char* offered;
        bool due;
    };
    const Case cases[] = {
        {"1.2.0.4", "1.2.0.5", true},  {"1.9.0.0", "1.10.0.0", true},  // numbers, not texts
        {"1.2.0.9", "1.3.0.5", true},  {"1.3.0.5", "1.2.0.9", false},  // never a downgrade
        {"1.2.0.5", "1.2.0.5", false}, {"1.2.10.0", "1.2.9.99", false},
        {"1.0.0.0", "2.0.0.0", false},                              // another major version is not offered ...
        {"", "2.0.0.0", true},                                      // ... unless nothing is installed
        {"", "1.0.0.0", true},         {"1.2.3", "1.2.3.1", true},  // not a version: as if nothing were installed
        {"01.2.0.4", "1.2.0.5", true}, {"1.2.0.4", "1.2.0.x", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(plorinrenew::programUpdateDue(c.installed, c.offered), c.due) << c.installed << " -> " << c.offered;
}

// Without a clock of its own the update add-in tells the time by the platform's, so a day
// fixed there (as the simulator fixes one) holds for reminders and the install log alike.
TEST(UpdateClock, TheSystemClockFollowsTheDayThePlatformFixes) {
    const auto own = platform::useClock({});
    platform::useToday(std::chrono::sys_days(std::chrono::year(2026) / 12 / 9));
    EXPECT_EQ(plorinrenew::nowSerial(), plorinrenew::dateSerial(2026, 12, 9) + 0.375);  // 09:00
    EXPECT_EQ(platform::localNowText("%Y-%m-%d %H:%M:%S"), "2026-12-09 09:00:00");
    platform::useToday(std::nullopt);
    EXPECT_GT(plorinrenew::nowSerial(), plorinrenew::dateSerial(2026, 1, 1));
    platform::useClock(own);
}

class UpdateVersions : public UpdaterFixture {
protected:
    plorinrenew::Main check(const std::string& reply, bool customizationEnabled = true) {
        plorinrenew::Main m;
        m.versionReply = reply;
        m.customizationEnabled = customizationEnabled ? 1 : 0;
        m.newVersionAvailable();
        return m;
    }
};

TEST_F(UpdateVersions, WhatIsDueAndHowMuchIsDownloaded) {
    set("autoUpdateProgramVersion", "1.2.0.4");
    set("autoUpdateCustomizationVersion", "7");
    auto m = check("programVersion:1.2.0.5;300000;customizationVersion:7;52428;");
    EXPECT_TRUE(m.programDue);
    EXPECT_FALSE(m.customizationDue);
    EXPECT_EQ(m.downloadSize, 300000u);

    m = check("programVersion:1.2.0.4;300000;customizationVersion:8;52428;");
    EXPECT_FALSE(m.programDue);
    EXPECT_TRUE(m.customizationDue);
    EXPECT_EQ(m.downloadSize, 52428u);

    m = check("programVersion:1.2.0.5;300000;customizationVersion:8;52428;");
    EXPECT_EQ(m.downloadSize, 352428u);

    m = check("programVersion:1.2.0.4;300000;customizationVersion:8;52428;", /*customizationEnabled=*/false);
    EXPECT_FALSE(m.customizationDue);
    EXPECT_EQ(m.downloadSize, 0u);
}

TEST_F(UpdateVersions, CustomizationVersionsAreWideNumbersAndAMalformedOneIsZero) {
    set("autoUpdateProgramVersion", "1.2.0.4");
    set("autoUpdateCustomizationVersion", "70000");
    auto m = check("programVersion:1.2.0.4;1;customizationVersion:4000000000;5;");
    EXPECT_TRUE(m.customizationDue);
    m = check("programVersion:1.2.0.4;1;customizationVersion:69999;5;");
    EXPECT_FALSE(m.customizationDue);

    set("autoUpdateCustomizationVersion", "seven");
    m = check("programVersion:1.2.0.4;1;customizationVersion:1;5;");
    EXPECT_EQ(m.installedCustomizationVersion, 0u);
    EXPECT_TRUE(m.customizationDue);
}

TEST_F(UpdateVersions, AMissingProgramVersionIsSeededFromTheBuiltOneButAnEmptyOneIsNot) {
    const std::string built = plorinrenew::Main::builtProgramVersion();
    ASSERT_TRUE(plorinrenew::parseProgramVersion(built)) << built;
    auto m = check("programVersion:" + built + ";10;customizationVersion:0;0;");
    EXPECT_FALSE(m.programDue) << "a fresh installation must not reinstall itself";
    EXPECT_EQ(get("autoUpdateProgramVersion"), built);

    set("autoUpdateProgramVersion", "");
    m = check("programVersion:" + built + ";10;customizationVersion:0;0;");
    EXPECT_TRUE(m.programDue);
}

TEST_F(UpdateVersions, TheSwitchesFollowEachOther) {
    struct Case {
        const char* program;
        const char* customization;
        bool enabled;
        int programAfter, customizationAfter;
    };
    const Case cases[] = {
        {"1", "1", true, 1, 1},  {"0", "1", true, 1, 1}, {"1", "0", true, 1, 0},
        {"0", "0", false, 0, 0}, {"2", "0", true, 2, 0}, {"x", "1", false, 0, 0},
    };
    for (const auto& c : cases) {
        set("autoUpdateProgram", c.program);
        set("autoUpdateCustomization", c.customization);
        plorinrenew::Main m;
        driver.onUnansweredMessage = [](const platform::MessageBoxCall&) { return platform::vbOK; };
        EXPECT_EQ(m.autoUpdateEnabled(), c.enabled) << c.program << "/" << c.customization;
        EXPECT_EQ(m.customizationEnabled, c.customizationAfter) << c.program << "/" << c.customization;
    }
}

// ---- Install and InstallManual ---------------------------------------------------------

class UpdateDialogs : public UpdaterFixture {
protected:
    // Shows Install with the given option and OK (or the close box when option is -1).
    bool askAutomatic(int option) {
        driver.queueForm("Install", [option](platform::Form& f) {
            if (option < 0) return;
            platform::driver::check(f, "obOptions(" + std::to_string(option) + ")", 1);
            platform::driver::click(f, "btnOK");
        });
        plorinrenew::addInState().manualCheck = false;
        plorinrenew::Main m;
        m.downloadSize = 300000;
        return m.askUser();
    }
};

TEST_F(UpdateDialogs, InstallOffersFourOptionsAndStoresOnlyALaterChoice) {
    now = 46364 + (23 * 60 + 59) / 1440.0;  // 23:59
    EXPECT_TRUE(askAutomatic(0));
    EXPECT_EQ(get("autoUpdateReminder"), "<missing>");

    EXPECT_FALSE(askAutomatic(1));
    EXPECT_EQ(get("autoUpdateReminder"), "46365");
    plorinrenew::Main m;
    EXPECT_TRUE(m.remindLater());
    now = 46365 + 1 / 86400.0;  // just after midnight: ask again
    EXPECT_FALSE(m.remindLater());

    EXPECT_FALSE(askAutomatic(2));
    EXPECT_EQ(get("autoUpdateReminder"), "46372");

    set("autoUpdateProgram", "1");
    set("autoUpdateCustomization", "1");
    EXPECT_FALSE(askAutomatic(3));
    EXPECT_EQ(get("autoUpdateReminder"), std::to_string(plorinrenew::dateSerial(2099, 12, 31)));
    EXPECT_EQ(get("autoUpdateProgram"), "1") << "the manual check must keep working";
    EXPECT_EQ(get("autoUpdateCustomization"), "1");
    now = plorinrenew::dateSerial(2099, 12, 30);
    EXPECT_TRUE(m.remindLater());
}

TEST_F(UpdateDialogs, TheCloseBoxMeansNotNowAndStoresNothing) {
    set("autoUpdateReminder", "12");
    EXPECT_FALSE(askAutomatic(-1));
    EXPECT_EQ(get("autoUpdateReminder"), "12");

    driver.queueForm("InstallManual", [](platform::Form&) {});
    plorinrenew::addInState().manualCheck = true;
    plorinrenew::Main m;
    EXPECT_FALSE(m.askUser());
}

TEST_F(UpdateDialogs, TheDialogsShowTheSizeAndTheirTextsAndComeToTheTop) {
    std::string status, caption;
    bool topMost = false;
    driver.queueForm("InstallManual", [&](platform::Form& f) {
        status = f.get<platform::Label>("lStatus").Caption;
        caption = f.Caption;
        topMost = f.topMost;
        platform::driver::click(f, "btnUpdate");
    });
    plorinrenew::addInState().manualCheck = true;
    plorinrenew::Main m;
    m.downloadSize = 300000;
    EXPECT_TRUE(m.askUser());
    EXPECT_EQ(status, "Approximately 0.3 MB will be downloaded.");
    EXPECT_EQ(caption, "Varnotel Update");
    EXPECT_TRUE(topMost);

    plorinrenew::Install install;
    install.Load();
    EXPECT_EQ(install.get<platform::OptionButton>("obOptions(3)").Caption,
              "I will check for updates manually via the 'Help' menu");
    EXPECT_TRUE(install.get<platform::OptionButton>("obOptions(0)").Value());
    platform::driver::check(install, "obOptions(2)", 1);
    EXPECT_FALSE(install.get<platform::OptionButton>("obOptions(0)").Value()) << "options form one group";
    EXPECT_EQ(install.selectedOption(), 2);
}

TEST_F(UpdateDialogs, TheDownloadDialogsCloseBoxIsCancel) {
    bool cancelled = false;
    plorinrenew::DownloadStatus status(cancelled);
    status.Show(false);
    EXPECT_FALSE(cancelled);
    EXPECT_TRUE(status.topMost);
    status.Unload();  // the user closes it
    EXPECT_TRUE(cancelled);

    status.Show(false);
    EXPECT_FALSE(cancelled) << "activation clears the flag";
    status.closeByRun();
    EXPECT_FALSE(cancelled);

    status.Show(false);
    platform::driver::click(status, "btnCancel");
    EXPECT_TRUE(cancelled);
    EXPECT_FALSE(status.loaded());
}

// ---- Whole runs ----------------------------------------------------------------------

class UpdateRuns : public UpdaterFixture {};

TEST_F(UpdateRuns, EachOutcomeShowsItsMessageOnAManualRunAndNothingOnAnAutomaticOne) {
    struct Case {
        const char* name;
        std::string reply;  // "-" for no server
        bool enabled;
        std::vector<std::string> manual;  // beginnings of the messages after "Please note:"
    };
    const std::string disabled = "Updates have been disabled in the Varnotel settings.";
    const std::string upToDate = "Your version of Varnotel is up to date.";
    const Case cases[] = {
        {"disabled", "programVersion:1.0.0.9;1;customizationVersion:0;0;", false, {disabled}},
        {"no server", "-", true, {"Connecting to the Varnotel Update server failed."}},
        {"empty reply", "", true, {"Connecting to the Varnotel Update server failed."}},
        {"db_error", "db_error", true, {"An unexpected error occurred checking for updates (3)."}},
        {"sql_error", "sql_error", true, {"An unexpected error occurred checking for updates (4)."}},
        {"numrow_error",
         "numrow_error",
         true,
         {"Currently there are no updates available for your version of Varnotel for presentations."}},
        {"other", "Service Unavailable", true, {"An unexpected error occurred checking for updates (6)."}},
        {"partial", "programVersion:1.0.0.9;12;", true, {"An unexpected error occurred checking for updates (6)."}},
        {"up to date", "programVersion:1.0.0.4;1;customizationVersion:3;1;", true, {upToDate}},
        {"newer, declined", "programVersion:1.0.0.5;1;customizationVersion:3;1;", true, {}},
    };
    driver.onUnansweredMessage = [](const platform::MessageBoxCall&) { return platform::vbOK; };
    driver.onUnscriptedForm = [](platform::Form&) {};  // the close box
    for (const auto& c : cases) {
        for (const bool manual : {true, false}) {
            set("autoUpdateProgramVersion", "1.0.0.4");
            set("autoUpdateCustomizationVersion", "3");
            set("autoUpdateProgram", c.enabled ? "1" : "0");
            set("autoUpdateCustomization", c.enabled ? "1" : "0");
            set("webHost", c.reply == "-" ? "127.0.0.1:" + std::to_string(loopback::HttpTestServer::unusedPort())
                                          : server.hostPort());
            server.setVersionReply(c.reply);
            driver.messages.clear();
            driver.modalForms.clear();
            const auto before = server.requests().size();
            run(manual);

            std::vector<std::string> shown = messages();
            if (manual) {
                std::vector<std::string> expected = c.manual;
                if (c.enabled) expected.insert(expected.begin(), "Please note:");
                ASSERT_EQ(shown.size(), expected.size()) << c.name;
                for (std::size_t i = 0; i < shown.size(); ++i)
                    EXPECT_EQ(shown[i].rfind(expected[i], 0), 0u) << c.name << ": " << shown[i];
            } else {
                EXPECT_TRUE(shown.empty()) << c.name << ": " << (shown.empty() ? "" : shown[0]);
            }
            const bool asked = std::string(c.name) == "newer, declined";
            EXPECT_EQ(driver.modalForms, asked ? std::vector<std::string>{manual ? "InstallManual" : "Install"}
                                               : std::vector<std::string>{})
                << c.name;
            if (!c.enabled) {
                EXPECT_EQ(server.requests().size(), before) << "no request when switched off";
            }
            EXPECT_TRUE(plorin::reportedErrors().empty()) << c.name;
        }
    }
}

TEST_F(UpdateRuns, AMessageNamesTheConfiguredAddressAndTheIconOfItsKind) {
    driver.onUnansweredMessage = [](const platform::MessageBoxCall&) { return platform::vbOK; };
    set("webHost", "127.0.0.1:" + std::to_string(loopback::HttpTestServer::unusedPort()));
    run(true);
    ASSERT_EQ(driver.messages.size(), 2u);
    EXPECT_EQ(driver.messages[0].style, platform::vbInformation);
    EXPECT_EQ(driver.messages[1].style, platform::vbExclamation);
    EXPECT_EQ(driver.messages[1].title, "Varnotel for presentations - Update");
    EXPECT_NE(driver.messages[1].text.find(
                  "\r\nPlease check your internet connection and make sure you can access http://127.0.0.1:"),
              std::string::npos);
}

// Records the waits of each request and answers none.
class WaitRecorder : public platform::HttpClient {
public:
    std::vector<std::pair<long, long>> waits;
    platform::HttpResponse send(const platform::HttpRequest& r) override {
        waits.emplace_back(r.connectTimeoutMs, r.totalTimeoutMs);
        return {};
    }
    bool download(const platform::HttpRequest&, const std::function<bool(const char*, std::size_t)>&,
                  platform::HttpResponse&) override {
        return false;
    }
};

TEST_F(UpdateRuns, TheAutomaticCheckAtStartWaitsOnlyBrieflyForTheServer) {
    plorin::setHttpTimeouts({});
    WaitRecorder recorder;
    platform::useHttpClient(&recorder);
    driver.onUnansweredMessage = [](const platform::MessageBoxCall&) { return platform::vbOK; };
    run(false);
    run(true);
    platform::useHttpClient(nullptr);
    EXPECT_EQ(recorder.waits, (std::vector<std::pair<long, long>>{{2000, 4000}, {5000, 30000}}));
}

TEST_F(UpdateRuns, TheCheckIsAnEmptyPostToTheEndpointOfTheConfiguredHost) {
    server.setVersionReply("programVersion:1.0.0.4;1;customizationVersion:0;0;");
    set("autoUpdateProgramVersion", "1.0.0.4");
    set("webHost", " http://" + server.hostPort() + "/ ");
    run(false);
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].requestLine, "POST /autoupdate.php?action=check HTTP/1.0");
    EXPECT_EQ(requests[0].body, "");
    EXPECT_EQ(requests[0].header("Host"), server.hostPort());
}

TEST_F(UpdateRuns, AnAutomaticRunStopsBeforeTheNetworkWhileAReminderHoldsButAManualOneIgnoresIt) {
    set("autoUpdateReminder", "46365");  // tomorrow
    set("autoUpdateProgramVersion", "1.0.0.4");
    server.setVersionReply("programVersion:1.0.0.4;1;customizationVersion:0;0;");
    run(false);
    EXPECT_TRUE(server.requests().empty());

    driver.onUnansweredMessage = [](const platform::MessageBoxCall&) { return platform::vbOK; };
    run(true);
    EXPECT_EQ(server.requests().size(), 1u);

    now = 46365.0;  // midnight
    run(false);
    EXPECT_EQ(server.requests().size(), 2u);

    set("autoUpdateReminder", "soon");  // not a date: no reminder
    run(false);
    EXPECT_EQ(server.requests().size(), 3u);
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(UpdateRuns, OneRunAtATimeAndCheckReturnsBeforeAnyRequest) {
    startHost();
    server.setVersionReply("programVersion:1.0.0.5;1;customizationVersion:0;0;");
    set("autoUpdateProgramVersion", "1.0.0.4");
    driver.onUnansweredMessage = [](const platform::MessageBoxCall&) { return platform::vbOK; };
    auto object = app->COMAddIns().Item(plorinrenew::kProgId).Object();
    ASSERT_NE(object, nullptr);

    bool timerDuringRun = true;
    driver.queueForm("InstallManual", [&](platform::Form& f) {
        // The user asks again while the first run waits for the answer, also through a
        // nested run: both are ignored and the first run's state stays its own.
        object->invoke("check", {});
        timerDuringRun = plorinrenew::asyncForm().asyncTimer.isEnabled();
        plorinrenew::mainModule().process();
        platform::driver::click(f, "btnClose");
    });
    object->invoke("check", {});
    EXPECT_TRUE(server.requests().empty()) << "check returns before any network access";
    platform::timerClock().advance(1000);
    EXPECT_FALSE(timerDuringRun);
    EXPECT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(driver.modalForms.size(), 1u);
    platform::timerClock().advance(5000);
    EXPECT_EQ(server.requests().size(), 1u) << "each enabling gives exactly one run";

    EXPECT_THROW(object->invoke("uninstall", {}), host::HostError);
}

TEST_F(UpdateRuns, TheHostsStartRunsTheAutomaticCheckASecondLaterAndOtherHostsGetNothing) {
    server.setVersionReply("programVersion:1.0.0.4;1;customizationVersion:0;0;");
    set("autoUpdateProgramVersion", "1.0.0.4");
    startHost(/*connectUpdater=*/false);
    EXPECT_EQ(app->COMAddIns().startUp(), 1);
    platform::timerClock().advance(999);
    EXPECT_TRUE(server.requests().empty());
    platform::timerClock().advance(1);
    EXPECT_EQ(server.requests().size(), 1u);
    EXPECT_FALSE(plorinrenew::addInState().manualCheck);

    plorinrenew::Connect other;
    host::HostObject notPowerPoint;
    other.OnConnection(notPowerPoint, 0, nullptr);
    EXPECT_EQ(other.object(), nullptr);
}

TEST_F(UpdateRuns, StartUpdateConnectsTheUpdateAddInAndAsksItToCheck) {
    startHost(/*connectUpdater=*/false);
    plorin::state().application = app.get();
    plorin::EfficiencyTools tools;
    tools.callByName("startUpdate");
    EXPECT_TRUE(app->COMAddIns().Item(plorinrenew::kProgId).Connect());
    EXPECT_TRUE(plorinrenew::addInState().manualCheck);
    EXPECT_TRUE(plorinrenew::asyncForm().asyncTimer.isEnabled());
    EXPECT_TRUE(plorin::reportedErrors().empty());

    // Without the update add-in in the host's list the user is told to check the installation.
    host::Application bare("14.0");
    plorin::state().application = &bare;
    driver.messageAnswers.push_back(platform::vbOK);
    tools.startUpdate();
    ASSERT_EQ(driver.messages.size(), 1u);
    EXPECT_EQ(driver.messages[0].style, platform::vbCritical);
    EXPECT_EQ(driver.messages[0].title, "Varnotel for presentations");
    EXPECT_EQ(driver.messages[0].text.rfind("The Add-In for automatic updates has not been installed correctly.", 0),
              0u);
    plorin::state().application = nullptr;
}

TEST_F(UpdateRuns, ErrorsShowInTheUpdateAddInsOwnErrorBox) {
    const auto previous = plorinrenew::installErrorBox();
    driver.messageAnswers.push_back(platform::vbOK);
    plorin::trap("Main, checkForUpdate", [] { plorin::raiseError(plorin::errTypeMismatch, "Type mismatch"); });
    plorin::setErrorSink(previous);
    ASSERT_EQ(driver.messages.size(), 1u);
    EXPECT_EQ(driver.messages[0].text, "Error: \r\nMain, checkForUpdate (13, Type mismatch)");
    EXPECT_EQ(driver.messages[0].style, platform::vbCritical);
    EXPECT_EQ(driver.messages[0].title, "Varnotel for presentations - Update");
}

}  // namespace
