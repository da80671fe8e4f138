// Folders of the machine the add-ins work in: creating a folder with its parents, and the
// temporary and internet cache folders.
#pragma once

#include <string>

namespace plorin {

// Creates the folder and every missing parent. A folder that cannot be created (or whose
// parent can never exist) is reported and ends the call.
void createFolder(const std::string& path);

// The internet cache folder and the temporary folder, each ending with "/". Neither is
// ever empty or the bare filesystem root, since callers test whether paths begin with them.
std::string getInternetCachePath();
std::string getTmpPath();

}  // namespace plorin
