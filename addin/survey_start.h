// Starting the survey: the last step of the add-in's start-up shows the survey's pages when
// the survey is due and its server answers.
#pragma once

namespace plorin {

// Runs the survey when it is due (survey/survey.h: surveyDue), then only when connectionOK.
// Never throws ("Survey, checkForSurvey").
void checkForSurvey();

// Shows page 1 modally and, when it was answered, page 2 with page 1's answers.
// Never throws ("Survey, runSurvey").
void runSurvey();

}  // namespace plorin
