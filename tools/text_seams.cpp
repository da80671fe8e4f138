// Operations of the text walker whose commands come later: the margins dialog and the
// proofing languages bring their own definitions and remove these. Until then the frames
// they reach stay as they are.
#include "tools/efficiency_tools.h"

namespace plorin {

void EfficiencyTools::margins(const host::TextFrame&) {}

void EfficiencyTools::setLang(const host::TextFrame&, const Variant&) {}

}  // namespace plorin
