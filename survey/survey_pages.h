// The survey's two modal, topmost pages. Page 1 asks about the user's work and builds the
// survey data up to the sixth question; page 2 shows the usage counters, asks the rest and
// sends it all. Either page can postpone the survey with its remind-me choice.
#pragma once

#include <string>

#include "core/web_post.h"
#include "platform/ui_forms.h"

namespace plorin {

// Widens the combo box's opened list so that its widest entry fits, in pixels of the form's
// font. Never throws ("Survey, AutoSizeComboBox").
void AutoSizeComboBox(platform::ComboBox& combo);

class Survey1 : public platform::Form {
public:
    Survey1();

    // The form body so far, "&PPT=..." to "&q6_4=..."; empty until "Next" found every answer.
    std::string surveyData;

    void Form_Load() override;
    void Form_Activate() override;
    void btn1_Click();
    void btn2_Click();

    platform::Label Label4{*this, "Label4"};
    platform::Label Label1{*this, "Label1"};
    platform::ComboBox q1{*this, "q1"};
    platform::Label Label2{*this, "Label2"};
    platform::ComboBox q2{*this, "q2"};
    platform::Label Label3{*this, "Label3"};
    platform::ComboBox q3{*this, "q3"};
    platform::Label Label5{*this, "Label5"};
    platform::Label Label6{*this, "Label6"};
    platform::CheckBox q4_1{*this, "q4_1"};
    platform::CheckBox q4_2{*this, "q4_2"};
    platform::CheckBox q4_3{*this, "q4_3"};
    platform::CheckBox q4_4{*this, "q4_4"};
    platform::Label Label7{*this, "Label7"};
    platform::ComboBox q5{*this, "q5"};
    platform::Label Label8{*this, "Label8"};
    platform::Label Label9{*this, "Label9"};
    platform::ComboBox q6_1{*this, "q6_1"};
    platform::Label Label10{*this, "Label10"};
    platform::ComboBox q6_2{*this, "q6_2"};
    platform::Label Label11{*this, "Label11"};
    platform::ComboBox q6_3{*this, "q6_3"};
    platform::Label Label12{*this, "Label12"};
    platform::ComboBox q6_4{*this, "q6_4"};
    platform::ComboBox cbWhen{*this, "cbWhen"};
    platform::CommandButton btn1{*this, "btn1"};
    platform::CommandButton btn2{*this, "btn2"};
};

// What page 2 does with the survey server's reply to the sent survey: "success" (blanks and
// line ends around it aside) moves the date one interval ahead and counts the survey; every
// other reply is told to the user in a short message with the reply's status, never the
// page itself, and changes nothing. A request that reached the server but got no reply in
// time counts as sent too (so it is never sent twice), with a message saying so. True when the
// survey counts as sent.
bool takeSurveyReply(const HttpReply& reply);

class Survey2 : public platform::Form {
public:
    Survey2();

    // Page 1's answers when shown; page 2 appends its own before sending.
    std::string surveyData;

    void Form_Load() override;
    void Form_Activate() override;
    void btn1_Click();
    void btn2_Click();

    platform::Label uLabel{*this, "uLabel"};
    platform::Label Label1{*this, "Label1"};
    platform::Label u1{*this, "u1"};
    platform::Label Label2{*this, "Label2"};
    platform::Label u2{*this, "u2"};
    platform::Label Label3{*this, "Label3"};
    platform::Label u3{*this, "u3"};
    platform::Label Label5{*this, "Label5"};
    platform::Label u4{*this, "u4"};
    platform::Label Label6{*this, "Label6"};
    platform::ComboBox q7{*this, "q7"};
    platform::Label Label7{*this, "Label7"};
    platform::Label Label8{*this, "Label8"};
    platform::ComboBox q8_1{*this, "q8_1"};
    platform::Label Label9{*this, "Label9"};
    platform::ComboBox q8_2{*this, "q8_2"};
    platform::Label Label10{*this, "Label10"};
    platform::ComboBox q8_3{*this, "q8_3"};
    platform::Label Label11{*this, "Label11"};
    platform::ComboBox q8_4{*this, "q8_4"};
    platform::Label Label12{*this, "Label12"};
    platform::TextBox q9{*this, "q9"};
    platform::Label Label17{*this, "Label17"};
    platform::ComboBox cbWhen{*this, "cbWhen"};
    platform::CommandButton btn1{*this, "btn1"};
    platform::CommandButton btn2{*this, "btn2"};

private:
    bool sending_ = false;  // a click while the survey is on its way sends nothing more
    bool sent_ = false;     // nor one after the server took it
};

}  // namespace plorin
