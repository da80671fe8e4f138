// Downloading the update into a temporary folder and installing it.
#include "updater/update_main.h"

namespace plorinrenew {

bool Main::downloadUpdate() { return false; }

bool Main::installUpdate() { return false; }

void Main::deleteTemp() {}

}  // namespace plorinrenew
