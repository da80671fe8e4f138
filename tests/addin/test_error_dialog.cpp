// The error dialog as the user meets it: what it says, the report box's hint, an error raised
// while it is open, and sending a report to a loopback server.
#include <gtest/gtest.h>

#include <functional>

#include "addin/addin_state.h"
#include "addin/error_dialog.h"
#include "core/config.h"
#include "core/registry.h"
#include "core/version.h"
#include "core/web_post.h"
#include "loopback/http_server.h"
#include "tests/core/core_fixture.h"

namespace {

using loopback::HttpTestServer;
using plorin::ErrForm;
using Reply = HttpTestServer::Reply;
namespace drive = platform::driver;

constexpr const char* kTitle = "Varnotel for presentations";
constexpr const char* kNotTransmitted =
    "Your error report could not be transmitted.\r\nPlease check your internet connection.";
constexpr const char* kThanks = "Thank you for your error report.\r\nWe are working on resolving the issue.";

class ErrorDialog : public testing_core::CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        previousSink = plorin::installErrorDialog();
        plorin::state().application = &startHost("11.0");
        plorin::setRegistry("webHost", server.hostPort(), "");
    }
    void TearDown() override {
        plorin::state().application = nullptr;
        plorin::setErrorSink(previousSink);
        CoreFixture::TearDown();
    }

    // Reports an error; the user works the dialog with `work`.
    void report(const std::string& location, const plorin::ErrorInfo* error, std::function<void(ErrForm&)> work) {
        driver.queueForm("ErrForm", [work](platform::Form& f) { work(dynamic_cast<ErrForm&>(f)); });
        plorin::reportError(location, error);
    }

    // Sends a report for a numbered error with the report box untouched; the message box is answered.
    void sendReport() {
        driver.messageAnswers.push_back(platform::vbOK);
        plorin::ErrorInfo error{plorin::errInvalidArgument, "Invalid procedure call", ""};
        report("Wininet, HttpPost", &error, [](ErrForm& f) { drive::click(f, "btnSendReport"); });
    }

    std::string sentBody() const {
        const auto all = server.requests();
        return all.size() == 1 ? all.front().body : "(" + std::to_string(all.size()) + " requests)";
    }

    HttpTestServer server;
    plorin::ErrorSink previousSink;
};

// --- what the dialog says --------------------------------------------------------------------

TEST_F(ErrorDialog, ShowsTheLocationAndTheErrorAndSplitsClassAndFunction) {
    struct Case {
        std::string location;
        bool withError;
        long number;
        std::string description, shown, errClass, errFunction;
        std::int32_t errNumber;
    };
    const Case cases[] = {
        {"Wininet, HttpPost", true, 5, "Invalid procedure call", "Wininet, HttpPost - Invalid procedure call(5)",
         "Wininet", "HttpPost", 5},
        {"Wininet, HttpPost", false, 0, "", "Wininet, HttpPost", "Wininet", "HttpPost", 0},
        {"ErrForm, btnCancel_Click, ", true, 0x80048240L, "Invalid request",
         "ErrForm, btnCancel_Click,  - Invalid request(-2147188160)", "ErrForm", "btnCancel_Click, ", -2147188160},
        {"Globals,createFolder", true, 75, "Path/File access error",
         "Globals,createFolder - Path/File access error(75)", "Globals", "Globals,createFolder", 75},
        {"ShellExecute for URL x failed [2]", false, 0, "", "ShellExecute for URL x failed [2]", "",
         "for URL x failed [2]", 0},
        {"nothing", false, 0, "", "nothing", "", "nothing", 0},
    };
    for (const auto& c : cases) {
        plorin::ErrorInfo error{c.number, c.description, ""};
        report(c.location, c.withError ? &error : nullptr, [&](ErrForm& f) {
            EXPECT_EQ(f.errDescription.Caption, c.shown);
            EXPECT_EQ(f.errClass, c.errClass) << c.location;
            EXPECT_EQ(f.errFunction, c.errFunction) << c.location;
            EXPECT_EQ(f.errNumber, c.errNumber) << c.location;
            drive::click(f, "btnCancel");
        });
    }
    EXPECT_EQ(driver.modalForms.size(), std::size(cases));
    EXPECT_TRUE(server.requests().empty());  // closing sends nothing
}

