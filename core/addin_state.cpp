#include "core/addin_state.h"

#include "core/errors.h"

#include "tools/efficiency_tools.h"
#include "core/ppt_controls.h"
#include "core/ppt_events.h"
#include "platform/xml_dom.h"

namespace core {

AddInState::AddInState() = default;
AddInState::~AddInState() = default;

AddInState& state() {
    static AddInState s;
    return s;
}

host::Application& hostApplication() {
    host::Application* app = state().application;
    if (!app) raiseError(91, "Object variable or With block variable not set");
    return *app;
}

}  // namespace core
