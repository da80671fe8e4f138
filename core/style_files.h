// The current style's files and the plain line lists users keep beside them: where a style's
// folder is, and how a list of notices or entries is read.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plorin {

// 1-based position of the style of that name (compared exactly) among the style names; 0
// when there is none.
int stylePosition(const std::string& styleName);
// The folder of the style of that name: the styles folder, its @folder and "/"; "" when no
// style has that name.
std::string styleFolderPath(const std::string& styleName);

// The text of a list file the user keeps in the installation, in UTF-8: saved as UTF-8 (with
// or without a byte-order mark) or as UTF-16 with one. Nothing when the file is missing or
// cannot be read; a file in any other encoding is refused with a message that names it (and
// `refused`, when given, is set).
std::optional<std::string> readListFile(const std::string& path, bool* refused = nullptr);

// One kept line of a copyright list: `text` without the blanks around it (the notice, as
// the ribbon and the copyright command use it) and `line` exactly as written (the command
// bars' caption).
struct CopyrightNotice {
    std::string text;
    std::string line;
};
// The kept lines of a copyright list's text, in order; entry n is notice number n. A line
// is skipped when it is empty or blank, or when its very first character is "#" (a "#"
// after blanks is part of a notice). Lines end with CR LF, LF or CR; a leading byte-order
// mark is ignored. Characters XML cannot carry (NUL and the other control characters but
// tab) are dropped from both texts, for the ribbon and the command bars alike.
std::vector<CopyrightNotice> parseCopyrightList(std::string_view fileText);

}  // namespace plorin
