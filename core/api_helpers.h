// Helpers over the platform's shell:
// opening web pages and documents, the help file, special folders, GUIDs, z-order.
#pragma once

#include <cstdint>
#include <string>

namespace platform {
class Form;
}

namespace plorin {

// Asks the shell to open a URL, file or mailto link. Any failure of the opener is reported
// ("ShellExecute for URL ... failed [code]").
void openURL(const std::string& url);

// Opens the help page of the program folder ("help/index.html") at the section of a context
// id, through the shell as a "file://" address; a missing page gives a message naming it.
void showHelpContextID(std::int32_t contextId);

// The internet cache folder and the temporary folder, each ending with "/". Neither is
// ever empty or the bare filesystem root, since callers test whether paths begin with them.
std::string getInternetCachePath();
std::string getTmpPath();

// A new GUID as 8-4-4-4-12 upper-case hexadecimal digits; the empty text when none.
std::string getGUID();

// Upper-case hexadecimal, left-padded with "0" to the width; negative values in their
// two's-complement form of the argument's size.
std::string padHex(std::int32_t number, int width);
std::string padHex(std::int16_t number, int width);

// Makes a window topmost (returns 1) or not (returns 0).
int setTopMost(platform::Form& window, bool topMost);

}  // namespace plorin
