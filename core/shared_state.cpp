#include "core/shared_state.h"

#include "core/errors.h"
#include "platform/xml_dom.h"

namespace plorin {

namespace {
std::unique_ptr<SharedState>& stateSlot() {
    static std::unique_ptr<SharedState> current;
    return current;
}
}  // namespace

SharedState::SharedState() = default;
SharedState::~SharedState() { endFeatures(); }

void SharedState::endFeatures() {
    // One at a time from the newest: a destructor may still ask for an older feature.
    while (!features_.empty()) {
        Object object = std::move(features_.back().object);
        features_.pop_back();
        object.reset();
    }
}

SharedState& state() {
    auto& slot = stateSlot();
    if (!slot) slot = std::make_unique<SharedState>();
    return *slot;
}

void endState() {
    auto& slot = stateSlot();
    if (!slot) return;
    slot->endFeatures();  // while state() still answers with this connection's state
    slot.reset();
}

host::Application& hostApplication() {
    host::Application* app = state().application;
    if (!app) raiseObjectNotSet();
    return *app;
}

}  // namespace plorin
