// The help set: one HTML page in the installation's program folder, which of its sections
// answers each help context id (a command's tool id on the command bars, 1000 for the
// reference as a whole), and opening it there.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plorin {

struct HelpTopic {
    std::int32_t contextId;
    const char* anchor;  // the id of the section in the help page
};

// Every topic, in the order of the page.
const std::vector<HelpTopic>& helpTopics();

// The section for a context id; the page's contents for 0, 1000 and any id without a topic.
std::string helpAnchor(std::int32_t contextId);

// The help page of an installation whose program folder is `programFolder` (ending in "/").
std::string helpPagePath(const std::string& programFolder);

// A "file://" address of a local file with a section: characters outside the unreserved
// ones and "/" are percent-encoded, so blanks and "#" in folder names survive.
std::string fileAddress(const std::string& path, const std::string& anchor);

// Opens the help page of the program folder at the section of a context id, through the
// shell as a "file://" address; a missing page gives a message naming it.
void showHelpContextID(std::int32_t contextId);

}  // namespace plorin
