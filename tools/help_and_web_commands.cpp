// The group's small entry points: help, the maker's web pages and feedback mail. Each only
// opens something or hands over (the about box and the settings: addin/about_settings_commands.cpp).
#include "core/config.h"
#include "core/errors.h"
#include "core/help_topics.h"
#include "core/open_url.h"
#include "core/web_post.h"
#include "tools/efficiency_tools.h"

namespace plorin {

namespace {

constexpr const char* kFeedbackSubject = "Feedback on Varnotel for presentations";

void openPage(const char* location, const std::string& path) {
    trap(std::string("EfficiencyTools, ") + location, [&] { openURL(webAddress() + path); });
}

}  // namespace

std::string feedbackMailLink() {
    // The subject is percent-encoded: a bare blank ends the link on some mail programs.
    return "mailto:" + supportEmail() + "?subject=" + URLEncode(kFeedbackSubject);
}

void EfficiencyTools::reference() {
    trap("EfficiencyTools, reference", [&] { showHelpContextID(1000); });
}
void EfficiencyTools::tutorialVideos() { openPage("tutorialVideos", "/en/tutorials/"); }
void EfficiencyTools::gettingStarted() { openPage("gettingStarted", "/en/gettingstarted/"); }
void EfficiencyTools::FAQ() { openPage("FAQ", "/en/faq/"); }
void EfficiencyTools::homepage() { openPage("homepage", "/"); }
void EfficiencyTools::recommend() { openPage("recommend", "/plorin_recommend.pdf"); }

void EfficiencyTools::feedback() {
    trap("EfficiencyTools, feedback", [&] { openURL(feedbackMailLink()); });
}

using E = EfficiencyTools;
const std::vector<EfficiencyTools::MethodEntry> kLinkMethods = {
    {"reference", &E::reference, nullptr},
    {"tutorialVideos", &E::tutorialVideos, nullptr},
    {"gettingStarted", &E::gettingStarted, nullptr},
    {"FAQ", &E::FAQ, nullptr},
    {"homepage", &E::homepage, nullptr},
    {"recommend", &E::recommend, nullptr},
    {"feedback", &E::feedback, nullptr},
};

}  // namespace plorin
