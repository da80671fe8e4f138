#include "survey/survey_pages.h"

#include <initializer_list>

#include "core/config.h"
#include "core/errors.h"
#include "core/product_name.h"
#include "core/registry.h"
#include "core/shared_state.h"
#include "core/topmost_window.h"
#include "core/usage_counters.h"
#include "core/version.h"
#include "core/web_post.h"
#include "host/host.h"
#include "platform/clock.h"
#include "platform/picture.h"
#include "platform/ui_driver.h"
#include "survey/survey.h"

namespace plorin {
namespace {

constexpr const char* kPleaseChoose = "Please choose...";
constexpr const char* kFeatureLines[] = {
    "a) Slide Wizard - Inserting standard elements from the menu",
    "b) My Elements - Managing your own elements just like favorites in Internet Explorer",
    "c) Agenda Wizard - Creating and updating agenda slides",
    "d) Efficiency Tools - Aligning positions, sizes, angles, beautify indents, hide/unhide shapes, ...",
};
constexpr const char* kFrequencies[] = {"Daily", "A few times per week", "Rarely"};
constexpr const char* kUsefulness[] = {"Very useful, I don't want to miss it", "Good to have", "Not interesting for me",
                                       "I can't say, I didn't have a chance to use it"};
constexpr const char* kTimeSavings[] = {"0 - 15 minutes", "15 - 30 minutes", "30 - 60 minutes", "60 - 120 minutes",
                                        "> 120 minutes"};
constexpr const char* kReminders[] = {"tomorrow", "in 2 weeks", "in 6 months", "never again"};

// Fills a question's list: the prompt, then the answers; the prompt is chosen and the opened
// list made wide enough for the longest answer.
template <std::size_t N>
void fillQuestion(platform::ComboBox& combo, const char* const (&answers)[N]) {
    combo.Clear();
    combo.AddItem(kPleaseChoose);
    for (const char* answer : answers) combo.AddItem(answer);
    combo.setListIndex(0);
    AutoSizeComboBox(combo);
}

void fillReminders(platform::ComboBox& cbWhen) {
    cbWhen.Clear();
    for (const char* choice : kReminders) cbWhen.AddItem(choice);
    cbWhen.setListIndex(0);
    AutoSizeComboBox(cbWhen);
}

// False, after telling the user, while any of the questions still shows its prompt.
bool allAnswered(std::initializer_list<const platform::ComboBox*> questions, const char* message) {
    for (const auto* q : questions) {
        if (q->ListIndex() == 0) {
            platform::MsgBox(message, platform::vbInformation, kProductName);
            return false;
        }
    }
    return true;
}

// "&name=" and the chosen answer's number.
std::string answerField(const char* name, const platform::ComboBox& q) {
    return std::string("&") + name + "=" + std::to_string(q.ListIndex());
}

std::string transmissionHint() {
    return "Please try again next time and contact us at " + supportEmail() + " if the problem persists.";
}

// "Remind me": the chosen date, and the page goes without its answers.
void remindLater(platform::Form& page, const platform::ComboBox& cbWhen) {
    setSurveyDate(static_cast<std::int16_t>(cbWhen.ListIndex()));
    page.Unload();
}

}  // namespace

Survey1::Survey1() : platform::Form("Survey1") {
    Caption = "Varnotel for presentations - Survey (step 1 of 2)";
    Label4.Caption = "Please take a few moments to tell us about your experience with Varnotel for presentations.";
    Label1.Caption = "1. How would you characterize your job position?";
    Label2.Caption = "2. How often do you use PowerPoint?";
    Label3.Caption = "3. How would you characterize your PowerPoint skills?";
    Label5.Caption = "4. What do you use PowerPoint for?";
    Label6.Caption = "(More than one answer possible)";
    q4_1.Caption = "Create new presentations";
    q4_2.Caption = "Modify existing presentations";
    q4_3.Caption = "View presentations";
    q4_4.Caption = "Present";
    Label7.Caption = "5. How frequently do you use Varnotel for presentations?";
    Label8.Caption = "6. How useful are the following features for you?";
    Label9.Caption = kFeatureLines[0];
    Label10.Caption = kFeatureLines[1];
    Label11.Caption = kFeatureLines[2];
    Label12.Caption = kFeatureLines[3];
    btn1.Caption = "&Remind me";
    btn2.Caption = "&Next";
    btn2.Default = true;
    for (platform::ComboBox* q : {&q1, &q2, &q3, &q5}) q->Width = 193;
    for (platform::ComboBox* q : {&q6_1, &q6_2, &q6_3, &q6_4}) q->Width = 161;
    cbWhen.Width = 97;

    btn1.onClick = [this] { btn1_Click(); };
    btn2.onClick = [this] { btn2_Click(); };
}

void Survey1::Form_Load() {
    trap("Survey1, Form_Load", [&] {
        surveyData.clear();
        static constexpr const char* jobs[] = {"Assistant",
                                               "Business Administration",
                                               "Business Development",
                                               "Communication",
                                               "Consulting",
                                               "General Management",
                                               "Marketing",
                                               "Sales",
                                               "Strategy",
                                               "Other"};
        static constexpr const char* skills[] = {"Beginner", "Intermediate", "Professional"};
        fillQuestion(q1, jobs);
        fillQuestion(q2, kFrequencies);
        fillQuestion(q3, skills);
        fillQuestion(q5, kFrequencies);
        for (platform::ComboBox* q : {&q6_1, &q6_2, &q6_3, &q6_4}) fillQuestion(*q, kUsefulness);
        fillReminders(cbWhen);
    });
}

void Survey1::Form_Activate() {
    trap("Survey1, Form_Activate", [&] { setTopMost(*this, true); });
}

void Survey1::btn1_Click() {
    trap("Survey1, btn1_Click", [&] { remindLater(*this, cbWhen); });
}

void Survey1::btn2_Click() {
    trap("Survey1, btn2_Click", [&] {
        if (!allAnswered({&q1, &q2, &q3, &q5, &q6_1, &q6_2, &q6_3, &q6_4},
                         "Please answer all questions before continuing."))
            return;
        std::string data = "&PPT=" + URLEncode(hostApplication().Version()) + "&version=" + URLEncode(versionText());
        data += answerField("q1", q1) + answerField("q2", q2) + answerField("q3", q3);
        const platform::CheckBox* uses[] = {&q4_1, &q4_2, &q4_3, &q4_4};
        for (int i = 0; i < 4; ++i) data += "&q4_" + std::to_string(i + 1) + "=" + std::to_string(uses[i]->Value());
        data += answerField("q5", q5) + answerField("q6_1", q6_1) + answerField("q6_2", q6_2) +
                answerField("q6_3", q6_3) + answerField("q6_4", q6_4);
        surveyData = data;
        Hide();
    });
}

Survey2::Survey2() : platform::Form("Survey2") {
    Caption = "Varnotel for presentations - Survey (step 2 of 2)";
    Label1.Caption = "a) Slide Wizard:\r\nInserting standard elements from the menu";
    Label2.Caption = "b) My Elements:\r\nManaging your own elements just like favorites in Internet Explorer";
    Label3.Caption = "c) Agenda Wizard:\r\nCreating and updating agenda slides";
    Label5.Caption =
        "d) Efficiency Tools:\r\nAligning positions, sizes, angles, beautify indents, hide/unhide shapes, ...";
    Label6.Caption = "7. In which form have you received training on Varnotel for presentations?";
    Label7.Caption = "8. Taking the statistics into account, how would you estimate the average time saving per week?";
    Label8.Caption = kFeatureLines[0];
    Label9.Caption = kFeatureLines[1];
    Label10.Caption = kFeatureLines[2];
    Label11.Caption = kFeatureLines[3];
    Label12.Caption = "9. Additional comments";
    Label17.Caption = "Thank you very much for your time!";
    btn1.Caption = "&Remind me";
    btn2.Caption = "&Send survey";
    btn2.Default = true;
    q7.Width = 257;
    for (platform::ComboBox* q : {&q8_1, &q8_2, &q8_3, &q8_4}) q->Width = 121;
    cbWhen.Width = 97;

    btn1.onClick = [this] { btn1_Click(); };
    btn2.onClick = [this] { btn2_Click(); };
}

void Survey2::Form_Load() {
    trap("Survey2, Form_Load", [&] {
        uLabel.Caption = "Here are your usage statistics:";
        flushUsageCounters();  // the counts kept in memory too
        u1.Caption = getRegistry("statsSlideWizard", "", "0");
        u2.Caption = getRegistry("statsMyElements", "", "0");
        u3.Caption = getRegistry("statsAgendaWizard", "", "0");
        u4.Caption = getRegistry("statsEfficiencyTools", "", "0");
        static constexpr const char* training[] = {"Personal instruction/video conference",
                                                   "Instructional video (to be found in help menu)", "No training"};
        fillQuestion(q7, training);
        for (platform::ComboBox* q : {&q8_1, &q8_2, &q8_3, &q8_4}) fillQuestion(*q, kTimeSavings);
        fillReminders(cbWhen);
    });
}

void Survey2::Form_Activate() {
    trap("Survey2, Form_Activate", [&] { setTopMost(*this, true); });
}

void Survey2::btn1_Click() {
    trap("Survey2, btn1_Click", [&] { remindLater(*this, cbWhen); });
}

bool takeSurveyReply(const HttpReply& reply) {
    const std::string text = reply.answered ? surveyReplyText(ByteArrayToString(reply.body)) : std::string();
    const auto countAsSent = [] {
        const std::int16_t interval = surveyNumber("surveyInterval", 183);
        setRegistry("surveyDate", surveyDateText(platform::today() + std::chrono::days(interval)), "");
        setRegistry("surveyCount", std::to_string(surveyNumber("surveyCount", 0) + 1), "");
    };
    if (text == "success") {
        countAsSent();
        platform::MsgBox(
            "Your survey data has successfully been transmitted.\r\nAgain, thank you very much for "
            "your time.",
            platform::vbInformation, kProductName);
        return true;
    }
    if (!reply.answered && reply.unconfirmed) {
        // The server has the answers but did not confirm in time. Sending them again later
        // would count this user twice, so the survey counts as sent.
        countAsSent();
        platform::MsgBox(
            "Your survey data has been sent, but the survey server did not confirm it in time. It will "
            "not be sent again.\r\nAgain, thank you very much for your time.",
            platform::vbInformation, kProductName);
        return true;
    }
    if (text == "error_insert") {
        platform::MsgBox("An error occured during transmission of your survey data.\r\n" + transmissionHint(),
                         platform::vbCritical, kProductName);
    } else if (reply.status == 0 || (reply.answered && text.empty())) {
        platform::MsgBox("Your survey data could not be transmitted: the survey server gave no usable answer.\r\n" +
                             transmissionHint(),
                         platform::vbCritical, kProductName);
    } else {
        // Only the status: the body may be a whole error page, or anything else.
        platform::MsgBox(
            "An unexpected error has occured during transmission of your survey data (the survey "
            "server answered with status " +
                std::to_string(reply.status) + ").\r\n" + transmissionHint(),
            platform::vbCritical, kProductName);
    }
    return false;
}

void Survey2::btn2_Click() {
    trap("Survey2, btn2_Click", [&] {
        if (sending_ || sent_) return;
        if (!allAnswered({&q7, &q8_1, &q8_2, &q8_3, &q8_4},
                         "Please answer all questions before submitting the survey."))
            return;
        // Every text goes out encoded, the counters too: a setting holding "&" or "=" must
        // not add fields of its own.
        const std::string data =
            surveyData + answerField("q7", q7) + answerField("q8_1", q8_1) + answerField("q8_2", q8_2) +
            answerField("q8_3", q8_3) + answerField("q8_4", q8_4) + "&q9=" + URLEncode(q9.Text()) +
            "&statsSlideWizard=" + URLEncode(u1.Caption) + "&statsMyElements=" + URLEncode(u2.Caption) +
            "&statsAgendaWizard=" + URLEncode(u3.Caption) + "&statsEfficiencyTools=" + URLEncode(u4.Caption);

        // The user sees that the survey is on its way; the host waits kSendTimeoutMs at most.
        sending_ = true;
        const std::string caption = btn2.Caption;
        btn2.Caption = "Sending...";
        btn2.Enabled = false;
        btn1.Enabled = false;
        platform::DoEvents();
        const HttpReply reply = HttpPostReply(surveyUrl(), data, PostLimits{0, kPingTimeoutMs, kSendTimeoutMs});
        btn2.Caption = caption;
        btn2.Enabled = true;
        btn1.Enabled = true;
        sending_ = false;
        sent_ = takeSurveyReply(reply);
        Unload();
    });
}

void AutoSizeComboBox(platform::ComboBox& combo) {
    trap("Survey, AutoSizeComboBox", [&] {
        const platform::Form& form = combo.form();
        int width = combo.Width;
        bool wider = false;
        for (const std::string& item : combo.items) {
            const int itemWidth = platform::textWidth(item, form.FontName, form.FontSize);
            if (itemWidth > width) {
                width = itemWidth;
                wider = true;
            }
        }
        if (wider) width += 10;  // room for the list's frame and scroll bar
        combo.droppedWidth = width;
    });
}

}  // namespace plorin
