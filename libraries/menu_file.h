// The library's installation data as the add-in keeps it while it is loaded: the menu file
// "menu.xml" (menus, items and styles), the copyright list "copyright.txt" and the My Elements
// index "myelements.xml", read once at start-up into the add-in's state.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/style_files.h"

namespace plorin {

// The presentation tag that holds the name of the presentation's style.
constexpr const char* kStyleTag = "plorin_style";
// Item 0 of every style drop-down.
constexpr const char* kNoStyleLabel = "[No style selected]";

// How the missing-menu-file message begins on the ribbon and on the command bars.
constexpr const char* kRibbonMenuFileLead = "The Slide Wizard configuration file ";
constexpr const char* kCommandBarMenuFileLead = "The menu configuration file ";

// The customization folder's "menu.xml".
std::string menuFilePath();

// Loads the menu file into a new menu document (state().menuDocument) and refills the style
// collections from its `style` elements in file order; a style lacking its name or its folder
// is left out, so that position k of both collections and item k of the drop-downs always
// describe one complete style. The current style becomes the first style when there is one.
// When the file is missing or not well-formed: a critical message made of `failureLead`, the
// path and " could not be found or is corrupted.", no menu document, empty collections, the
// current style untouched; returns false. Nothing is trapped.
bool loadMenuFile(const char* failureLead);

// Refills the copyright lines from the customization folder's "copyright.txt"; none when
// the file is missing or unreadable (no message).
void loadCopyrightLines();

// The My Elements folder's "myelements.xml".
std::string myElementsIndexPath();
// Loads the My Elements index into the shared My Elements document. A corrupt file gives a
// critical message and no document; a missing one an information message (the user has
// added nothing yet) and no document.
void loadMyElementsIndex();

}  // namespace plorin
