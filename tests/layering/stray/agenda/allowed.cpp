// Allowed: the public header of the text tools that the allow-list names; the tool object's
// header is another matter.
#include "tools/efficiency_tools.h"
#include "tools/text_beautifier.h"
