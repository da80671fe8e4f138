// The installation's folders, derived from the add-in's own folder. Every folder text
// ends with "/".
#pragma once

#include <string>

namespace plorin {

struct FolderLayout {
    std::string root;           // parent of the add-in's folder
    std::string user;           // root + "user/"
    std::string myElements;     // user + "myelements/"
    std::string customization;  // user when it holds "menu.xml", else root + "customization/"
    std::string icons;          // customization + "icons/"
    std::string styles;         // customization + "styles/"
    std::string thumbs;         // styles + "thumbs/"
    std::string program;        // root + "program/"
    std::string ui;             // program + "ui/"
};

// The layout for an add-in whose file lies in `addInFolder` (with or without a trailing
// "/"); tests the user folder for "menu.xml" once.
FolderLayout computeFolderLayout(const std::string& addInFolder);

// True for a name from a file users edit (the menu file, a command bar's parameter) that,
// appended to a folder, stays inside it: relative, made of parts that are neither empty nor
// "." nor "..", without backslashes or control characters.
bool staysInside(const std::string& relativePath);

// The folder that holds the add-in's own library, ending with "/". Tests and the host may
// name it instead.
std::string addInFolder();
void setAddInFolder(const std::string& folder);  // empty: find it from the library again

}  // namespace plorin
