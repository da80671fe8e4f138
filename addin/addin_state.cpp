#include "addin/addin_state.h"

#include "addin/bar_front_end.h"
#include "addin/host_events.h"
#include "core/icons.h"
#include "tools/efficiency_tools.h"

namespace plorin {

AddInState::AddInState() {
    // The icons form's help mode switches the command bars' controls on and, when it ends,
    // gives the selection-dependent enabling back to the event sink.
    helpModeHooks().begin = [] {
        if (addInState().controls) addInState().controls->enableControls();
    };
    helpModeHooks().end = [] {
        if (addInState().events) addInState().events->toggle();
    };
}
AddInState::~AddInState() = default;

AddInState& addInState() { return state().feature<AddInState>(); }

}  // namespace plorin
