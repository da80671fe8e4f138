#include "core/startup_seams.h"

namespace core {

void checkForSurvey() {}

}  // namespace core
