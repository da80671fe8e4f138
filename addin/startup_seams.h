// Start-up steps whose own modules arrive later: the user survey.
#pragma once

namespace plorin {

// Decides whether the user survey is due and may show it.
void checkForSurvey();

}  // namespace plorin
