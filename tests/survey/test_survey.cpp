// The user survey against the loopback server: when it comes, what it sends, what each reply
// does to the schedule, and that a start-up never waits long for an absent server.
#include <gtest/gtest.h>

#include <chrono>
#include <map>

#include "addin/survey_start.h"
#include "core/errors.h"
#include "core/registry.h"
#include "core/shared_state.h"
#include "core/web_post.h"
#include "host/host.h"
#include "loopback/http_server.h"
#include "platform/clock.h"
#include "platform/http.h"
#include "platform/picture.h"
#include "platform/services.h"
#include "platform/ui_driver.h"
#include "platform/ui_forms.h"
#include "survey/survey.h"
#include "survey/survey_pages.h"
#include "tests/core/core_fixture.h"

namespace {

using namespace std::chrono;
using loopback::HttpTestServer;
using Reply = HttpTestServer::Reply;

constexpr sys_days kToday = sys_days(year(2026) / 12 / 8);

class Survey : public testing_core::CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        platform::useToday(kToday);
        plorin::state().application = &startHost("14.0");
        plorin::setRegistry("webHost", server.hostPort(), "");
        plorin::setRegistry("supportEmail", "help@survey.test", "");
    }
    void TearDown() override {
        plorin::setHttpTimeouts({});
        plorin::state().application = nullptr;
        CoreFixture::TearDown();
    }

    static std::string setting(const std::string& name) { return plorin::getRegistry(name, "", "(missing)"); }
    static void set(const std::string& name, const std::string& value) { plorin::setRegistry(name, value, ""); }

    // A survey that is due: below its maximum, the date passed.
    void makeDue() {
        set("surveyMaxCount", "2");
        set("surveyCount", "0");
        set("surveyDate", "2026-12-01");
    }

    // Page 1 answered in full (the answers' numbers as in kPage1Fields), then "Next".
    void answerPage1() {
        ui.queueForm("Survey1", [](platform::Form& f) {
            platform::driver::choose(f, "q1", 2);
            platform::driver::choose(f, "q2", 1);
            platform::driver::choose(f, "q3", 3);
            platform::driver::check(f, "q4_1", 1);
            platform::driver::check(f, "q4_3", 1);
            platform::driver::choose(f, "q5", 2);
            platform::driver::choose(f, "q6_1", 1);
            platform::driver::choose(f, "q6_2", 2);
            platform::driver::choose(f, "q6_3", 3);
            platform::driver::choose(f, "q6_4", 4);
            platform::driver::click(f, "btn2");
        });
    }
    void answerPage2(const std::string& comment = "") {
        ui.queueForm("Survey2", [comment](platform::Form& f) {
            platform::driver::choose(f, "q7", 1);
            platform::driver::choose(f, "q8_1", 1);
            platform::driver::choose(f, "q8_2", 2);
            platform::driver::choose(f, "q8_3", 3);
            platform::driver::choose(f, "q8_4", 5);
            platform::driver::setText(f, "q9", comment);
            platform::driver::click(f, "btn2");
        });
    }
    // Both pages answered and sent; the server answers the post with `reply`.
    std::string sendSurvey(const std::string& reply, const std::string& comment = "") {
        return sendSurvey(Reply::text(reply), comment);
    }
    std::string sendSurvey(const Reply& reply, const std::string& comment = "") {
        answerPage1();
        answerPage2(comment);
        ui.messageAnswers.push_back(platform::vbOK);
        server.queue(reply);
        plorin::runSurvey();
        const auto sent = server.requests();
        return sent.empty() ? std::string() : sent.back().body;
    }

    static constexpr const char* kPage1Fields =
        "&PPT=14%2E0&version=1%2E0%2E0&q1=2&q2=1&q3=3&q4_1=1&q4_2=0&q4_3=1&q4_4=0&q5=2&q6_1=1&q6_2=2&q6_3=3&q6_4=4";

    platform::ScriptedDriver& ui = driver;
    HttpTestServer server;
};

