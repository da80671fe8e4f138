// The update add-in as the presentation add-in finds it: "Check for updates" and the
// settings dialog both go through its entry in the host's COM add-in list.
#pragma once

namespace host {
class COMAddIn;
}

namespace plorin {

// The update add-in's entry: the first whose ProgID is "plorinrenew.Connect", or nullptr
// when it is not installed.
constexpr const char* kUpdateAddInProgId = "plorinrenew.Connect";
host::COMAddIn* findUpdateAddIn();

}  // namespace plorin
