// Start-up steps whose own modules arrive later: the language table and the user survey.
#pragma once

namespace core {

// Loads the language table and the user's current languages with their icons.
void initializeLanguages();

// Decides whether the user survey is due and may show it.
void checkForSurvey();

}  // namespace core