// ---- when the survey comes -------------------------------------------------------------

TEST_F(Survey, WithTheDefaultsThereIsNoPingAndTheDateIsSeededOnce) {
    plorin::checkForSurvey();
    EXPECT_TRUE(server.requests().empty());
    EXPECT_TRUE(ui.modalForms.empty());
    EXPECT_EQ(setting("surveyDate"), "2027-06-09");  // today + 183 days
    platform::useToday(kToday + days(1));
    plorin::checkForSurvey();
    EXPECT_EQ(setting("surveyDate"), "2027-06-09");
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(Survey, AMissingDateIsWrittenOnceSoThatTheSurveyComesOneIntervalLater) {
    set("surveyMaxCount", "1");
    set("surveyInterval", "10");
    plorin::checkForSurvey();
    EXPECT_EQ(setting("surveyDate"), "2026-12-18");
    EXPECT_TRUE(server.requests().empty());

    platform::useToday(kToday + days(9));
    plorin::checkForSurvey();
    EXPECT_EQ(setting("surveyDate"), "2026-12-18");
    EXPECT_TRUE(server.requests().empty());

    platform::useToday(kToday + days(10));
    server.queue(Reply::text("ping"));
    ui.queueForm("Survey1", [](platform::Form&) {});  // closed with the window's box
    plorin::checkForSurvey();
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(ui.modalForms, std::vector<std::string>{"Survey1"});
}

TEST_F(Survey, TheCountAtItsMaximumOrADateAheadMeansNoPing) {
    const std::map<std::string, std::map<std::string, std::string>> cases = {
        {"count at the maximum", {{"surveyMaxCount", "2"}, {"surveyCount", "2"}, {"surveyDate", "2000-01-01"}}},
        {"count above the maximum", {{"surveyMaxCount", "2"}, {"surveyCount", "5"}, {"surveyDate", "2000-01-01"}}},
        {"date tomorrow", {{"surveyMaxCount", "2"}, {"surveyCount", "0"}, {"surveyDate", "2026-12-09"}}},
        {"never again", {{"surveyMaxCount", "2"}, {"surveyCount", "0"}, {"surveyDate", "2099-12-31"}}},
    };
    for (const auto& [what, settings] : cases) {
        for (const auto& [name, value] : settings) set(name, value);
        plorin::checkForSurvey();
        EXPECT_TRUE(server.requests().empty()) << what;
        EXPECT_TRUE(ui.modalForms.empty()) << what;
    }
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(Survey, AMalformedDateIsNotDueAndLeftAsItIs) {
    for (const char* text : {"soon", "2026-13-01", "2026-02-30", "26-12-01", "2026/1/05", "2026-1-05x", "  "}) {
        makeDue();
        set("surveyDate", text);
        plorin::checkForSurvey();
        EXPECT_TRUE(server.requests().empty()) << text;
        if (std::string(text) != "  ") {
            EXPECT_EQ(setting("surveyDate"), text);
        } else {
            EXPECT_EQ(setting("surveyDate"), "2027-06-09");  // blank counts as missing: seeded, not due
        }
    }
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(Survey, ADueDateOnlyLeadsToThePagesWhenThePingIsAnswered) {
    makeDue();
    set("surveyDate", "2026-12-08");  // today counts as come
    for (const Reply& reply : {Reply::text(""), Reply::text("pong"), Reply::text("pings"), Reply::hangUp()}) {
        server.queue(reply);
        plorin::checkForSurvey();
    }
    EXPECT_EQ(server.requests().size(), 4u);
    EXPECT_TRUE(ui.modalForms.empty());

    server.queue(Reply::text("ping"));
    ui.queueForm("Survey1", [](platform::Form&) {});
    plorin::checkForSurvey();
    EXPECT_EQ(ui.modalForms, std::vector<std::string>{"Survey1"});
    const auto ping = server.requests().back();
    EXPECT_EQ(ping.target, "/survey.php");
    EXPECT_EQ(ping.body, "&ping=1");
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

// The HTTP client ends a request at its total time-out (tests/platform/test_http.cpp), so the
// ping's limits are what an absent server can cost the start.
TEST_F(Survey, AServerThatNeverAnswersCostsTheStartAtMostThePingTimeOut) {
    struct NeverAnswering : platform::HttpClient {
        std::vector<platform::HttpRequest> sent;
        platform::HttpResponse send(const platform::HttpRequest& request) override {
            sent.push_back(request);
            return {false, 0, {}, "Operation timed out", -1};
        }
        bool download(const platform::HttpRequest& request, const std::function<bool(const char*, std::size_t)>&,
                      platform::HttpResponse& info) override {
            sent.push_back(request);
            info = {false, 0, {}, "Operation timed out", -1};
            return false;
        }
    } client;
    makeDue();
    const plorin::HttpTimeouts before = plorin::httpTimeouts();
    ASSERT_GT(before.totalMs, plorin::kPingTimeoutMs);  // else the ping's own limit proves nothing
    platform::useHttpClient(&client);
    plorin::checkForSurvey();

    ASSERT_EQ(client.sent.size(), 1u);
    const platform::HttpRequest& ping = client.sent[0];
    EXPECT_EQ(ping.body, "&ping=1");
    EXPECT_GT(ping.connectTimeoutMs, 0);  // 0 would leave the limit to libcurl
    EXPECT_LE(ping.connectTimeoutMs, plorin::kPingTimeoutMs);
    EXPECT_GT(ping.totalTimeoutMs, 0);  // 0 would mean no limit at all
    EXPECT_LE(ping.totalTimeoutMs, plorin::kPingTimeoutMs);
    EXPECT_TRUE(ui.modalForms.empty());
    EXPECT_EQ(plorin::httpTimeouts().connectMs, before.connectMs);
    EXPECT_EQ(plorin::httpTimeouts().totalMs, before.totalMs);
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(Survey, BrokenSettingsOrAFailingDialogAreReportedAndTheStartGoesOn) {
    // Numbers that are no numbers are read as their defaults: no "Type mismatch" at every start.
    set("surveyCount", "many");
    set("surveyMaxCount", "");
    set("surveyInterval", "half a year");
    plorin::checkForSurvey();
    EXPECT_TRUE(server.requests().empty());  // the default maximum 0: no survey
    EXPECT_TRUE(plorin::reportedErrors().empty());
    set("surveyMaxCount", "2");
    set("surveyDate", "");
    plorin::checkForSurvey();
    EXPECT_EQ(setting("surveyDate"), "2027-06-09");  // today and the default interval of 183 days
    EXPECT_TRUE(plorin::reportedErrors().empty());

    makeDue();
    server.queue(Reply::text("ping"));
    ui.queueForm("Survey1", [](platform::Form&) { throw std::runtime_error("the window system gave up"); });
    plorin::checkForSurvey();
    ASSERT_EQ(plorin::reportedErrors().size(), 1u);
    EXPECT_EQ(plorin::reportedErrors()[0].location, "Survey, runSurvey");
}

// ---- what is sent ----------------------------------------------------------------------

TEST_F(Survey, TheBodyHoldsEveryAnswerInOrderWithTextsEncoded) {
    set("statsSlideWizard", "12");
    set("statsMyElements", "3&x=1");  // a damaged counter must not add a field
    set("statsAgendaWizard", "0");
    const std::string comment = "Fast & \"simple\" = good, merci beaucoup, Grüße";
    const std::string body = sendSurvey("success", comment);
    EXPECT_EQ(body, std::string(kPage1Fields) + "&q7=1&q8_1=1&q8_2=2&q8_3=3&q8_4=5&q9=" + plorin::URLEncode(comment) +
                        "&statsSlideWizard=12&statsMyElements=3%26x%3D1&statsAgendaWizard=0&statsEfficiencyTools=0");
    EXPECT_EQ(server.requests().back().target, "/survey.php");
    // Every field appears once, whatever the texts held.
    int fields = 0;
    for (char c : body) fields += c == '&';
    EXPECT_EQ(fields, 24);
    EXPECT_EQ(body.find("Gr"),
              body.find("q9=") + 3 + plorin::URLEncode("Fast & \"simple\" = good, merci beaucoup, ").size());
}

TEST_F(Survey, EachPageInsistsOnItsAnswersBeforeMovingOn) {
    ui.queueForm("Survey1", [](platform::Form& f) {
        platform::driver::choose(f, "q1", 1);
        platform::driver::click(f, "btn2");  // q2 and the rest still "Please choose..."
        EXPECT_TRUE(f.Visible());
    });
    ui.messageAnswers.push_back(platform::vbOK);
    plorin::runSurvey();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Please answer all questions before continuing.");
    EXPECT_EQ(ui.messages[0].style, platform::vbInformation);
    EXPECT_EQ(ui.messages[0].title, "Varnotel for presentations");
    EXPECT_EQ(ui.modalForms, std::vector<std::string>{"Survey1"});  // left open: no second page

    answerPage1();
    ui.queueForm("Survey2", [](platform::Form& f) {
        platform::driver::choose(f, "q7", 2);
        platform::driver::click(f, "btn2");
    });
    ui.messageAnswers.push_back(platform::vbOK);
    plorin::runSurvey();
    EXPECT_EQ(ui.messages.back().text, "Please answer all questions before submitting the survey.");
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(Survey, PageTwoShowsTheCountersAndEveryListStartsAtItsPrompt) {
    set("statsEfficiencyTools", "41");
    answerPage1();
    ui.queueForm("Survey2", [](platform::Form& f) {
        EXPECT_EQ(f.get<platform::Label>("uLabel").Caption, "Here are your usage statistics:");
        EXPECT_EQ(f.get<platform::Label>("u1").Caption, "0");
        EXPECT_EQ(f.get<platform::Label>("u4").Caption, "41");
        EXPECT_TRUE(f.topMost);
        for (const char* name : {"q7", "q8_1", "q8_4"}) {
            const auto& q = f.get<platform::ComboBox>(name);
            EXPECT_EQ(q.ListIndex(), 0) << name;
            EXPECT_EQ(q.Text(), "Please choose...") << name;
        }
        EXPECT_EQ(f.get<platform::ComboBox>("q8_2").ListCount(), 6);
        EXPECT_EQ(f.get<platform::ComboBox>("cbWhen").Text(), "tomorrow");
    });
    plorin::runSurvey();
    EXPECT_EQ(ui.modalForms, (std::vector<std::string>{"Survey1", "Survey2"}));
}

// ---- what each reply does --------------------------------------------------------------

TEST_F(Survey, SuccessMovesTheDateOneIntervalAheadAndCountsTheSurvey) {
    set("surveyCount", "1");
    set("surveyInterval", "30");
    set("surveyDate", "2026-12-01");
    sendSurvey("success\r\n");  // line ends around the word are no failure
    EXPECT_EQ(setting("surveyDate"), "2027-01-07");
    EXPECT_EQ(setting("surveyCount"), "2");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Your survey data has successfully been transmitted.\r\nAgain, thank you very much for your time.");
    EXPECT_EQ(ui.messages[0].style, platform::vbInformation);
}

TEST_F(Survey, AnyOtherReplyLeavesTheScheduleAndSaysWhatWentWrong) {
    const std::string hint =
        "\r\nPlease try again next time and contact us at help@survey.test if the problem persists.";
    const std::string unexpected =
        "An unexpected error has occured during transmission of your survey data (the "
        "survey server answered with status ";
    const std::pair<Reply, std::string> cases[] = {
        {Reply::text("error_insert\n"), "An error occured during transmission of your survey data." + hint},
        {Reply::text("Success"), unexpected + "200)." + hint},
        // A server's error page or a long body is not shown: only its status.
        {Reply::text("<html><body><h1>404 Not Found</h1></body></html>", 404), unexpected + "404)." + hint},
        {Reply::text(std::string(2 * 1024 * 1024, 'x')),
         "Your survey data could not be transmitted: the survey server gave no usable answer." + hint},
        {Reply::text(""), "Your survey data could not be transmitted: the survey server gave no usable answer." + hint},
    };
    for (const auto& [reply, message] : cases) {
        set("surveyCount", "1");
        set("surveyDate", "2026-12-01");
        ui.messages.clear();
        sendSurvey(reply);
        EXPECT_EQ(setting("surveyDate"), "2026-12-01") << message;
        EXPECT_EQ(setting("surveyCount"), "1") << message;
        ASSERT_EQ(ui.messages.size(), 1u) << message;
        EXPECT_EQ(ui.messages[0].text, message);
        EXPECT_EQ(ui.messages[0].style, platform::vbCritical) << message;
    }
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(Survey, AnAnswerTooLateCountsAsSentAndIsNeverSentAgain) {
    // The server took the whole survey but answers after the wait: it has the answers, so
    // sending them again at a later start would count this user twice. A server that drops
    // the connection without a word is a failure like any other.
    plorin::setHttpTimeouts({2000, 300});
    const auto send = [&](const Reply& reply) {
        set("surveyCount", "0");
        set("surveyDate", "2026-12-01");
        ui.messages.clear();
        sendSurvey(reply);
        EXPECT_EQ(ui.messages.size(), 1u);
        return ui.messages.empty() ? platform::MessageBoxCall{} : ui.messages[0];
    };
    EXPECT_EQ(send(Reply::hangUp()).style, platform::vbCritical);
    EXPECT_EQ(setting("surveyCount"), "0");
    EXPECT_EQ(setting("surveyDate"), "2026-12-01");

    // (Last: the server sleeps out its delay before it takes another request.)
    const auto late = send(Reply::slow(3000, "success"));
    EXPECT_EQ(late.text,
              "Your survey data has been sent, but the survey server did not confirm it in time. It "
              "will not be sent again.\r\nAgain, thank you very much for your time.");
    EXPECT_EQ(late.style, platform::vbInformation);
    EXPECT_EQ(setting("surveyCount"), "1");
    EXPECT_EQ(setting("surveyDate"), "2027-06-09");
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(Survey, SendingShowsItselfWaitsBrieflyAndAClickMeanwhileSendsNothingMore) {
    struct Capturing : platform::HttpClient {
        std::vector<platform::HttpRequest> sent;
        platform::HttpResponse send(const platform::HttpRequest& request) override {
            sent.push_back(request);
            return {true, 200, "success", "", 7};
        }
        bool download(const platform::HttpRequest&, const std::function<bool(const char*, std::size_t)>&,
                      platform::HttpResponse&) override {
            return false;
        }
    } client;
    answerPage1();
    plorin::Survey2* page = nullptr;
    ui.queueForm("Survey2", [&](platform::Form& form) {
        page = &dynamic_cast<plorin::Survey2&>(form);
        for (auto* q : {&page->q7, &page->q8_1, &page->q8_2, &page->q8_3, &page->q8_4}) q->setListIndex(1);
        page->btn2_Click();
    });
    std::vector<std::string> seen;
    ui.onEvents = [&] {
        // What the page shows while the survey is on its way; a second click changes nothing.
        if (!page) return;
        seen.push_back(page->btn2.Caption + (page->btn2.Enabled ? "" : " (disabled)"));
        page->btn2_Click();
    };
    ui.messageAnswers.push_back(platform::vbOK);
    platform::useHttpClient(&client);
    plorin::runSurvey();
    EXPECT_EQ(seen, std::vector<std::string>{"Sending... (disabled)"});
    ASSERT_EQ(client.sent.size(), 1u);
    EXPECT_GT(client.sent[0].totalTimeoutMs, 0);
    EXPECT_LE(client.sent[0].totalTimeoutMs, plorin::kSendTimeoutMs);
    EXPECT_LE(client.sent[0].connectTimeoutMs, plorin::kPingTimeoutMs);
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

// ---- reminders -------------------------------------------------------------------------

TEST_F(Survey, RemindMeOnEitherPageWritesTheChosenDate) {
    const std::pair<int, std::string> choices[] = {
        {0, "2026-12-09"}, {1, "2026-12-22"}, {2, "2027-06-09"}, {3, "2099-12-31"}};
    for (const auto& [choice, date] : choices) {
        set("surveyDate", "2026-12-01");
        ui.queueForm("Survey1", [choice](platform::Form& f) {
            platform::driver::choose(f, "cbWhen", choice);
            platform::driver::click(f, "btn1");
        });
        plorin::runSurvey();
        EXPECT_EQ(setting("surveyDate"), date) << choice;

        set("surveyDate", "2026-12-01");
        answerPage1();
        ui.queueForm("Survey2", [choice](platform::Form& f) {
            platform::driver::choose(f, "cbWhen", choice);
            platform::driver::click(f, "btn1");
        });
        plorin::runSurvey();
        EXPECT_EQ(setting("surveyDate"), date) << choice;
    }
    EXPECT_TRUE(server.requests().empty());

    set("surveyDate", "2026-12-01");
    plorin::setSurveyDate(4);
    plorin::setSurveyDate(-1);
    EXPECT_EQ(setting("surveyDate"), "2026-12-01");
}

TEST_F(Survey, ClosingAPageLeavesTheDateSoTheSurveyReturnsAtTheNextStart) {
    makeDue();
    for (int start = 0; start < 2; ++start) {
        server.queue(Reply::text("ping"));
        ui.queueForm("Survey1", [](platform::Form&) {});
        plorin::checkForSurvey();
    }
    EXPECT_EQ(ui.modalForms, (std::vector<std::string>{"Survey1", "Survey1"}));
    EXPECT_EQ(setting("surveyDate"), "2026-12-01");
}

// ---- the opened lists ------------------------------------------------------------------

TEST(AutoSizeComboBox, WidensTheOpenedListOnlyForEntriesWiderThanTheBox) {
    platform::Form form("f");
    platform::ComboBox narrow(form, "narrow");
    narrow.Width = 20;
    narrow.AddItem("I can't say, I didn't have a chance to use it");
    narrow.AddItem("Good");
    plorin::AutoSizeComboBox(narrow);
    EXPECT_EQ(narrow.droppedWidth,
              platform::textWidth("I can't say, I didn't have a chance to use it", form.FontName, form.FontSize) + 10);
    EXPECT_GT(narrow.droppedWidth, 30);

    platform::ComboBox wide(form, "wide");
    wide.Width = 2000;
    wide.AddItem("Daily");
    plorin::AutoSizeComboBox(wide);
    EXPECT_EQ(wide.droppedWidth, 2000);

    platform::ComboBox empty(form, "empty");
    empty.Width = 50;
    plorin::AutoSizeComboBox(empty);
    EXPECT_EQ(empty.droppedWidth, 50);
}

TEST(SurveyDate, ReadsOnlyItsDigitPositionsAndNamesOnlyRealDays) {
    EXPECT_EQ(plorin::surveyDateFromText("2026-12-08"), sys_days(year(2026) / 12 / 8));
    EXPECT_EQ(plorin::surveyDateFromText("2024-02-29 and more"), sys_days(year(2024) / 2 / 29));
    EXPECT_EQ(plorin::surveyDateFromText("2026.01.05"), sys_days(year(2026) / 1 / 5));
    for (const char* bad : {"", "2026-12-8", "2025-02-29", "2026-00-10", "2026-12-32", "abcd-ef-gh", "２０２６-12-08"})
        EXPECT_FALSE(plorin::surveyDateFromText(bad).has_value()) << bad;
    EXPECT_EQ(plorin::surveyDateText(sys_days(year(999) / 1 / 2)), "0999-01-02");
}

}  // namespace
