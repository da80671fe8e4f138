// What the add-in object keeps while it is connected besides the shared state
// (core/shared_state.h): the host event sink, the command bars and the Efficiency Tools.
// One of the connection's features: it goes with the connection.
#pragma once

#include <memory>

#include "core/shared_state.h"

namespace plorin {

class pptEvents;
class pptControls;
class EfficiencyTools;

struct AddInState {
    AddInState();
    ~AddInState();

    std::unique_ptr<pptEvents> events;
    std::unique_ptr<pptControls> controls;  // command-bar hosts only
    std::unique_ptr<EfficiencyTools> tools;
};

AddInState& addInState();

}  // namespace plorin
