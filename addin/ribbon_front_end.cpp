// The ribbon front end of Connect: the definition hand-over, the click callbacks with their
// usage counters and dispatch, and the state callbacks the host asks when it draws. None of
// them traps errors: a failure goes back to the host, which shows nothing for it.
#include <cstdint>

#include "addin/addin_state.h"
#include "addin/connect.h"
#include "addin/host_events.h"
#include "addin/ribbon_callbacks.h"
#include "addin/ribbon_dispatch.h"
#include "addin/ribbon_enabling.h"
#include "core/errors.h"
#include "core/icons.h"
#include "core/images.h"
#include "core/languages.h"
#include "core/numbers.h"
#include "core/undo_fix.h"
#include "host/host.h"
#include "host/text.h"
#include "platform/services.h"
#include "tools/efficiency_tools.h"

namespace plorin {

namespace {

constexpr int kStyleDropDown = 1025;
constexpr int kFitToText = 1085;
constexpr int kWrapText = 1086;
constexpr int kFirstLanguageButton = 1093;
constexpr int kLastLanguageButton = 1095;

// The language slot of a language button, or -1.
int languageSlotOf(int n) {
    return n >= kFirstLanguageButton && n <= kLastLanguageButton ? n - kFirstLanguageButton : -1;
}

// The text frame of the active window's selected shapes.
host::TextFrame selectedTextFrame() { return hostApplication().ActiveWindow()->Selection().ShapeRange().TextFrame(); }

}  // namespace

std::string Connect::GetCustomUI(const std::string& /*ribbonId*/) {
    // One definition serves every kind of window.
    const std::string path = state().layout.ui + "plorinUI.xml";
    auto text = platform::fileSystem().readAll(path);
    if (!text) raiseError(errFileNotFound, "File not found: " + path);
    return *text;
}

void Connect::onAction(const host::IRibbonControl& control) {
    runUndoFix();
    const int n = controlNumber(control.Id);
    if (const char* counter = usageCounterFor(n)) raiseUsageCounter(counter);
    dispatchCommand(n);
}

void Connect::onActionTB(const host::IRibbonControl& control, bool pressed) {
    runUndoFix();
    const int n = controlNumber(control.Id);
    if (n == kFitToText)
        selectedTextFrame().setAutoSize(pressed ? host::ppAutoSizeShapeToFitText : host::ppAutoSizeNone);
    else if (n == kWrapText) selectedTextFrame().setWordWrap(pressed ? host::msoTrue : host::msoFalse);
}

void Connect::copyright_onAction(const host::IRibbonControl& control) {
    runUndoFix();
    if (hostApplication().Windows().Count() < 1) return;
    const std::int16_t notice = toInteger16(control.Tag);
    if (EfficiencyTools::hasMethod("insertCopyright")) {
        if (!addInState().tools) raiseObjectNotSet();
        addInState().tools->callByName("insertCopyright", std::to_string(notice));
    }
}

host::RibbonPicture Connect::getImage(const host::IRibbonControl& control) {
    const int slot = languageSlotOf(controlNumber(control.Id));
    if (slot >= 0) return Icons().lngPic(slot).picture;
    const std::string path = state().layout.ui + control.Id + ".png";
    auto picture = loadPictureGdiPlus(path);
    if (!picture) raiseError(errInvalidPicture, "Invalid picture: " + path);
    return picture;
}

bool Connect::getVisible(const host::IRibbonControl& control) {
    const int n = controlNumber(control.Id);
    if (n == kStyleDropDown) return state().styleNames.Count() >= 2;
    const int slot = languageSlotOf(n);
    if (slot >= 0) return currentLanguages()[static_cast<std::size_t>(slot)] >= 1;
    return true;
}

std::string Connect::getLabel(const host::IRibbonControl& control) {
    const int slot = languageSlotOf(controlNumber(control.Id));
    if (slot < 0) return {};
    const std::int32_t id = currentLanguages()[static_cast<std::size_t>(slot)];
    if (id < 1) return {};
    return languages().Item(languageKey(id)).Name;
}

bool Connect::getPressed(const host::IRibbonControl& control) {
    bool pressed = false;
    // Without a window (as at start-up) nothing is pressed, and no error needs raising to say so.
    if (hostApplication().Windows().Count() < 1) return pressed;
    ignoreErrors([&] {
        const int n = controlNumber(control.Id);
        if (n == kFitToText) pressed = selectedTextFrame().AutoSize() == host::ppAutoSizeShapeToFitText;
        if (n == kWrapText) pressed = selectedTextFrame().WordWrap() != host::msoFalse;
    });
    return pressed;
}

bool Connect::getEnabled(const host::IRibbonControl& control) {
    const EnablingRule rule = enablingRuleFor(controlNumber(control.Id));
    if (rule == EnablingRule::always) return true;
    const pptEvents* selection = addInState().events.get();
    if (!selection) raiseObjectNotSet();
    return ruleHolds(rule, *selection, hostApplication().Windows().Count() >= 1);
}

bool Connect::hasCallback(const std::string& name) const { return findRibbonCallback(name) != nullptr; }

host::RibbonValue Connect::invokeCallback(const std::string& name, const host::IRibbonControl& control,
                                          const std::vector<host::RibbonValue>& args) {
    const RibbonCallback* callback = findRibbonCallback(name);
    if (!callback) raiseError(errNoSuchMember, "Object doesn't support this property or method: " + name);
    return callback->call(*this, control, args);
}

const std::vector<RibbonCallback> kFrontEndCallbacks = {
    {"onLoad",
     [](Connect& c, const host::IRibbonControl&, const RibbonArgs& a) -> host::RibbonValue {
         c.onLoad(ribbonUI(a, 0));
         return {};
     }},
    {"onAction",
     [](Connect& c, const host::IRibbonControl& ctl, const RibbonArgs&) -> host::RibbonValue {
         c.onAction(ctl);
         return {};
     }},
    {"onActionTB",
     [](Connect& c, const host::IRibbonControl& ctl, const RibbonArgs& a) -> host::RibbonValue {
         c.onActionTB(ctl, ribbonBool(a, 0));
         return {};
     }},
    {"copyright_onAction",
     [](Connect& c, const host::IRibbonControl& ctl, const RibbonArgs&) -> host::RibbonValue {
         c.copyright_onAction(ctl);
         return {};
     }},
    {"getImage",
     [](Connect& c, const host::IRibbonControl& ctl, const RibbonArgs&) -> host::RibbonValue {
         return c.getImage(ctl);
     }},
    {"getVisible",
     [](Connect& c, const host::IRibbonControl& ctl, const RibbonArgs&) -> host::RibbonValue {
         return c.getVisible(ctl);
     }},
    {"getLabel",
     [](Connect& c, const host::IRibbonControl& ctl, const RibbonArgs&) -> host::RibbonValue {
         return c.getLabel(ctl);
     }},
    {"getPressed",
     [](Connect& c, const host::IRibbonControl& ctl, const RibbonArgs&) -> host::RibbonValue {
         return c.getPressed(ctl);
     }},
    {"getEnabled",
     [](Connect& c, const host::IRibbonControl& ctl, const RibbonArgs&) -> host::RibbonValue {
         return c.getEnabled(ctl);
     }},
};

}  // namespace plorin
