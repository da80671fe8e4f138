// Inserting a library element: the shapes of one slide of a library presentation (a Slide
// Wizard template of the current style, or the My Elements library) are copied and pasted
// onto the slide the user is working on; no slide is added. Here are the checks every entry
// point makes first, the library presentation held without a window, and `conjure`, the
// entry of the command bars' buttons, and the ribbon galleries' entries.
#pragma once

#include <memory>
#include <string>

#include "core/windowless_presentation.h"
#include "host/command_bars.h"
#include "host/host.h"
#include "host/ribbon.h"

namespace plorin {

// How the messages name the action: the Slide Wizard and the command bars speak of
// "adding", the My Elements gallery of "inserting".
enum class InsertWording { adding, inserting };

// The checks before an insertion, in this order: a document window is open, the active
// presentation has a slide, and the active pane shows a slide (the slide pane, slide master
// or title master; an outline or thumbnails pane hands over to the window's slide pane).
// Each failure tells the user and gives false; nothing is changed then.
bool readyToInsert(host::Application& app, InsertWording wording);

// Copies every shape of the slide to the clipboard (which keeps them afterwards) and pastes
// them into the active window's view: they land on the slide shown there with their
// position and size. Host errors pass through (an empty slide cannot be copied).
void insertShapesOf(host::Application& app, const host::Slide& slide);

// The command bars' entry: inserts the slide a button's Parameter names. For My Elements
// (`isMyElement`) the Parameter is the slide id in the library "myelements.ppt"; otherwise it
// is a template file name, a comma and the slide number (split at the last comma, so a file
// name may hold commas), the template lying in the style folder `styleFolder` (a folder name
// inside the styles folder). After readyToInsert: a generic host failure (the presentation
// cannot be opened, has no such slide) tells the user that the template could not be opened;
// other errors are reported as "SlideWizard, conjure". The source is closed on every path.
// The caller counts the use and runs the undo fix.
void conjure(const host::CommandBarControl& control, const std::string& styleFolder, bool isMyElement);

// The ribbon galleries' entries: choosing item `selectedIndex` of the gallery the control
// tags (see Connect's members of the same names).
void slideWizard_onAction(const host::IRibbonControl& control, const std::string& selectedId, int selectedIndex);
void myElements_onAction(const host::IRibbonControl& control, const std::string& selectedId, int selectedIndex);

}  // namespace plorin