TEST_F(ErrorDialog, TheReportBoxHintGivesWayOnAClickAndReturnsWhenTheBoxIsLeftEmpty) {
    report("X, y", nullptr, [](ErrForm& f) {
        EXPECT_EQ(f.errReport.Text(), ErrForm::kReportHint);
        EXPECT_EQ(f.errReport.ForeColor, 0x808080u);

        drive::click(f, "errReport");
        EXPECT_EQ(f.errReport.Text(), "");
        EXPECT_EQ(f.errReport.ForeColor, 0x000000u);
        drive::setText(f, "errReport", "my words");
        drive::click(f, "errReport");  // later clicks leave the user's words alone
        drive::click(f, "Label2");     // and so does a click outside while the box holds text
        EXPECT_EQ(f.errReport.Text(), "my words");

        for (const char* outside : {"errDescription", "Label2", "Picture1", "tbContact"}) {
            drive::setText(f, "errReport", "");
            drive::click(f, outside);
            EXPECT_EQ(f.errReport.Text(), ErrForm::kReportHint) << outside;
            EXPECT_EQ(f.errReport.ForeColor, 0x808080u) << outside;
            drive::click(f, "errReport");
            EXPECT_EQ(f.errReport.Text(), "") << outside;
        }
        drive::click(f, "btnCancel");
    });
}

TEST_F(ErrorDialog, AnErrorRaisedWhileItIsOpenOnlyChangesItsText) {
    report("First, one", nullptr, [](ErrForm& f) {
        drive::setText(f, "tbName", "Anna");
        plorin::ErrorInfo second{plorin::errSubscriptOutOfRange, "Subscript out of range", ""};
        plorin::reportError("Second, two", &second);
        EXPECT_EQ(f.errDescription.Caption, "Second, two - Subscript out of range(9)");
        EXPECT_EQ(f.errClass, "Second");
        EXPECT_EQ(f.errFunction, "two");
        EXPECT_EQ(f.errNumber, plorin::errSubscriptOutOfRange);
        EXPECT_EQ(f.tbName.Text(), "Anna");
        drive::click(f, "btnCancel");
    });
    EXPECT_EQ(driver.modalForms.size(), 1u);
}

TEST_F(ErrorDialog, EachNewErrorOpensAFreshDialog) {
    report("First, one", nullptr, [](ErrForm& f) {
        drive::click(f, "errReport");
        drive::setText(f, "errReport", "typed");
        drive::setText(f, "tbContact", "0171");
        drive::click(f, "btnCancel");
    });
    report("Second, two", nullptr, [](ErrForm& f) {
        EXPECT_EQ(f.errReport.Text(), ErrForm::kReportHint);
        EXPECT_EQ(f.tbContact.Text(), "");
        drive::click(f, "btnCancel");
    });
    EXPECT_EQ(driver.modalForms.size(), 2u);
}

TEST_F(ErrorDialog, ADialogNobodyWorksIsClosedAndTheNextErrorStillShowsOne) {
    plorin::reportError("Nobody, there", nullptr);  // the driver has no action: the dialog just closes
    report("Second, two", nullptr, [](ErrForm& f) {
        EXPECT_EQ(f.errDescription.Caption, "Second, two");
        drive::click(f, "btnCancel");
    });
    EXPECT_EQ(driver.modalForms.size(), 2u);
}

TEST_F(ErrorDialog, ComesUpTopmostAndItsPrivacyLinkOpensThePolicyOnTheMakersServer) {
    report("X, y", nullptr, [](ErrForm& f) {
        EXPECT_TRUE(f.topMost);
        f.lPrivacyInfo.mouseMove();
        EXPECT_EQ(f.cursor, platform::IDC_HAND);
        drive::click(f, "lPrivacyInfo");
        EXPECT_TRUE(f.Visible());
        drive::click(f, "btnCancel");
    });
    EXPECT_EQ(shell.record.opened, (std::vector<std::string>{"http://" + server.hostPort() + "/plorin_privacy.pdf"}));
}

// --- the report ------------------------------------------------------------------------------

TEST_F(ErrorDialog, TheReportBodyHoldsEveryFieldInOrderPercentEncoded) {
    driver.messageAnswers.push_back(platform::vbOK);
    server.queue(Reply::text("0"));
    plorin::ErrorInfo error{plorin::errInvalidArgument, "Invalid call", ""};
    report("Wininet, HttpPost", &error, [](ErrForm& f) {
        drive::click(f, "errReport");
        drive::setText(f, "errReport", "Line one\nGrüße");
        drive::setText(f, "tbName", "Anna Berg");
        drive::setText(f, "tbContact", "a@b.example");
        drive::click(f, "btnSendReport");
    });
    const auto sent = server.requests();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].target, "/errorreport.php");
    EXPECT_EQ(sent[0].body,
              "description=Wininet%2C%20HttpPost%20%2D%20Invalid%20call%285%29"
              "&class=Wininet&function=HttpPost&number=5"
              "&report=Line%20one%0AGr%C3%BC%C3%9Fe"
              "&name=Anna%20Berg&contact=a%40b%2Eexample"
              "&PPT=11%2E0&version=" +
                  plorin::URLEncode(plorin::versionText()));
    EXPECT_EQ(plorin::versionText(), "1.0.0");  // the project's version
}

