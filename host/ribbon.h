// The host's ribbon as the add-ins see it: the ribbon object an add-in keeps to ask for a
// redraw, and the control the host passes to callbacks.
#pragma once

#include <string>

namespace host {

// The control a ribbon callback is called for.
struct IRibbonControl {
    std::string Id;
    std::string Tag;
};

// The loaded ribbon, handed to the add-in's onLoad callback. Invalidate makes the host ask
// every get-callback again when it next draws; InvalidateControl only for one control id.
class IRibbonUI {
public:
    virtual ~IRibbonUI() = default;
    virtual void Invalidate() = 0;
    virtual void InvalidateControl(const std::string& controlId) = 0;
};

}  // namespace host
