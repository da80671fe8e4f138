// Whether a text typed by the user can be a file's name.
#pragma once

#include <string>

namespace plorin {

// False when the name holds \ / : * ? < > | " or TAB, LF, CR.
inline bool isValidFileName(const std::string& name) {
    return name.find_first_of("\\/:*?<>|\"\t\n\r") == std::string::npos;
}

}  // namespace plorin
