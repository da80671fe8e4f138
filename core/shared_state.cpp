#include "core/shared_state.h"

#include "core/errors.h"
#include "platform/xml_dom.h"

namespace plorin {

SharedState::SharedState() = default;
SharedState::~SharedState() = default;

SharedState& state() {
    static SharedState s;
    return s;
}

host::Application& hostApplication() {
    host::Application* app = state().application;
    if (!app) raiseError(91, "Object variable or With block variable not set");
    return *app;
}

}  // namespace plorin
