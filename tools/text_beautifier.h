// The text beautifier's indent staircase, the one piece of the text tools that another
// feature uses: the agenda generator lays its bullet rows out with it.
#pragma once

namespace host {
class TextFrame;
}

namespace plorin {

// Lays the frame's ruler out as a staircase: level 1 at 0/0, level n (up to 5 levels on
// hosts 9.0 to 11.0, 9 on 12.0 and 14.0, none beyond level 1 on other hosts) with its first
// line at (n - 2) and its other lines at (n - 1) times the font size of the first character.
// A failure is reported with "EfficiencyTools, beautify" and ends it.
void beautifyIndentStaircase(const host::TextFrame& frame);

}  // namespace plorin
