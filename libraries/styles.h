// The libraries' part of the ribbon: what the ribbon's onLoad loads, and the style drop-down
// ("vn_1025") over the styles of the menu file. The add-in object's callbacks forward here;
// like every ribbon callback these trap no errors.
#pragma once

#include <cstdint>
#include <string>

#include "host/ribbon.h"

namespace plorin {

// Reads the thumbnail settings, keeps the ribbon object for invalidating, and loads the menu
// file, the copyright list and the My Elements index, telling the user when one of them is
// missing or damaged.
void libraries_onLoad(host::IRibbonUI* ribbon);

// The style drop-down, as described with Connect's members of the same names.
std::int16_t style_getItemCount(const host::IRibbonControl& control);
std::string style_getItemLabel(const host::IRibbonControl& control, int index);
void style_onAction(const host::IRibbonControl& control, const std::string& selectedId, int selectedIndex);
std::int16_t style_getSelectedItemIndex(const host::IRibbonControl& control);

}  // namespace plorin