TEST_F(ErrorDialog, AReportBoxLeftAtItsHintSendsAnEmptyReport) {
    const std::function<void(ErrForm&)> ways[] = {
        [](ErrForm&) {},  // untouched
        [](ErrForm& f) {  // emptied, then the hint came back on a click outside
            drive::click(f, "errReport");
            drive::click(f, "Label2");
        },
        [](ErrForm& f) { drive::click(f, "errReport"); },  // emptied and left empty
    };
    for (const auto& way : ways) {
        driver.messageAnswers.push_back(platform::vbOK);
        report("X, y", nullptr, [&](ErrForm& f) {
            way(f);
            drive::click(f, "btnSendReport");
        });
    }
    const auto sent = server.requests();
    ASSERT_EQ(sent.size(), std::size(ways));
    for (const auto& request : sent) {
        EXPECT_NE(request.body.find("&number=0&report=&name=&contact=&PPT="), std::string::npos) << request.body;
    }
}

TEST_F(ErrorDialog, TheServersReplyDecidesTheMessageAndTheDialogClosesEitherWay) {
    struct Case {
        Reply reply;
        std::string message;
        int style;
    };
    const std::string apology = "Apologies, our server is currently unable to process your error report (";
    const std::string mailUs = ").\r\nPlease send us an e-mail with your error report: support@varnotel.example";
    const Case cases[] = {
        {Reply::text(""), kNotTransmitted, platform::vbCritical},
        {Reply::text("0"), kThanks, platform::vbInformation},
        {Reply::gzipped("0"), kThanks, platform::vbInformation},
        {Reply::text("0 "), apology + "0 " + mailUs, platform::vbCritical},
        {Reply::text("00"), apology + "00" + mailUs, platform::vbCritical},
        {Reply::text("database down", 500), apology + "database down" + mailUs, platform::vbCritical},
        {Reply::hangUp(), kNotTransmitted, platform::vbCritical},  // as an unreachable server does
    };
    for (const auto& c : cases) {
        server.queue(c.reply);
        sendReport();
        ASSERT_FALSE(driver.messages.empty());
        EXPECT_EQ(driver.messages.back().text, c.message);
        EXPECT_EQ(driver.messages.back().style, c.style) << c.message;
        EXPECT_EQ(driver.messages.back().title, kTitle);
    }
    EXPECT_EQ(driver.messages.size(), std::size(cases));
    EXPECT_EQ(server.requests().size(), std::size(cases));
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

TEST_F(ErrorDialog, AFailureInsideAHandlerLandsInTheOpenDialog) {
    server.queue(Reply::text("0"));
    // No answer for the message box: showing it fails inside btnSendReport_Click.
    report("Wininet, HttpPost", nullptr, [](ErrForm& f) {
        drive::click(f, "btnSendReport");
        EXPECT_TRUE(f.Visible());
        EXPECT_EQ(f.errDescription.Caption.rfind("ErrForm, btnSendReport_Click,  - ", 0), 0u)
            << f.errDescription.Caption;
        EXPECT_EQ(f.errClass, "ErrForm");
        EXPECT_EQ(f.errFunction, "btnSendReport_Click, ");
        drive::click(f, "btnCancel");
    });
    EXPECT_EQ(driver.modalForms.size(), 1u);
}

// --- where the maker is ------------------------------------------------------------------------

TEST_F(ErrorDialog, TheMakersAddressesAreSettingsWithExampleDefaults) {
    EXPECT_EQ(plorin::webHost(), server.hostPort());
    plorin::setRegistry("webHost", "  host.test:8080 ", "");
    EXPECT_EQ(plorin::webHost(), "host.test:8080");
    plorin::setRegistry("webHost", " ", "");
    EXPECT_EQ(plorin::webHost(), "www.varnotel.example");
    EXPECT_EQ(plorin::supportEmail(), "support@varnotel.example");
    plorin::setRegistry("supportEmail", " help@loopback.example ", "");
    EXPECT_EQ(plorin::supportEmail(), "help@loopback.example");
    EXPECT_TRUE(plorin::reportedErrors().empty());
}

}  // namespace
