#include "core/undo_fix.h"

#include <memory>

#include "core/errors.h"
#include "core/shared_state.h"
#include "host/host.h"

namespace plorin {

void runUndoFix() {
    host::Application* app = state().application;
    if (!app) return;
    std::shared_ptr<host::Presentation> pres;
    ignoreErrors(
        [&] { pres = app->Presentations().Open(state().layout.program + "plorinUndoFix.ppt", true, false, false); });
    if (!pres) return;  // nothing opened: nothing to run or close
    ignoreErrors([&] { app->Run(pres->Name() + "!plorin.plorinUndoFix"); });
    ignoreErrors([&] { pres->setSaved(true); });
    ignoreErrors([&] { pres->Close(); });
}

}  // namespace plorin
