#include "addin/survey_start.h"

#include <string>

#include "core/errors.h"
#include "survey/survey.h"
#include "survey/survey_pages.h"

namespace plorin {

void checkForSurvey() {
    trap("Survey, checkForSurvey", [] {
        if (!surveyDue() || !connectionOK()) return;
        runSurvey();
    });
}

void runSurvey() {
    trap("Survey, runSurvey", [] {
        std::string data;
        {
            Survey1 page;
            page.Load();
            page.Show(true);
            data = page.surveyData;
            page.Unload();
        }
        if (data.empty()) return;
        Survey2 page;
        page.Load();
        page.surveyData = data;
        page.Show(true);
        page.Unload();
    });
}

}  // namespace plorin
