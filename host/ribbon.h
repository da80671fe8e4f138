// The host's ribbon as the add-ins see it: the ribbon object an add-in keeps to ask for a
// redraw, the control the host passes to callbacks, and the interface through which the host
// asks an add-in for its ribbon definition and calls the callbacks that definition names.
#pragma once

#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace platform {
struct Picture;
}

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
    IRibbonUI() = default;
    IRibbonUI(const IRibbonUI&) = delete;
    IRibbonUI& operator=(const IRibbonUI&) = delete;
    virtual ~IRibbonUI() = default;
    virtual void Invalidate() = 0;
    virtual void InvalidateControl(const std::string& controlId) = 0;
};

// What passes between host and callbacks: nothing, a Boolean, a whole number, a text, a
// picture, or the ribbon object (onLoad's argument).
using RibbonPicture = std::shared_ptr<const platform::Picture>;
using RibbonValue = std::variant<std::monostate, bool, int, std::string, RibbonPicture, IRibbonUI*>;

// The ribbon side of an add-in object. The host asks for the definition once when it loads
// the add-in's ribbon, then calls callbacks by the names the definition binds.
class IRibbonExtensibility {
public:
    IRibbonExtensibility() = default;
    IRibbonExtensibility(const IRibbonExtensibility&) = delete;
    IRibbonExtensibility& operator=(const IRibbonExtensibility&) = delete;
    virtual ~IRibbonExtensibility() = default;

    // The ribbon definition (customUI XML) for a kind of window, e.g.
    // "Microsoft.PowerPoint.Presentation". Throws when there is none: the host then shows
    // nothing of the add-in.
    virtual std::string GetCustomUI(const std::string& ribbonId) = 0;
    // True when a callback of that name exists (names compare without regard to case).
    virtual bool hasCallback(const std::string& name) const = 0;
    // Calls a callback. `args` are the parameters after the control, in the host's order:
    // onLoad gets an empty control and {IRibbonUI*}; a toggle button's onAction {pressed};
    // an item control's onAction {selectedId, selectedIndex}; the item callbacks {index}.
    // Returns the callback's result (nothing for a Sub). Any failure is thrown and the host
    // keeps what it had; an unknown name or unfitting arguments throw too.
    virtual RibbonValue invokeCallback(const std::string& name, const IRibbonControl& control,
                                       const std::vector<RibbonValue>& args) = 0;
};

}  // namespace host
