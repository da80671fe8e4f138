// Which customisable Efficiency Tools buttons the command bar shows. The setting
// "ecyControls" lists their tool ids, separated by ";"; the bar and the settings dialog both
// read it here, so a button's row in the dialog and the button on the bar agree.
#pragma once

#include <string>
#include <vector>

namespace plorin {

// The setting "ecyControls" split at ";"; empty when the setting is empty.
std::vector<std::string> listedToolIds();

// Whether a customisable button with that tool id shows under the list: every one when the
// list is empty; else only those listed. Entries are compared as whole numbers; an entry that
// is no number matches nothing.
bool toolIdListed(const std::vector<std::string>& visibleToolIds, int toolId);

// Whether a customisable button whose click runs `parameter` is shown on the bar when the
// list says `listed`: "Reset custom colors" only while custom colours are configured (the
// setting "customColors"), since it has nothing to reset without them.
bool shownOnBar(const std::string& parameter, bool listed);

}  // namespace plorin
