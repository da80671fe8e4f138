// My Elements, the user's own library: the index "myelements.xml" (groups of named elements,
// each with the id of its slide in the library presentation), its creation, lookups by name,
// and the library presentation. Names are matched as values, never pasted into query text.
// The commands that open its dialogs (adding, managing) are the add-in's:
// addin/my_elements_commands.cpp.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/xml_dom.h"

namespace host {
class Application;
}

namespace plorin {

class WindowlessPresentation;

// The group a new index starts with.
constexpr const char* kFirstGroupName = "Miscellaneous";
// The ribbon's My Elements menu, redrawn after every change of the index.
constexpr const char* kMyElementsMenuId = "vn_1027";

// Replaces the shared My Elements document by a new index (root `Varnotel` with its schema
// attributes, one group "Miscellaneous"), creates the My Elements folder and saves the index
// there. Raises errPathFileAccess when the file cannot be written (the new document is kept).
// The message for an index that cannot be read: adding is refused with it.
std::string corruptedDatabaseMessage();

void createXML();
// Writes the shared document over the index file. Raises error 91 without a document and
// errPathFileAccess when the file cannot be written (the old file is then unchanged).
void saveMyElementsIndex();
// Writes that document (the manager's copy) over the index file, as above.
void saveMyElementsIndex(const platform::DomDocument& index);
// Reads the index file into the document; false when it cannot be read. Names written by
// earlier versions with characters XML cannot carry lose them, as typed names do (a name that
// then equals another gets a number), so that every gallery finds its group by its label.
bool loadMyElementsFile(platform::DomDocument& index);
// Makes the index when its file is missing and reads one not loaded yet. False when the file
// is damaged: it then stays no document, so that nothing is ever saved over it.
bool haveMyElementsIndex();
// Brings the My Elements menu up to date after the index changed: on hosts 9.0 to 11.0 the
// command bars' popup is built again (myElementsMenuBuilder), elsewhere the ribbon's menu is
// redrawn (and its thumbnails rebuilt when the library changed).
void refreshMyElementsMenu();
// What builds the command bars' My Elements popup again; set by the bars while they exist,
// empty otherwise.
std::function<void()>& myElementsMenuBuilder();

// The group of that name (compared exactly), or a null handle.
platform::DomNode findGroup(const platform::DomDocument& index, const std::string& name);
// The `element` children of the group of that name, in index order; none without the group.
platform::DomNodeList elementsOfGroup(const platform::DomDocument& index, const std::string& group);
// True when an element of that name exists in any group.
bool elementExists(const platform::DomDocument& index, const std::string& name);
// The names of the groups, in index order.
std::vector<std::string> groupNames(const platform::DomDocument& index);
// Appends a group of that name after the others and returns it. Raises error 91 when the
// document has no `Varnotel` root.
platform::DomNode appendGroup(platform::DomDocument& index, const std::string& name);
// Appends an element to a group of that document and returns it.
platform::DomNode appendElement(platform::DomDocument& index, platform::DomNode group, const std::string& name,
                                long slideId);

// Opens the library presentation without a window, making it (or, on ribbon hosts, the
// ".pptx" from an old ".ppt") when it is not there yet.
void openMyElementsLibrary(host::Application& app, WindowlessPresentation& library);

}  // namespace plorin
