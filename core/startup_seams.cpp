#include "core/startup_seams.h"

namespace core {

void initializeLanguages() {}

void checkForSurvey() {}

}  // namespace core
