#include "addin/startup_seams.h"

namespace plorin {

void checkForSurvey() {}

}  // namespace plorin
